#include "keys.h"

#include <array>
#include <utility>

namespace w32 {
namespace {

// Set scan codes of the number row 1 .. 9, 0, and of the keypad in its rows 7 8 9,
// 4 5 6, 1 2 3, 0. The keypad's codes without the extended bit: with it they are the
// arrows and the editing keys.
constexpr std::array<std::pair<unsigned, int>, 20> digitKeys{{
    {0x02, 1}, {0x03, 2}, {0x04, 3}, {0x05, 4}, {0x06, 5}, {0x07, 6}, {0x08, 7},
    {0x09, 8}, {0x0A, 9}, {0x0B, 0}, {0x47, 7}, {0x48, 8}, {0x49, 9}, {0x4B, 4},
    {0x4C, 5}, {0x4D, 6}, {0x4F, 1}, {0x50, 2}, {0x51, 3}, {0x52, 0},
}};

constexpr unsigned scanCodeShift = 16;
constexpr unsigned scanCodeMask = 0xFF;
constexpr LPARAM extendedKey = 1L << 24;
constexpr LPARAM heldBefore = 1L << 30;

bool held(int virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

// The character the key types on its own, as the form's KeyPress would count it.
std::int16_t typedCode(WPARAM virtualKey) {
  const UINT character = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR);
  return static_cast<std::int16_t>(character & 0xFFFFU);
}

} // namespace

std::optional<int> digitAtPlace(WPARAM virtualKey, LPARAM keyData) {
  if ((keyData & extendedKey) != 0) {
    return std::nullopt;
  }
  const auto scanCode = static_cast<unsigned>(keyData >> scanCodeShift) & scanCodeMask;
  for (const auto &[code, digit] : digitKeys) {
    if (code == scanCode) {
      return digit;
    }
  }
  // A scan code of no known place (Wine gives the keys whose character is not ASCII,
  // such as AZERTY's é and à, codes of its own) leaves the virtual key, which names the
  // number row's places VK_0 .. VK_9 on every layout.
  if (virtualKey >= '0' && virtualKey <= '9') {
    return static_cast<int>(virtualKey - '0');
  }
  return std::nullopt;
}

tk::KeyDown keyDown(WPARAM virtualKey, LPARAM keyData) {
  return {.code = typedCode(virtualKey),
          .digitAtPlace = digitAtPlace(virtualKey, keyData),
          .repeat = (keyData & heldBefore) != 0,
          .shift = held(VK_SHIFT),
          .shortcut = held(VK_CONTROL) || held(VK_MENU) || held(VK_LWIN) || held(VK_RWIN),
          // An input method's text comes as WM_CHAR, once composed, not as these keys.
          .composing = virtualKey == VK_PROCESSKEY};
}

tk::KeyDown typedKey(char32_t character) {
  return {.code = tk::keyCodeOf(character),
          .shift = held(VK_SHIFT),
          .shortcut = held(VK_LWIN) || held(VK_RWIN) || held(VK_CONTROL) != held(VK_MENU)};
}

std::optional<char32_t> Utf16Joiner::add(wchar_t unit) {
  constexpr char32_t highFirst = 0xD800;
  constexpr char32_t lowFirst = 0xDC00;
  constexpr char32_t lowLast = 0xDFFF;
  constexpr char32_t beyond16Bits = 0x10000;
  constexpr unsigned halfBits = 10;
  const auto code = static_cast<char32_t>(unit);
  if (code >= highFirst && code < lowFirst) {
    high_ = unit;
    return std::nullopt;
  }
  const auto high = static_cast<char32_t>(std::exchange(high_, 0));
  if (code >= lowFirst && code <= lowLast) {
    if (high == 0) {
      return std::nullopt; // half a pair, alone: no character
    }
    return beyond16Bits + ((high - highFirst) << halfBits) + (code - lowFirst);
  }
  return code;
}

} // namespace w32
