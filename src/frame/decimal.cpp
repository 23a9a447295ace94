// Exact Decimal arithmetic. Operands are aligned and combined exactly in 256 bits; a
// result is then brought back to a 96-bit magnitude and a scale of at most 28 by dropping
// digits after the point with one rounding, half to even, on everything dropped.

#include "frame/decimal.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

namespace ztl {

namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr Wide kMax96 = (Wide{1} << 96) - 1;
constexpr int kMaxScale = 28;

constexpr std::uint64_t kPow10[] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull, 100000000ull,
    1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull,
    100000000000000ull, 1000000000000000ull, 10000000000000000ull, 100000000000000000ull,
    1000000000000000000ull, 10000000000000000000ull,
};
constexpr int kMaxPow10 = 19;  // the largest power of ten in 64 bits

Wide MagnitudeOf(const Decimal& d) noexcept { return (Wide{d.hi} << 64) | d.lo; }

Decimal Make(bool negative, Wide magnitude, int scale) noexcept {
  Decimal d;
  d.lo = static_cast<std::uint64_t>(magnitude);
  d.hi = static_cast<std::uint32_t>(magnitude >> 64);
  d.scale = static_cast<std::uint8_t>(scale);
  d.negative = negative && magnitude != 0;
  return d;
}

// The scale as stored; a value outside 0..28 (which no conversion makes) counts as 28.
int ScaleOf(const Decimal& d) noexcept { return std::min<int>(d.scale, kMaxScale); }

// An unsigned number of 256 bits, four 64-bit limbs from the lowest. Aligned operands need
// at most 96 + 94 bits.
class Big {
 public:
  explicit Big(Wide n) noexcept : limbs_{static_cast<std::uint64_t>(n), static_cast<std::uint64_t>(n >> 64), 0, 0} {}

  void MultiplySmall(std::uint64_t m) noexcept {
    Wide carry = 0;
    for (std::uint64_t& limb : limbs_) {
      const Wide t = Wide{limb} * m + carry;
      limb = static_cast<std::uint64_t>(t);
      carry = t >> 64;
    }
  }
  void MultiplyByPow10(int n) noexcept {
    for (; n > 0; n -= kMaxPow10) MultiplySmall(kPow10[std::min(n, kMaxPow10)]);
  }
  // Divides in place and returns the remainder.
  std::uint64_t DivideSmall(std::uint64_t d) noexcept {
    Wide remainder = 0;
    for (int i = 3; i >= 0; --i) {
      const Wide t = (remainder << 64) | limbs_[static_cast<std::size_t>(i)];
      limbs_[static_cast<std::size_t>(i)] = static_cast<std::uint64_t>(t / d);
      remainder = t % d;
    }
    return static_cast<std::uint64_t>(remainder);
  }
  void Add(const Big& other) noexcept {
    Wide carry = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const Wide t = Wide{limbs_[i]} + other.limbs_[i] + carry;
      limbs_[i] = static_cast<std::uint64_t>(t);
      carry = t >> 64;
    }
  }
  // *this - other, for other not above *this.
  void Subtract(const Big& other) noexcept {
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const std::uint64_t x = limbs_[i], y = other.limbs_[i];
      limbs_[i] = x - y - borrow;
      borrow = (x < y || (x == y && borrow)) ? 1 : 0;
    }
  }
  friend int Order(const Big& a, const Big& b) noexcept {
    for (int i = 3; i >= 0; --i) {
      const auto k = static_cast<std::size_t>(i);
      if (a.limbs_[k] != b.limbs_[k]) return a.limbs_[k] < b.limbs_[k] ? -1 : 1;
    }
    return 0;
  }
  bool FitsWide() const noexcept { return limbs_[2] == 0 && limbs_[3] == 0; }
  Wide ToWide() const noexcept { return (Wide{limbs_[1]} << 64) | limbs_[0]; }
  bool Odd() const noexcept { return (limbs_[0] & 1) != 0; }

 private:
  std::array<std::uint64_t, 4> limbs_;
};

