// The program's pictures: the SVGs of resources/ turned at build time into PNGs at 100,
// 150 and 200 %, compiled into the .exe, decoded (png.h) when first drawn. Each is drawn
// from the scale that suits the window's DPI, so it stays crisp.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace w32 {

class Pictures {
public:
  Pictures();
  ~Pictures();
  Pictures(const Pictures &) = delete;
  Pictures &operator=(const Pictures &) = delete;

  // The picture's size in pixels at a DPI: its own size at 96 DPI, scaled.
  [[nodiscard]] SIZE size(std::string_view name, UINT dpi);
  // Draws it with its transparency, its corner at (x, y).
  void draw(HDC dc, std::string_view name, int x, int y, UINT dpi);
  // Draws it scaled into a rectangle.
  void draw(HDC dc, std::string_view name, RECT into, UINT dpi);

private:
  struct Bitmap {
    HBITMAP handle = nullptr;
    SIZE size{};
  };
  const Bitmap &bitmap(std::string_view name, int scale);
  static Bitmap decode(std::string_view name, int scale);

  std::map<std::pair<std::string, int>, Bitmap, std::less<>> bitmaps_;
};

} // namespace w32
