// How the Qt backend reads Qt's values and writes the toolkit's: keys as the toolkit's
// rules read them, whatever the layout; colours, fonts, pixels and texts as Qt draws them.
// No window system: the conversions take what Qt's events and widgets carry.
#include "shell/qt/mapping.h"

#include <gtest/gtest.h>

namespace {

// The XKB key codes of a few keys of a PC keyboard, whatever the layout prints on them.
constexpr quint32 numberRow1 = 10;
constexpr quint32 numberRow0 = 19;
constexpr quint32 minusKey = 20;
constexpr quint32 keypad7 = 79;
constexpr quint32 keypad1 = 87;
constexpr quint32 keypad0 = 90;
constexpr quint32 keypadMinus = 82;
constexpr quint32 letterM = 58;

tk::KeyDown typed(int key, const QString &text, quint32 scanCode,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return qtb::keyDown(key, modifiers, text, scanCode, false);
}

TEST(QtKeys, onAzertyTheNumberRowTypesSignsButItsPlacesStillGiveDigits) {
  // A box that takes digit keys types the digit of the place: the character is what the
  // layout prints, the digit is the place's.
  const tk::KeyDown one = typed(Qt::Key_Ampersand, QStringLiteral("&"), numberRow1);
  EXPECT_EQ(one.code, '&');
  EXPECT_EQ(one.digitAtPlace, 1);
  const tk::KeyDown zero = typed(Qt::Key_Agrave, QStringLiteral("\u00e0"), numberRow0);
  EXPECT_EQ(zero.code, 0xe0);
  EXPECT_EQ(zero.digitAtPlace, 0);
  EXPECT_EQ(typed(Qt::Key_ParenRight, QStringLiteral(")"), minusKey).digitAtPlace, std::nullopt);
}

TEST(QtKeys, theKeypadGivesDigitsByItsRowsFromSevenDownToZero) {
  EXPECT_EQ(typed(Qt::Key_7, QStringLiteral("7"), keypad7, Qt::KeypadModifier).digitAtPlace, 7);
  EXPECT_EQ(typed(Qt::Key_End, QString(), keypad1, Qt::KeypadModifier).digitAtPlace, 1);
  EXPECT_EQ(typed(Qt::Key_Insert, QString(), keypad0, Qt::KeypadModifier).digitAtPlace, 0);
  EXPECT_EQ(typed(Qt::Key_Minus, QStringLiteral("-"), keypadMinus).digitAtPlace, std::nullopt);
  // The keypad's own modifier is no shortcut.
  EXPECT_FALSE(typed(Qt::Key_7, QStringLiteral("7"), keypad7, Qt::KeypadModifier).shortcut);
}

TEST(QtKeys, ctrlAltAndMetaMakeShortcutsButAltGrTypes) {
  // Ctrl+M comes with a carriage return as its text; it is a shortcut, not Enter.
  const tk::KeyDown ctrlM = typed(Qt::Key_M, QStringLiteral("\r"), letterM, Qt::ControlModifier);
  EXPECT_TRUE(ctrlM.shortcut);
  EXPECT_TRUE(typed(Qt::Key_2, QStringLiteral("2"), numberRow1 + 1, Qt::AltModifier).shortcut);
  EXPECT_TRUE(typed(Qt::Key_2, QStringLiteral("2"), numberRow1 + 1, Qt::MetaModifier).shortcut);
  // AltGr+0 types @ on AZERTY: Qt reports AltGr as the group switch.
  const tk::KeyDown at =
      typed(Qt::Key_At, QStringLiteral("@"), numberRow0, Qt::GroupSwitchModifier);
  EXPECT_FALSE(at.shortcut);
  EXPECT_EQ(at.code, '@');
  EXPECT_FALSE(typed(Qt::Key_A, QStringLiteral("A"), 38, Qt::ShiftModifier).shortcut);
}

TEST(QtKeys, shiftTabIsTabWithShiftEvenWhereQtDropsTheModifier) {
  const tk::KeyDown back = typed(Qt::Key_Backtab, QString(), 23);
  EXPECT_EQ(back.code, tk::key::tab);
  EXPECT_TRUE(back.shift);
  const tk::KeyDown tab = typed(Qt::Key_Tab, QString(), 23);
  EXPECT_EQ(tab.code, tk::key::tab);
  EXPECT_FALSE(tab.shift);
  EXPECT_TRUE(qtb::keyDown(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), 38, true).repeat);
}

