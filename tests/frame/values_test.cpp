// Values against the C library and exact references over generated inputs: conversions
// (rounding, Decimal and Currency text round trips), exact Decimal arithmetic (sums,
// differences, comparisons and quotients against 128-bit numbers), and Variant arithmetic and
// comparison where the value vectors cannot reach: objects with a default value, lone
// surrogates, properties over generated mixtures of kinds, and the sort order's second look at
// a default value. Known results are value vectors (tests/vectors/values).

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "../support/text.hpp"
#include "frame/decimal.hpp"
#include "frame/variant_ops.hpp"
#include "test_values.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {
namespace {

using testing_support::Narrow;
using namespace testing_values;

__extension__ typedef unsigned __int128 U128;
__extension__ typedef __int128 I128;

// Rounding to whole numbers agrees with the C library's nearbyint in its default mode
// (ties to even), whatever mode is in force when we round.
TEST(RoundToLong, AgreesWithNearbyint) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<long long> halves(-(1LL << 33), 1LL << 33);
  std::uniform_real_distribution<double> reals(-3e9, 3e9);
  for (int i = 0; i < 20000; ++i) {
    const double x = i % 2 ? halves(random) / 2.0 : reals(random);
    const double expected = std::nearbyint(x);
    std::fesetround(FE_UPWARD);
    const Outcome<Long> result = RoundToLong(x);
    std::fesetround(FE_TONEAREST);
    SCOPED_TRACE(x);
    if (expected < -2147483648.0 || expected > 2147483647.0) EXPECT_EQ(result.error(), kOverflow);
    else EXPECT_EQ(result, static_cast<Long>(expected));
  }
}

// Any Decimal written as text reads back as itself; its Double is the C library's reading
// of that text.
TEST(DecimalToText, RoundTrip) {
  std::mt19937_64 random(5);
  for (int i = 0; i < 20000; ++i) {
    Decimal d{random(), static_cast<std::uint32_t>(random() >> (i % 33)), static_cast<std::uint8_t>(random() % 29),
              random() % 2 == 0};
    // Keep the form the library makes: no trailing zeros in the scale, no negative zero.
    while (d.scale > 0 && (((static_cast<U128>(d.hi) << 64) | d.lo) % 10) == 0) d.lo += 1;
    if (d.lo == 0 && d.hi == 0) d.negative = false;
    const String text = DecimalToText(d);
    SCOPED_TRACE(Narrow(text));
    EXPECT_EQ(TextToDecimal(text), d);
    EXPECT_EQ(DecimalToDouble(d), std::strtod(Narrow(text).c_str(), nullptr));
  }
}

// Any Decimal, trailing zeros and a negative zero included, reads back from its scaled text
// as itself.
TEST(DecimalToScaledText, RoundTrip) {
  std::mt19937_64 random(6);
  for (int i = 0; i < 20000; ++i) {
    const bool zero = i % 50 == 0;
    const Decimal d{zero ? 0 : random() >> (i % 64), zero ? 0 : static_cast<std::uint32_t>(random() >> (i % 33)),
                    static_cast<std::uint8_t>(random() % 29), random() % 2 == 0};
    const String text = DecimalToScaledText(d);
    SCOPED_TRACE(Narrow(text));
    EXPECT_EQ(ScaledTextToDecimal(text), d);
  }
}

