// Drawing, per kind of control: what the windows we draw ourselves show, in the designs'
// colours and fonts at their window's DPI, with the GDI objects that draws them.
#pragma once

#include "pictures.h"

#include "toolkit/edges.h"
#include "toolkit/form.h"

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace w32 {

// Fonts and brushes, made once and kept.
class GdiObjects {
public:
  GdiObjects() = default;
  ~GdiObjects();
  GdiObjects(const GdiObjects &) = delete;
  GdiObjects &operator=(const GdiObjects &) = delete;

  // The design's font at its point size for a window of this DPI.
  HFONT font(const tk::Font &font, UINT dpi);
  HBRUSH brush(tk::Color color);

private:
  std::map<std::tuple<std::string, int, bool, bool, UINT>, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
};

// Where a window is drawn: its device context, what it is drawn with, and its DPI.
struct Canvas {
  HDC dc;
  GdiObjects &gdi;
  Pictures &pictures;
  UINT dpi;
};

// Painting into a bitmap first and copying it at once: no flicker.
class Buffered {
public:
  Buffered(HDC target, RECT area);
  ~Buffered();
  Buffered(const Buffered &) = delete;
  Buffered &operator=(const Buffered &) = delete;
  [[nodiscard]] HDC dc() const { return dc_; }

private:
  HDC target_;
  RECT area_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// Shapes, lines and pictures without a name have no window: their container draws them.
[[nodiscard]] bool drawnByContainer(const tk::Control &control);

// The toolkit's ring inside the edge of the control that has the keyboard.
void paintFocusRing(HDC dc, RECT rect, GdiObjects &gdi, UINT dpi);
// Fills the bands of an edge round the area; returns what lies inside it.
RECT paintEdge(const Canvas &canvas, tk::Edge edge, const RECT &area);

// A form's client area (no pane) or a container: its colour, the drawings in it from the
// back to the front, and a container's picture and edge or caption.
void paintSurface(const Canvas &canvas, const tk::Form &form, const tk::Control *pane, RECT area);
// A label or a named picture, a window of its own that stacks with its container's
// drawings as the design orders them.
void paintInPlace(const Canvas &canvas, const tk::Control &control, HWND own, RECT area);
void paintButton(const Canvas &canvas, const tk::Control &button, RECT area, bool pressed,
                 bool focused);
// The bar's own colour, each panel in a thin sunken edge with its text.
void paintStatusBar(const Canvas &canvas, const tk::Control &bar, RECT area,
                    const std::vector<std::wstring> &texts);

} // namespace w32
