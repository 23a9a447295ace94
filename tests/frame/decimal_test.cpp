// Exact Decimal arithmetic: known results (carries, scales, rounding at 28 digits and at 96
// bits, overflow, quotients), then sums, differences, comparisons and quotients of generated
// values against exact 128-bit references.

#include "frame/decimal.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace ztl {
namespace {

__extension__ typedef unsigned __int128 U128;

const U128 kMax96 = (U128{1} << 96) - 1;

U128 Pow10(int n) {
  U128 p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

Decimal Make(U128 magnitude, int scale, bool negative) {
  return Decimal{static_cast<std::uint64_t>(magnitude), static_cast<std::uint32_t>(magnitude >> 64),
                 static_cast<std::uint8_t>(scale), negative};
}

U128 Magnitude(const Decimal& d) { return (U128{d.hi} << 64) | d.lo; }

// A Decimal written as "-12.50": the scale is the number of digits after the point, kept
// as written (trailing zeros count).
Decimal D(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  U128 magnitude = 0;
  int scale = -1;
  for (char c : text) {
    if (c == '.') {
      scale = 0;
      continue;
    }
    magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    if (scale >= 0) ++scale;
  }
  return Make(magnitude, scale < 0 ? 0 : scale, negative);
}

std::string Digits(U128 n) {
  std::string s;
  do {
    s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
    n /= 10;
  } while (n != 0);
  return s;
}

// The stored form as text: every digit the scale keeps, and "-" whenever the sign is set
// (so a negative zero shows as "-0").
std::string Text(const Decimal& d) {
  std::string digits = Digits(Magnitude(d));
  const std::size_t scale = d.scale;
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  if (scale > 0) digits.insert(digits.size() - scale, ".");
  return (d.negative ? "-" : "") + digits;
}

// A result as text, or "error 6" for a failure.
std::string Shown(const Outcome<Decimal>& result) {
  return result ? Text(*result) : "error " + std::to_string(result.error());
}

struct BinaryCase {
  const char* left;
  const char* right;
  const char* expected;
};

// ---- DecimalAdd ----------------------------------------------------------------------------

TEST(DecimalAdd, KnownSums) {
  const BinaryCase kCases[] = {
      {"-11", "-4.2", "-15.2"},  // the platform's -11 + -4.2
      {"1.5", "1.5", "3.0"},     // the larger scale stays
      {"0.1", "0.2", "0.3"},
      {"1.23", "4.5", "5.73"},
      {"1", "0.0000000000000000000000000001", "1.0000000000000000000000000001"},
      {"-1", "1", "0"},  // a zero sum is positive
      {"-0.5", "0.25", "-0.25"},
      {"0.25", "-0.5", "-0.25"},
      // Carries out of 32, 64 and up to 96 bits.
      {"4294967295", "1", "4294967296"},
      {"18446744073709551615", "1", "18446744073709551616"},
      {"79228162514264337593543950334", "1", "79228162514264337593543950335"},
      {"-79228162514264337593543950334", "-1", "-79228162514264337593543950335"},
      {"39614081257132168796771975168", "39614081257132168796771975167", "79228162514264337593543950335"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.left) + " + " + c.right);
    EXPECT_EQ(Shown(DecimalAdd(D(c.left), D(c.right))), c.expected);
    EXPECT_EQ(Shown(DecimalAdd(D(c.right), D(c.left))), c.expected);
  }
}

// A sum that needs more than 96 bits at the larger scale loses digits after the point,
// rounded half to even over all the digits it loses; with no digit left to lose it overflows.
TEST(DecimalAdd, RoundsOrOverflowsBeyond96Bits) {
  const BinaryCase kCases[] = {
      {"9", "0.0000000000000000000000000001", "9.000000000000000000000000000"},
      {"8", "0.0000000000000000000000000005", "8.000000000000000000000000000"},  // tie: even
      {"8.000000000000000000000000001", "0.0000000000000000000000000005", "8.000000000000000000000000002"},
      {"8.000000000000000000000000001", "0.0000000000000000000000000004", "8.000000000000000000000000001"},
      {"8.000000000000000000000000001", "0.0000000000000000000000000006", "8.000000000000000000000000002"},
      // Two digits lost: a 5 followed by a non-zero digit is more than half.
      {"7922816251426433759354395033", "0.251", "7922816251426433759354395033.3"},
      {"7922816251426433759354395033", "0.250", "7922816251426433759354395033.2"},
      {"7922816251426433759354395033", "0.350", "7922816251426433759354395033.4"},
      {"7922816251426433759354395033", "0.349", "7922816251426433759354395033.3"},
      {"79228162514264337593543950335", "0.4", "79228162514264337593543950335"},
      {"79228162514264337593543950334", "0.5", "79228162514264337593543950334"},  // tie: even
      {"79228162514264337593543950335", "0.5", "error 6"},  // rounds up past 96 bits
      {"79228162514264337593543950335", "1", "error 6"},
      {"-79228162514264337593543950335", "-0.0000000000000000000000000001", "-79228162514264337593543950335"},
      {"-79228162514264337593543950335", "-1", "error 6"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.left) + " + " + c.right);
    EXPECT_EQ(Shown(DecimalAdd(D(c.left), D(c.right))), c.expected);
  }
}

