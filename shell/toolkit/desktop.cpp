#include "desktop.h"

#include <algorithm>

namespace tk {

Desktop::Desktop(const Clock &clock, Services &services) : scheduler_(clock), services_(services) {}

Desktop::~Desktop() {
  if (windowSystem_ != nullptr) {
    windowSystem_->detached();
  }
}

Desktop::Depth::Depth(Desktop &d) : desktop(d) {
  ++desktop.depth_;
}

Desktop::Depth::~Depth() {
  if (--desktop.depth_ == 0) {
    desktop.settle();
  }
}

void Desktop::settle() {
  // Destroyed only now: the handler that unloaded a form may have been its own.
  auto unloaded = std::move(unloaded_);
  unloaded.clear();
  if (windowSystem_ != nullptr) {
    windowSystem_->settled();
  }
  deliverHeld();
}

void Desktop::deliverHeld() {
  auto held = std::move(held_);
  held_.clear();
  for (auto &report : held) {
    report();
  }
}

void Desktop::added(Form &form) {
  forms_.push_back(&form);
}

void Desktop::removed(Form &form) {
  std::erase(forms_, &form);
  if (active_ == &form) {
    active_ = nullptr;
  }
  if (activeChild_ == &form) {
    activeChild_ = nullptr;
  }
}

void Desktop::load(Form &form) {
  // A child window lives in the main window: loading one shows the main window first, even
  // while the main window's own Load is still running, as the child's window and controls
  // are made inside it.
  if (form.design().kind == WindowKind::MdiChild) {
    if (Form *main = loadedMainWindow(); main != nullptr && !main->visible()) {
      show(*main);
    }
  }
  dispatch([this, &form] {
    if (windowSystem_ != nullptr) {
      windowSystem_->formLoaded(form);
    }
    form.markLoaded();
    if (form.onLoad) {
      form.onLoad();
    }
  });
}

Form *Desktop::loadedMainWindow() const {
  for (Form *form : forms_) {
    if (form->design().kind == WindowKind::MdiParent && form->loaded()) {
      return form;
    }
  }
  return nullptr;
}

void Desktop::unload(std::unique_ptr<Form> form) {
  form->markUnloaded();
  if (active_ == form.get()) {
    active_ = nullptr;
  }
  if (activeChild_ == form.get()) {
    activeChild_ = nullptr;
  }
  if (windowSystem_ != nullptr) {
    windowSystem_->formUnloaded(*form);
  }
  unloaded_.push_back(std::move(form));
  if (depth_ == 0) {
    settle();
  }
}

void Desktop::show(Form &form) {
  if (!form.loaded()) {
    return;
  }
  dispatch([this, &form] {
    form.setVisibleFlag(true);
    form.focusOnShow();
    form.changed(FormProperty::Raised);
    if (form.design().kind == WindowKind::MdiChild) {
      activeChild_ = &form;
    }
    // The main window comes with the child window that is active inside it, which now
    // has the keyboard.
    if (form.design().kind == WindowKind::MdiParent && activeChild_ != nullptr &&
        activeChild_->visible()) {
      activeChild_->changed(FormProperty::Raised);
    }
    becomeActive(form);
  });
}

void Desktop::hide(Form &form) {
  if (!form.loaded()) {
    return;
  }
  dispatch([this, &form] {
    form.setVisibleFlag(false);
    if (active_ == &form) {
      active_ = nullptr;
    }
    if (activeChild_ == &form) {
      activeChild_ = nullptr;
    }
  });
}

void Desktop::activate(Form &form) {
  if (depth_ > 0) {
    hold([this, reported = &form] {
      // Only a form that still lives: the handler may have unloaded it.
      if (std::find(forms_.begin(), forms_.end(), reported) != forms_.end()) {
        activate(*reported);
      }
    });
    return;
  }
  becomeActive(form);
}

void Desktop::becomeActive(Form &form) {
  Form *target = &form;
  if (form.design().kind == WindowKind::MdiParent && activeChild_ != nullptr &&
      activeChild_->visible()) {
    target = activeChild_;
  }
  if (!target->loaded() || !target->visible() || target == active_) {
    return;
  }
  dispatch([this, target] {
    active_ = target;
    if (target->onActivate) {
      target->onActivate();
    }
  });
}

void Desktop::runDueTimers() {
  if (depth_ > 0) {
    return;
  }
  while (!ended_) {
    Timer *timer = scheduler_.takeDue();
    if (timer == nullptr) {
      return;
    }
    dispatch([timer] {
      if (timer->onTimer) {
        timer->onTimer();
      }
    });
  }
}

void Desktop::displayChanged() {
  dispatch([this] {
    for (Form *form : forms_) {
      if (form->loaded() && form->centred()) {
        form->centreOnDisplay();
      }
    }
  });
}

void Desktop::setHidden(bool hidden) {
  // Through dispatch, so that the window system re-arms its timer when it returns.
  dispatch([this, hidden] {
    hidden_ = hidden;
    if (hidden) {
      scheduler_.pause();
    } else {
      scheduler_.resume();
    }
  });
}

void Desktop::minimisedOrRestored(const std::function<bool(const Form &)> &minimised) {
  bool shown = false;
  bool allMinimised = true;
  for (const Form *form : forms_) {
    if (form->design().kind == WindowKind::MdiChild || !form->visible()) {
      continue;
    }
    shown = true;
    allMinimised = allMinimised && minimised(*form);
  }
  const bool hidden = shown && allMinimised;
  if (hidden != hidden_) {
    setHidden(hidden);
  }
}

bool Desktop::closeRequested(Form &form) {
  if (form.design().kind != WindowKind::MdiParent) {
    return false;
  }
  end();
  return true;
}

std::optional<Millis> Desktop::waitForNextTick() const {
  const std::optional<Millis> due = scheduler_.nextDue();
  if (ended_ || !due) {
    return std::nullopt;
  }
  return std::max<Millis>(0, *due - scheduler_.now());
}

void Desktop::tabPosted() {
  if (depth_ > 0) {
    hold([this] { tabPosted(); });
    return;
  }
  dispatch([this] {
    if (active_ != nullptr) {
      active_->tab(false);
    }
  });
}

void Desktop::end() {
  if (ended_) {
    return;
  }
  ended_ = true;
  scheduler_.stopAll();
  services_.endProgram();
}

} // namespace tk
