#include "widgets.h"

#include "mapping.h"
#include "page.h"
#include "pictures.h"

#include <string>

namespace web {
namespace {

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

void syncLines(int element, const tk::Control &label) {
  page_label_clear(element);
  for (const CaptionPiece &piece : captionPieces(label.text(), label.caption())) {
    page_label_line(element, piece.text.c_str(), piece.after.c_str(), piece.left, piece.top);
  }
}

} // namespace

void createWidget(int window, int element, const tk::Form &form, const tk::Control &control,
                  int tabIndex) {
  const tk::ControlDesign &design = control.design();
  page_control_create(window, element, std::string(elementKind(control.kind())).c_str(),
                      control.qualifiedName().c_str(), stacking(form, control), tabIndex,
                      cssFont(design.font).c_str(), std::string(cssAlign(design.align)).c_str(),
                      flags(control).c_str(), picture(design.picture).c_str());
}

void sync(int element, const tk::Control &control) {
  syncText(element, control);
  syncColors(element, control);
}

void syncText(int element, const tk::Control &control) {
  if (control.kind() == tk::Kind::Label) {
    syncLines(element, control);
  } else {
    page_control_text(element, captionText(control.text()).c_str());
  }
}

void syncColors(int element, const tk::Control &control) {
  page_control_colors(element, cssColor(control.backColor()).c_str(),
                      cssColor(control.foreColor()).c_str(), control.design().borderPixels);
}

void syncPanels(int element, const tk::Control &statusBar) {
  page_status_panels(element, static_cast<int>(statusBar.panels().size()));
  for (int part = 0; part < static_cast<int>(statusBar.panels().size()); ++part) {
    const tk::StatusPanel &panel = statusBar.panels()[static_cast<std::size_t>(part)];
    const tk::PixelRect r = statusBar.panelRect(part);
    page_status_panel(element, part, r.left, r.top, r.right, r.bottom,
                      std::string(panelStyle(panel.style)).c_str(), panel.text.c_str());
  }
}

void syncProgress(int element, const tk::Control &progressBar) {
  page_control_progress(element, progressBar.min(), progressBar.max(), progressBar.value());
}

} // namespace web
