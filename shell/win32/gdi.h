// How the toolkit's values look to GDI: pixels at a window's DPI, colours, fonts and
// brushes made once and kept, the focus ring.
#pragma once

#include "toolkit/types.h"

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

namespace w32 {

// Twips are 1/1440 inch: 15 to a pixel at 96 DPI, fewer as the DPI grows.
inline constexpr UINT twipsPerInch = 1440;
inline constexpr UINT standardDpi = USER_DEFAULT_SCREEN_DPI;

[[nodiscard]] int px(float twips, UINT dpi);
[[nodiscard]] float twips(int pixels, UINT dpi);
[[nodiscard]] COLORREF colorRef(tk::Color color);

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

// The toolkit's ring inside the edge of the control that has the keyboard.
void drawFocusRing(HDC dc, RECT rect, GdiObjects &gdi, UINT dpi);

} // namespace w32
