#include "formview.h"

#include "backend.h"
#include "mapping.h"
#include "page.h"

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

std::string_view panelStyle(tk::StatusPanelDesign::Style style) {
  switch (style) {
  case tk::StatusPanelDesign::Style::Date:
    return "date";
  case tk::StatusPanelDesign::Style::Time:
    return "time";
  case tk::StatusPanelDesign::Style::Text:
    break;
  }
  return "text";
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
    const tk::ControlDesign &design = control->design();
    page_control_create(window_, h, std::string(elementKind(control->kind())).c_str(),
                        control->qualifiedName().c_str(), stacking(form_, *control),
                        tabIndex(control), cssFont(design.font).c_str(),
                        std::string(cssAlign(design.align)).c_str(), flags(*control).c_str(),
                        std::string(design.picture).c_str());
    describe(*control);
  }
  // In reading order, each into its container.
  for (tk::Control *control : order) {
    const int h = handle(control);
    page_control_container(h, handle(control->container()));
    place(*control);
    showText(*control);
    page_control_visible(h, control->visible() ? 1 : 0);
    page_control_enable(h, control->enabled() ? 1 : 0);
    page_control_locked(h, control->locked() ? 1 : 0);
    controlChanged(*control, tk::Property::Value);
    controlChanged(*control, tk::Property::Panels);
  }
}

void FormView::describe(const tk::Control &control) const {
  page_control_accessible(
      handle(&control), std::string(ariaRole(control)).c_str(), tk::accessibleName(control).c_str(),
      tk::accessibleDescription(control).c_str(), std::string(control.design().tooltip).c_str());
}

void FormView::place(const tk::Control &control) const {
  const int h = handle(&control);
  if (control.kind() == tk::Kind::Line) {
    const tk::LineEnds &ends = control.line();
    page_control_line(h, px(ends.x1), px(ends.y1), px(ends.x2), px(ends.y2));
    return;
  }
  tk::Rect r = control.rect();
  if (control.kind() == tk::Kind::Label) {
    // A line that stands out of the label within the slack is drawn whole.
    const tk::Rect &bounds = control.caption().bounds;
    r = {r.left + bounds.left, r.top + bounds.top, bounds.width, bounds.height};
  }
  page_control_place(h, px(r.left), px(r.top), px(r.width), px(r.height));
}

void FormView::showText(const tk::Control &control) const {
  const int h = handle(&control);
  if (control.kind() == tk::Kind::Label) {
    showLines(control);
  } else {
    page_control_text(h, captionText(control.text()).c_str());
  }
  page_control_colors(h, cssColor(control.backColor()).c_str(),
                      cssColor(control.foreColor()).c_str(), control.design().borderPixels);
}

void FormView::showLines(const tk::Control &label) const {
  const int h = handle(&label);
  page_label_clear(h);
  for (const CaptionPiece &piece : captionPieces(label.text(), label.caption())) {
    page_label_line(h, piece.text.c_str(), piece.after.c_str(), piece.left, piece.top);
  }
}

void FormView::showPanels(const tk::Control &control) const {
  const int h = handle(&control);
  page_status_panels(h, static_cast<int>(control.panels().size()));
  for (int part = 0; part < static_cast<int>(control.panels().size()); ++part) {
    const tk::StatusPanel &panel = control.panels()[static_cast<std::size_t>(part)];
    const tk::PixelRect r = control.panelRect(part);
    page_status_panel(h, part, r.left, r.top, r.right, r.bottom,
                      std::string(panelStyle(panel.style)).c_str(), panel.text.c_str());
  }
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
      page_control_progress(h, control.min(), control.max(), control.value());
    }
    break;
  case tk::Property::Panels:
    if (control.kind() == tk::Kind::StatusBar) {
      showPanels(control);
    }
    break;
  case tk::Property::Text:
  case tk::Property::Colors:
    showText(control);
    describe(control); // the accessible name follows the caption
    break;
  case tk::Property::Description:
    describe(control);
    break;
  }
}

} // namespace web
