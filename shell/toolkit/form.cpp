#include "form.h"

#include "accessibility.h"
#include "desktop.h"

#include <algorithm>
#include <stdexcept>

namespace tk {
namespace {

// The window frame around the client area, in pixels per edge.
int edgePixels(BorderStyle border) {
  switch (border) {
  case BorderStyle::None:
    return 0;
  case BorderStyle::FixedSingle:
    return 1;
  case BorderStyle::FixedDialog:
    return 3;
  case BorderStyle::Sizable:
    return 4;
  }
  return 0;
}

constexpr int titleBarPixels = 19;

bool takesPointer(const Control &control) {
  return control.kind() != Kind::Shape && control.kind() != Kind::Line &&
         control.kind() != Kind::Menu && control.visible() && control.enabled();
}

} // namespace

Form::Form(Desktop &desktop, const FormDesign &design)
    : desktop_(desktop), design_(design), left_(design.left), top_(design.top) {
  for (const ControlDesign &row : design.controls) {
    if (row.kind == Kind::Timer) {
      timers_.push_back(std::make_unique<Timer>(desktop.scheduler(), std::string(row.name),
                                                row.interval, row.enabled));
    } else {
      controls_.push_back(std::make_unique<Control>(*this, row, nullptr));
    }
  }
  for (const bool windowed : {true, false}) {
    for (const auto &c : controls_) {
      if (isWindowed(c->kind()) == windowed) {
        frontToBack_.push_back(c.get());
      }
    }
  }
  // Containers may be listed after what they hold, so they are found in a second pass.
  for (auto &c : controls_) {
    if (!c->design().in.empty()) {
      c->container_ = &control(c->design().in, c->design().inIndex);
    }
  }
  desktop_.added(*this);
}

Form::~Form() {
  // A form still loaded when the program shuts down takes its window with it.
  if (WindowSystem *ws = desktop_.windowSystem(); ws != nullptr && loaded_) {
    ws->formUnloaded(*this);
  }
  desktop_.removed(*this);
}

Control &Form::control(std::string_view name, std::int16_t index) const {
  for (const auto &c : controls_) {
    if (c->name() == name && c->index() == index) {
      return *c;
    }
  }
  throw std::out_of_range(std::string(design_.name) + " has no control " + std::string(name) +
                          (index == single ? "" : "(" + std::to_string(index) + ")"));
}

ControlArray Form::array(std::string_view name) {
  return {*this, name};
}

Timer &Form::timer(std::string_view name) const {
  for (const auto &t : timers_) {
    if (t->name() == name) {
      return *t;
    }
  }
  throw std::out_of_range(std::string(design_.name) + " has no timer " + std::string(name));
}

void Form::show() {
  desktop_.show(*this);
}

void Form::hide() {
  desktop_.hide(*this);
}

void Form::setLeft(float left) {
  centred_ = false;
  place(left, top_);
}

void Form::setTop(float top) {
  centred_ = false;
  place(left_, top);
}

void Form::place(float left, float top) {
  if (left != left_ || top != top_) {
    left_ = left;
    top_ = top;
    changed(FormProperty::Position);
  }
}

void Form::centreOnDisplay() {
  const Services &services = desktop_.services();
  place((services.displayWidth() - outerWidth()) * 0.5F,
        (services.displayHeight() - outerHeight()) * 0.5F);
  centred_ = true;
}

float Form::outerWidth() const {
  return tk::outerWidth(design_);
}

float Form::outerHeight() const {
  return tk::outerHeight(design_);
}

float outerWidth(const FormDesign &design) {
  return design.clientWidth + static_cast<float>(2 * edgePixels(design.border) * twipsPerPixel);
}

float outerHeight(const FormDesign &design) {
  const int title = design.titleBar ? titleBarPixels : 0;
  return design.clientHeight +
         static_cast<float>((2 * edgePixels(design.border) + title) * twipsPerPixel);
}

void Form::setEnabled(bool enabled) {
  if (enabled != enabled_) {
    enabled_ = enabled;
    changed(FormProperty::Enabled);
  }
}

bool Form::reachable() const {
  if (!loaded_ || !visible_ || !enabled_) {
    return false;
  }
  if (design_.kind == WindowKind::MdiChild) {
    if (const Form *main = desktop_.loadedMainWindow(); main != nullptr) {
      return main->visible_ && main->enabled_;
    }
  }
  return true;
}

int Form::depthOf(const Control &control) const {
  return static_cast<int>(std::find(frontToBack_.begin(), frontToBack_.end(), &control) -
                          frontToBack_.begin());
}

Control *Form::hit(const Control *container, float x, float y) const {
  for (Control *c : frontToBack_) {
    if (c->container() != container || !takesPointer(*c) || !c->rect().contains(x, y)) {
      continue;
    }
    const float inner = c->innerOffset();
    if (Control *child = hit(c, x - c->left() - inner, y - c->top() - inner)) {
      return child;
    }
    return c;
  }
  return nullptr;
}

Control *Form::controlAt(float x, float y) const {
  return hit(nullptr, x, y);
}

void Form::mouseMove(const MouseEvent &event) {
  desktop_.dispatch([this, &event] {
    if (!reachable()) {
      return;
    }
    Control *target = controlAt(event.x, event.y);
    if (target == nullptr) {
      if (onMouseMove) {
        onMouseMove(event);
      }
      return;
    }
    if (!target->onMouseMove) {
      return;
    }
    MouseEvent local = event;
    for (const Control *c = target; c != nullptr; c = c->container()) {
      local.x -= c->left();
      local.y -= c->top();
      if (c != target) {
        local.x -= c->innerOffset();
        local.y -= c->innerOffset();
      }
    }
    target->onMouseMove(local);
  });
}

std::int16_t Form::keyPress(std::int16_t key) {
  desktop_.dispatch([this, &key] {
    const bool controlTakesIt = focused_ != nullptr && focused_->reachable();
    if (reachable() && !controlTakesIt && onKeyPress) {
      onKeyPress(key);
    }
  });
  return key;
}

bool Form::tabKey(const KeyDown &key) {
  const FormKeyEffect effect = keyOnForm(key);
  if (effect != FormKeyEffect::NextControl && effect != FormKeyEffect::PreviousControl) {
    return false;
  }
  tab(effect == FormKeyEffect::PreviousControl);
  return true;
}

bool Form::typed(const KeyDown &key) {
  return keyOnForm(key) == FormKeyEffect::KeyPress && keyPress(key.code) == 0;
}

Control *Form::nextInTabOrder(const Control *from, bool backwards) const {
  std::vector<Control *> order = tabOrder(*this);
  if (backwards) {
    std::reverse(order.begin(), order.end());
  }
  const auto at = std::find(order.begin(), order.end(), from);
  // Round from the control after `from`, ending with `from` itself.
  const auto start = at == order.end() ? order.begin() : std::next(at);
  std::rotate(order.begin(), start, order.end());
  const auto next =
      std::find_if(order.begin(), order.end(), [](const Control *c) { return c->canHoldFocus(); });
  return next == order.end() ? nullptr : *next;
}

void Form::tab(bool backwards) {
  if (Control *next = nextInTabOrder(focused_, backwards)) {
    next->setFocus();
  }
}

void Form::moveFocus(Control *control) {
  if (control != nullptr) {
    control->setFocus();
    return;
  }
  focused_ = nullptr;
  changed(FormProperty::Focus);
}

void Form::focusOnShow() {
  if (focused_ == nullptr || !focused_->canHoldFocus()) {
    moveFocus(nextInTabOrder(nullptr));
  }
}

void Form::keepFocus() {
  if (focused_ != nullptr && !focused_->canHoldFocus()) {
    moveFocus(nextInTabOrder(focused_));
  }
}

void Form::changed(FormProperty property) {
  if (WindowSystem *ws = desktop_.windowSystem(); ws != nullptr && loaded_) {
    ws->formChanged(*this, property);
  }
}

void Form::controlChanged(Control &control, Property property) {
  if (WindowSystem *ws = desktop_.windowSystem(); ws != nullptr && loaded_) {
    ws->controlChanged(control, property);
  }
  if (property == Property::Visible || property == Property::Enabled ||
      property == Property::Container) {
    keepFocus();
  }
}

void Form::setVisibleFlag(bool visible) {
  if (visible != visible_) {
    visible_ = visible;
    changed(FormProperty::Visible);
  }
}

void Form::markUnloaded() {
  for (auto &t : timers_) {
    t->setEnabled(false);
  }
  for (auto &c : controls_) {
    if (c->minute_) {
      c->minute_->setEnabled(false);
    }
  }
  visible_ = false;
  loaded_ = false;
}

} // namespace tk
