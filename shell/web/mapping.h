// How the toolkit's values look in a page: CSS colours and fonts, pixels, the stacking of
// the controls, captions and keys. Pure functions, so that they can be checked without a browser.
#pragma once

#include "toolkit/edges.h"
#include "toolkit/form.h"
#include "toolkit/keys.h"

#include <string>
#include <string_view>
#include <vector>

namespace web {

[[nodiscard]] int px(float twips);
[[nodiscard]] std::string cssColor(tk::Color color);
// The designs name Windows fonts; the page carries look-alikes made from Debian's fonts.
[[nodiscard]] std::string cssFamily(std::string_view designFont);
// A 3-D edge as the page draws it: its outer ring as the colours of a one-pixel border
// (top, right, bottom, left), the ring inside it as shadows over the padding.
struct CssEdge {
  std::string border;
  std::string inside;
  bool operator==(const CssEdge &) const = default;
};
[[nodiscard]] CssEdge cssEdge(tk::Edge edge);
// A font's size as CSS writes it ("8.25", "13.5", "18"): the designs' sizes are whole
// hundredths of a point.
[[nodiscard]] std::string cssPoints(float points);
[[nodiscard]] std::string cssFont(const tk::Font &font);
[[nodiscard]] std::string_view cssAlign(tk::Align align);
// The element kind the page makes for a control kind.
[[nodiscard]] std::string_view elementKind(tk::Kind kind);
// The words the page styles a control by ("transparent autosize border locked ...").
[[nodiscard]] std::string flags(const tk::Control &control);
// Higher lies in front: windowed controls before graphical ones, earlier rows in front.
[[nodiscard]] int stacking(const tk::Form &form, const tk::Control &control);
// Multi-line captions break lines with CR LF; the page wants a bare line feed.
[[nodiscard]] std::string captionText(std::string_view text);

// One line of a label as the page shows it: its text where the layout put it, in pixels
// from the label's corner, and the blank or line break that ended it (or, after the last
// line the label has room for, the rest of the caption), kept for a screen reader.
struct CaptionPiece {
  std::string text;
  std::string after;
  int left = 0;
  int top = 0;
  bool operator==(const CaptionPiece &) const = default;
};
[[nodiscard]] std::vector<CaptionPiece> captionPieces(std::string_view text,
                                                      const tk::CaptionLayout &layout);

// A key event of the page as the toolkit counts it: `key` and `code` are the event's
// KeyboardEvent.key and .code; flags hold the pageKey bits below.
namespace pageKey {
inline constexpr int repeat = 1;
inline constexpr int shift = 2;
inline constexpr int ctrl = 4;
inline constexpr int alt = 8;
inline constexpr int meta = 16;
inline constexpr int composing = 32;
} // namespace pageKey
[[nodiscard]] tk::KeyDown keyDown(std::string_view key, std::string_view code, int flags);
// The character a KeyboardEvent.key types, as the form's KeyPress counts it; 0 for keys
// that type none (arrows, Shift, "Dead", "Process").
[[nodiscard]] std::int16_t keyCode(std::string_view key);
// The digit of a key's place by its KeyboardEvent.code: the number row and the keypad.
[[nodiscard]] std::optional<int> digitAtKeyPosition(std::string_view code);

} // namespace web
