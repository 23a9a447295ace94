// Number patterns against the platform's known results, and against whole-number
// arithmetic on generated decimals.

#include "platform/number_format.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "../support/text.hpp"

namespace ztl::platform {
namespace {

using testing_support::Narrow;
using testing_support::Wide;

TEST(FormatNumber, PlatformVectors) {
  const struct {
    double value;
    const char16_t* pattern;
    const char16_t* expected;
  } kCases[] = {
      {1, u"#", u"1"},          {0, u"#", u""},
      {1, u"##", u"1"},         {0, u"##", u""},
      {1, u"#.#", u"1."},       {0, u"#.#", u"."},
      {1, u"0", u"1"},          {0, u"0", u"0"},
      {1, u"00", u"01"},        {0, u"00", u"00"},
      {1, u"0.0", u"1.0"},      {0, u"0.0", u"0.0"},
      {3, u"#.#", u"3."},
      {1, u"#00000000", u"00000001"},
      {1, u"000###", u"000001"},  // every position after the first "0" is shown
      {1.23456789, u"0#.0#0#0#0#0", u"01.234567890"},
      {9.87654321, u"#0.#0#0#0#0#", u"9.87654321"},
      {0.00000008, u"#0.#0#0#0#0#0", u"0.0000000800"},
      {17, u"#000", u"017"},
      {100, u"0##", u"100"},
      {17, u"#0000.00", u"0017.00"},
      {17, u"#.00", u"17.00"},
      {1.7, u"#.00", u"1.70"},
      {0.17, u"#.00", u".17"},
      {1.7, u"#0", u"2"},
      {9.9999999, u"#0.000000", u"10.000000"},
      {1.57, u"0.00", u"1.57"},
      {-1.57, u"0.00", u"-1.57"},
      {-1.57, u"#.##", u"-1.57"},
      {-0.1, u".#", u"-.1"},
      {0.099, u"#.#", u".1"},
      {0.0099, u"#.##", u".01"},
      {0.0049, u"#.##", u"."},
      {8.0995, u"#.##", u"8.1"},
      {334.9, u"###0.00", u"334.90"},
      {0.5, u"#", u"1"},        // halves away from zero
      {2.5, u"0", u"3"},
      {-2.5, u"0", u"-3"},
      {12.345, u"00000.00", u"00012.35"},
      {1.005, u"0.00", u"1.01"},  // the decimal text 1.005, not the binary value below it
      {-0.4, u"0", u"0"},         // a negative that rounds to zero has no sign
      {-0.004, u"#.##", u"."},
      {123456789, u"#", u"123456789"},  // no grouping
      {1e22, u"#", u"10000000000000000000000"},
      {12.5, u"", u"13"},        // no position at all: a whole number
      {999.5, u"#", u"1000"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.value) + " " + Narrow(c.pattern));
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected);
  }
}

// m / 10^scale has the decimal text of m with the point put in, so a pattern with d places
// must give m rounded, half away from zero, to d places: whole-number arithmetic on m.
TEST(FormatNumber, AgreesWithDecimalArithmetic) {
  std::mt19937_64 random(5);
  long long powers[16] = {1};
  for (int i = 1; i < 16; ++i) powers[i] = powers[i - 1] * 10;
  for (int i = 0; i < 20000; ++i) {
    const long long m = static_cast<long long>(random() % 200'000'000'000ull) - 100'000'000'000ll;
    const int scale = static_cast<int>(random() % 7);
    const int places = static_cast<int>(random() % 8);
    const double x = static_cast<double>(m) / static_cast<double>(powers[scale]);

    // m at `places` decimals: scale up, or divide and round half away from zero.
    long long magnitude = m < 0 ? -m : m;
    if (places >= scale) {
      magnitude *= powers[places - scale];
    } else {
      const long long unit = powers[scale - places];
      magnitude = magnitude / unit + (magnitude % unit * 2 >= unit ? 1 : 0);
    }
    std::string digits = std::to_string(magnitude);
    if (digits.size() <= static_cast<std::size_t>(places)) digits.insert(0, places + 1 - digits.size(), '0');
    std::string expected = (m < 0 && magnitude != 0 ? "-" : "") + digits.substr(0, digits.size() - places);
    if (places > 0) expected += "." + digits.substr(digits.size() - places);

    const String pattern = u"0" + (places > 0 ? u"." + String(places, u'0') : String());
    SCOPED_TRACE(std::to_string(m) + " / 10^" + std::to_string(scale) + " with " + Narrow(pattern));
    ASSERT_EQ(Narrow(FormatNumber(x, pattern)), expected);
  }
}

TEST(FormatDigits, BeyondDoublePrecision) {
  EXPECT_EQ(FormatDigits(false, "123456789012345678905", 20, u"#"), u"123456789012345678905");
  EXPECT_EQ(FormatDigits(true, "123456789012345678905", 19, u"#"), u"-12345678901234567891");
  EXPECT_EQ(FormatDigits(false, "", 0, u"00.0"), u"00.0");
  EXPECT_EQ(FormatDigits(false, "5", -400, u"#.##"), u".");
  EXPECT_EQ(FormatDigits(false, "9", -3, u"#.##"), u".01");
}

}  // namespace
}  // namespace ztl::platform
