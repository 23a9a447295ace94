// 128-bit whole numbers for the exact kinds (Currency, Decimal): digits, rounding half to even
// and signed 64-bit results, shared by their conversions.
#pragma once

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "ztldata/base/outcome.hpp"

namespace ztl::wide {

__extension__ typedef unsigned __int128 Wide;

constexpr Wide kMax96 = (Wide{1} << 96) - 1;

constexpr Wide Pow10(int n) {
  Wide result = 1;
  while (n-- > 0) result *= 10;
  return result;
}

// Writes the digits of n ending at `end`; returns where they start.
inline char* WriteDigits(Wide n, char* end) noexcept {
  do {
    *--end = static_cast<char>('0' + static_cast<int>(n % 10));
    n /= 10;
  } while (n != 0);
  return end;
}

inline std::string ToText(Wide n) {
  char buffer[48];
  return std::string(WriteDigits(n, buffer + sizeof buffer), buffer + sizeof buffer);
}

// magnitude x 10^-scale as the nearest Double, without allocating.
inline double ScaledToDouble(Wide magnitude, int scale) noexcept {
  char buffer[64];
  char* const end = buffer + 48;
  char* const begin = WriteDigits(magnitude, end);
  char* p = end;
  *p++ = 'e';
  *p++ = '-';
  p = std::to_chars(p, buffer + sizeof buffer, scale).ptr;
  double value = 0;
  std::from_chars(begin, p, value);
  return value;
}

// n / unit rounded half to even.
constexpr Wide DivideHalfEven(Wide n, Wide unit) noexcept {
  Wide quotient = n / unit;
  const Wide twice_remainder = (n % unit) * 2;
  if (twice_remainder > unit || (twice_remainder == unit && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

// A magnitude with a sign as a 64-bit signed value; overflow when it does not fit.
constexpr Outcome<std::int64_t> SignedOf(bool negative, Wide magnitude) noexcept {
  const Wide limit = Wide{static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())} +
                     (negative ? 1 : 0);
  if (magnitude > limit) return Fail(kOverflow);
  const auto bits = static_cast<std::uint64_t>(magnitude);
  return static_cast<std::int64_t>(negative ? 0 - bits : bits);
}

constexpr Wide MagnitudeOf(std::int64_t n) noexcept {
  const auto bits = static_cast<std::uint64_t>(n);
  return n < 0 ? Wide{0 - bits} : Wide{bits};
}

// The value digits x 10^-drop rounded half to even to a whole number, where `digits` has no
// leading or trailing zeros; `drop` may be negative (zeros are appended). Empty when the
// result would pass 38 digits, beyond anything a caller keeps.
inline std::optional<Wide> RoundedWhole(const std::string& digits, long long drop) noexcept {
  const auto size = static_cast<long long>(digits.size());
  const long long kept = size - drop;
  if (kept > 38) return std::nullopt;
  Wide whole = 0;
  for (long long i = 0; i < kept; ++i) {
    whole = whole * 10 + (i < size ? digits[static_cast<std::size_t>(i)] - '0' : 0);
  }
  if (kept < 0 || kept >= size) return whole;  // nothing dropped, or less than a tenth of a unit
  const char first = digits[static_cast<std::size_t>(kept)];
  const bool more = kept + 1 < size;  // a later digit, and so a non-zero one
  if (first > '5' || (first == '5' && (more || (whole & 1) != 0))) ++whole;
  return whole;
}

}  // namespace ztl::wide