// Text with an exponent (as Python writes a decimal) keeps the scale it stands for; beyond 28
// digits after the point or 96 bits, the largest scale that fits.
TEST(ScaledTextToDecimal, ExponentsAndLimits) {
  const struct {
    const char* text;
    const char* scaled;  // or the error number
  } kCases[] = {
      {"1.50E+3", "1500"}, {"1.5E-7", "0.00000015"}, {"-0E-3", "-0.000"}, {"+.50", "0.50"}, {"5.", "5"},
      {"1.000000000000000000000000000000", "1.0000000000000000000000000000"},
      {"7.92281625142643375935439503355", "7.922816251426433759354395034"},
      {"1E-40", "0.0000000000000000000000000000"}, {"1E+29", "6"}, {"1E+99999999999", "6"},
      {"1.5x", "13"}, {"", "13"}, {".", "13"}, {"&H10", "13"}, {"1E", "13"}, {" 1", "13"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    const Outcome<Decimal> d = ScaledTextToDecimal(testing_support::Wide(c.text));
    EXPECT_EQ(d ? Narrow(DecimalToScaledText(*d)) : std::to_string(d.error()), c.scaled);
  }
}

// Whether x lies exactly halfway between two 15-digit numbers, where the C library rounds
// to even and the platform away from zero.
bool FifteenDigitTie(double x) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%.55e", x);
  const char* next = std::strchr(buffer, '.') + 15;
  return *next == '5' && std::strspn(next + 1, "0") == 40;
}

// A Double becomes the Decimal of its 15-digit text.
TEST(DoubleToDecimal, FifteenDigitText) {
  std::mt19937_64 random(8);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 27);
  for (int i = 0; i < 5000; ++i) {
    const double x = mantissa(random) * std::pow(10.0, exponent(random));
    if (FifteenDigitTie(x)) continue;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", x);
    SCOPED_TRACE(buffer);
    EXPECT_EQ(DoubleToDecimal(x), TextToDecimal(testing_support::Wide(buffer)).value_or(Decimal{}));
  }
}

// Any Currency written as text reads back as itself, and its Double is the C library's reading
// of that text; a Double that is exactly k / 10^4 in that reading becomes Currency k.
TEST(Currency, TextAndDoublesAgreeWithTheCLibrary) {
  std::mt19937_64 random(9);
  for (int i = 0; i < 40000; ++i) {
    const Currency c{static_cast<std::int64_t>(random()) >> (i % 64)};
    const std::string text = Narrow(CurrencyToText(c));
    SCOPED_TRACE(text);
    EXPECT_EQ(ToCurrency(testing_support::Wide(text)), c);
    const double x = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(CurrencyToDouble(c), x);
    if (std::llabs(c.scaled) <= 1LL << 52) { EXPECT_EQ(DoubleToCurrency(x), c); }
  }
}

// ---- Decimal arithmetic ----------------------------------------------------------------------

const U128 kMax96 = (U128{1} << 96) - 1;

U128 Pow10(int n) { return n == 0 ? 1 : 10 * Pow10(n - 1); }

Decimal Make(U128 magnitude, int scale, bool negative) {
  return Decimal{static_cast<std::uint64_t>(magnitude), static_cast<std::uint32_t>(magnitude >> 64),
                 static_cast<std::uint8_t>(scale), negative};
}

U128 Magnitude(const Decimal& d) { return (U128{d.hi} << 64) | d.lo; }

// The stored form as text: every digit the scale keeps, and "-" whenever the sign is set
// (so a negative zero shows as "-0").
std::string Show(const Decimal& d) {
  std::string digits;
  for (U128 n = Magnitude(d); digits.empty() || n != 0; n /= 10) digits.insert(digits.begin(), char('0' + int(n % 10)));
  const std::size_t scale = d.scale;
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  if (scale > 0) digits.insert(digits.size() - scale, ".");
  return (d.negative ? "-" : "") + digits;
}

// A value as one line ("Single 7.5 (7.5)"), binary numbers to the last bit; a result, or
// "error 6" for a failure.
std::string Show(const Variant& v) {
  char bits[40] = "";
  if (v.Type() == VarType::Single || v.Type() == VarType::Double || v.Type() == VarType::Date) {
    std::snprintf(bits, sizeof bits, " (%.17g)", ToDouble(v).value_or(0));
  }
  return std::string(VarTypeName(v.Type())) + " " + testing_support::Narrow(ToString(v).value_or(u"?")) + bits;
}

const char* const kOrderings[] = {"Less", "Equal", "Greater", "Unordered"};
std::string Show(Ordering o) { return kOrderings[static_cast<int>(o)]; }

template <class T>
std::string Shown(const Outcome<T>& result) {
  return result ? Show(*result) : "error " + std::to_string(result.error());
}


