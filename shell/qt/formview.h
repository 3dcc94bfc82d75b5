// The Qt window of one loaded form and a widget for each of its controls.
#pragma once

#include "toolkit/form.h"
#include "toolkit/form_views.h"

#include <QPointer>
#include <QWidget>

#include <unordered_map>
#include <utility>
#include <vector>

class QAction;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;

namespace qtb {

class QtBackend;
class LabelWidget;

class FormView {
public:
  FormView(tk::Form &form, QtBackend &backend);
  ~FormView();
  FormView(const FormView &) = delete;
  FormView &operator=(const FormView &) = delete;

  [[nodiscard]] tk::Form &form() const { return form_; }
  // The window the window system sees: a top-level window, a child window inside the
  // main window, or the main window itself.
  [[nodiscard]] QWidget *window() const { return window_; }
  // Where the controls live; its origin is the form's client area.
  [[nodiscard]] QWidget *client() const { return client_; }
  [[nodiscard]] QWidget *widget(const tk::Control &control) const;
  // The control a widget shows; nullptr for the window's own widgets.
  [[nodiscard]] tk::Control *control(const QWidget *widget) const;
  [[nodiscard]] QMdiArea *mdiArea() const { return mdiArea_; }

  void formChanged(tk::FormProperty property);
  void controlChanged(tk::Control &control, tk::Property property);

private:
  friend void tk::createWindow<FormView>(FormView &view, tk::WindowKind kind);
  void createMainWindow();
  void createChildWindow();
  void createTopLevelWindow();
  void createControls();
  void createMenus(QMainWindow &window);
  void nameWindow();
  void orderTabs();
  void place(const tk::Control &control, QWidget &widget) const;
  // The transparent labels that `changed` may uncover or cover learn what lies behind them.
  void refreshBackdrops(const tk::Control &changed) const;
  void show();

  tk::Form &form_;
  QtBackend &backend_;
  QPointer<QWidget> window_;
  QWidget *client_ = nullptr;
  QMdiArea *mdiArea_ = nullptr;
  QMdiSubWindow *subWindow_ = nullptr;
  std::unordered_map<const tk::Control *, QWidget *> widgets_;
  std::unordered_map<const tk::Control *, QAction *> actions_;
  std::vector<std::pair<const tk::Control *, LabelWidget *>> transparentLabels_;
};

} // namespace qtb
