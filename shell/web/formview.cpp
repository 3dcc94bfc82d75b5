#include "formview.h"

#include "accessible.h"
#include "backend.h"
#include "mapping.h"
#include "page.h"
#include "widgets.h"

#include "toolkit/accessibility.h"
#include "toolkit/desktop.h"

#include <algorithm>
#include <string>

namespace web {
namespace {

std::string_view windowKind(tk::WindowKind kind) {
  switch (kind) {
  case tk::WindowKind::MdiParent:
    return "main";
  case tk::WindowKind::MdiChild:
    return "child";
  case tk::WindowKind::TopLevel:
    break;
  }
  return "window";
}

} // namespace

FormView::FormView(tk::Form &form, WebBackend &backend)
    : form_(form), backend_(backend), window_(backend.newHandle()) {
  createWindow();
  if (form.design().kind == tk::WindowKind::MdiParent) {
    createMenus();
  } else {
    createControls();
  }
  formChanged(tk::FormProperty::Position);
}

FormView::~FormView() {
  page_window_destroy(window_);
}

tk::Control *FormView::control(int handle) const {
  auto it = controls_.find(handle);
  return it == controls_.end() ? nullptr : it->second;
}

int FormView::handle(const tk::Control *control) const {
  auto it = handles_.find(control);
  return it == handles_.end() ? 0 : it->second;
}

void FormView::createWindow() {
  const tk::FormDesign &design = form_.design();
  // The frame the toolkit counts in a window's outer size.
  const int edge = px((form_.outerWidth() - form_.clientWidth()) / 2);
  const int title = px(form_.outerHeight() - form_.clientHeight()) - 2 * edge;
  page_window_create(window_, std::string(design.name).c_str(),
                     std::string(windowKind(design.kind)).c_str(),
                     std::string(design.caption).c_str(), px(design.clientWidth),
                     px(design.clientHeight), edge, title, tk::accessibleName(form_).c_str(),
                     cssColor(design.back).c_str(), cssFont(design.font).c_str());
}

void FormView::createMenus() {
  for (const auto &item : form_.controls()) {
    if (item->kind() != tk::Kind::Menu) {
      continue;
    }
    const int menu = backend_.newHandle();
    handles_[item.get()] = menu;
    controls_[menu] = item.get();
    page_menu_add(window_, menu, handle(item->container()), item->qualifiedName().c_str(),
                  item->text().c_str());
    controlChanged(*item, tk::Property::Visible);
  }
}

void FormView::createControls() {
  const std::vector<tk::Control *> order = readingOrder(form_);
  const std::vector<tk::Control *> tabs = tk::tabOrder(form_);
  auto tabIndex = [&tabs](const tk::Control *control) {
    const auto at = std::find(tabs.begin(), tabs.end(), control);
    return at == tabs.end() ? 0 : static_cast<int>(at - tabs.begin()) + 1;
  };
  for (tk::Control *control : order) {
    const int h = backend_.newHandle();
    handles_[control] = h;
    controls_[h] = control;
    createWidget(window_, h, form_, *control, tabIndex(control));
    nameForScreenReader(*control, h);
  }
  // In reading order, each into its container.
  for (tk::Control *control : order) {
    const int h = handle(control);
    page_control_container(h, handle(control->container()));
    place(*control);
    sync(h, *control);
    page_control_visible(h, control->visible() ? 1 : 0);
    page_control_enable(h, control->enabled() ? 1 : 0);
    page_control_locked(h, control->locked() ? 1 : 0);
    controlChanged(*control, tk::Property::Value);
    controlChanged(*control, tk::Property::Panels);
  }
}

void FormView::place(const tk::Control &control) const {
  const int h = handle(&control);
  if (control.kind() == tk::Kind::Line) {
    const tk::LineEnds &ends = control.line();
    page_control_line(h, px(ends.x1), px(ends.y1), px(ends.x2), px(ends.y2));
    return;
  }
  const tk::Rect r = control.drawnRect();
  page_control_place(h, px(r.left), px(r.top), px(r.width), px(r.height));
}

void FormView::giveKeyboard() const {
  const tk::Control *focused = form_.focused();
  page_window_focus(window_, focused != nullptr ? handle(focused) : 0);
}

void FormView::formChanged(tk::FormProperty property) {
  switch (property) {
  case tk::FormProperty::Visible:
    page_window_show(window_, form_.visible() ? 1 : 0);
    break;
  case tk::FormProperty::Position:
    page_window_move(window_, px(form_.left()), px(form_.top()));
    break;
  case tk::FormProperty::Enabled:
    page_window_enable(window_, form_.enabled() ? 1 : 0);
    break;
  case tk::FormProperty::Caption:
    break; // the designs never change a caption
  case tk::FormProperty::Raised:
    page_window_raise(window_);
    giveKeyboard();
    break;
  case tk::FormProperty::Focus:
    // No control holds the focus any more; the window in front takes the keys itself.
    if (backend_.desktop() != nullptr && backend_.desktop()->active() == &form_) {
      giveKeyboard();
    }
    break;
  }
}

void FormView::controlChanged(tk::Control &control, tk::Property property) {
  const int h = handle(&control);
  if (h == 0) {
    return;
  }
  if (control.kind() == tk::Kind::Menu) {
    page_menu_update(h, control.text().c_str(), control.visible() ? 1 : 0,
                     control.enabled() ? 1 : 0);
    return;
  }
  switch (property) {
  case tk::Property::Visible:
    page_control_visible(h, control.visible() ? 1 : 0);
    break;
  case tk::Property::Enabled:
    page_control_enable(h, control.enabled() ? 1 : 0);
    break;
  case tk::Property::Geometry:
    place(control);
    break;
  case tk::Property::Focus:
    page_control_focus(h);
    break;
  case tk::Property::Locked:
    page_control_locked(h, control.locked() ? 1 : 0);
    break;
  case tk::Property::Container:
    page_control_container(h, handle(control.container()));
    place(control);
    break;
  case tk::Property::Value:
    if (control.kind() == tk::Kind::ProgressBar) {
      syncProgress(h, control);
    }
    break;
  case tk::Property::Panels:
    if (control.kind() == tk::Kind::StatusBar) {
      syncPanels(h, control);
    }
    break;
  case tk::Property::Text:
    syncText(h, control);
    nameForScreenReader(control, h); // the accessible name follows the caption
    break;
  case tk::Property::Colors:
    syncColors(h, control);
    break;
  case tk::Property::Description:
    nameForScreenReader(control, h);
    break;
  }
}

} // namespace web
