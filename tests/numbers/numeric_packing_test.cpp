// ZtNumeric number packing: the codes written, the reading of any text, and round trips
// against the base-100 digits of the number.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/codepage.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/numbers/numeric.hpp"

namespace ztl {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The Windows-1252 codes of a packed text.
std::vector<int> Codes(const String& packed) {
  std::vector<int> codes;
  for (char16_t c : packed) codes.push_back(platform::AnsiCode(c));
  return codes;
}

String FromCodes(const std::vector<int>& codes) {
  String text;
  for (int c : codes) text += platform::AnsiChar(static_cast<Byte>(c));
  return text;
}

// The codes of a whole number: its decimal digits padded to `count`, two at a time.
std::vector<int> PairsOf(std::string digits, std::size_t count, bool negative) {
  digits.insert(0, count - digits.size(), '0');
  std::vector<int> codes;
  for (std::size_t i = 0; i < digits.size(); i += 2) codes.push_back((digits[i] - '0') * 10 + digits[i + 1] - '0');
  if (negative) codes[0] += 128;
  return codes;
}

TEST(CompressNumber, Codes) {
  const struct {
    double number;
    Integer size, decimals;
    std::vector<int> codes;
  } kCases[] = {
      {123456789, 9, 0, {1, 23, 45, 67, 89}},
      {-1234.56, 9, 2, {128, 0, 12, 34, 56}},
      {98765, 4, 0, {9, 87, 65}},
      {98765, 5, 0, {9, 87, 65}},     // 6 digits for sizes 4 and 5
      {98765, 6, 0, {0, 9, 87, 65}},
      {99999999.99, 9, 2, {99, 99, 99, 99, 99}},
      {9999999999, 9, 0, {99, 99, 99, 99, 99}},
      {0, 9, 0, {0, 0, 0, 0, 0}},
      {0.4, 9, 0, {0, 0, 0, 0, 0}},
      {-0.4, 9, 0, {128, 0, 0, 0, 0}},  // the sign survives rounding to 0
      {-0.0, 9, 0, {0, 0, 0, 0, 0}},
      {1.5, 9, 0, {0, 0, 0, 0, 2}},     // halves away from zero
      {2.5, 9, 0, {0, 0, 0, 0, 3}},
      {-2.5, 9, 0, {128, 0, 0, 0, 3}},
      {0.125, 9, 2, {0, 0, 0, 0, 13}},
      {1.005, 9, 2, {0, 0, 0, 1, 0}},   // 100.49999999999999 as a Double
      {12300, 9, -2, {0, 0, 0, 1, 23}},  // negative decimals divide
      {7, 0, 0, {7}},
      {-7, 0, 0, {135}},
      {99, 1, 0, {99}},
      {-1300000000, 9, 0, {141, 0, 0, 0, 0}},
      {1152921504606846976.0, 19, 0, {1, 15, 29, 21, 50, 46, 6, 84, 69, 76}},  // 2^60, every digit exact
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.number << " size " << c.size << " decimals " << c.decimals);
    EXPECT_EQ(Codes(n.CompressNumber(c.number, c.size, c.decimals)), c.codes);
  }
}

TEST(CompressNumber, CharactersAreWindows1252) {
  ZtNumeric n;
  EXPECT_EQ(n.CompressNumber(-1234.56, 9, 2), String(u"\u20AC\0\x0C\"8", 5));
  EXPECT_EQ(n.CompressNumber(-1300000000)[0], u'\u008D');  // a code the code page leaves undefined
  EXPECT_EQ(n.CompressNumber(-9900000000)[0], u'\u00E3');
}

