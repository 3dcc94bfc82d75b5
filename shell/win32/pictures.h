// The program's pictures: the SVGs of resources/ turned at build time into PNGs at 100,
// 150 and 200 %, compiled into the .exe, decoded with WIC when first drawn. Each is drawn
// from the scale that suits the window's DPI, so it stays crisp.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>

struct IWICImagingFactory;

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
  // Unloads the decoder, keeping the pictures drawn so far: a picture not drawn yet loads it
  // again.
  void releaseDecoder();
  [[nodiscard]] bool decoderLoaded() const { return decoderTried_; }

private:
  struct Bitmap {
    HBITMAP handle = nullptr;
    SIZE size{};
  };
  const Bitmap &bitmap(std::string_view name, int scale);
  Bitmap decode(std::string_view name, int scale);
  IWICImagingFactory *factory();

  bool decoderTried_ = false;
  bool comStarted_ = false; // to be ended
  HMODULE codecs_ = nullptr;
  IWICImagingFactory *factory_ = nullptr;
  std::map<std::pair<std::string, int>, Bitmap, std::less<>> bitmaps_;
};

} // namespace w32
