// The program decodes its own pictures: every one the build compiles in comes out as the
// system's imaging codecs (WIC) decode it, pixel for pixel, and a damaged file gives nothing.
#include "shell/win32/png.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <wincodec.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

// Three by two pixels of every kind of alpha, their rows filtered Sub and Up, deflated in one
// block of the fixed code (Python's zlib at level 9).
constexpr std::uint8_t fixedCode[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x9d, 0x74, 0x66,
    0x1a, 0x00, 0x00, 0x00, 0x22, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xfc, 0xcf, 0xc0, 0xf0,
    0x9f, 0xf1, 0x3f, 0x43, 0x23, 0x03, 0xe3, 0xff, 0x06, 0x26, 0x6e, 0x11, 0x39, 0xcd, 0x13, 0xa9,
    0x46, 0xf5, 0x8c, 0x4c, 0x2c, 0x2c, 0x00, 0x72, 0xf0, 0x07, 0x52, 0x68, 0x7a, 0x18, 0xa4, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
// The same pixels, their rows filtered Average and Paeth, stored without compression (level 0).
constexpr std::uint8_t storedBlock[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x9d, 0x74, 0x66,
    0x1a, 0x00, 0x00, 0x00, 0x25, 0x49, 0x44, 0x41, 0x54, 0x78, 0x01, 0x01, 0x1a, 0x00, 0xe5, 0xff,
    0x03, 0xff, 0x00, 0x00, 0xff, 0x81, 0xff, 0x00, 0x01, 0x00, 0x81, 0xff, 0xc0, 0x04, 0x0b, 0x14,
    0x1e, 0x29, 0xc8, 0x65, 0x14, 0xd7, 0x39, 0x02, 0x04, 0x84, 0x82, 0xa2, 0x09, 0x08, 0x9e, 0x5c,
    0x70, 0x95, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

template <class Com> struct Released {
  Com *pointer = nullptr;
  Released() = default;
  Released(const Released &) = delete;
  Released &operator=(const Released &) = delete;
  ~Released() {
    if (pointer != nullptr) {
      pointer->Release();
    }
  }
  Com **operator&() { return &pointer; }
  Com *operator->() const { return pointer; }
};

// The picture as WIC decodes it, premultiplied as the program draws it.
std::optional<w32::Pixels> decodedBySystem(std::span<const std::uint8_t> file) {
  Released<IWICImagingFactory> factory;
  Released<IWICStream> stream;
  Released<IWICBitmapDecoder> decoder;
  Released<IWICBitmapFrameDecode> frame;
  Released<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void **>(&factory))) ||
      FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE *>(file.data()),
                                          static_cast<DWORD>(file.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.pointer, nullptr,
                                              WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.pointer, GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height))) {
    return std::nullopt;
  }
  w32::Pixels pixels{static_cast<int>(width), static_cast<int>(height),
                     std::vector<std::uint32_t>(std::size_t{width} * height)};
  const UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                   reinterpret_cast<BYTE *>(pixels.argb.data())))) {
    return std::nullopt;
  }
  return pixels;
}

std::span<const std::uint8_t> resource(const wchar_t *name) {
  HRSRC found = FindResourceW(nullptr, name, RT_RCDATA);
  if (found == nullptr) {
    return {};
  }
  return {static_cast<const std::uint8_t *>(LockResource(LoadResource(nullptr, found))),
          SizeofResource(nullptr, found)};
}

std::vector<std::wstring> compiledInPictures() {
  std::vector<std::wstring> names;
  EnumResourceNamesW(
      nullptr, RT_RCDATA,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
        if (!IS_INTRESOURCE(name)) {
          reinterpret_cast<std::vector<std::wstring> *>(list)->emplace_back(name);
        }
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  return names;
}

struct PngDecoder : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))); }
  void TearDown() override { CoUninitialize(); }

  static void expectAsTheSystemDecodes(std::span<const std::uint8_t> file,
                                       const std::string &what) {
    const std::optional<w32::Pixels> ours = w32::decodePng(file);
    const std::optional<w32::Pixels> system = decodedBySystem(file);
    ASSERT_TRUE(system.has_value()) << what;
    ASSERT_TRUE(ours.has_value()) << what;
    ASSERT_EQ(ours->width, system->width) << what;
    ASSERT_EQ(ours->height, system->height) << what;
    std::size_t differing = 0;
    std::size_t first = 0;
    for (std::size_t i = ours->argb.size(); i-- > 0;) {
      if (ours->argb[i] != system->argb[i]) {
        ++differing;
        first = i;
      }
    }
    EXPECT_EQ(differing, 0U) << what << ": first at pixel " << first << ", ours " << std::hex
                             << ours->argb[first] << ", the system's " << system->argb[first];
  }
};

TEST_F(PngDecoder, decodesEveryKindOfBlockAndFilterAsTheSystemDoes) {
  expectAsTheSystemDecodes(fixedCode, "the fixed code, Sub and Up");
  expectAsTheSystemDecodes(storedBlock, "a stored block, Average and Paeth");
}

TEST_F(PngDecoder, decodesEveryPictureOfTheProgramAsTheSystemDoes) {
  const std::vector<std::wstring> names = compiledInPictures();
  // Every picture of resources/ at 100, 150 and 200 %.
  ASSERT_GE(names.size(), 3U);
  for (const std::wstring &name : names) {
    expectAsTheSystemDecodes(resource(name.c_str()), std::string(name.begin(), name.end()));
  }
}

// However a file is cut or spoiled, the decoder answers: a picture of its size or nothing.
TEST_F(PngDecoder, aDamagedFileGivesNothingOrAWholePicture) {
  const std::span<const std::uint8_t> file = resource(L"TABLE_BUTTON_100");
  ASSERT_FALSE(file.empty());
  const std::optional<w32::Pixels> whole = w32::decodePng(file);
  ASSERT_TRUE(whole.has_value());
  for (std::size_t length = 0; length < file.size(); ++length) {
    EXPECT_FALSE(w32::decodePng(file.first(length)).has_value()) << "cut at " << length;
  }
  std::vector<std::uint8_t> spoiled(file.begin(), file.end());
  for (std::size_t at = 0; at < spoiled.size(); ++at) {
    for (const std::uint8_t flip : {std::uint8_t{0x01}, std::uint8_t{0x10}, std::uint8_t{0x80}}) {
      spoiled[at] ^= flip;
      if (const auto picture = w32::decodePng(spoiled)) {
        EXPECT_EQ(picture->argb.size(), static_cast<std::size_t>(picture->width) *
                                            static_cast<std::size_t>(picture->height))
            << "byte " << at;
      }
      spoiled[at] ^= flip;
    }
  }
}

} // namespace
