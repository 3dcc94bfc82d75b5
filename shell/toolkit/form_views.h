// What a window system keeps of the forms it shows: one view of its own kind per loaded
// form, made when the form loads and dropped when it unloads, which hears the changes of
// the form and of its controls.
#pragma once

#include "control.h"
#include "desktop.h"
#include "form.h"

#include <iterator>
#include <map>
#include <memory>

namespace tk {

// Makes a form's window by its kind, as every view names the three ways: the main window
// with its menus and MDI area, a window inside it, or a window of its own.
template <class View> void createWindow(View &view, WindowKind kind) {
  switch (kind) {
  case WindowKind::MdiParent:
    view.createMainWindow();
    break;
  case WindowKind::MdiChild:
    view.createChildWindow();
    break;
  case WindowKind::TopLevel:
    view.createTopLevelWindow();
    break;
  }
}

template <class View> class FormViews {
public:
  using Map = std::map<const Form *, std::unique_ptr<View>>;

  template <class WindowSystem> void load(Form &form, WindowSystem &windowSystem) {
    views_[&form] = std::make_unique<View>(form, windowSystem);
  }
  void unload(const Form &form) { views_.erase(&form); }

  [[nodiscard]] View *find(const Form &form) const {
    auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.get();
  }

  void formChanged(const Form &form, FormProperty property) const {
    if (View *v = find(form)) {
      v->formChanged(property);
    }
  }
  void controlChanged(Control &control, Property property) const {
    if (View *v = find(control.form())) {
      v->controlChanged(control, property);
    }
  }

  // Drops the views for which drop(view) holds.
  template <class Predicate> void dropIf(Predicate drop) {
    for (auto it = views_.begin(); it != views_.end();) {
      it = drop(*it->second) ? views_.erase(it) : std::next(it);
    }
  }
  void clear() { views_.clear(); }

  [[nodiscard]] typename Map::const_iterator begin() const { return views_.begin(); }
  [[nodiscard]] typename Map::const_iterator end() const { return views_.end(); }

private:
  Map views_;
};

// A window system that shows each loaded form as a view of its own kind and passes every
// change of a form or of its controls to that form's view. Backend is the window system
// itself, with which each view is made; where its views call back into it as they go, its
// destructor clears views_, which would otherwise outlive its own members.
template <class Backend, class View> class ViewingWindowSystem : public WindowSystem {
public:
  void formLoaded(Form &form) override { views_.load(form, static_cast<Backend &>(*this)); }
  void formUnloaded(Form &form) override { views_.unload(form); }
  void formChanged(Form &form, FormProperty property) override {
    views_.formChanged(form, property);
  }
  void controlChanged(Control &control, Property property) override {
    views_.controlChanged(control, property);
  }

protected:
  FormViews<View> views_;
};

} // namespace tk
