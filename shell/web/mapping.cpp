#include "mapping.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace web {
namespace {

struct FontLookAlike {
  std::string_view design;
  std::string_view css;
};

// Liberation Sans, cut to the page's characters under a name of our own, and Comic Neue
// travel with the page as WOFF2.
constexpr std::array lookAlikes{
    FontLookAlike{"MS Sans Serif", "'Honderdtafels Sans', sans-serif"},
    FontLookAlike{"Arial", "'Honderdtafels Sans', sans-serif"},
    FontLookAlike{"Comic Sans MS", "'Comic Neue', 'Honderdtafels Sans', cursive"},
};

struct NamedKey {
  std::string_view key;
  std::int16_t code;
};
constexpr std::array namedKeys{
    NamedKey{"Enter", tk::key::enter},
    NamedKey{"Tab", tk::key::tab},
    NamedKey{"Backspace", tk::key::backspace},
    NamedKey{"Escape", tk::key::escape},
};

// The one code point of a UTF-8 text, if it holds exactly one.
std::optional<std::uint32_t> singleCodePoint(std::string_view text) {
  if (text.empty()) {
    return std::nullopt;
  }
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xe  ? 3
                             : (lead >> 3) == 0x1e ? 4
                                                   : 0;
  if (length == 0 || text.size() != length) {
    return std::nullopt;
  }
  constexpr std::array<unsigned, 5> leadBits{0, 0x7f, 0x1f, 0x0f, 0x07};
  std::uint32_t point = lead & leadBits.at(length);
  for (std::size_t i = 1; i < length; ++i) {
    point = (point << 6) | (static_cast<unsigned char>(text[i]) & 0x3fU);
  }
  return point;
}

} // namespace

std::int16_t keyCode(std::string_view key) {
  for (const NamedKey &named : namedKeys) {
    if (named.key == key) {
      return named.code;
    }
  }
  const std::optional<std::uint32_t> point = singleCodePoint(key);
  return point ? tk::keyCodeOf(*point) : 0;
}

std::optional<int> digitAtKeyPosition(std::string_view code) {
  for (const std::string_view row : {std::string_view("Digit"), std::string_view("Numpad")}) {
    if (code.size() == row.size() + 1 && code.substr(0, row.size()) == row && code.back() >= '0' &&
        code.back() <= '9') {
      return code.back() - '0';
    }
  }
  return std::nullopt;
}

tk::KeyDown keyDown(std::string_view key, std::string_view code, int flags) {
  return {.code = keyCode(key),
          .digitAtPlace = digitAtKeyPosition(code),
          .repeat = (flags & pageKey::repeat) != 0,
          .shift = (flags & pageKey::shift) != 0,
          .shortcut = (flags & (pageKey::ctrl | pageKey::alt | pageKey::meta)) != 0,
          .composing = (flags & pageKey::composing) != 0};
}

int px(float twips) {
  return tk::wholePixels(twips);
}

// Written by hand rather than with printf, which would bring its whole formatter, floating
// point included, into the page's WebAssembly for these two lines.
std::string cssColor(tk::Color color) {
  constexpr std::string_view hexDigits = "0123456789abcdef";
  std::string text = "#";
  for (const std::uint8_t channel : {color.red, color.green, color.blue}) {
    text += hexDigits[channel / 16];
    text += hexDigits[channel % 16];
  }
  return text;
}

namespace {

std::string sideColor(const std::optional<tk::Color> &color) {
  return color ? cssColor(*color) : std::string("transparent");
}

} // namespace

