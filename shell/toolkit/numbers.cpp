#include "numbers.h"

#include <limits>

namespace tk {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// The integer part: digits, or digits grouped by points in threes after a first group
// of one to three. Writes the digits without the points; false if the form is wrong.
bool readIntegerPart(std::string_view part, std::string &digits) {
  if (part.find('.') == std::string_view::npos) {
    for (char c : part) {
      if (!isDigit(c)) {
        return false;
      }
    }
    digits = part;
    return true;
  }
  std::size_t group = 0;
  bool first = true;
  for (char c : part) {
    if (c == '.') {
      if ((first && (group == 0 || group > 3)) || (!first && group != 3)) {
        return false;
      }
      first = false;
      group = 0;
    } else if (isDigit(c)) {
      digits.push_back(c);
      ++group;
    } else {
      return false;
    }
  }
  return group == 3;
}

} // namespace

NumberReading readNumber(std::string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t comma = text.find(',');
  const std::string_view integerPart = text.substr(0, comma);
  const std::string_view fraction =
      comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);

  std::string digits;
  if (!readIntegerPart(integerPart, digits)) {
    return {};
  }
  bool fractionIsZero = true;
  for (char c : fraction) {
    if (!isDigit(c)) {
      return {};
    }
    fractionIsZero = fractionIsZero && c == '0';
  }
  if (digits.empty() && fraction.empty()) {
    return {};
  }

  NumberReading reading{.isNumber = true, .whole = std::nullopt};
  if (!fractionIsZero) {
    return reading;
  }
  constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (char c : digits) {
    const int digit = c - '0';
    if (value > (limit - digit) / 10) {
      return reading; // a number, but too large to be any answer
    }
    value = value * 10 + digit;
  }
  reading.whole = negative ? -value : value;
  return reading;
}

std::string toText(std::int64_t number) {
  return std::to_string(number);
}

} // namespace tk
