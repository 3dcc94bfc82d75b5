// The page's window of one loaded form and an element for each of its controls.
#pragma once

#include "toolkit/form.h"

#include <unordered_map>

namespace web {

class WebBackend;

class FormView {
public:
  FormView(tk::Form &form, WebBackend &backend);
  ~FormView();
  FormView(const FormView &) = delete;
  FormView &operator=(const FormView &) = delete;

  [[nodiscard]] tk::Form &form() const { return form_; }
  [[nodiscard]] int window() const { return window_; }
  [[nodiscard]] tk::Control *control(int handle) const;

  void formChanged(tk::FormProperty property);
  void controlChanged(tk::Control &control, tk::Property property);

private:
  void createWindow();
  void createMenus();
  void createControls();
  void place(const tk::Control &control) const;
  void giveKeyboard() const;
  [[nodiscard]] int handle(const tk::Control *control) const;

  tk::Form &form_;
  WebBackend &backend_;
  int window_;
  std::unordered_map<const tk::Control *, int> handles_;
  std::unordered_map<int, tk::Control *> controls_;
};

} // namespace web