// A random magnitude of at most 96 bits, its digit count spread evenly so small and large
// values both occur.
U128 RandomMagnitude(std::mt19937_64& rng) {
  const int digits = static_cast<int>(rng() % 30);
  return (U128{rng()} << 64 | rng()) % Pow10(digits) % (kMax96 + 1);
}

// The exact value x 10^-scale brought into 96 bits the way the platform does: the fewest
// digits k dropped so that x / 10^k, rounded half to even, fits.
std::string Fitted(I128 x, int scale) {
  const U128 magnitude = x < 0 ? -x : x;
  for (int k = 0; k <= scale; ++k) {
    const U128 unit = Pow10(k);
    U128 q = magnitude / unit;
    const U128 twice = magnitude % unit * 2;
    if (twice > unit || (twice == unit && q % 2 == 1)) ++q;
    if (q <= kMax96) return Show(Make(q, scale - k, x < 0 && q != 0));
  }
  return "error 6";
}

// Sums, differences and comparisons of values whose aligned magnitudes fit 125 bits, so the
// exact results are 128-bit numbers; large ones exercise the rounding at 96 bits.
TEST(DecimalAdd, MatchesExactReference) {
  std::mt19937_64 rng(20261206);
  for (int checked = 0; checked < 20000;) {
    const int sa = static_cast<int>(rng() % 29), sb = static_cast<int>(rng() % 29), scale = std::max(sa, sb);
    const Decimal a = Make(RandomMagnitude(rng), sa, rng() % 2 == 0);
    const Decimal b = Make(RandomMagnitude(rng), sb, rng() % 2 == 0);
    const U128 limit = U128{1} << 125;
    if (Magnitude(a) > limit / Pow10(scale - sa) || Magnitude(b) > limit / Pow10(scale - sb)) continue;
    ++checked;
    auto aligned = [&](const Decimal& d) {
      const I128 m = static_cast<I128>(Magnitude(d) * Pow10(scale - d.scale));
      return d.negative ? -m : m;
    };
    const I128 x = aligned(a), y = aligned(b);
    SCOPED_TRACE(Show(a) + " and " + Show(b));
    EXPECT_EQ(Shown(DecimalAdd(a, b)), Fitted(x + y, scale));
    EXPECT_EQ(Shown(DecimalSubtract(a, b)), Fitted(x - y, scale));
    EXPECT_EQ(DecimalCompare(a, b), (x > y) - (x < y));
  }
}

// Quotients of small values: the result q at scale t is the exact quotient rounded half to
// even at t, and it has as many digits as fit (an inexact quotient stops at scale 28 or at
// 28 significant digits); an exact one keeps no trailing zero beyond the operands' scales.
TEST(DecimalDivide, CorrectlyRounded) {
  std::mt19937_64 rng(6121202);
  for (int i = 0; i < 20000; ++i) {
    const int sa = static_cast<int>(rng() % 4), sb = static_cast<int>(rng() % 4);
    const U128 ma = rng() % 100000, mb = rng() % 100000 + 1;
    const bool negative = rng() % 2 == 0;
    const Decimal a = Make(ma, sa, negative), b = Make(mb, sb, false);
    SCOPED_TRACE(Show(a) + " / " + Show(b));
    const Outcome<Decimal> quotient = DecimalDivide(a, b);
    ASSERT_TRUE(quotient.ok());
    const Decimal q = *quotient;
    const U128 m = Magnitude(q);
    const int t = q.scale;
    ASSERT_LE(t, 28);
    EXPECT_EQ(q.negative, negative && m != 0);
    // a / b - q = (ma 10^(sb+t) - m mb 10^sa) / (mb 10^(sa+t)): at most half a unit of q.
    const U128 exact = ma * Pow10(sb + t), got = m * mb * Pow10(sa);
    const U128 error = exact > got ? exact - got : got - exact;
    const U128 unit = mb * Pow10(sa);
    EXPECT_LE(2 * error, unit);
    if (2 * error == unit) {
      EXPECT_EQ(m % 2, U128{0}) << "a tie rounds to even";
    }
    if (error != 0) {
      // Trailing zeros of the rounded quotient are dropped; put them back first.
      U128 full = m;
      int scale = t;
      for (; scale < 28 && full * 10 <= kMax96; ++scale) full *= 10;
      if (scale < 28) {
        EXPECT_GE(full, Pow10(27)) << Show(q);
      }
    } else {
      EXPECT_GE(t, std::max(sa - sb, 0));
      if (t > std::max(sa - sb, 0)) {
        EXPECT_NE(m % 10, U128{0}) << Show(q);
      }
    }
  }
}