// ---- DecimalSubtract -------------------------------------------------------------------------

TEST(DecimalSubtract, KnownDifferences) {
  const BinaryCase kCases[] = {
      {"-11", "-4.2", "-6.8"},  // the platform's -11 - -4.2
      {"1", "0.0000000000000000000000000001", "0.9999999999999999999999999999"},
      {"0.3", "0.1", "0.2"},
      {"5", "5", "0"},
      {"0.1", "0.25", "-0.15"},
      {"4294967296", "1", "4294967295"},  // borrows across 32 and 64 bits
      {"18446744073709551616", "1", "18446744073709551615"},
      {"79228162514264337593543950335", "79228162514264337593543950334", "1"},
      {"79228162514264337593543950335", "-0.4", "79228162514264337593543950335"},
      {"-79228162514264337593543950335", "1", "error 6"},
      {"79228162514264337593543950335", "0.0000000000000000000000000001", "79228162514264337593543950335"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.left) + " - " + c.right);
    EXPECT_EQ(Shown(DecimalSubtract(D(c.left), D(c.right))), c.expected);
  }
}

// ---- DecimalNegate ---------------------------------------------------------------------------

TEST(DecimalNegate, FlipsTheSignOnly) {
  const struct {
    const char* operand;
    const char* expected;
  } kCases[] = {
      {"4.20", "-4.20"},
      {"-4.2", "4.2"},
      {"0", "-0"},  // a negative zero
      {"-0", "0"},
      {"79228162514264337593543950335", "-79228162514264337593543950335"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.operand);
    EXPECT_EQ(Text(DecimalNegate(D(c.operand))), c.expected);
  }
}

// ---- DecimalDivide ---------------------------------------------------------------------------

TEST(DecimalDivide, KnownQuotients) {
  const BinaryCase kCases[] = {
      {"100", "2", "50"},  // the platform's 100 / 2
      {"1", "3", "0.3333333333333333333333333333"},
      {"2", "3", "0.6666666666666666666666666667"},
      {"-2", "3", "-0.6666666666666666666666666667"},
      {"1", "7", "0.1428571428571428571428571429"},
      {"10", "4", "2.5"},
      {"1", "4", "0.25"},
      {"1", "-4", "-0.25"},
      {"-1", "-4", "0.25"},
      {"1", "8", "0.125"},
      {"1.00", "1", "1.00"},  // exact: the scale of dividend minus divisor stays
      {"2.50", "0.5", "5.0"},
      {"1", "0.5", "2"},      // that scale would be below 0
      {"0.00", "5", "0.00"},
      {"0", "-5", "0"},
      {"1", "0.3", "3.3333333333333333333333333333"},  // 29 digits fit here
      {"1000000", "3", "333333.33333333333333333333333"},
      {"79228162514264337593543950335", "1", "79228162514264337593543950335"},
      {"79228162514264337593543950335", "2", "39614081257132168796771975168"},  // .5: even
      {"79228162514264337593543950335", "10", "7922816251426433759354395033.5"},
      {"1", "79228162514264337593543950335", "0"},
      {"0.0000000000000000000000000001", "3", "0"},
      {"0.0000000000000000000000000002", "3", "0.0000000000000000000000000001"},
      // The rounding carries to 2^96: one digit fewer, 2^96 / 10 rounded.
      {"7.9228162514264337593543950328", "0.9999999999999999999999999999", "7.922816251426433759354395034"},
      {"79228162514264337593543950335", "0.1", "error 6"},
      {"79228162514264337593543950335", "0.9999999999999999999999999999", "error 6"},
      {"1", "0", "error 11"},
      {"0", "0", "error 11"},
      {"0", "0.000", "error 11"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.left) + " / " + c.right);
    EXPECT_EQ(Shown(DecimalDivide(D(c.left), D(c.right))), c.expected);
  }
}

// ---- DecimalCompare --------------------------------------------------------------------------

TEST(DecimalCompare, ByValue) {
  const struct {
    const char* left;
    const char* right;
    int expected;
  } kCases[] = {
      {"1", "1.0000", 0},
      {"0.1", "0.10", 0},
      {"-0", "0", 0},
      {"-0.000", "0", 0},
      {"-1", "0", -1},
      {"-2", "-1", -1},
      {"-1.5", "-1.49", -1},
      {"1.5", "1.49", 1},
      {"0.0000000000000000000000000001", "0", 1},
      {"-0.0000000000000000000000000001", "-0", -1},
      {"1.00000000000000000001", "1", 1},
      {"79228162514264337593543950335", "7.9228162514264337593543950335", 1},
      {"79228162514264337593543950335", "79228162514264337593543950334.9", 1},
      {"-79228162514264337593543950335", "79228162514264337593543950335", -1},
      {"18446744073709551616", "18446744073709551615.9999999999", 1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.left) + " vs " + c.right);
    EXPECT_EQ(DecimalCompare(D(c.left), D(c.right)), c.expected);
    EXPECT_EQ(DecimalCompare(D(c.right), D(c.left)), -c.expected);
  }
}

