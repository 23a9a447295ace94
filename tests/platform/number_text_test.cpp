// Number text against the host platform's known results: Double/Single to text, the
// strict reader and Val; round trips of generated Doubles checked against the C library.

#include "platform/number_text.hpp"

#include <gtest/gtest.h>

#include "../support/text.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numbers>
#include <optional>
#include <random>
#include <string>

namespace ztl::platform {
namespace {

using testing_support::Narrow;
using testing_support::Wide;

// x rounded to `digits` significant digits by the C library (half to even), or empty
// when x lies exactly halfway, where the platform rounds away from zero instead.
std::optional<double> RoundedByC(double x, int digits) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%.*e", digits + 40, x);
  const char* next = std::strchr(buffer, '.') + digits;
  if (*next == '5' && std::strspn(next + 1, "0") == 40) return std::nullopt;
  std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, x);
  return std::strtod(buffer, nullptr);
}

TEST(DoubleToText, PlatformVectors) {
  const struct {
    double value;
    const char* text;
  } kCases[] = {
      {0.56789, "0.56789"},
      {5.6789e-5, "0.000056789"},
      {5.6789e-11, "0.000000000056789"},  // 15 decimals: still plain
      {5.6789e-12, "5.6789E-12"},
      {5.6789e-16, "5.6789E-16"},
      {1e8, "100000000"},
      {1e14, "100000000000000"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E+15"},  // 16 digits go exponential
      {1.2e15, "1.2E+15"},
      {1.234e16, "1.234E+16"},
      {3.14159265359, "3.14159265359"},
      {std::numbers::pi, "3.14159265358979"},
      {12.345678901234567, "12.3456789012346"},
      {1234.567890123456789, "1234.56789012346"},
      {1e-5, "0.00001"},
      {1.5e-7, "0.00000015"},
      {1e-14, "0.00000000000001"},
      {1e-15, "1E-15"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.1 + 0.2, "0.3"},
      {1234567890123456.0, "1.23456789012346E+15"},
      {1e100, "1E+100"},
      // A 16th digit that is exactly 5 rounds away from zero.
      {1234567890123.125, "1234567890123.13"},
      {-1234567890123.125, "-1234567890123.13"},
      {-0.0, "0"},
      {-1e-20, "-1E-20"},
      // Sign, whole numbers and the special values.
      {0.0, "0"},
      {-2.5, "-2.5"},
      {100.0, "100"},
      {-123456789012345.0, "-123456789012345"},
      {1.7976931348623157e308, "1.79769313486232E+308"},
      {5e-324, "4.94065645841247E-324"},
      {std::numeric_limits<double>::infinity(), "Infinity"},
      {-std::numeric_limits<double>::infinity(), "-Infinity"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Narrow(DoubleToText(c.value)), c.text);
  }
}

TEST(SingleToText, PlatformVectors) {
  const struct {
    float value;
    const char* text;
  } kCases[] = {
      {0.5f, "0.5"},
      {0.000005f, "0.000005"},
      {1e8f, "1E+08"},
      {1e12f, "1E+12"},
      {999999999999999.0f, "1E+15"},
      {1.2e15f, "1.2E+15"},
      {3.14159265f, "3.141593"},
      {12.3456789f, "12.34568"},
      {123.45678901f, "123.4568"},
      {1234.56789012f, "1234.568"},
      {654322.23456f, "654322.3"},
      {1e7f, "1E+07"},
      {1234567.0f, "1234567"},
      {12345678.0f, "1.234568E+07"},
      {5e-7f, "5E-07"},
      {1.0f / 3, "0.3333333"},
      {0.1f, "0.1"},  // 0.100000001490116 as a Double
      {-0.0f, "0"},
      {-std::numeric_limits<float>::infinity(), "-Infinity"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Narrow(SingleToText(c.value)), c.text);
  }
}

// The text of any Double reads back as the Double rounded to 15 significant digits.
TEST(DoubleToText, ReadsBackAsFifteenDigits) {
  std::mt19937_64 random(20240501);
  std::uniform_int_distribution<int> exponent(-330, 310);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  for (int i = 0; i < 20000; ++i) {
    double x;
    if (i % 2 == 0) {
      // Any bit pattern that is a finite number.
      do {
        const std::uint64_t bits = random();
        std::memcpy(&x, &bits, sizeof x);
      } while (!std::isfinite(x));
    } else {
      x = mantissa(random) * std::pow(10.0, exponent(random));
      if (!std::isfinite(x)) continue;
    }
    const String text = DoubleToText(x);
    SCOPED_TRACE(Narrow(text));
    std::optional<double> back = ParseNumber(text);
    ASSERT_TRUE(back.has_value());
    if (x == 0) continue;
    if (std::optional<double> expected = RoundedByC(x, 15)) {
      EXPECT_EQ(*back, *expected);
    }
  }
}

// The same for Singles with 7 digits.
TEST(SingleToText, ReadsBackAsSevenDigits) {
  std::mt19937 random(7);
  for (int i = 0; i < 20000; ++i) {
    const std::uint32_t bits = random();
    float x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    const String text = SingleToText(x);
    SCOPED_TRACE(Narrow(text));
    std::optional<double> back = ParseNumber(text);
    ASSERT_TRUE(back.has_value());
    if (x == 0) continue;
    if (std::optional<double> expected = RoundedByC(x, 7)) {
      EXPECT_EQ(*back, *expected);
    }
  }
}

TEST(ParseNumber, PlatformVectors) {
  const struct {
    const char16_t* text;
    std::optional<double> value;  // empty: no number
  } kCases[] = {
      {u"0", 0},
      {u"32767", 32767},
      {u"-0.6", -0.6},
      {u"1e-94938484", 0},  // underflows to zero
      {u" 12 ", 12},
      {u"1,000", 1000},
      {u",1,000", std::nullopt},
      {u"(5)", -5},
      {u"5-", -5},
      {u"$1,234.5", 1234.5},
      {u"1.5e20", 1.5e20},
      {u"&H7F", 127},
      {u"&O177", 127},
      {u"0x10", std::nullopt},
      {u"1 e1", std::nullopt},
      {u"", std::nullopt},
      {u" ", std::nullopt},
      // Blanks and signs.
      {u" + 0", 0},
      {u"+ +0", std::nullopt},
      {u"0-", 0},
      {u"-5-", std::nullopt},   // one sign only
      {u"-5+", std::nullopt},
      {u"\t\n\v\f\r\u00A012\u00A0", 12},
      {u"\u300012", std::nullopt},  // the ideographic space is no blank here
      // Parentheses.
      {u"(0)", 0},
      {u"()", std::nullopt},
      {u"( 7 )", -7},
      {u"(7", std::nullopt},
      {u"7)", std::nullopt},
      // Thousands separators after the first digit, the decimal point once.
      {u"1,,000", 1000},
      {u"1,00,0,,", 1000},
      {u"1,", 1},
      {u"1.", 1},
      {u".2", 0.2},
      {u".", std::nullopt},
      {u"1.1.", std::nullopt},
      {u"0100", 100},  // a leading zero is not octal
      // Exponents.
      {u"1e-1", 0.1},
      {u"1e+01", 10},
      {u"1E2", 100},
      {u"1e", std::nullopt},
      {u"1e+", std::nullopt},
      {u"e5", std::nullopt},
      {u"1d2", std::nullopt},
      {u"1e400", std::numeric_limits<double>::infinity()},
      {u"-1e400", -std::numeric_limits<double>::infinity()},
      // The currency sign.
      {u"$11", 11},
      {u"$-11", -11},
      {u"-$11", -11},
      {u"11$$", 11},
      {u"$$11", std::nullopt},
      {u"$ 11", 11},  // blanks may follow a leading "$" as they may lead the text
      {u"$\u00A011", 11},
      {u"$\t11", 11},
      {u"- $ 11", -11},
      {u"1$99", std::nullopt},
      {u"$&ha", std::nullopt},  // no "$" with &H or &O
      {u"&ha$", std::nullopt},
      {u"$&O7", std::nullopt},
      // Hexadecimal and octal keep their bit pattern in an Integer or a Long.
      {u"&HFFFF", -1},
      {u"&HF800", -2048},
      {u"&H8002", -32766},
      {u"&h7fff", 32767},
      {u"&H10000", 65536},
      {u"&H0000FFFF", -1},  // leading zeros do not count
      {u"&H80000002", -2147483646.0},
      {u"&HFFFFFFFF", -1},
      {u"&H123456789", std::nullopt},
      {u"&ha.2", std::nullopt},
      {u"&H", std::nullopt},
      {u"&O177777", -1},
      {u"&O200000", 65536},
      {u"&O37777777777", -1},
      {u"&O40000000000", std::nullopt},
      {u"&O8", std::nullopt},
      {u" -&H10 ", -16},
      {u"FE", std::nullopt},
      // Only ASCII digits.
      {u"\u0661\u0662", std::nullopt},
      {u"\uFF11", std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(ParseNumber(c.text), c.value);
  }
}

TEST(ParseNumber, LongDigitStringsRoundOnce) {
  // 0.1 written with many digits, and a value just above a halfway point between Doubles.
  EXPECT_EQ(ParseNumber(u"0.1000000000000000000000000000000000000000000001"), 0.1);
  EXPECT_EQ(ParseNumber(u"9007199254740993.00000000000000000001"), 9007199254740994.0);
  EXPECT_EQ(ParseNumber(u"9007199254740993"), 9007199254740992.0);  // ties to even
}

TEST(Val, PlatformVectors) {
  const struct {
    const char16_t* text;
    std::optional<double> value;  // empty: type mismatch
  } kCases[] = {
      {u"    1615 198th Street N.E.", 1615198},
      {u" 2 45 7", 2457},
      {u"24 and 57", 24},
      {u"&HFFFF", -1},
      {u"", 0},
      {u"1%", 1},
      {u"1&", 1},
      {u"1!", 1},
      {u"1@", 1},
      {u"-1", -1},
      {u"+1", 1},
      {u".1", 0.1},
      {u"1. 1", 1.1},
      {u"1..1", 1},
      {u"1.1.1", 1.1},
      {u"&H F", 15},
      {u"&O 7", 7},
      {u"&H7F", 127},
      {u"&hff", 255},
      {u"&O177", 127},
      {u"&o377", 255},
      {u"&H0F0", 240},
      {u"&O070", 56},
      {u"-1e20", -1e20},
      {u"1e-3", 0.001},
      {u"1e+1+", 10},
      {u"1e+1-", 10},
      {u"1eA", 1},
      {u"1.1e +3", 1100},
      {u"\t\r\n ", 0},
      {u"&HFFFFFFFF&", -1},
      {u"&O177777%", -1},
      {u"1.0%", std::nullopt},
      {u"1D2", 100},
      // Further cases of the same rules.
      {u"50.5%", std::nullopt},
      {u"1.5&", std::nullopt},
      {u"1.5!", 1.5},
      {u"$5", 0},
      {u"1,000", 1},
      {u"\u30001 2", 12},
      {u"-", 0},
      {u"&", 0},
      {u"&X1", 0},
      {u"&H8000", -32768},
      {u"&H10000", 65536},
      {u"&H123456789", 4886718345.0},  // past 8 digits: 64 bits
      {u"&H00FF", 255},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(Val(c.text), c.value);
  }
}

// Val and the strict reader agree on plain decimal texts.
TEST(Val, AgreesWithParseNumberOnPlainText) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  for (int i = 0; i < 2000; ++i) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, i % 2 ? "%.6f" : "%.10e", value(random));
    SCOPED_TRACE(buffer);
    EXPECT_EQ(Val(Wide(buffer)), ParseNumber(Wide(buffer)));
    EXPECT_EQ(ParseNumber(Wide(buffer)), std::strtod(buffer, nullptr));
  }
}

}  // namespace
}  // namespace ztl::platform
