#include "pictures.h"

#include "mapping.h"
#include "png.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace w32 {
namespace {

// The scales the build draws every picture at, in per cent.
constexpr std::array<int, 3> scales{100, 150, 200};
constexpr int wholeScale = 100;

// The resource a picture has at a scale: "welcome-photo" at 150 % is WELCOME_PHOTO_150,
// as the build names it.
std::wstring resourceName(std::string_view name, int scale) {
  std::wstring id = widen(name);
  std::transform(id.begin(), id.end(), id.begin(),
                 [](wchar_t c) { return c == L'-' ? L'_' : static_cast<wchar_t>(towupper(c)); });
  return id + L"_" + std::to_wstring(scale);
}

// The smallest scale at least as large as the window's, else the largest.
int scaleFor(UINT dpi) {
  for (const int scale : scales) {
    if (scale * standardDpi >= dpi * wholeScale) {
      return scale;
    }
  }
  return scales.back();
}

} // namespace

Pictures::Pictures() = default;

Pictures::~Pictures() {
  for (auto &[key, bitmap] : bitmaps_) {
    DeleteObject(bitmap.handle);
  }
}

Pictures::Bitmap Pictures::decode(std::string_view name, int scale) {
  const std::wstring id = resourceName(name, scale);
  HRSRC resource = FindResourceW(nullptr, id.c_str(), RT_RCDATA);
  if (resource == nullptr) {
    return {};
  }
  const auto *bytes =
      static_cast<const std::uint8_t *>(LockResource(LoadResource(nullptr, resource)));
  const std::optional<Pixels> pixels = decodePng({bytes, SizeofResource(nullptr, resource)});
  if (!pixels) {
    return {};
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels->width;
  info.bmiHeader.biHeight = -pixels->height; // top-down, as the rows come
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (handle == nullptr) {
    return {};
  }
  std::memcpy(bits, pixels->argb.data(), pixels->argb.size() * sizeof(pixels->argb.front()));
  return {handle, {pixels->width, pixels->height}};
}

const Pictures::Bitmap &Pictures::bitmap(std::string_view name, int scale) {
  const auto key = std::make_pair(std::string(name), scale);
  auto it = bitmaps_.find(key);
  if (it == bitmaps_.end()) {
    it = bitmaps_.emplace(key, decode(name, scale)).first;
  }
  return it->second;
}

SIZE Pictures::size(std::string_view name, UINT dpi) {
  const Bitmap &own = bitmap(name, wholeScale);
  return {scaled(own.size.cx, dpi), scaled(own.size.cy, dpi)};
}

void Pictures::draw(HDC dc, std::string_view name, int x, int y, UINT dpi) {
  const SIZE drawn = size(name, dpi);
  draw(dc, name, RECT{x, y, x + drawn.cx, y + drawn.cy}, dpi);
}

void Pictures::draw(HDC dc, std::string_view name, RECT into, UINT dpi) {
  const Bitmap &source = bitmap(name, scaleFor(dpi));
  if (source.handle == nullptr || RectVisible(dc, &into) == 0) {
    return;
  }
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, source.handle);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  SetStretchBltMode(dc, HALFTONE);
  GdiAlphaBlend(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, memory, 0,
                0, source.size.cx, source.size.cy, blend);
  SelectObject(memory, old);
  DeleteDC(memory);
}

} // namespace w32
