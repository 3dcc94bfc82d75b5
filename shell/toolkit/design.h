// Design tables: each screen states its window and its controls as rows of data.
#pragma once

#include "types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tk {

// Index of a control that is not part of a control array.
inline constexpr std::int16_t single = -1;

struct StatusPanelDesign {
  enum class Style : std::uint8_t { Text, Date, Time };
  float width = 0; // twips
  Style style = Style::Text;
  std::string_view text = {};
};

// One control of a design table. Rows are listed in stacking order within their
// container: an earlier row lies in front of a later one of the same group (windowed
// controls always lie in front of labels, images, shapes and lines).
struct ControlDesign {
  std::string_view name;
  std::int16_t index = single;
  Kind kind = Kind::Label;
  std::string_view in = {}; // container: a frame or picture box; empty for the form
  std::int16_t inIndex = single;
  std::string_view text = {}; // caption of labels, buttons, frames and menus; text of text boxes
  Rect rect = {};
  LineEnds line = {}; // lines only
  bool visible = true;
  bool enabled = true; // timers: enabled at design
  std::optional<Color> back = {};
  std::optional<Color> fore = {}; // text colour; the border colour of shapes and lines
  Font font = defaultFont;
  std::string_view picture = {}; // name of a picture in resources/
  std::string_view tooltip = {};
  // What a screen reader says about it: the name of a control without a caption, else
  // its description; a text box is named by it rather than by the text typed in it.
  std::string_view description = {};
  Align align = Align::Left;
  bool transparent = false; // labels: paint no background
  bool autoSize = false;    // labels: grow to fit the text
  bool wordWrap = false;    // labels: wrap at word boundaries
  bool border = false;      // labels: single-line border
  bool tabStop = true;
  bool locked = false; // text boxes: shown, but not to be typed in
  // Text boxes: the keys of the number row and the keypad type their digits whatever the
  // keyboard layout, Shift or NumLock say; every other key types what the layout gives.
  bool digitKeys = false;
  bool pictureOnTop = false; // buttons: the picture above the caption
  ShapeStyle shape = ShapeStyle::Rectangle;
  int borderPixels = 1; // shapes
  int interval = 0;     // timers, in ms
  std::span<const StatusPanelDesign> panels = {};
};

enum class WindowKind : std::uint8_t { MdiParent, MdiChild, TopLevel };

enum class BorderStyle : std::uint8_t { None, FixedSingle, FixedDialog, Sizable };

struct FormDesign {
  std::string_view name;
  WindowKind kind = WindowKind::TopLevel;
  std::string_view caption = {};
  // What a screen reader calls the window when it has no caption.
  std::string_view description = {};
  BorderStyle border = BorderStyle::FixedSingle;
  bool titleBar = true;
  float clientWidth = 0;
  float clientHeight = 0;
  float left = 0;
  float top = 0;
  Color back = systemColor::buttonFace;
  Font font = defaultFont;
  std::string_view icon = {};
  bool maximised = false;
  std::span<const ControlDesign> controls = {};
};

} // namespace tk