// ---- Variant operations ----------------------------------------------------------------------

// An object counts as its default value in every operation; without one it fails (438).
TEST(VariantOps, ObjectsCountAsTheirDefaultValue) {
  EXPECT_EQ(Shown(Add(Obj(Long{5}), Long{1})), "Long 6");
  EXPECT_EQ(Shown(Add(u"a", Obj(Variant(u"b")))), "String ab");
  EXPECT_EQ(Shown(Add(Obj(Variant(Dec(5, 1))), Long{1})), "Decimal 1.5");
  EXPECT_EQ(Shown(Add(Obj(std::nullopt), Long{1})), "error 438");
  EXPECT_EQ(Shown(Add(Obj(SafeArray::Of({Long{1}})), Long{1})), "error 13");
  EXPECT_EQ(Shown(Negate(Obj(Integer{3}))), "Integer -3");
  EXPECT_EQ(Shown(Compare(Obj(Long{3}), Long{3})), "Equal");
  EXPECT_EQ(Shown(Compare(Obj(Variant(u"b")), u"a")), "Greater");
  EXPECT_EQ(Shown(Compare(Obj(std::nullopt), Long{1})), "error 13");
  EXPECT_EQ(Shown(Compare(Null, Obj(std::nullopt))), "error 13");
  EXPECT_EQ(Shown(ChangeType(Obj(Long{7}), VarType::Integer)), "Integer 7");
  EXPECT_EQ(Shown(ChangeType(Obj(Obj(u"8")), VarType::Integer)), "Integer 8");  // followed through
  EXPECT_EQ(Shown(ChangeType(Obj(std::nullopt), VarType::Integer)), "error 438");
  EXPECT_EQ(Shown(ChangeType(Obj(true), VarType::Byte)), "Byte 255");
  EXPECT_EQ(Shown(ChangeType(Obj(u"2.5"), VarType::Double)), "Double 2.5 (2.5)");
  EXPECT_EQ(Shown(ChangeType(Obj(u"2024-01-01"), VarType::Date)), "Date 1/1/2024 (45292)");
  EXPECT_EQ(Shown(ChangeType(Obj(u"x"), VarType::String)), "String x");
  EXPECT_TRUE(ChangeType(Obj(Long{1}), VarType::Object)->IsObject());
  // Texts compare by code unit, not code point (JSON cannot carry a lone surrogate).
  EXPECT_EQ(Shown(Compare(u"\xd800", u"\xff00")), "Less");
}

// The sort order makes two tests, a < b and then a = b, each fetching the default value again;
// a failing first test counts as a before b, a failing second as equal.
TEST(CompareVariants, FetchesTheDefaultValueForEachTest) {
  auto changing = [](std::vector<std::optional<Variant>> v) { return ObjectRef(std::make_shared<Holder>(v)); };
  EXPECT_EQ(CompareVariants(changing({std::nullopt}), Long{1}), -1);
  EXPECT_EQ(CompareVariants(changing({Long{3}, Long{3}, std::nullopt}), Long{2}), 1);
  EXPECT_EQ(CompareVariants(changing({Long{3}, std::nullopt}), Long{2}), 0);
  EXPECT_EQ(CompareVariants(changing({Long{3}, Long{2}, std::nullopt}), Long{2}), 0);
}

// ---- Properties over generated values ----------------------------------------------------

