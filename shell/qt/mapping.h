// How the toolkit's values look in Qt: strings, colours, fonts, pixels, alignment, and the
// keys and mouse buttons Qt reports as the toolkit reads them. Pure functions over plain
// values, so that they can be checked without a window system.
#pragma once

#include "toolkit/keys.h"
#include "toolkit/types.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <Qt>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QKeyEvent;

namespace qtb {

[[nodiscard]] int px(float twips);
// Qt's pixels (fractional where a screen is scaled) as the toolkit's twips.
[[nodiscard]] float twips(qreal pixels);
[[nodiscard]] QColor toQColor(tk::Color color);
[[nodiscard]] QFont toQFont(const tk::Font &font);
[[nodiscard]] QString toQString(std::string_view text);
[[nodiscard]] std::string fromQString(const QString &text);
[[nodiscard]] Qt::Alignment toQtAlignment(tk::Align align);
[[nodiscard]] QRectF toQRectF(const tk::Rect &rect);
[[nodiscard]] tk::Rect fromQRectF(const QRectF &rect);

// Multi-line captions break lines with CR LF; Qt wants a bare line feed.
[[nodiscard]] QString captionText(std::string_view text);
// A button's caption as Qt shows it: an ampersand is a character of the caption, not the
// mark of a mnemonic.
[[nodiscard]] QString buttonText(std::string_view text);

// The toolkit's mouse::* and shift::* bits of what Qt reports with a mouse event.
[[nodiscard]] int toolkitButtons(Qt::MouseButtons buttons);
[[nodiscard]] int toolkitShift(Qt::KeyboardModifiers modifiers);

// The character code of a typed key (Qt::Key, the event's text), as the toolkit's KeyPress
// counts it; none for keys that type nothing (arrows, function keys).
[[nodiscard]] std::optional<std::int16_t> keyCode(int key, const QString &text);
// The digit of the key at a place of the number row or the keypad, by the key's XKB key
// code (Qt's native scan code on X11 and Wayland); nothing for any other key.
[[nodiscard]] std::optional<int> digitAtKeyPosition(quint32 nativeScanCode);
// A key going down, as the toolkit's key rules read it, from what a QKeyEvent carries.
[[nodiscard]] tk::KeyDown keyDown(int key, Qt::KeyboardModifiers modifiers, const QString &text,
                                  quint32 nativeScanCode, bool autoRepeat);
[[nodiscard]] tk::KeyDown keyDown(const QKeyEvent &event);

} // namespace qtb