TEST(CompressNumber, OutsideTheFormatGivesEmpty) {
  const struct {
    double number;
    Integer size, decimals;
  } kCases[] = {
      {10000000000, 9, 0},   // needs 11 digits; would read back as another number
      {12345678901, 9, 0},
      {100, 0, 0},
      {100000000, 9, 2},
      {kNaN, 9, 0},
      {kInf, 9, 0},
      {-kInf, 9, 0},
      {1e308, 9, 1},         // the scaled value overflows
      {0, 9, 400},           // 0 x infinity
      {5, -1, 0},            // no digit pattern for a negative size
      {5, -2, 0},
      {5, -32768, 0},
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.number << " size " << c.size << " decimals " << c.decimals);
    EXPECT_EQ(n.CompressNumber(c.number, c.size, c.decimals), String());
  }
}

// Beyond the precision of a Double the digits are those of the exact binary value.
TEST(CompressNumber, ExactDigitsOfLargeNumbers) {
  ZtNumeric n;
  EXPECT_EQ(Codes(n.CompressNumber(1e23, 30)), PairsOf("99999999999999991611392", 32, false));
  EXPECT_EQ(Codes(n.CompressNumber(-std::ldexp(1.0, 100), 31)),
            PairsOf("1267650600228229401496703205376", 32, true));
  const String widest = n.CompressNumber(5, 32767);  // 32768 digits
  ASSERT_EQ(widest.size(), 16384u);
  EXPECT_EQ(widest.back(), u'\x05');
  EXPECT_EQ(widest.find_first_not_of(u'\0'), widest.size() - 1);
  EXPECT_EQ(Codes(n.CompressNumber(std::numeric_limits<double>::max(), 308)).size(), 155u);
}

TEST(DecompressNumber, Reading) {
  const struct {
    std::vector<int> codes;
    Integer size, decimals;
    double expected;
  } kCases[] = {
      {{1, 23, 45, 67, 89}, 9, 0, 123456789},
      {{128, 0, 12, 34, 56}, 9, 2, -1234.56},
      {{128, 0, 12, 34, 56}, 9, 0, -123456},  // read with other decimals: another number
      {{9, 87, 65}, 4, 0, 98765},
      {{99, 99, 99, 99, 99}, 9, 2, 99999999.99},
      {{12, 34, 56, 78, 90, 1}, 9, 0, 1234567890.01},  // more characters than the size
      {{1, 2}, 9, 0, 102},                           // fewer: all digits are the whole part
      {{0, 0, 0, 100, 5}, 9, 0, 1000.5},             // a code 100..127 gives three digits
      {{228}, 9, 0, -100},
      {{1, 23, 45, 67, 89}, 9, 10, 0.0123456789},    // k = 0: all digits are the fraction
      {{1, 23, 45, 67, 89}, 9, 11, 0},               // more decimals than digits
      {{1, 23, 45, 67, 89}, 9, -3, 123456789},
      {{1, 23, 45, 67, 89}, -1, 0, 0},               // no format for a negative size
      {{7}, 0, 0, 7},
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - kCases));
    EXPECT_EQ(n.DecompressNumber(FromCodes(c.codes), c.size, c.decimals), c.expected);
  }
}

TEST(DecompressNumber, SignsAndOddTexts) {
  ZtNumeric n;
  // The empty text is 0, not negative zero.
  EXPECT_EQ(n.DecompressNumber(String()), 0);
  EXPECT_FALSE(std::signbit(n.DecompressNumber(String())));
  // A negative number that packed as zero keeps its sign.
  EXPECT_TRUE(std::signbit(n.DecompressNumber(n.CompressNumber(-0.4))));
  EXPECT_EQ(n.DecompressNumber(String(u"\u4E00")), 63);  // outside the code page: "?"
  EXPECT_EQ(n.DecompressNumber(String(u"\xD800\xD800")), 6363);
  EXPECT_EQ(n.DecompressNumber(String(1, u'\0')), 0);
  // Very long texts: a long fraction, or more whole digits than a Double holds.
  EXPECT_DOUBLE_EQ(n.DecompressNumber(String(50000, u'c')), 1e10);  // 'c' is code 99
  EXPECT_EQ(n.DecompressNumber(String(200, u'c'), 1000), 0);
  EXPECT_EQ(n.DecompressNumber(String(400, u'\0') + u'\x01', 9, 10), 0);  // 10^-802: below every Double
}

