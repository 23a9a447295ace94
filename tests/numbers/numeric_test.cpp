// ZtNumeric's numeric functions, called directly and, for a sample, late-bound.

#include "ztldata/numbers/numeric.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "ztldata/platform/random.hpp"

namespace ztl {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(MaxMin, EqualArgumentsGiveTheSecond) {
  ZtNumeric n;
  // +0 and -0 compare equal, so the sign tells which argument came back.
  EXPECT_TRUE(std::signbit(n.Max(0.0, -0.0)));
  EXPECT_TRUE(std::signbit(n.Min(0.0, -0.0)));
  EXPECT_FALSE(std::signbit(n.Max(-0.0, 0.0)));
  EXPECT_EQ(n.Max(-1, 2), 2);
  EXPECT_EQ(n.Min(-1, 2), -1);
  EXPECT_EQ(n.Max(3, -7), 3);
  EXPECT_EQ(n.Min(3, -7), -7);
}

TEST(Round, HalvesGoTowardPositiveInfinity) {
  const struct {
    double value;
    Integer decimals;
    double expected;
  } kCases[] = {
      {2.5, 0, 3},        {-2.5, 0, -2},       {-2.6, 0, -3},     {1234.5678, 2, 1234.57},
      {123.456, -1, 0},   {0.125, 2, 0.13},    {-0.125, 2, -0.12}, {7, 0, 7},
      {1e308, 2, 0},      // the scaled value overflows
      {1, 400, 0},        // 10^400 overflows
      {kNaN, 0, 0},
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.value << " to " << c.decimals);
    EXPECT_EQ(n.Round(c.value, c.decimals), c.expected);
  }
}

TEST(GetE, IsTheTenDecimalLiteral) {
  ZtNumeric n;
  EXPECT_EQ(n.GetE(), 2.7182818285);
  EXPECT_NE(n.GetE(), std::exp(1.0));
}

TEST(Logarithms, FailuresAndBaseOne) {
  ZtNumeric n;
  EXPECT_NEAR(n.LogN(8, 2), 3, 1e-15);
  EXPECT_EQ(n.LogN(8, 0), 0);
  EXPECT_EQ(n.LogN(-8, 2), 0);
  EXPECT_EQ(n.LogN(0, 2), 0);
  EXPECT_EQ(n.LogN(8, -2), 0);
  EXPECT_EQ(n.LogN(8, 1), kInf);
  EXPECT_EQ(n.LogN(0.5, 1), -kInf);
  EXPECT_TRUE(std::isnan(n.LogN(1, 1)));
  EXPECT_EQ(n.LogN(kNaN, 2), 0);
  EXPECT_EQ(n.Log10(0), 0);
  EXPECT_EQ(n.Log10(-10), 0);
  EXPECT_EQ(n.Log10(1000), std::log(1000.0) / std::log(10.0));  // a quotient, not log10
}

TEST(PowerAndRoot, PositiveNumbersUseTheExponentialForm) {
  ZtNumeric n;
  for (double x : {0.5, 2.0, 3.7, 1e-10, 123456.0}) {
    for (double p : {-3.0, -0.5, 0.0, 0.25, 1.0, 2.0, 10.0}) {
      SCOPED_TRACE(testing::Message() << x << " ^ " << p);
      EXPECT_EQ(n.Power(x, p), std::exp(std::log(x) * p));
      if (p != 0) {
        EXPECT_EQ(n.Root(x, p), std::exp(std::log(x) / p));
      }
    }
  }
  EXPECT_NEAR(n.Power(2, 10), 1024, 1e-9);
  EXPECT_EQ(n.Power(5, 0), 1);
  EXPECT_NEAR(n.Root(8, 3), 2, 1e-15);
}

TEST(PowerAndRoot, FailuresGiveZero) {
  const struct {
    double x, y;
    double power, root;
  } kCases[] = {
      {0, 3, 0, 0},          // no logarithm of 0
      {8, 0, 1, 0},          // a root of degree 0 is infinite
      {1, 0, 1, 0},          // 0 / 0
      {10, 1e308, 0, 1},     // the product overflows; the quotient is tiny
      {1e300, 2, 0, 1e150},  // the exponential overflows
      {kNaN, 2, 0, 0},
      {2, kNaN, 0, 0},
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    EXPECT_EQ(n.Power(c.x, c.y), c.power);
    EXPECT_NEAR(n.Root(c.x, c.y), c.root, c.root * 1e-12);
  }
}