// ---- Generated values against exact references ----------------------------------------------

// A random magnitude below `limit`, its digit count spread evenly so small and large values
// both occur.
U128 RandomMagnitude(std::mt19937_64& rng, U128 limit) {
  const int digits = static_cast<int>(rng() % 30);
  U128 m = (U128{rng()} << 64 | rng()) % Pow10(digits);
  return m % limit;
}

struct Signed {
  bool negative;
  U128 magnitude;
};

// a + b or a - b of signed magnitudes.
Signed Sum(Signed a, Signed b) {
  if (a.negative == b.negative) return {a.negative, a.magnitude + b.magnitude};
  if (a.magnitude >= b.magnitude) return {a.negative, a.magnitude - b.magnitude};
  return {b.negative, b.magnitude - a.magnitude};
}

// The exact value x x 10^-scale brought into 96 bits the way the platform does: the
// fewest digits k dropped so that x / 10^k, rounded half to even, fits.
std::string Fitted(Signed x, int scale) {
  for (int k = 0; k <= scale; ++k) {
    const U128 unit = Pow10(k);
    U128 q = x.magnitude / unit;
    const U128 twice = x.magnitude % unit * 2;
    if (twice > unit || (twice == unit && q % 2 == 1)) ++q;
    if (q <= kMax96) return Text(Make(q, scale - k, x.negative && q != 0));
  }
  return "error 6";
}

// Sums, differences and comparisons of values whose aligned magnitudes fit 126 bits, so
// the exact result is a 128-bit number; large ones exercise the rounding at 96 bits.
TEST(DecimalAdd, MatchesExactReference) {
  std::mt19937_64 rng(20261206);
  int checked = 0;
  while (checked < 20000) {
    const int sa = static_cast<int>(rng() % 29), sb = static_cast<int>(rng() % 29);
    const Decimal a = Make(RandomMagnitude(rng, kMax96 + 1), sa, rng() % 2 == 0);
    const Decimal b = Make(RandomMagnitude(rng, kMax96 + 1), sb, rng() % 2 == 0);
    const int scale = std::max(sa, sb);
    const U128 limit = U128{1} << 126;
    if (Magnitude(a) > limit / Pow10(scale - sa) || Magnitude(b) > limit / Pow10(scale - sb)) continue;
    ++checked;
    const Signed x{a.negative, Magnitude(a) * Pow10(scale - sa)};
    const Signed y{b.negative, Magnitude(b) * Pow10(scale - sb)};
    SCOPED_TRACE(Text(a) + " and " + Text(b));
    EXPECT_EQ(Shown(DecimalAdd(a, b)), Fitted(Sum(x, y), scale));
    EXPECT_EQ(Shown(DecimalSubtract(a, b)), Fitted(Sum(x, {!y.negative, y.magnitude}), scale));
    const Signed d = Sum(x, {!y.negative, y.magnitude});
    const int expected = d.magnitude == 0 ? 0 : d.negative ? -1 : 1;
    EXPECT_EQ(DecimalCompare(a, b), expected);
  }
}

// Quotients of small values: the result q at scale t is the exact quotient rounded half to
// even at t, and it has as many digits as fit (an inexact quotient stops at scale 28 or at
// 28 significant digits); an exact one keeps no trailing zero beyond the operands' scales.
TEST(DecimalDivide, CorrectlyRounded) {
  std::mt19937_64 rng(6121202);
  for (int i = 0; i < 20000; ++i) {
    const int sa = static_cast<int>(rng() % 4), sb = static_cast<int>(rng() % 4);
    const U128 ma = rng() % 100000;
    const U128 mb = rng() % 100000 + 1;
    const bool negative = rng() % 2 == 0;
    const Decimal a = Make(ma, sa, negative), b = Make(mb, sb, false);
    SCOPED_TRACE(Text(a) + " / " + Text(b));
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
      EXPECT_EQ(m % 2, 0u);
    }
    if (error != 0) {
      // Trailing zeros of the rounded quotient are dropped; put them back first.
      U128 full = m;
      int scale = t;
      while (scale < 28 && full * 10 <= kMax96) {
        full *= 10;
        ++scale;
      }
      EXPECT_TRUE(scale == 28 || full >= Pow10(27)) << Text(q);
    } else {
      EXPECT_GE(t, std::max(sa - sb, 0));
      EXPECT_TRUE(t == std::max(sa - sb, 0) || m % 10 != 0) << Text(q);
    }
  }
}

}  // namespace
}  // namespace ztl
