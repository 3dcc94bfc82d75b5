// The one place where the program reads numbers from text and writes them as text.
// Both are total: any text, however long or strange, gets an answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tk {

struct NumberReading {
  // Whether the text is a number: optional blanks around it, an optional leading + or
  // -, decimal digits 0-9 with Dutch thousands points in groups of three ("1.200") and
  // at most one decimal comma ("2,5"). Anything else, an exponent or the digits of
  // other scripts among it, is not.
  bool isNumber = false;
  // Its exact value when it is a whole number within 64 bits ("0300", "1.200,00").
  std::optional<std::int64_t> whole;
};

[[nodiscard]] NumberReading readNumber(std::string_view text);

// Plain decimal digits: no blank, no separator, a minus sign only when negative.
[[nodiscard]] std::string toText(std::int64_t number);

} // namespace tk
