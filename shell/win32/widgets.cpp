#include "widgets.h"

#include "mapping.h"

#include "toolkit/accessibility.h"

#include <algorithm>
#include <cmath>

namespace w32 {
namespace {

constexpr int hundredthsPerPoint = 100;
constexpr int pointsPerInch = 72;

RECT toRect(const tk::Rect &r) {
  return {std::lround(r.left), std::lround(r.top), std::lround(r.left + r.width),
          std::lround(r.top + r.height)};
}

tk::Rect fromRect(const RECT &r) {
  return {static_cast<float>(r.left), static_cast<float>(r.top),
          static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top)};
}

// One band of an edge is one pixel at 96 DPI.
float bandWidth(UINT dpi) {
  return static_cast<float>(dpi) / standardDpi;
}

void paintImage(const Canvas &canvas, const tk::Control &image, const RECT &r) {
  IntersectClipRect(canvas.dc, r.left, r.top, r.right, r.bottom);
  canvas.pictures.draw(canvas.dc, image.design().picture, r.left, r.top, canvas.dpi);
}

void paintShape(const Canvas &canvas, const tk::Control &shape, const RECT &r) {
  const int pen = scaled(shape.design().borderPixels, canvas.dpi);
  SelectObject(canvas.dc, CreatePen(PS_INSIDEFRAME, pen, colorRef(shape.foreColor())));
  SelectObject(canvas.dc, canvas.gdi.brush(shape.backColor()));
  if (shape.design().shape == tk::ShapeStyle::RoundedRectangle) {
    const int corner = 2 * std::lround(tk::cornerRadius * bandWidth(canvas.dpi));
    RoundRect(canvas.dc, r.left, r.top, r.right, r.bottom, corner, corner);
  } else {
    Rectangle(canvas.dc, r.left, r.top, r.right, r.bottom);
  }
  DeleteObject(SelectObject(canvas.dc, GetStockObject(BLACK_PEN)));
}

void paintLine(const Canvas &canvas, const tk::Control &line) {
  const tk::LineEnds &ends = line.line();
  const int offset = containerOffset(line, canvas.dpi);
  SelectObject(canvas.dc, CreatePen(PS_SOLID, scaled(1, canvas.dpi), colorRef(line.foreColor())));
  MoveToEx(canvas.dc, px(ends.x1, canvas.dpi) + offset, px(ends.y1, canvas.dpi) + offset, nullptr);
  LineTo(canvas.dc, px(ends.x2, canvas.dpi) + offset, px(ends.y2, canvas.dpi) + offset);
  DeleteObject(SelectObject(canvas.dc, GetStockObject(BLACK_PEN)));
}

// A picture, a shape or a line, in its container's coordinates.
void paintGraphic(const Canvas &canvas, const tk::Control &control) {
  const RECT r = rectOf(control, canvas.dpi);
  if (RectVisible(canvas.dc, &r) == 0) {
    return; // nothing of it is to be painted now
  }
  const int saved = SaveDC(canvas.dc);
  switch (control.kind()) {
  case tk::Kind::Image:
    paintImage(canvas, control, r);
    break;
  case tk::Kind::Shape:
    paintShape(canvas, control, r);
    break;
  case tk::Kind::Line:
    paintLine(canvas, control);
    break;
  default:
    break;
  }
  RestoreDC(canvas.dc, saved);
}

// A drawing shown in the pane (nullptr: the form's client area), which the pane draws.
bool drawnIn(const tk::Control &control, const tk::Control *pane) {
  return control.container() == pane && drawnByContainer(control) && control.visible();
}

// An etched edge with the frame's caption standing over the top of it.
void paintFrame(const Canvas &canvas, const tk::Control &frame, const RECT &area) {
  HGDIOBJ old = SelectObject(canvas.dc, canvas.gdi.font(frame.design().font, canvas.dpi));
  const std::wstring caption = widen(frame.text());
  SIZE text{};
  GetTextExtentPoint32W(canvas.dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  const tk::FrameLayout layout =
      tk::layOutFrame(fromRect(area), caption.empty() ? 0 : static_cast<float>(text.cx),
                      static_cast<float>(text.cy), bandWidth(canvas.dpi));
  paintEdge(canvas, tk::Edge::Etched, toRect(layout.edge));
  if (layout.captionBox) {
    const RECT place = toRect(*layout.captionBox);
    FillRect(canvas.dc, &place, canvas.gdi.brush(frame.backColor()));
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, colorRef(frame.foreColor()));
    TextOutW(canvas.dc, std::lround(layout.textLeft), place.top, caption.c_str(),
             static_cast<int>(caption.size()));
  }
  SelectObject(canvas.dc, old);
}

// The caption's lines as they were laid out, each where it stands: never wrapped again.
void paintLabel(const Canvas &canvas, const tk::Control &label, RECT area) {
  if (label.design().border) {
    FrameRect(canvas.dc, &area, canvas.gdi.brush(tk::systemColor::windowText));
  }
  HGDIOBJ font = SelectObject(canvas.dc, canvas.gdi.font(label.design().font, canvas.dpi));
  SetBkMode(canvas.dc, TRANSPARENT);
  SetTextColor(canvas.dc, colorRef(label.foreColor()));
  const tk::Rect &bounds = label.caption().bounds;
  for (const tk::CaptionLine &line : label.caption().lines) {
    const std::wstring text = widen(label.captionLine(line));
    RECT place{area.left + px(line.left - bounds.left, canvas.dpi),
               area.top + px(line.top, canvas.dpi), area.right, area.bottom};
    DrawTextW(canvas.dc, text.c_str(), static_cast<int>(text.size()), &place,
              DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_LEFT);
  }
  SelectObject(canvas.dc, font);
}

void paintPanel(const Canvas &canvas, const tk::PixelRect &panel, const std::wstring &text) {
  auto at = [&canvas](int pixels) {
    return px(static_cast<float>(pixels) * tk::twipsPerPixel, canvas.dpi);
  };
  const RECT box{at(panel.left), at(panel.top), at(panel.right), at(panel.bottom)};
  RECT inside = paintEdge(canvas, tk::Edge::Thin, box);
  inside.left += at(tk::panelTextLeft);
  inside.right -= at(tk::panelTextRight);
  DrawTextW(canvas.dc, text.c_str(), static_cast<int>(text.size()), &inside,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

} // namespace

GdiObjects::~GdiObjects() {
  for (auto &[key, font] : fonts_) {
    DeleteObject(font);
  }
  for (auto &[key, brush] : brushes_) {
    DeleteObject(brush);
  }
}

HFONT GdiObjects::font(const tk::Font &font, UINT dpi) {
  const int hundredths = static_cast<int>(std::lround(font.points * hundredthsPerPoint));
  const auto key = std::make_tuple(std::string(font.name), hundredths, font.bold, font.italic, dpi);
  if (auto it = fonts_.find(key); it != fonts_.end()) {
    return it->second;
  }
  LOGFONTW description{};
  description.lfHeight =
      -MulDiv(hundredths, static_cast<int>(dpi), pointsPerInch * hundredthsPerPoint);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfItalic = font.italic ? TRUE : FALSE;
  description.lfCharSet = DEFAULT_CHARSET;
  // Outlines only: MS Sans Serif is also a raster font, whose few sizes would stand in for
  // the designs' 18 and 24 points.
  description.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  description.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring face = widen(font.name);
  face.copy(description.lfFaceName, LF_FACESIZE - 1);
  HFONT made = CreateFontIndirectW(&description);
  fonts_.emplace(key, made);
  return made;
}

HBRUSH GdiObjects::brush(tk::Color color) {
  const COLORREF ref = colorRef(color);
  if (auto it = brushes_.find(ref); it != brushes_.end()) {
    return it->second;
  }
  HBRUSH made = CreateSolidBrush(ref);
  brushes_.emplace(ref, made);
  return made;
}

Buffered::Buffered(HDC target, RECT area) : target_(target), area_(area) {
  dc_ = CreateCompatibleDC(target);
  bitmap_ = CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top);
  old_ = SelectObject(dc_, bitmap_);
  SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
}

Buffered::~Buffered() {
  SetViewportOrgEx(dc_, 0, 0, nullptr);
  BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_, 0,
         0, SRCCOPY);
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

bool drawnByContainer(const tk::Control &control) {
  switch (control.kind()) {
  case tk::Kind::Shape:
  case tk::Kind::Line:
    return true;
  case tk::Kind::Image:
    return tk::accessibleRole(control) != tk::Role::Picture;
  default:
    return false;
  }
}

void paintFocusRing(HDC dc, RECT rect, GdiObjects &gdi, UINT dpi) {
  const int pixels = scaled(tk::focusRing.pixels, dpi);
  for (const tk::Color colour : {tk::focusRing.outer, tk::focusRing.inner}) {
    HBRUSH brush = gdi.brush(colour);
    for (int i = 0; i < pixels; ++i) {
      FrameRect(dc, &rect, brush);
      InflateRect(&rect, -1, -1);
    }
  }
}

RECT paintEdge(const Canvas &canvas, tk::Edge edge, const RECT &area) {
  const tk::Rect box = fromRect(area);
  for (const tk::Band &band : tk::edgeBands(edge, box, bandWidth(canvas.dpi))) {
    const RECT strip = toRect(band.rect);
    FillRect(canvas.dc, &strip, canvas.gdi.brush(band.color));
  }
  return toRect(tk::insideEdge(edge, box, bandWidth(canvas.dpi)));
}

void paintSurface(const Canvas &canvas, const tk::Form &form, const tk::Control *pane, RECT area) {
  const tk::Color back = pane != nullptr ? pane->backColor() : form.design().back;
  FillRect(canvas.dc, &area, canvas.gdi.brush(back));
  if (pane != nullptr && pane->kind() == tk::Kind::PictureBox && !pane->design().picture.empty()) {
    const int border = px(pane->innerOffset(), canvas.dpi);
    canvas.pictures.draw(canvas.dc, pane->design().picture, border, border, canvas.dpi);
  }
  const std::vector<tk::Control *> &order = form.frontToBack();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    if (drawnIn(**it, pane)) {
      paintGraphic(canvas, **it);
    }
  }
  if (pane == nullptr) {
    return;
  }
  if (pane->kind() == tk::Kind::PictureBox) {
    paintEdge(canvas, tk::Edge::Sunken, area);
  } else {
    paintFrame(canvas, *pane, area);
  }
}

