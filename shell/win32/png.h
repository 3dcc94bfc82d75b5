// The program's pictures as the build stores them in the .exe: PNG files of 8-bit RGB or RGBA
// rows, as rsvg-convert writes them, decoded here rather than by the system's imaging codecs, which
// would load five libraries into the program to read them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace w32 {

struct Pixels {
  int width = 0;
  int height = 0;
  // Top-down rows of 0xAARRGGBB, each colour premultiplied by its alpha, as GDI's alpha
  // blending reads a 32-bit bitmap.
  std::vector<std::uint32_t> argb;
};

// The picture of a PNG file of 8-bit RGB or RGBA, not interlaced; nothing for any other file
// or a damaged one.
[[nodiscard]] std::optional<Pixels> decodePng(std::span<const std::uint8_t> file);

} // namespace w32
