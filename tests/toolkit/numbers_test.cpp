// Reading a child's text as a number, and writing numbers as plain digits.
#include "toolkit/numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
  const char *name;
  std::string text;
  bool isNumber;
  std::optional<std::int64_t> whole;
};

class ReadNumber : public ::testing::TestWithParam<Case> {};

TEST_P(ReadNumber, givesTheNumericTestAndTheExactWholeValue) {
  const Case &c = GetParam();
  const tk::NumberReading reading = tk::readNumber(c.text);
  EXPECT_EQ(reading.isNumber, c.isNumber);
  EXPECT_EQ(reading.whole, c.whole);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumber,
    ::testing::Values(
        Case{"digits", "1200", true, 1200}, Case{"leadingZeros", "0300", true, 300},
        Case{"zero", "0", true, 0}, Case{"blanksAround", "  1200 ", true, 1200},
        Case{"plusSign", "+40", true, 40}, Case{"minusSign", "-40", true, -40},
        Case{"thousandsPoint", "1.200", true, 1200}, Case{"tenThousand", "10.000", true, 10000},
        Case{"wholeWithComma", "1200,00", true, 1200}, Case{"fraction", "2,5", true, std::nullopt},
        Case{"commaFirst", ",5", true, std::nullopt}, Case{"trailingComma", "12,", true, 12},
        Case{"empty", "", false, std::nullopt}, Case{"blank", "   ", false, std::nullopt},
        Case{"letter", "a", false, std::nullopt},
        Case{"digitsThenLetter", "12a", false, std::nullopt},
        Case{"signOnly", "-", false, std::nullopt}, Case{"commaOnly", ",", false, std::nullopt},
        Case{"exponent", "1e400", false, std::nullopt},
        Case{"badGrouping", "12.00", false, std::nullopt},
        Case{"pointAtEnd", "1200.", false, std::nullopt},
        Case{"twoCommas", "1,2,3", false, std::nullopt},
        Case{"blankInside", "12 00", false, std::nullopt},
        Case{"arabicIndicDigits", "\xd9\xa1\xd9\xa2", false, std::nullopt},
        Case{"fullwidthDigit", "\xef\xbc\x91", false, std::nullopt},
        Case{"nul",
             std::string("1\0"
                         "2",
                         3),
             false, std::nullopt},
        Case{"beyond64Bits", "99999999999999999999", true, std::nullopt},
        Case{"largest64Bit", "9223372036854775807", true, INT64_MAX}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(ReadNumberTotal, aMillionDigitsGetAnAnswer) {
  const std::string zeros(1'000'000, '0');
  EXPECT_EQ(tk::readNumber(zeros + "1200").whole, 1200);
  const tk::NumberReading huge = tk::readNumber("1" + zeros);
  EXPECT_TRUE(huge.isNumber);
  EXPECT_FALSE(huge.whole.has_value());
  EXPECT_FALSE(tk::readNumber(zeros + "x").isNumber);
}

TEST(ToText, writesPlainDigits) {
  EXPECT_EQ(tk::toText(0), "0");
  EXPECT_EQ(tk::toText(10000), "10000");
  EXPECT_EQ(tk::toText(-7), "-7");
  EXPECT_EQ(tk::toText(40000), "40000"); // beyond a 16-bit counter, still exact
}

} // namespace
