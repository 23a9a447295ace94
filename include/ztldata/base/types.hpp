// The scalar types that cross the library's interface, named as the type library names them.
// Variant, SafeArray and object references are in variant.hpp and object.hpp.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace ztl {

using Integer = std::int16_t;  // 16-bit signed
using Long = std::int32_t;     // 32-bit signed
using Byte = std::uint8_t;     // 8-bit unsigned
using Single = float;
using Double = double;

// Boolean is `bool` at the C++ surface.
// Note: wherever a Boolean takes part in arithmetic or bit operations it is -1 (True) or 0.
using Boolean = bool;

// String: UTF-16 code units. Operations count positions from 1 and lengths in code units.
using String = std::u16string;

// Currency: a fixed-point number, the value times 10^4 held in 64 bits.
struct Currency {
  std::int64_t scaled = 0;
  friend constexpr auto operator<=>(const Currency&, const Currency&) = default;
};

// Date: whole days since 1899-12-30 00:00; the fraction is the time of day.
// Note: for negative dates the fraction still counts forward from the start of that day,
// so -1.25 is 1899-12-29 06:00.
struct Date {
  double value = 0;
  friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

// Decimal: a 96-bit unsigned magnitude with a power-of-ten scale (0..28) and a sign.
// It converts to and from the other kinds and has exact arithmetic and comparison.
// Note: the scale is kept, not normalised: 1.50 (150, scale 2) and 1.5 are equal numbers but
// not the same Decimal, and == compares the stored form.
// Packed into 14 bytes (aligned to 2) so that a Variant holds it in place beside its tag.
struct __attribute__((packed, aligned(2))) Decimal {
  std::uint64_t lo = 0;   // low 64 bits of the magnitude
  std::uint32_t hi = 0;   // high 32 bits of the magnitude
  std::uint8_t scale = 0; // the value is magnitude / 10^scale
  bool negative = false;
  friend constexpr bool operator==(const Decimal& a, const Decimal& b) noexcept {
    return a.lo == b.lo && a.hi == b.hi && a.scale == b.scale && a.negative == b.negative;
  }
};
static_assert(sizeof(Decimal) == 14 && alignof(Decimal) == 2);

// ErrorValue: the Error kind of a Variant (an automation status code).
// The code kParamNotFound marks an optional argument that the caller left out.
struct ErrorValue {
  std::int32_t code = 0;
  static constexpr std::int32_t kParamNotFound = static_cast<std::int32_t>(0x80020004u);
  friend constexpr bool operator==(const ErrorValue&, const ErrorValue&) = default;
};

// The two enumerations of the type library (32-bit values at the interface).
enum ztlEllipseText : Long {
  ztlEllipsePath = 16384,
  ztlEllipseEnd = -32768,
};

enum ztlStackStrategy : Long {
  ztlStackFIFO = 0,
  ztlStackLIFO = 1,
};

}  // namespace ztl
