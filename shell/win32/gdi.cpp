#include "gdi.h"

#include "text.h"

#include "toolkit/accessibility.h"

#include <cmath>

namespace w32 {
namespace {

constexpr int hundredthsPerPoint = 100;
constexpr int pointsPerInch = 72;

} // namespace

int px(float twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / twipsPerInch));
}

float twips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * twipsPerInch / static_cast<float>(dpi);
}

COLORREF colorRef(tk::Color color) {
  return RGB(color.red, color.green, color.blue);
}

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

void drawFocusRing(HDC dc, RECT rect, GdiObjects &gdi, UINT dpi) {
  const int pixels = MulDiv(tk::focusRing.pixels, static_cast<int>(dpi), standardDpi);
  for (const tk::Color colour : {tk::focusRing.outer, tk::focusRing.inner}) {
    HBRUSH brush = gdi.brush(colour);
    for (int i = 0; i < pixels; ++i) {
      FrameRect(dc, &rect, brush);
      InflateRect(&rect, -1, -1);
    }
  }
}

} // namespace w32
