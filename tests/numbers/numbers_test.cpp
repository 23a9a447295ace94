// ZtNumeric, ZtBases and ZtConversion over generated values: primes against trial division,
// identifiers and random numbers by their form, packed numbers and Roman numerals there and
// back, and what a JSON host cannot check (the sign of zero, very long texts); words, bits,
// bytes and shifts against plain two's-complement arithmetic, numbers in every base against
// the standard library's digits and read back; each pair of unit conversions there and back.
// The tables of results are in tests/vectors/numeric.jsonl, bases.jsonl and conversion.jsonl.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <set>

#include "../support/scoped_state.hpp"
#include "ztldata/numbers/bases.hpp"
#include "ztldata/numbers/conversion.hpp"
#include "ztldata/numbers/numeric.hpp"
#include "ztldata/platform/random.hpp"

namespace ztl {
namespace {

TEST(Numeric, IsPrimeAgreesWithTrialDivision) {
  const auto reference = [](Long v) {  // no divisor up to its square root
    long long d = 2;
    while (d * d <= v && v % d != 0) ++d;
    return v >= 2 && d * d > v;
  };
  ZtNumeric n;
  std::mt19937 gen(17);
  for (Long i = -50; i <= 20300; ++i) {  // every small number, then 300 large ones
    const Long v = i <= 20000 ? i : static_cast<Long>(gen() >> 1);
    ASSERT_EQ(n.IsPrime(v), reference(v)) << v;
  }
}

// Identifiers are version 4 in hexadecimal and differ; random numbers hit every value within
// their bounds and no other.
TEST(Numeric, UniqueNumbersAndRandomNumbersByTheirForm) {
  ZtNumeric n;
  std::set<String> seen;
  for (int i = 0; i < 200; ++i) {
    const String id = n.GetUniqueNumber();
    ASSERT_EQ(id.find_first_not_of(u"0123456789ABCDEF-"), String::npos);
    ASSERT_EQ(id.size(), 35u);
    for (const int at : {8, 13, 18}) ASSERT_EQ(id[at], u'-') << "at " << at;
    ASSERT_EQ(id[14], u'4') << "the version digit";
    ASSERT_EQ(std::count(id.begin(), id.end(), u'-'), 3);
    EXPECT_TRUE(seen.insert(id).second);
  }
  const auto seeded = testing_support::ScopedSeed(12345);
  std::set<Long> hit;
  for (int i = 0; i < 2000; ++i) hit.insert(n.GetRandom(1, 6));
  EXPECT_EQ(hit, (std::set<Long>{1, 2, 3, 4, 5, 6}));
}

// Pack then unpack: whole numbers of every size that leaves room for their digits, numbers
// with decimals, and whole Doubles far beyond a Long (the codes themselves are in the corpus);
// and every number in Roman numerals and back.
TEST(Numeric, PackedNumbersAndRomanNumeralsRoundTrip) {
  ZtNumeric n;
  std::mt19937_64 gen(31337);
  for (Integer size = 0; size <= 13; ++size) {
    const auto limit = static_cast<unsigned long long>(std::pow(10.0, size + 1 + (size + 1) % 2));
    for (int i = 0; i < 1000; ++i) {
      const double m = static_cast<double>((gen() % limit) >> (gen() % 40)) * (i % 2 ? -1 : 1);
      ASSERT_EQ(n.DecompressNumber(n.CompressNumber(m, size), size), m) << m << " size " << size;
    }
  }
  for (Integer decimals = 0; decimals <= 6; ++decimals) {
    for (int i = 0; i < 2000; ++i) {
      const double x = static_cast<double>(gen() % 10000000000ULL) / std::pow(10.0, decimals) * (i % 2 ? -1 : 1);
      ASSERT_EQ(n.DecompressNumber(n.CompressNumber(x, 9, decimals), 9, decimals), x) << x << " to " << decimals;
    }
  }
  std::uniform_real_distribution<double> exponent(16, 308);
  for (int i = 0; i < 500; ++i) {
    const double x = std::pow(10.0, exponent(gen));
    ASSERT_EQ(n.DecompressNumber(n.CompressNumber(x, 309), 309), x) << x;
  }
  for (Integer i = 1; i <= 9999; ++i) ASSERT_EQ(n.ToArabic(n.ToRoman(i)), i) << i;  // Roman numerals
}

// The sign of zero (a JSON host cannot see it) and texts too long for a JSON line.
TEST(Numeric, SignsOfZeroAndLongTexts) {
  ZtNumeric n;  // +0 and -0 compare equal: the sign tells which argument came back
  EXPECT_TRUE(std::signbit(n.Max(0.0, -0.0)));
  EXPECT_TRUE(std::signbit(n.Min(0.0, -0.0)));
  EXPECT_FALSE(std::signbit(n.Max(-0.0, 0.0)));
  EXPECT_FALSE(std::signbit(n.DecompressNumber(String())));  // 0, not -0
  EXPECT_TRUE(std::signbit(n.DecompressNumber(n.CompressNumber(-0.4))));  // packed as a negative 0
  const String widest = n.CompressNumber(5, 32767);  // 32768 digits
  ASSERT_EQ(widest.size(), 16384u);
  EXPECT_EQ(widest.find_first_not_of(u'\0'), widest.size() - 1);
  EXPECT_EQ(widest.back(), u'\x05');
  EXPECT_EQ(n.CompressNumber(std::numeric_limits<double>::max(), 308).size(), 155u);
  EXPECT_DOUBLE_EQ(n.DecompressNumber(String(50000, u'c')), 1e10);  // 'c' is 99: a long fraction
}

// ---- ZtBases and ZtConversion -----------------------------------------------------------------

// Words and bits against the two's-complement pattern, and numbers in every base against the
// standard library's digits and read back in either case, over generated Longs.
TEST(Bases, LongsAgainstTheirPatternAndDigits) {
  ZtBases b;
  std::mt19937 gen(4242);
  for (int i = 0; i < 3000; ++i) {
    const auto bits = i < 2 ? (i ? 0x80000000u : 0x7FFFFFFFu) : static_cast<std::uint32_t>(gen());
    const auto x = static_cast<Long>(bits);
    const Long lo = b.LoWord(x), hi = b.HiWord(x);
    ASSERT_EQ(lo, static_cast<std::int16_t>(bits & 0xFFFF)) << x;
    ASSERT_EQ(hi, static_cast<std::int16_t>(bits >> 16)) << x;
    ASSERT_EQ(b.MakeDWord(static_cast<Integer>(hi), static_cast<Integer>(lo)), x);
    for (Integer p = -40; p <= 40; ++p) {  // positions outside 0..31 change nothing, read False
      const std::uint32_t mask = p >= 0 && p <= 31 ? std::uint32_t{1} << p : 0;
      ASSERT_EQ(b.GetBit(x, p), (bits & mask) != 0) << x << " bit " << p;
      ASSERT_EQ(b.SetBit(x, p, true), static_cast<Long>(bits | mask)) << x << " bit " << p;
      ASSERT_EQ(b.SetBit(x, p, false), static_cast<Long>(bits & ~mask)) << x << " bit " << p;
    }
    const long long magnitude = std::abs(static_cast<long long>(x));
    for (Integer base = 2; base <= 36; ++base) {
      char digits[40];
      const char* end = std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr;
      String upper = x < 0 ? u"-" : u"", lower = upper;
      for (const char* c = digits; c != end; ++c) {
        lower += static_cast<char16_t>(*c);
        upper += static_cast<char16_t>(std::toupper(static_cast<unsigned char>(*c)));
      }
      ASSERT_EQ(b.Long2Base(x, base), upper) << x << " base " << base;
      ASSERT_EQ(b.Base2Long(upper, base), x) << x << " base " << base;
      ASSERT_EQ(b.Base2Long(lower, base), x) << x << " base " << base;
    }
  }
}

// Every 16-bit word, signed (-32768..-1) or unsigned (32768..65535): its bytes, the word they
// make, and its shifts by 0..40 places with zeros coming in.
TEST(Bases, BytesAndShiftsOfEveryWord) {
  ZtBases b;
  for (Long w = -32768; w <= 65535; ++w) {
    const auto bits = static_cast<std::uint16_t>(w);
    const Integer lo = b.LoByte(w), hi = b.HiByte(w);
    ASSERT_EQ(lo, bits & 0xFF) << w;
    ASSERT_EQ(hi, bits >> 8) << w;
    ASSERT_EQ(b.MakeWord(static_cast<Byte>(hi), static_cast<Byte>(lo)), static_cast<Integer>(bits)) << w;
    if (w > 32767 || w % 7 != 0) continue;
    for (Integer t = 0; t <= 40; ++t) {
      const auto left = static_cast<Integer>(t < 16 ? static_cast<std::uint16_t>(bits << t) : 0);
      const auto right = static_cast<Integer>(t < 16 ? static_cast<std::uint16_t>(bits >> t) : 0);
      ASSERT_EQ(b.LShiftWord(static_cast<Integer>(w), t), left) << w << " by " << t;
      ASSERT_EQ(b.RShiftWord(static_cast<Integer>(w), t), t == 0 ? w : right) << w << " by " << t;
    }
  }
}


using Conversion = Double (ZtConversion::*)(Double) noexcept;

// One unit in the last place of the largest magnitude among the values and `floor`.
double Ulp(double a, double b, double floor = 0) {
  const double m = std::max({std::abs(a), std::abs(b), floor});
  return std::nextafter(m, std::numeric_limits<double>::infinity()) - m;
}

// Each pair multiplies by one factor and divides by it: there and back is within one unit in
// the last place. The temperatures add an offset, so their step is that of 32 at least.
TEST(Conversion, PairsReturnToTheirInput) {
  using C = ZtConversion;
  const struct { Conversion there, back; double floor; } kPairs[] = {
      {&C::Mt3ToYd3, &C::Yd3ToMt3, 0}, {&C::Mt2ToYd2, &C::Yd2ToMt2, 0}, {&C::MtToYd, &C::YdToMt, 0},
      {&C::HaToAcre, &C::AcreToHa, 0}, {&C::AcreToM, &C::MToAcre, 0},   {&C::InchToCm, &C::CmToInch, 0},
      {&C::InchToCC, &C::CCToInch, 0}, {&C::OzToGr, &C::GrToOz, 0},     {&C::KgToLb, &C::LbToKg, 0},
      {&C::CFToLtr, &C::LtrToCF, 0},   {&C::GalToLtr, &C::LtrToGal, 0}, {&C::CelToFah, &C::FahToCel, 32},
  };
  ZtConversion c;
  std::mt19937_64 gen(20240611);
  std::uniform_real_distribution<double> mantissa(-1, 1), exponent(-8, 10);
  for (int i = 0; i < 20000; ++i) {
    const double x = mantissa(gen) * std::pow(10.0, exponent(gen));
    for (const auto& p : kPairs) {
      const double there = (c.*p.there)(x), back = (c.*p.back)(x);
      ASSERT_LE(std::abs((c.*p.back)(there) - x), Ulp(x, p.floor ? there : 0, p.floor)) << x;
      ASSERT_LE(std::abs((c.*p.there)(back) - x), (p.floor ? 2 : 1) * Ulp(x, p.floor ? back : 0, p.floor)) << x;
    }
  }
}

}  // namespace
}  // namespace ztl
