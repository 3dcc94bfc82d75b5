#include "mapping.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace qtb {
namespace {

// The keys that type a digit in a box that takes digit keys, by their XKB key codes:
// the number row 1 .. 9, 0, and the keypad in its rows 7 8 9, 4 5 6, 1 2 3, 0.
constexpr std::array<std::pair<quint32, int>, 20> digitKeys{{
    {10, 1}, {11, 2}, {12, 3}, {13, 4}, {14, 5}, {15, 6}, {16, 7}, {17, 8}, {18, 9}, {19, 0},
    {79, 7}, {80, 8}, {81, 9}, {83, 4}, {84, 5}, {85, 6}, {87, 1}, {88, 2}, {89, 3}, {90, 0},
}};

// The keys that make shortcuts rather than text keep their meaning. AltGr (Qt's group
// switch) types characters and is none of them.
constexpr Qt::KeyboardModifiers shortcutModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// The designs name Windows fonts; Debian ships look-alikes. They are asked for by their own
// names: Qt, asked for a font it does not have, first searches every installed font for one
// that could stand in, before the look-alike it is told of.
struct LookAlike {
  std::string_view design;
  const char *family;
  const char *otherwise;
};
constexpr std::array<LookAlike, 3> lookAlikeFonts{{
    {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"},
    {"Arial", "Liberation Sans", "DejaVu Sans"},
    {"Comic Sans MS", "Comic Neue", "DejaVu Sans"},
}};

// The families that stand for a font a design names; the first one installed draws.
QStringList lookAlikes(std::string_view designFont) {
  for (const LookAlike &lookAlike : lookAlikeFonts) {
    if (lookAlike.design == designFont) {
      return {QLatin1String(lookAlike.family), QLatin1String(lookAlike.otherwise)};
    }
  }
  return {QString::fromUtf8(designFont.data(), static_cast<qsizetype>(designFont.size()))};
}

} // namespace

int px(float twips) {
  return tk::wholePixels(twips);
}

float twips(qreal pixels) {
  return static_cast<float>(pixels * tk::twipsPerPixel);
}

QColor toQColor(tk::Color color) {
  return {color.red, color.green, color.blue};
}

QFont toQFont(const tk::Font &font) {
  QFont qfont;
  qfont.setFamilies(lookAlikes(font.name));
  qfont.setPointSizeF(font.points);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  return qfont;
}

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQString(const QString &text) {
  return text.toStdString();
}

Qt::Alignment toQtAlignment(tk::Align align) {
  switch (align) {
  case tk::Align::Centre:
    return Qt::AlignHCenter;
  case tk::Align::Right:
    return Qt::AlignRight;
  case tk::Align::Left:
    break;
  }
  return Qt::AlignLeft;
}

QRectF toQRectF(const tk::Rect &rect) {
  return {rect.left, rect.top, rect.width, rect.height};
}

tk::Rect fromQRectF(const QRectF &rect) {
  return {static_cast<float>(rect.left()), static_cast<float>(rect.top()),
          static_cast<float>(rect.width()), static_cast<float>(rect.height())};
}

QString captionText(std::string_view text) {
  QString caption = toQString(text);
  caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return caption;
}

QString buttonText(std::string_view text) {
  return captionText(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

int toolkitButtons(Qt::MouseButtons buttons) {
  int result = 0;
  result |= buttons.testFlag(Qt::LeftButton) ? tk::mouse::left : 0;
  result |= buttons.testFlag(Qt::RightButton) ? tk::mouse::right : 0;
  result |= buttons.testFlag(Qt::MiddleButton) ? tk::mouse::middle : 0;
  return result;
}

int toolkitShift(Qt::KeyboardModifiers modifiers) {
  int result = 0;
  result |= modifiers.testFlag(Qt::ShiftModifier) ? tk::shift::shiftKey : 0;
  result |= modifiers.testFlag(Qt::ControlModifier) ? tk::shift::ctrlKey : 0;
  result |= modifiers.testFlag(Qt::AltModifier) ? tk::shift::altKey : 0;
  return result;
}

std::optional<std::int16_t> keyCode(int key, const QString &text) {
  // Shift+Tab comes as a key of its own, with no text on some platforms.
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    return tk::key::tab;
  }
  const QList<uint> characters = text.toUcs4();
  if (characters.isEmpty()) {
    return std::nullopt;
  }
  return tk::keyCodeOf(static_cast<char32_t>(characters.front()));
}

std::optional<int> digitAtKeyPosition(quint32 nativeScanCode) {
  for (const auto &[code, digit] : digitKeys) {
    if (code == nativeScanCode) {
      return digit;
    }
  }
  return std::nullopt;
}

tk::KeyDown keyDown(int key, Qt::KeyboardModifiers modifiers, const QString &text,
                    quint32 nativeScanCode, bool autoRepeat) {
  return {.code = keyCode(key, text).value_or(0),
          .digitAtPlace = digitAtKeyPosition(nativeScanCode),
          .repeat = autoRepeat,
          .shift = modifiers.testFlag(Qt::ShiftModifier) || key == Qt::Key_Backtab,
          .shortcut = (modifiers & shortcutModifiers) != 0,
          // Qt hands an input method's text over as QInputMethodEvent, not as keys.
          .composing = false};
}

tk::KeyDown keyDown(const QKeyEvent &event) {
  return keyDown(event.key(), event.modifiers(), event.text(), event.nativeScanCode(),
                 event.isAutoRepeat());
}

} // namespace qtb
