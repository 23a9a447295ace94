// ZtNumeric: the numeric functions and the interface table of the class.
// Number words and Roman numerals are in numeric_words.cpp, number packing in numeric_packing.cpp.

#include "ztldata/numbers/numeric.hpp"

#include <sys/random.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "platform/random_generator.hpp"

namespace ztl {

namespace {

constexpr std::span<const ParamInfo> kNoParams{};
constexpr ParamInfo kTwoNumbers[] = {In("dblNumber1", Type::Double), In("dblNumber2", Type::Double)};
constexpr ParamInfo kRound[] = {In("dblValue", Type::Double), In("intDecimals", Type::Integer)};
constexpr ParamInfo kBounds[] = {In("lngLow", Type::Long), In("lngHigh", Type::Long)};
constexpr ParamInfo kLogN[] = {In("dblNumber", Type::Double), In("intBase", Type::Integer)};
constexpr ParamInfo kDouble[] = {In("dblNumber", Type::Double)};
constexpr ParamInfo kLong[] = {In("lngNumber", Type::Long)};
constexpr ParamInfo kCompress[] = {In("dblNumber", Type::Double), Optional("intSize", Type::Integer, 9),
                                   Optional("intDecimals", Type::Integer, 0)};
constexpr ParamInfo kDecompress[] = {In("strNumber", Type::String), Optional("intSize", Type::Integer, 9),
                                     Optional("intDecimals", Type::Integer, 0)};
constexpr ParamInfo kInteger[] = {In("intNumber", Type::Integer)};
constexpr ParamInfo kRoman[] = {In("strRoman", Type::String)};
constexpr ParamInfo kRoot[] = {In("dblNumber", Type::Double), In("dblRoot", Type::Double)};
constexpr ParamInfo kPower[] = {In("dblNumber", Type::Double), In("dblPower", Type::Double)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtNumeric::Max>("Max", 0x60030000, kTwoNumbers, Type::Double, "Gets the max number"),
    Method<&ZtNumeric::Min>("Min", 0x60030001, kTwoNumbers, Type::Double, "Gets the min number"),
    Method<&ZtNumeric::Round>("Round", 0x60030002, kRound, Type::Double, "Rounds a number"),
    Method<&ZtNumeric::GetRandom>("GetRandom", 0x60030003, kBounds, Type::Long, "Generates a random number"),
    Method<&ZtNumeric::GetE>("GetE", 0x60030004, kNoParams, Type::Double, "Calculates the E number"),
    Method<&ZtNumeric::LogN>("LogN", 0x60030005, kLogN, Type::Double,
                             "Calculates the base N logarithm of a number"),
    Method<&ZtNumeric::Log10>("Log10", 0x60030006, kDouble, Type::Double,
                              "Calculates the base 10 logarithm of a number"),
    Method<&ZtNumeric::Factorial>("Factorial", 0x60030007, kLong, Type::Long,
                                  "Calculates the factorial of a number"),
    Method<&ZtNumeric::Sum>("Sum", 0x60030008, kLong, Type::Long, "Calculates the sum of a number"),
    Method<&ZtNumeric::CompressNumber>("CompressNumber", 0x60030009, kCompress, Type::String,
                                       "Compress a number into a string"),
    Method<&ZtNumeric::DecompressNumber>("DecompressNumber", 0x6003000A, kDecompress, Type::Double,
                                         "Decompress a string into a number"),
    Method<&ZtNumeric::Num2Letter>("Num2Letter", 0x6003000B, kLong, Type::String,
                                   "Converts a number into an English string"),
    Method<&ZtNumeric::IsPrime>("IsPrime", 0x6003000C, kLong, Type::Boolean, "Determines if a number is prime"),
    Method<&ZtNumeric::IsEven>("IsEven", 0x6003000D, kLong, Type::Boolean, "Determines if a number is even"),
    Method<&ZtNumeric::IsOdd>("IsOdd", 0x6003000E, kLong, Type::Boolean, "Determines if a number is odd"),
    Method<&ZtNumeric::GetUniqueNumber>("GetUniqueNumber", 0x6003000F, kNoParams, Type::String,
                                        "Generates a 128 bits unique number diferent for each machine"),
    Method<&ZtNumeric::ToRoman>("ToRoman", 0x60030010, kInteger, Type::String, "Converts an arabic number to roman"),
    Method<&ZtNumeric::ToArabic>("ToArabic", 0x60030011, kRoman, Type::Integer, "Converts a roman number to arabic"),
    Method<&ZtNumeric::Root>("Root", 0x60030012, kRoot, Type::Double),
    Method<&ZtNumeric::Power>("Power", 0x60030013, kPower, Type::Double),
};

// A floating-point step fails when its result is infinite or not a number.
bool Finite(double x) { return std::isfinite(x); }

bool IsWhole(double x) { return std::isfinite(x) && std::trunc(x) == x; }
bool IsOddWhole(double x) { return IsWhole(x) && std::fmod(x, 2.0) != 0; }

}  // namespace

const ClassInfo kZtNumericClass = DefineClass<ZtNumeric, "ZtNumeric">(
    ClassKind::Utility, {ids::kZtNumericClass, ids::kZtNumericInterface}, kMembers);

const ClassInfo* ZtNumeric::Class() const noexcept { return &kZtNumericClass; }

Double ZtNumeric::Max(Double dblNumber1, Double dblNumber2) noexcept {
  return dblNumber1 > dblNumber2 ? dblNumber1 : dblNumber2;
}

Double ZtNumeric::Min(Double dblNumber1, Double dblNumber2) noexcept {
  return dblNumber1 < dblNumber2 ? dblNumber1 : dblNumber2;
}

Double ZtNumeric::Round(Double dblValue, Integer intDecimals) noexcept {
  if (intDecimals < 0) return 0;
  const double p = std::pow(10.0, intDecimals);
  const double t = dblValue * p + 0.5;
  if (!Finite(p) || !Finite(t)) return 0;
  return std::floor(t) / p;
}

Long ZtNumeric::GetRandom(Long lngLow, Long lngHigh) noexcept { return platform::RandomBetween(lngLow, lngHigh); }

Double ZtNumeric::GetE() noexcept { return 2.7182818285; }

Double ZtNumeric::LogN(Double dblNumber, Integer intBase) noexcept {
  // Both logarithms fail for arguments <= 0 (and NaN). A base of 1 divides by ln 1 = 0; the
  // quotient (an infinity, or NaN for 1 / 1) is what the result holds.
  if (!(intBase > 0) || !(dblNumber > 0)) return 0;
  return std::log(dblNumber) / std::log(static_cast<double>(intBase));
}

Double ZtNumeric::Log10(Double dblNumber) noexcept {
  if (!(dblNumber > 0)) return 0;
  return std::log(dblNumber) / std::log(10.0);
}

Long ZtNumeric::Factorial(Long lngNumber) noexcept {
  // 12! is the last factorial a Long holds.
  if (lngNumber < 0 || lngNumber > 12) return 0;
  Long acc = 1;
  for (Long i = 2; i <= lngNumber; ++i) acc *= i;
  return acc;
}

Long ZtNumeric::Sum(Long lngNumber) noexcept {
  // The sum up to 65535 is the last one a Long holds.
  if (lngNumber <= 0 || lngNumber > 65535) return 0;
  return static_cast<Long>(static_cast<long long>(lngNumber) * (lngNumber + 1) / 2);
}

Boolean ZtNumeric::IsPrime(Long lngNumber) noexcept {
  const Long n = lngNumber;
  if (n % 2 == 0 && n != 2) return false;
  if (n % 3 == 0 && n != 3) return false;
  if (n < 2) return false;  // negative numbers and 1
  const long long limit = std::llround(std::sqrt(static_cast<double>(n)));
  for (long long k = 1; 6 * k - 1 <= limit; ++k) {
    if (n % (6 * k - 1) == 0 || n % (6 * k + 1) == 0) return false;
  }
  return true;
}

Boolean ZtNumeric::IsEven(Long lngNumber) noexcept { return (lngNumber & 1) == 0; }

Boolean ZtNumeric::IsOdd(Long lngNumber) noexcept { return (lngNumber & 1) != 0; }

String ZtNumeric::GetUniqueNumber() noexcept {
  unsigned char bytes[16];
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return String();
  // A version-4 identifier: the version in the top bits of the third field, the variant in
  // the first of the eight bytes.
  bytes[7] = static_cast<unsigned char>((bytes[7] & 0x0F) | 0x40);
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
  const auto field = [&](int at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes[at + i];  // little-endian fields
    return v;
  };
  const auto hex = [](std::uint32_t v) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%X", v);
    return String(buf, buf + std::char_traits<char>::length(buf));
  };
  const auto padded = [&](std::uint32_t v, Integer width) {
    String digits = hex(v);
    return ZeroFill(width, static_cast<Integer>(digits.size())) + digits;
  };
  return Guarded(String(), [&] {
    String text = padded(field(0, 4), 8) + u'-' + padded(field(4, 2), 4) + u'-' + padded(field(6, 2), 4) + u'-';
    for (int i = 8; i < 16; ++i) text += padded(bytes[i], 2);
    return text;
  });
}

Double ZtNumeric::Root(Double dblNumber, Double dblRoot) noexcept {
  if (dblNumber > 0) {
    const double q = std::log(dblNumber) / dblRoot;
    const double r = std::exp(q);
    return Finite(q) && Finite(r) ? r : 0;
  }
  // A negative number has a real root only for an odd whole root.
  if (dblNumber < 0 && IsOddWhole(dblRoot)) return -Root(-dblNumber, dblRoot);
  return 0;
}

Double ZtNumeric::Power(Double dblNumber, Double dblPower) noexcept {
  if (dblNumber > 0) {
    const double q = std::log(dblNumber) * dblPower;
    const double r = std::exp(q);
    return Finite(q) && Finite(r) ? r : 0;
  }
  // A negative number has a real power only for a whole exponent, negative for an odd one.
  if (dblNumber < 0 && IsWhole(dblPower)) {
    const double magnitude = Power(-dblNumber, dblPower);
    return IsOddWhole(dblPower) ? -magnitude : magnitude;
  }
  return 0;
}

String ZtNumeric::ZeroFill(Integer width, Integer length) {
  const int count = width - length;
  return count > 0 ? String(static_cast<std::size_t>(count), u'0') : String();
}

}  // namespace ztl
