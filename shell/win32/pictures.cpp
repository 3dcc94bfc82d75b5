#include "pictures.h"

#include "mapping.h"

#include <wincodec.h>

#include <algorithm>
#include <array>
#include <vector>

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

template <class Com> struct Released {
  Com *pointer = nullptr;
  ~Released() {
    if (pointer != nullptr) {
      pointer->Release();
    }
  }
  Released() = default;
  Released(const Released &) = delete;
  Released &operator=(const Released &) = delete;
  Com **operator&() { return &pointer; }
  Com *operator->() const { return pointer; }
};

} // namespace

Pictures::Pictures() = default;

Pictures::~Pictures() {
  for (auto &[key, bitmap] : bitmaps_) {
    DeleteObject(bitmap.handle);
  }
  releaseDecoder();
}

// COM and WIC start with the first picture drawn, not before the first window shows. WIC's
// library is loaded by the program itself rather than by COM, which keeps what it loads
// until the program ends: so it can go again once the pictures on screen are drawn.
IWICImagingFactory *Pictures::factory() {
  if (!decoderTried_) {
    decoderTried_ = true;
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    codecs_ = LoadLibraryW(L"windowscodecs.dll");
    using GetClassObject = HRESULT WINAPI(REFCLSID, REFIID, void **);
    auto *getClassObject = codecs_ == nullptr
                               ? nullptr
                               : reinterpret_cast<GetClassObject *>(reinterpret_cast<void (*)()>(
                                     GetProcAddress(codecs_, "DllGetClassObject")));
    Released<IClassFactory> classFactory;
    if (getClassObject != nullptr &&
        SUCCEEDED(getClassObject(CLSID_WICImagingFactory, IID_IClassFactory,
                                 reinterpret_cast<void **>(&classFactory)))) {
      classFactory->CreateInstance(nullptr, IID_IWICImagingFactory,
                                   reinterpret_cast<void **>(&factory_));
    }
  }
  return factory_;
}

void Pictures::releaseDecoder() {
  if (factory_ != nullptr) {
    factory_->Release();
    factory_ = nullptr;
  }
  if (codecs_ != nullptr) {
    FreeLibrary(codecs_);
    codecs_ = nullptr;
  }
  if (comStarted_) {
    CoUninitialize();
    comStarted_ = false;
  }
  decoderTried_ = false;
}

Pictures::Bitmap Pictures::decode(std::string_view name, int scale) {
  const std::wstring id = resourceName(name, scale);
  HRSRC resource = FindResourceW(nullptr, id.c_str(), RT_RCDATA);
  IWICImagingFactory *wic = factory();
  if (resource == nullptr || wic == nullptr) {
    return {};
  }
  auto *bytes = static_cast<BYTE *>(LockResource(LoadResource(nullptr, resource)));
  const DWORD length = SizeofResource(nullptr, resource);
  Released<IWICStream> stream;
  Released<IWICBitmapDecoder> decoder;
  Released<IWICBitmapFrameDecode> frame;
  Released<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(wic->CreateStream(&stream)) || FAILED(stream->InitializeFromMemory(bytes, length)) ||
      FAILED(wic->CreateDecoderFromStream(stream.pointer, nullptr, WICDecodeMetadataCacheOnDemand,
                                          &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(wic->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.pointer, GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height))) {
    return {};
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height); // top-down, as WIC copies rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const UINT stride = width * 4;
  if (handle == nullptr ||
      FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE *>(bits)))) {
    DeleteObject(handle);
    return {};
  }
  return {handle, {static_cast<LONG>(width), static_cast<LONG>(height)}};
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