CssEdge cssEdge(tk::Edge edge) {
  const std::span<const tk::EdgeRing> rings = tk::edgeRings(edge);
  const std::string topLeft = sideColor(rings.front().topLeft);
  const std::string bottomRight = sideColor(rings.front().bottomRight);
  CssEdge css{topLeft + " " + bottomRight + " " + bottomRight + " " + topLeft, {}};
  if (rings.size() > 1) {
    const tk::EdgeRing &inner = rings[1];
    if (inner.topLeft) {
      css.inside = "inset 1px 1px " + cssColor(*inner.topLeft);
    }
    if (inner.bottomRight) {
      css.inside += (css.inside.empty() ? "" : ", ") + std::string("inset -1px -1px ") +
                    cssColor(*inner.bottomRight);
    }
  }
  if (css.inside.empty()) {
    css.inside = "none";
  }
  return css;
}

std::string cssFamily(std::string_view designFont) {
  for (const FontLookAlike &font : lookAlikes) {
    if (font.design == designFont) {
      return std::string(font.css);
    }
  }
  return "'" + std::string(designFont) + "', 'Honderdtafels Sans', sans-serif";
}

std::string cssPoints(float points) {
  constexpr long hundredthsPerPoint = 100;
  const long hundredths = std::lround(points * static_cast<float>(hundredthsPerPoint));
  std::string text = std::to_string(hundredths / hundredthsPerPoint);
  const long fraction = hundredths % hundredthsPerPoint;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) {
      text += static_cast<char>('0' + fraction % 10);
    }
  }
  return text;
}

std::string cssFont(const tk::Font &font) {
  std::string css;
  css += font.italic ? "italic " : "";
  css += font.bold ? "bold " : "";
  return css + cssPoints(font.points) + "pt " + cssFamily(font.name);
}

std::string_view cssAlign(tk::Align align) {
  switch (align) {
  case tk::Align::Centre:
    return "center";
  case tk::Align::Right:
    return "right";
  case tk::Align::Left:
    break;
  }
  return "left";
}

std::string_view elementKind(tk::Kind kind) {
  switch (kind) {
  case tk::Kind::Label:
    return "label";
  case tk::Kind::TextBox:
    return "textbox";
  case tk::Kind::Button:
    return "button";
  case tk::Kind::Frame:
    return "frame";
  case tk::Kind::PictureBox:
    return "picturebox";
  case tk::Kind::Image:
    return "image";
  case tk::Kind::Shape:
    return "shape";
  case tk::Kind::Line:
    return "line";
  case tk::Kind::StatusBar:
    return "statusbar";
  case tk::Kind::ProgressBar:
    return "progressbar";
  case tk::Kind::Timer:
  case tk::Kind::Menu:
    break;
  }
  return "";
}

std::string captionText(std::string_view text) {
  std::string caption(text);
  for (std::size_t at = caption.find("\r\n"); at != std::string::npos;
       at = caption.find("\r\n", at)) {
    caption.erase(at, 1);
  }
  return caption;
}

std::vector<CaptionPiece> captionPieces(std::string_view text, const tk::CaptionLayout &layout) {
  std::vector<CaptionPiece> pieces;
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const tk::CaptionLine &line = layout.lines[i];
    const std::size_t end = line.start + line.length;
    const std::size_t next = i + 1 < layout.lines.size() ? layout.lines[i + 1].start : text.size();
    pieces.push_back({.text = captionText(text.substr(line.start, line.length)),
                      .after = captionText(text.substr(end, next - end)),
                      .left = px(line.left - layout.bounds.left),
                      .top = px(line.top)});
  }
  return pieces;
}

std::string flags(const tk::Control &control) {
  const tk::ControlDesign &design = control.design();
  const std::pair<bool, std::string_view> words[] = {
      {design.transparent, "transparent"},
      {design.border, "border"},
      {design.pictureOnTop && !design.text.empty(), "pictureontop"},
      {design.shape == tk::ShapeStyle::RoundedRectangle, "rounded"},
      {design.digitKeys, "digits"},
  };
  std::string result;
  for (const auto &[on, word] : words) {
    if (on) {
      result += result.empty() ? "" : " ";
      result += word;
    }
  }
  return result;
}

int stacking(const tk::Form &form, const tk::Control &control) {
  return static_cast<int>(form.frontToBack().size()) - form.depthOf(control);
}

} // namespace web
