// ZtNumeric: number words against a plain recursive reference, Roman numerals against the
// greedy letter table, and ToArabic's lenient reading.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "ztldata/frame/object.hpp"
#include "ztldata/numbers/numeric.hpp"

namespace ztl {
namespace {

constexpr Long kMinLong = -2147483647 - 1;

String U(const std::string& s) { return String(s.begin(), s.end()); }

// Words of a magnitude, built top-down by recursion on the largest scale word.
std::string Say(long long n) {
  static const char* const kOnes[] = {"",        "one",     "two",       "three",    "four",
                                      "five",    "six",     "seven",     "eight",    "nine",
                                      "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                                      "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
  static const char* const kTens[] = {"",      "",      "twenty",  "thirty", "forty",
                                      "fifty", "sixty", "seventy", "eighty", "ninety"};
  const auto rest = [](long long r, const char* joiner) { return r == 0 ? std::string() : joiner + Say(r); };
  if (n < 20) return kOnes[n];
  if (n < 100) return kTens[n / 10] + rest(n % 10, "-");
  if (n < 1000) return Say(n / 100) + " hundred" + rest(n % 100, " ");
  const struct {
    long long size;
    const char* name;
  } kScales[] = {{1000000000, " billion"}, {1000000, " million"}, {1000, " thousand"}};
  for (const auto& s : kScales) {
    if (n >= s.size) return Say(n / s.size) + s.name + rest(n % s.size, " ");
  }
  return {};
}

std::string Reference(Long x) {
  if (x == 0) return "zero";
  return x < 0 ? "negative " + Say(-static_cast<long long>(x)) : Say(x);
}

TEST(Num2Letter, Examples) {
  const struct {
    Long number;
    const char* words;
  } kCases[] = {
      {0, "zero"},
      {7, "seven"},
      {13, "thirteen"},
      {20, "twenty"},
      {21, "twenty-one"},
      {40, "forty"},
      {100, "one hundred"},
      {101, "one hundred one"},
      {115, "one hundred fifteen"},
      {342, "three hundred forty-two"},
      {1000, "one thousand"},
      {1001, "one thousand one"},
      {1100, "one thousand one hundred"},
      {1000000, "one million"},
      {1000005, "one million five"},  // zero groups leave no trace
      {2000000000, "two billion"},
      {-1, "negative one"},
      {-15, "negative fifteen"},
      {1234567891,
       "one billion two hundred thirty-four million five hundred sixty-seven thousand eight hundred ninety-one"},
      {2147483647,
       "two billion one hundred forty-seven million four hundred eighty-three thousand six hundred forty-seven"},
      {kMinLong,
       "negative two billion one hundred forty-seven million four hundred eighty-three thousand six hundred "
       "forty-eight"},
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(n.Num2Letter(c.number), U(c.words));
  }
}

TEST(Num2Letter, AgreesWithTheReference) {
  ZtNumeric n;
  std::mt19937 gen(1234);
  std::uniform_int_distribution<int> digits(1, 10);
  std::uniform_int_distribution<int> group(0, 999);
  for (int i = 0; i < 4000; ++i) {
    // Numbers of every length, and numbers whose groups are often zero.
    long long x = 0;
    if (i % 2 == 0) {
      long long limit = 1;
      for (int d = digits(gen); d > 0; --d) limit *= 10;
      x = static_cast<long long>(gen() % static_cast<unsigned long long>(limit));
    } else {
      for (int g = 0; g < 4; ++g) x = x * 1000 + (gen() % 3 == 0 ? group(gen) : 0);
      x %= 2147483648LL;
    }
    if (gen() % 2 == 0) x = -x;
    SCOPED_TRACE(x);
    ASSERT_EQ(n.Num2Letter(static_cast<Long>(x)), U(Reference(static_cast<Long>(x))));
  }
  for (Long x = -1100; x <= 1100; ++x) ASSERT_EQ(n.Num2Letter(x), U(Reference(x))) << x;
}

// The greedy reading of the letter table, Q = 5000 and H = 10000 included.
std::string RomanReference(int n) {
  const struct {
    int value;
    const char* letters;
  } kTable[] = {{9000, "MH"}, {5000, "Q"},  {4000, "MQ"}, {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"},
                {100, "C"},   {90, "XC"},   {50, "L"},    {40, "XL"},  {10, "X"},   {9, "IX"}, {5, "V"},
                {4, "IV"},    {1, "I"}};
  std::string roman;
  for (const auto& t : kTable) {
    while (n >= t.value) {
      roman += t.letters;
      n -= t.value;
    }
  }
  return roman;
}

TEST(ToRoman, Examples) {
  const struct {
    Integer number;
    const char* roman;
  } kCases[] = {
      {1, "I"},        {4, "IV"},          {9, "IX"},          {14, "XIV"},
      {40, "XL"},      {90, "XC"},         {400, "CD"},        {900, "CM"},
      {1994, "MCMXCIV"}, {3888, "MMMDCCCLXXXVIII"}, {3999, "MMMCMXCIX"},
      {4000, "MQ"},    {5000, "Q"},        {6000, "QM"},       {9000, "MH"},
      {9999, "MHCMXCIX"},
      {0, ""},         {10000, ""},        {32767, ""},
      {-5, ""},        {-12, ""},          {-999, ""},         {-32768, ""},  // no numeral for a negative number
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(n.ToRoman(c.number), U(c.roman));
  }
}

TEST(ToRoman, EveryNumberRoundTrips) {
  ZtNumeric n;
  for (Integer i = 1; i <= 9999; ++i) {
    const String roman = n.ToRoman(i);
    ASSERT_EQ(roman, U(RomanReference(i))) << i;
    ASSERT_EQ(n.ToArabic(roman), i) << i;
  }
}

TEST(ToArabic, LenientReading) {
  using namespace std::literals;
  const struct {
    std::u16string_view roman;
    Integer expected;
  } kCases[] = {
      {u""sv, 0},
      {u"   "sv, 0},
      {u" XIV "sv, 14},       // spaces around are trimmed
      {u"MCMXCIV"sv, 1994},
      {u"Q"sv, 5000},
      {u"H"sv, 10000},
      {u"IIII"sv, 4},         // no syntax check: each letter counts
      {u"IM"sv, 999},
      {u"IIV"sv, 5},
      {u"MQ"sv, 4000},
      {u"MHCMXCIX"sv, 9999},
      {u"VX"sv, 5},
      {u"HHH"sv, 30000},
      {u"HHHH"sv, 0},         // beyond the Integer range: the default, not a wrong number
      {u"HHHQMMM"sv, 0},
      {u"HHHMMDCCLXVII"sv, 32767},
      {u"xiv"sv, 0},          // any other character makes the whole result 0
      {u"X1"sv, 0},
      {u"X I"sv, 0},
      {u"\tX"sv, 0},
      {u"XIV\0"sv, 0},
      {u"\xD800"sv, 0},
      {u"X\xDC00"sv, 0},
      {u"\u216B"sv, 0},       // the Roman numeral twelve is not a letter of the scheme
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - kCases));
    EXPECT_EQ(n.ToArabic(String(c.roman)), c.expected);
  }
}

TEST(NumberWords, LateBound) {
  ObjectRef n = CreateObject(u"ZTLData.ZtNumeric");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->Invoke(u"Num2Letter", {Long{-42}}), Variant(String(u"negative forty-two")));
  EXPECT_EQ(n->Invoke(u"ToRoman", {Integer{1994}}), Variant(String(u"MCMXCIV")));
  EXPECT_EQ(n->Invoke(u"ToArabic", {String(u"MQ")}), Variant(Integer{4000}));
}

}  // namespace
}  // namespace ztl