TEST(PackedNumbers, WholeNumbersRoundTrip) {
  ZtNumeric n;
  std::mt19937_64 gen(31337);
  for (int i = 0; i < 20000; ++i) {
    const long long magnitude = static_cast<long long>(gen() % 10000000000ULL) >> (gen() % 34);
    const bool negative = gen() % 2 == 0 && magnitude != 0;
    const double m = negative ? -static_cast<double>(magnitude) : static_cast<double>(magnitude);
    SCOPED_TRACE(m);
    const String packed = n.CompressNumber(m);
    ASSERT_EQ(Codes(packed), PairsOf(std::to_string(magnitude), 10, negative));
    ASSERT_EQ(n.DecompressNumber(packed), m);
  }
}

TEST(PackedNumbers, OtherSizesRoundTrip) {
  ZtNumeric n;
  std::mt19937_64 gen(5);
  for (Integer size = 0; size <= 13; ++size) {
    const int digits = size + 1 + (size + 1) % 2;
    unsigned long long limit = 1;
    for (int d = 0; d < digits; ++d) limit *= 10;
    for (int i = 0; i < 500; ++i) {
      const double m = static_cast<double>(gen() % limit) * (i % 2 ? -1 : 1);
      SCOPED_TRACE(testing::Message() << m << " size " << size);
      const String packed = n.CompressNumber(m, size);
      ASSERT_EQ(packed.size(), static_cast<std::size_t>(digits / 2));
      ASSERT_EQ(n.DecompressNumber(packed, size), m);
    }
  }
}

TEST(PackedNumbers, DecimalsRoundTrip) {
  ZtNumeric n;
  std::mt19937_64 gen(8);
  for (Integer decimals = 0; decimals <= 6; ++decimals) {
    const double scale = std::pow(10.0, decimals);
    for (int i = 0; i < 2000; ++i) {
      const double x = static_cast<double>(gen() % 10000000000ULL) / scale * (i % 2 ? -1 : 1);
      SCOPED_TRACE(testing::Message() << x << " decimals " << decimals);
      ASSERT_EQ(n.DecompressNumber(n.CompressNumber(x, 9, decimals), 9, decimals), x);
    }
  }
}

// Whole Doubles of any size come back exactly when the size leaves room for all their digits.
TEST(PackedNumbers, LargeNumbersRoundTrip) {
  ZtNumeric n;
  std::mt19937_64 gen(11);
  std::uniform_real_distribution<double> exponent(16, 308);
  for (int i = 0; i < 500; ++i) {
    const double x = std::pow(10.0, exponent(gen));
    ASSERT_EQ(n.DecompressNumber(n.CompressNumber(x, 309), 309), x) << x;
  }
  EXPECT_EQ(n.DecompressNumber(n.CompressNumber(1e23, 30), 30), 1e23);
}

TEST(PackedNumbers, LateBoundDefaults) {
  ObjectRef n = CreateObject(u"ZTLData.ZtNumeric");
  ASSERT_TRUE(n);
  const Variant packed = n->Invoke(u"CompressNumber", {123456789.0}).value_or(Variant());
  EXPECT_EQ(packed, Variant(String(u"\x01\x17-CY")));
  EXPECT_EQ(n->Invoke(u"DecompressNumber", {packed}), Variant(123456789.0));
  const Variant negative = n->Invoke(u"CompressNumber", {-1234.56, Integer{9}, Integer{2}}).value_or(Variant());
  EXPECT_EQ(n->Invoke(u"DecompressNumber", {negative, Integer{9}, Integer{2}}), Variant(-1234.56));
}

}  // namespace
}  // namespace ztl