TEST(QtKeys, aKeyTypesOneCharacterPerCodePointAndKeysWithoutTextTypeNone) {
  // Beyond 16 bits a character comes once, as the toolkit counts it, not as a half of the
  // pair UTF-16 writes it with.
  const QString grin = QString::fromUcs4(U"\U0001F600", 1);
  ASSERT_EQ(grin.size(), 2);
  EXPECT_EQ(typed(Qt::Key_unknown, grin, 0).code, tk::keyCodeOf(U'\U0001F600'));
  EXPECT_EQ(typed(Qt::Key_Return, QStringLiteral("\r"), 36).code, tk::key::enter);
  EXPECT_EQ(typed(Qt::Key_Left, QString(), 113).code, 0);
  EXPECT_EQ(qtb::keyCode(Qt::Key_Left, QString()), std::nullopt);
}

TEST(QtMouse, buttonsAndShiftKeysBecomeTheToolkitsBits) {
  EXPECT_EQ(qtb::toolkitButtons(Qt::LeftButton | Qt::MiddleButton),
            tk::mouse::left | tk::mouse::middle);
  EXPECT_EQ(qtb::toolkitButtons(Qt::RightButton | Qt::BackButton), tk::mouse::right);
  EXPECT_EQ(qtb::toolkitShift(Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier),
            tk::shift::shiftKey | tk::shift::altKey);
  EXPECT_EQ(qtb::toolkitShift(Qt::ControlModifier), tk::shift::ctrlKey);
}

TEST(QtColours, coloursKeepRedGreenAndBlueInTheirPlaces) {
  // The designs write colours as Windows does, blue in the high byte.
  EXPECT_EQ(qtb::toQColor(tk::Color::fromBgr(0x800000)), QColor(0, 0, 0x80));
  EXPECT_EQ(qtb::toQColor(tk::rgb(234, 226, 138)).name(), QStringLiteral("#eae28a"));
}

TEST(QtPixels, qtsFractionalPixelsAreTwipsAndRectanglesKeepTheirCorners) {
  EXPECT_FLOAT_EQ(qtb::twips(1.5), 22.5F);
  const QRectF r(1.5, 2, 30, 40.25);
  EXPECT_EQ(qtb::toQRectF(qtb::fromQRectF(r)), r);
}

TEST(QtFonts, aFontIsAskedForByItsLookAlikeAndKeepsItsQuarterPointsAndItsStyle) {
  const QFont font = qtb::toQFont({.name = "Comic Sans MS", .points = 8.25F, .bold = true});
  EXPECT_EQ(font.families(), (QStringList{"Comic Neue", "DejaVu Sans"}));
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
  EXPECT_TRUE(font.bold());
  EXPECT_FALSE(font.italic());
  EXPECT_TRUE(qtb::toQFont({.name = "Arial", .points = 12, .italic = true}).italic());
}

TEST(QtText, textsAreUtf8AndTakeOnlyTheirOwnCharacters) {
  const std::string_view sentence = "Zee\xc3\xabn van tijd";
  EXPECT_EQ(qtb::toQString(sentence.substr(0, 6)), QStringLiteral("Zee\u00ebn"));
  EXPECT_EQ(qtb::fromQString(QStringLiteral("Zee\u00ebn \u20ac")), "Zee\xc3\xabn \xe2\x82\xac");
}

TEST(QtText, captionsBreakAtBareLineFeedsAndButtonsShowTheirAmpersands) {
  EXPECT_EQ(qtb::captionText("software\r\nom te"), QStringLiteral("software\nom te"));
  EXPECT_EQ(qtb::captionText("a\rb"), QStringLiteral("a\rb"));
  EXPECT_EQ(qtb::buttonText("Stop & start\r\nnu"), QStringLiteral("Stop && start\nnu"));
  EXPECT_EQ(qtb::toQtAlignment(tk::Align::Centre), Qt::AlignHCenter);
  EXPECT_EQ(qtb::toQtAlignment(tk::Align::Right), Qt::AlignRight);
}

} // namespace
