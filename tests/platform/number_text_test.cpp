// Number text against the C library: the text of any Double or Single reads back as the number
// rounded to 15 or 7 significant digits, and the readers agree with strtod on plain texts; number
// patterns against whole-number arithmetic. The platform's own vectors are data
// (tests/vectors/values/number_text.jsonl, number_format.jsonl).

#include "platform/number_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "../support/text.hpp"
#include "platform/number_format.hpp"

namespace ztl::platform {
namespace {

using testing_support::Narrow;
using testing_support::Wide;

// x rounded to `digits` significant digits by the C library (half to even), or empty when x lies
// exactly halfway, where the platform rounds away from zero instead.
std::optional<double> RoundedByC(double x, int digits) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%.*e", digits + 40, x);
  const char* next = std::strchr(buffer, '.') + digits;
  if (*next == '5' && std::strspn(next + 1, "0") == 40) return std::nullopt;
  std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, x);
  return std::strtod(buffer, nullptr);
}

// The text of 20,000 generated finite numbers (any bit pattern; for Doubles also a mantissa times
// a power of ten over the whole exponent range) reads back as the number rounded by the C library.
void ExpectReadsBack(bool single) {
  std::mt19937_64 random(20240501);
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double x;
    if (single) {
      float f;
      std::memcpy(&f, &bits, sizeof f);
      x = f;
    } else if (i % 2 == 0) {
      std::memcpy(&x, &bits, sizeof x);
    } else {
      x = std::uniform_real_distribution<double>(1, 10)(random) * std::pow(10.0, static_cast<int>(bits % 641) - 330);
    }
    if (!std::isfinite(x)) continue;
    const String text = single ? SingleToText(static_cast<float>(x)) : DoubleToText(x);
    const std::optional<double> back = ParseNumber(text), expected = RoundedByC(x, single ? 7 : 15);
    ASSERT_TRUE(back.has_value()) << Narrow(text);
    if (x != 0 && expected) {
      ASSERT_EQ(*back, *expected) << Narrow(text);
    }
  }
}

TEST(DoubleToText, ReadsBackAsFifteenDigits) { ExpectReadsBack(false); }
TEST(SingleToText, ReadsBackAsSevenDigits) { ExpectReadsBack(true); }

// Val and the strict reader agree with each other and with strtod on plain decimal texts.
TEST(Val, AgreesWithParseNumberOnPlainText) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  for (int i = 0; i < 2000; ++i) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, i % 2 ? "%.6f" : "%.10e", value(random));
    EXPECT_EQ(Val(Wide(buffer)), ParseNumber(Wide(buffer))) << buffer;
    EXPECT_EQ(ParseNumber(Wide(buffer)), std::strtod(buffer, nullptr)) << buffer;
  }
}

// Texts of up to 17 digits with exponents around the largest exact power of ten (10^22), both
// inside and just outside the short-number path, read as strtod reads them.
TEST(ParseNumber, AgreesWithStrtodAroundExactPowers) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 20000; ++i) {
    const int digits = 1 + static_cast<int>(random() % 17);
    std::string text;
    for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
    text += "E" + std::to_string(static_cast<int>(random() % 51) - 25);
    EXPECT_EQ(ParseNumber(Wide(text.c_str())), std::strtod(text.c_str(), nullptr)) << text;
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
    const long long unit = powers[std::abs(scale - places)], magnitude = m < 0 ? -m : m;
    const long long rounded = places >= scale ? magnitude * unit : (magnitude + unit / 2) / unit;
    std::string digits = std::to_string(rounded);
    if (digits.size() <= static_cast<std::size_t>(places)) digits.insert(0, places + 1 - digits.size(), '0');
    std::string expected = (m < 0 && rounded != 0 ? "-" : "") + digits.substr(0, digits.size() - places);
    if (places > 0) expected += "." + digits.substr(digits.size() - places);

    const String pattern = u"0" + (places > 0 ? u"." + String(places, u'0') : String());
    SCOPED_TRACE(std::to_string(m) + " / 10^" + std::to_string(scale) + " with " + Narrow(pattern));
    ASSERT_EQ(Narrow(FormatNumber(x, pattern)), expected);
  }
}

}  // namespace
}  // namespace ztl::platform
