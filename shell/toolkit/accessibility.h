// What a screen reader and the keyboard get of a form: names, descriptions, which
// controls are mere decoration, and the order in which Tab visits the controls. Every
// window system maps these same answers onto its own platform.
#pragma once

#include "control.h"
#include "form.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tk {

// The name a screen reader speaks for a control, following its current caption: a
// caption, else the design's tooltip or description. A text box is named by its
// design's description or tooltip, not by the text typed into it; only a box without
// either (a box of a field of numbers) is named by its text. Blanks at the ends and
// menu mnemonics do not count; CR LF line breaks become one line feed.
[[nodiscard]] std::string accessibleName(const Control &control);

// What a screen reader adds after the name: the control's current description, unless
// it only repeats the name.
[[nodiscard]] std::string accessibleDescription(const Control &control);

// The name of a window: its caption, else the design's description of it.
[[nodiscard]] std::string accessibleName(const Form &form);

// Decoration a screen reader should pass by: shapes, lines, and pictures that carry no
// name and hold no controls.
[[nodiscard]] bool hiddenFromScreenReader(const Control &control);

// What a screen reader takes a control for, where the kind of widget or element a
// window system makes for it does not say so itself.
enum class Role : std::uint8_t {
  Hidden,  // decoration, passed by
  Group,   // a frame: a group of controls under its caption
  Picture, // a picture with a name
  Pane,    // a picture box without a name: a plain container of controls
  Status,  // the status bar
  Own,     // the widget's or element's own role (buttons, text boxes, labels)
};
[[nodiscard]] Role accessibleRole(const Control &control);

// Where a control lies in its form's client area, through all its containers.
[[nodiscard]] Rect rectInForm(const Control &control);

// The controls Tab may visit (buttons and text boxes that are tab stops, shown or not),
// in the order they stand on the screen: row by row from the top, each row from left
// to right. A control whose top lies above the middle of a row's first control belongs
// to that row; controls in one place keep their design order.
[[nodiscard]] std::vector<Control *> tabOrder(const Form &form);

// The mark of the button or text box that has the keyboard focus: two rings inside its
// edge, each `pixels` wide, the outer dark and the inner light, so that one of them
// stands out on every colour a design gives a button or a box.
struct FocusRing {
  Color outer;
  Color inner;
  int pixels;
};
inline constexpr FocusRing focusRing{
    .outer = rgb(0, 0, 0), .inner = rgb(255, 255, 255), .pixels = 2};

} // namespace tk