// Drawn in the container's coordinates, over what lies behind it when transparent, under
// the drawings of the rows before it.
void paintInPlace(const Canvas &canvas, const tk::Control &control, HWND own, RECT area) {
  POINT origin{0, 0};
  MapWindowPoints(own, GetParent(own), &origin, 1);
  POINT old;
  OffsetViewportOrgEx(canvas.dc, -origin.x, -origin.y, &old);
  OffsetRect(&area, origin.x, origin.y);
  if (control.design().transparent || control.kind() == tk::Kind::Image) {
    RECT surface;
    GetClientRect(GetParent(own), &surface);
    IntersectClipRect(canvas.dc, area.left, area.top, area.right, area.bottom);
    paintSurface(canvas, control.form(), control.container(), surface);
  } else {
    FillRect(canvas.dc, &area, canvas.gdi.brush(control.backColor()));
  }
  if (control.kind() == tk::Kind::Image) {
    paintGraphic(canvas, control);
  } else {
    paintLabel(canvas, control, area);
  }
  // What lies in front of it, from the back to the front.
  const std::vector<tk::Control *> &order = control.form().frontToBack();
  for (auto it = order.begin() + control.form().depthOf(control); it != order.begin();) {
    --it;
    if (drawnIn(**it, control.container())) {
      paintGraphic(canvas, **it);
    }
  }
  SetViewportOrgEx(canvas.dc, old.x, old.y, nullptr);
}