// The exact value x x 10^-scale as a Decimal: digits after the point are dropped, fewest
// first, until the scale is at most 28 and the rounded magnitude fits 96 bits. The rounding
// looks at all dropped digits at once (the last one dropped and whether any before it was
// non-zero), so no digit is rounded twice. Overflow when the scale would go below 0.
Decimal Fit(bool negative, Big x, int scale) {
  int last = 0;          // the most significant digit dropped so far
  bool sticky = false;   // whether a less significant dropped digit was non-zero
  bool dropped = false;
  for (;;) {
    if (scale <= kMaxScale && x.FitsWide()) {
      Wide m = x.ToWide();
      if (dropped && (last > 5 || (last == 5 && (sticky || (m & 1) != 0)))) ++m;
      if (m <= kMax96) return Make(negative, m, scale);
    }
    if (scale == 0) Fail(kOverflow);
    sticky = sticky || last != 0;
    last = static_cast<int>(x.DivideSmall(10));
    dropped = true;
    --scale;
  }
}

// The two magnitudes brought to the larger scale, which is returned.
int Align(const Decimal& a, const Decimal& b, Big& x, Big& y) noexcept {
  const int sa = ScaleOf(a), sb = ScaleOf(b);
  const int scale = std::max(sa, sb);
  x.MultiplyByPow10(scale - sa);
  y.MultiplyByPow10(scale - sb);
  return scale;
}

// a + b when `negate_b` is false, a - b when it is true.
Decimal Combine(const Decimal& a, const Decimal& b, bool negate_b) {
  Big x(MagnitudeOf(a)), y(MagnitudeOf(b));
  const int scale = Align(a, b, x, y);
  const bool b_negative = b.negative != negate_b;
  if (a.negative == b_negative) {
    x.Add(y);
    return Fit(a.negative, x, scale);
  }
  // Opposite signs: the larger magnitude gives the sign; equal ones give 0.
  if (Order(x, y) >= 0) {
    x.Subtract(y);
    return Fit(a.negative, x, scale);
  }
  y.Subtract(x);
  return Fit(b_negative, y, scale);
}

}  // namespace

Decimal DecimalAdd(const Decimal& a, const Decimal& b) { return Combine(a, b, false); }

Decimal DecimalSubtract(const Decimal& a, const Decimal& b) { return Combine(a, b, true); }

Decimal DecimalNegate(const Decimal& a) noexcept {
  Decimal d = a;
  d.negative = !d.negative;
  return d;
}

// Long division, one digit after the point at a time: with both magnitudes below 2^96, the
// quotient so far stays below 2^100 and the remainder below the divisor, so every step fits
// 128 bits.
Decimal DecimalDivide(const Decimal& a, const Decimal& b) {
  const Wide divisor = MagnitudeOf(b);
  if (divisor == 0) Fail(kDivisionByZero);
  const bool negative = a.negative != b.negative;
  Wide quotient = MagnitudeOf(a) / divisor;
  Wide remainder = MagnitudeOf(a) % divisor;
  int scale = ScaleOf(a) - ScaleOf(b);
  auto next_digit = [&] {
    quotient = quotient * 10 + remainder * 10 / divisor;
    remainder = remainder * 10 % divisor;
    ++scale;
  };
  // The result's scale is never below 0; a whole part beyond 96 bits overflows.
  while (scale < 0) {
    next_digit();
    if (quotient > kMax96) Fail(kOverflow);
  }
  if (remainder == 0) return Make(negative, quotient, scale);

  // Inexact: as many digits as fit, then one rounding on what is left.
  while (remainder != 0 && scale < kMaxScale &&
         quotient * 10 + remainder * 10 / divisor <= kMax96) {
    next_digit();
  }
  if (remainder != 0) {
    const Wide twice = remainder * 2;
    if (twice > divisor || (twice == divisor && (quotient & 1) != 0)) ++quotient;
  }
  if (quotient > kMax96) {
    // Rounding carried to 2^96: one digit fewer. The exact quotient lies within half a unit
    // below 2^96, so at the coarser scale it rounds to 2^96 / 10 rounded up.
    if (scale == 0) Fail(kOverflow);
    quotient = (quotient + 5) / 10;
    --scale;
  }
  while (scale > 0 && quotient % 10 == 0) {
    quotient /= 10;
    --scale;
  }
  return Make(negative, quotient, scale);
}

int DecimalCompare(const Decimal& a, const Decimal& b) noexcept {
  const bool a_zero = MagnitudeOf(a) == 0, b_zero = MagnitudeOf(b) == 0;
  const bool a_negative = a.negative && !a_zero, b_negative = b.negative && !b_zero;
  if (a_negative != b_negative) return a_negative ? -1 : 1;
  Big x(MagnitudeOf(a)), y(MagnitudeOf(b));
  Align(a, b, x, y);
  const int order = Order(x, y);
  return a_negative ? -order : order;
}

}  // namespace ztl