// A mixture of every scalar kind with values at and around their range ends.
std::vector<Variant> MixedValues() {
  std::vector<Variant> values = {Variant(), true, false, Dec(25, 1, true), Dec(0, 2, true), Dec(0, 0), Dec(1, 4),
                                 Dec(4294967296ull, 0), Decimal{~0ull, ~0u, 0, true}, Decimal{~0ull, ~0u, 0, false}};
  for (int b : {0, 1, 127, 254, 255}) values.emplace_back(static_cast<Byte>(b));
  for (int i : {-32768, -32767, -1, 0, 2, 16384, 32767}) values.emplace_back(static_cast<Integer>(i));
  for (Long l : {-2147483647 - 1, -65536, -1, 0, 3, 1 << 30, 2147483647}) values.emplace_back(l);
  for (float f : {-FLT_MAX, -1.5f, 0.0f, 0.1f, 2.0f, 16777217.0f, FLT_MAX}) values.emplace_back(f);
  for (double d : {-1e300, -2.5, 0.0, 0.1, 2.0, 4294967296.0, 1e300}) values.emplace_back(d);
  for (long long c : {-10000000000000LL, -1LL, 0LL, 20000LL, 10000000000000LL}) values.emplace_back(Currency{c});
  for (double d : {-2.0, 0.0, 2.0, 45000.75}) values.emplace_back(Date{d});
  return values;
}

// Over the mixture and some texts and Null: every comparison reverses when the sides swap, and
// numbers of any kinds but Single compare as their values do (equal values in different kinds
// are Equal); sums of the mixture commute, and a sum of whole numbers is exact and lands in the
// first of the operands' kind, Integer, Long and Double that holds it.
TEST(VariantOps, ComparisonsReverseAndSumsCommute) {
  std::vector<Variant> values = MixedValues();
  const std::size_t mixture = values.size();
  for (const char16_t* s : {u"", u"0", u"10", u"9", u"a", u"B", u"\u00e9"}) values.emplace_back(s);
  values.emplace_back(Null);
  auto rank = [](const Variant& v) {
    const VarType kinds[] = {VarType::Byte, VarType::Integer, VarType::Long};
    if (v.Type() == VarType::Boolean) return 1;
    return static_cast<int>(std::find(kinds, kinds + 3, v.Type()) - kinds);
  };
  const long long kLow[] = {0, -32768, -2147483648LL}, kHigh[] = {255, 32767, 2147483647};
  for (std::size_t i = 0; i < values.size(); ++i) {
    for (std::size_t j = 0; j < values.size(); ++j) {
      const Variant &a = values[i], &b = values[j];
      SCOPED_TRACE(Show(a) + " and " + Show(b));
      const Outcome<Ordering> ab = Compare(a, b), ba = Compare(b, a);
      ASSERT_TRUE(ab.ok());
      ASSERT_TRUE(ba.ok());
      EXPECT_EQ(Show(*ab), kOrderings[(6 - static_cast<int>(*ba)) % 4]);  // Less and Greater swap
      const bool numbers = !a.IsString() && !b.IsString() && a.Type() != VarType::Single && b.Type() != VarType::Single;
      const Outcome<double> x = ToDouble(a), y = ToDouble(b);
      if (numbers && x && y) {
        EXPECT_EQ(Show(*ab), Show(*x < *y ? Ordering::Less : *x > *y ? Ordering::Greater : Ordering::Equal));
      }
      if (i >= mixture || j >= mixture) continue;
      const Outcome<Variant> result = Add(a, b);
      EXPECT_EQ(Shown(result), Shown(Add(b, a)));
      if (rank(a) == 3 || rank(b) == 3) continue;
      const long long sum = static_cast<long long>(*ToLong(a)) + *ToLong(b);
      int expected = std::max(rank(a), rank(b));
      while (expected < 3 && (sum > kHigh[expected] || sum < kLow[expected])) ++expected;
      ASSERT_TRUE(result.ok());
      EXPECT_EQ(rank(*result), expected);
      EXPECT_EQ(*ToDouble(*result), static_cast<double>(sum));
    }
  }
}

}  // namespace
}  // namespace ztl
