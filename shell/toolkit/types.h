// Value types of the screen toolkit: twips geometry, colours and fonts.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

namespace tk {

// Positions and sizes are twips, 1/1440 inch: 15 twips make one pixel at 96 dpi.
// The toolkit keeps twips; only the backend turns them into pixels.
inline constexpr int twipsPerPixel = 15;
inline constexpr int twipsPerInch = 1440;
inline constexpr int standardDotsPerInch = twipsPerInch / twipsPerPixel;
// Twips as the nearest whole pixel of a display with so many dots to the inch, half a
// pixel away from zero.
[[nodiscard]] inline int wholePixels(float twips, int dotsPerInch = standardDotsPerInch) {
  return static_cast<int>(
      std::lround(twips * static_cast<float>(dotsPerInch) / static_cast<float>(twipsPerInch)));
}

struct Rect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;

  [[nodiscard]] constexpr bool contains(float x, float y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
  constexpr bool operator==(const Rect &) const = default;
};

// Both ends of a line, relative to its container.
struct LineEnds {
  float x1 = 0;
  float y1 = 0;
  float x2 = 0;
  float y2 = 0;
  constexpr bool operator==(const LineEnds &) const = default;
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  // The Windows form 0x00BBGGRR in which many designs state their colours.
  static constexpr Color fromBgr(std::uint32_t bgr) {
    return {static_cast<std::uint8_t>(bgr & 0xFFU), static_cast<std::uint8_t>((bgr >> 8U) & 0xFFU),
            static_cast<std::uint8_t>((bgr >> 16U) & 0xFFU)};
  }
  [[nodiscard]] constexpr std::uint32_t bgr() const {
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8U) |
           (static_cast<std::uint32_t>(blue) << 16U);
  }
  constexpr bool operator==(const Color &) const = default;
};

constexpr Color rgb(int red, int green, int blue) {
  return {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
          static_cast<std::uint8_t>(blue)};
}

// The classic Windows scheme's system colours, which every design takes as its defaults.
namespace systemColor {
inline constexpr Color buttonFace = rgb(212, 208, 200);
inline constexpr Color buttonText = rgb(0, 0, 0);
inline constexpr Color window = rgb(255, 255, 255);
inline constexpr Color windowText = rgb(0, 0, 0);
} // namespace systemColor

struct Font {
  std::string_view name = "MS Sans Serif";
  float points = 8.25F;
  bool bold = false;
  bool italic = false;
  constexpr bool operator==(const Font &) const = default;
};

inline constexpr Font defaultFont{};

enum class Kind : std::uint8_t {
  Label,
  TextBox,
  Button,
  Frame,
  PictureBox,
  Image,
  Shape,
  Line,
  Timer,
  StatusBar,
  ProgressBar,
  Menu,
};

// Buttons, text boxes, frames, picture boxes and the components are windows of their
// own: they always lie in front of labels, images, shapes and lines.
constexpr bool isWindowed(Kind kind) {
  return kind != Kind::Label && kind != Kind::Image && kind != Kind::Shape && kind != Kind::Line;
}

enum class Align : std::uint8_t { Left, Centre, Right };

enum class ShapeStyle : std::uint8_t { Rectangle, RoundedRectangle };

// Mouse buttons and shift keys as the MouseMove event reports them.
namespace mouse {
inline constexpr int left = 1;
inline constexpr int right = 2;
inline constexpr int middle = 4;
} // namespace mouse
namespace shift {
inline constexpr int shiftKey = 1;
inline constexpr int ctrlKey = 2;
inline constexpr int altKey = 4;
} // namespace shift

struct MouseEvent {
  int buttons = 0;
  int shift = 0;
  float x = 0; // twips, relative to the control that receives the event
  float y = 0;
};

} // namespace tk