void paintButton(const Canvas &canvas, const tk::Control &button, RECT area, bool pressed,
                 bool focused) {
  HDC dc = canvas.dc;
  FillRect(dc, &area, canvas.gdi.brush(button.backColor()));
  RECT edge = paintEdge(canvas, pressed ? tk::Edge::Pressed : tk::Edge::Raised, area);
  const std::wstring caption = widen(button.text());
  const std::string_view picture = button.design().picture;
  HGDIOBJ old = SelectObject(dc, canvas.gdi.font(button.design().font, canvas.dpi));
  RECT text = edge;
  DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  const int textHeight = caption.empty() ? 0 : text.bottom - text.top;
  if (!picture.empty()) {
    // The picture in the middle, above the caption, shrunk only where both would not fit.
    SIZE size = canvas.pictures.size(picture, canvas.dpi);
    const int room = edge.bottom - edge.top - textHeight;
    if (size.cy > room && size.cy > 0) {
      size = {MulDiv(size.cx, std::max(room, 1), size.cy), std::max(room, 1)};
    }
    const int left = (area.left + area.right - size.cx) / 2;
    const int top = edge.top + (room - size.cy) / 2;
    canvas.pictures.draw(dc, picture, RECT{left, top, left + size.cx, top + size.cy}, canvas.dpi);
    edge.top = top + size.cy;
  }
  if (!caption.empty()) {
    RECT place = edge;
    place.top += (edge.bottom - edge.top - textHeight) / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(button.enabled() ? button.foreColor() : tk::disabledText));
    DrawTextW(dc, caption.c_str(), -1, &place, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  }
  SelectObject(dc, old);
  if (focused) {
    paintFocusRing(dc, area, canvas.gdi, canvas.dpi);
  }
}

// The texts stay the control's, for a screen reader; a window on a panel (the progress
// bar) draws itself.
void paintStatusBar(const Canvas &canvas, const tk::Control &bar, RECT area,
                    const std::vector<std::wstring> &texts) {
  FillRect(canvas.dc, &area, canvas.gdi.brush(bar.backColor()));
  HGDIOBJ font = SelectObject(canvas.dc, canvas.gdi.font(bar.design().font, canvas.dpi));
  SetBkMode(canvas.dc, TRANSPARENT);
  SetTextColor(canvas.dc, colorRef(bar.foreColor()));
  for (std::size_t part = 0; part < texts.size(); ++part) {
    paintPanel(canvas, bar.panelRect(static_cast<int>(part)), texts[part]);
  }
  SelectObject(canvas.dc, font);
}

} // namespace w32