TEST(PowerAndRoot, NegativeNumbersHaveRealResultsOnlyForWholeExponents) {
  const struct {
    double x, y;
    double power, root;
  } kCases[] = {
      {-2, 2, 4, 0},           // even power; no real square root
      {-2, 3, -8, -std::exp(std::log(2.0) / 3)},
      {-8, 3, -std::exp(std::log(8.0) * 3), -2},
      {-8, -3, -std::exp(std::log(8.0) * -3), -0.5},
      {-2, 0.5, 0, 0},         // neither is real
      {-2, -2, 0.25, 0},
      {-2, 0, 1, 0},
  };
  ZtNumeric n;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    EXPECT_NEAR(n.Power(c.x, c.y), c.power, std::abs(c.power) * 1e-15);
    EXPECT_NEAR(n.Root(c.x, c.y), c.root, std::abs(c.root) * 1e-15);
  }
  // The magnitude comes from the same exponential form as for positive numbers.
  EXPECT_EQ(n.Power(-3, 5), -std::exp(std::log(3.0) * 5));
  EXPECT_EQ(n.Root(-27, 3), -std::exp(std::log(27.0) / 3));
}

TEST(Factorial, ExactUpToTwelveThenZero) {
  ZtNumeric n;
  Long expected = 1;
  for (Long i = 0; i <= 12; ++i) {
    if (i > 1) expected *= i;
    EXPECT_EQ(n.Factorial(i), expected) << i;
  }
  EXPECT_EQ(n.Factorial(12), 479001600);
  for (Long i : {-1, -2147483647 - 1, 13, 14, 1000, 2147483647}) EXPECT_EQ(n.Factorial(i), 0) << i;
}

TEST(Sum, TriangularNumbersWhileTheyFit) {
  ZtNumeric n;
  EXPECT_EQ(n.Sum(0), 0);
  EXPECT_EQ(n.Sum(-5), 0);
  EXPECT_EQ(n.Sum(1), 1);
  EXPECT_EQ(n.Sum(100), 5050);
  EXPECT_EQ(n.Sum(65535), 2147450880);
  for (Long i : {65536, 100000, 2147483647}) EXPECT_EQ(n.Sum(i), 0) << i;
  // Against the running sum.
  long long acc = 0;
  for (Long i = 1; i <= 65535; ++i) {
    acc += i;
    if (i % 4099 == 0) {
      EXPECT_EQ(n.Sum(i), acc) << i;
    }
  }
}

TEST(Parity, TwosComplement) {
  ZtNumeric n;
  for (Long v : {0, 1, -1, 2, -2, -3, 2147483647, -2147483647 - 1}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(n.IsEven(v), v % 2 == 0);
    EXPECT_NE(n.IsEven(v), n.IsOdd(v));
  }
}

TEST(IsPrime, AgreesWithTrialDivision) {
  const auto reference = [](Long v) {
    if (v < 2) return false;
    for (Long d = 2; static_cast<long long>(d) * d <= v; ++d) {
      if (v % d == 0) return false;
    }
    return true;
  };
  ZtNumeric n;
  for (Long v = -50; v <= 20000; ++v) ASSERT_EQ(n.IsPrime(v), reference(v)) << v;
  // Large numbers, including squares of primes and products of close primes.
  for (Long v : {2147483647, 2147483646, 2147483629, 46337 * 46337, 46327 * 46337, 65521 * 32749,
                 1000000007, 999999937, 999999929 }) {
    ASSERT_EQ(n.IsPrime(v), reference(v)) << v;
  }
}

TEST(IsPrime, SmallCases) {
  const struct {
    Long n;
    bool prime;
  } kCases[] = {{0, false}, {1, false}, {2, true},  {3, true},   {4, false},  {9, false},
                {25, false}, {35, false}, {49, false}, {97, true}, {121, false}, {-1, false},
                {-3, false}, {-4, false}, {-7, false}, {2147483647, true}};
  ZtNumeric n;
  for (const auto& c : kCases) EXPECT_EQ(n.IsPrime(c.n), c.prime) << c.n;
}

TEST(GetUniqueNumber, ThirtyFiveHexDigitsInFourGroups) {
  ZtNumeric n;
  std::set<String> seen;
  for (int i = 0; i < 200; ++i) {
    const String id = n.GetUniqueNumber();
    ASSERT_EQ(id.size(), 35u);
    for (std::size_t k = 0; k < id.size(); ++k) {
      if (k == 8 || k == 13 || k == 18) {
        ASSERT_EQ(id[k], u'-');
      } else {
        ASSERT_TRUE((id[k] >= u'0' && id[k] <= u'9') || (id[k] >= u'A' && id[k] <= u'F')) << k;
      }
    }
    EXPECT_EQ(id[14], u'4');  // a version-4 identifier
    EXPECT_TRUE(seen.insert(id).second);
  }
}

TEST(GetRandom, StaysWithinTheBounds) {
  SeedRandom(12345);
  ZtNumeric n;
  std::set<Long> hit;
  for (int i = 0; i < 2000; ++i) {
    const Long r = n.GetRandom(1, 6);
    ASSERT_GE(r, 1);
    ASSERT_LE(r, 6);
    hit.insert(r);
  }
  EXPECT_EQ(hit.size(), 6u);
  EXPECT_EQ(n.GetRandom(5, 5), 5);
  EXPECT_EQ(n.GetRandom(-2147483647 - 1, 2147483647), 0);
}

}  // namespace
}  // namespace ztl
