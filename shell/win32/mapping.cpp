#include "mapping.h"

#include <algorithm>
#include <array>
#include <cmath>
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

int px(float twips, UINT dpi) {
  return tk::wholePixels(twips, static_cast<int>(dpi));
}

float twips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * tk::twipsPerInch / static_cast<float>(dpi);
}

int scaled(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), standardDpi);
}

COLORREF colorRef(tk::Color color) {
  return RGB(color.red, color.green, color.blue);
}

int containerOffset(const tk::Control &control, UINT dpi) {
  return control.container() != nullptr ? px(control.container()->innerOffset(), dpi) : 0;
}

RECT rectOf(const tk::Control &control, UINT dpi) {
  const int offset = containerOffset(control, dpi);
  if (control.kind() == tk::Kind::Line) {
    const tk::LineEnds &ends = control.line();
    return {px(std::min(ends.x1, ends.x2), dpi) + offset,
            px(std::min(ends.y1, ends.y2), dpi) + offset,
            px(std::max(ends.x1, ends.x2), dpi) + offset + 1,
            px(std::max(ends.y1, ends.y2), dpi) + offset + 1};
  }
  // A line that stands out of a label within the slack is drawn whole.
  const tk::Rect r = control.drawnRect();
  const int left = px(r.left, dpi) + offset;
  const int top = px(r.top, dpi) + offset;
  return {left, top, left + px(r.width, dpi), top + px(r.height, dpi)};
}

std::wstring widen(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string narrow(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::optional<int> digitAtKeyPosition(WPARAM virtualKey, LPARAM keyData) {
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
          .digitAtPlace = digitAtKeyPosition(virtualKey, keyData),
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
