// The Decimal kind. Arithmetic: operands are aligned and combined exactly in 256 bits; a
// result is then brought back to a 96-bit magnitude and a scale of at most 28 by dropping
// digits after the point with one rounding, half to even, on everything dropped.
// Conversions: to and from Doubles (through their significant digits) and text, exactly; the
// platform's readings and text drop trailing zeros, the scaled text keeps the scale.

#include "frame/decimal.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/number_text.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {

namespace {

using wide::kMax96;
using wide::Wide;

constexpr int kMaxScale = 28;

constexpr std::uint64_t kPow10[] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull, 100000000ull,
    1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull,
    100000000000000ull, 1000000000000000ull, 10000000000000000ull, 100000000000000000ull,
    1000000000000000000ull, 10000000000000000000ull,
};
constexpr int kMaxPow10 = 19;  // the largest power of ten in 64 bits

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
Outcome<Decimal> Fit(bool negative, Big x, int scale) noexcept {
  int last = 0;          // the most significant digit dropped so far
  bool sticky = false;   // whether a less significant dropped digit was non-zero
  bool dropped = false;
  for (;;) {
    if (scale <= kMaxScale && x.FitsWide()) {
      Wide m = x.ToWide();
      if (dropped && (last > 5 || (last == 5 && (sticky || (m & 1) != 0)))) ++m;
      if (m <= kMax96) return Make(negative, m, scale);
    }
    if (scale == 0) return Fail(kOverflow);
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
Outcome<Decimal> Combine(const Decimal& a, const Decimal& b, bool negate_b) noexcept {
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

Outcome<Decimal> DecimalAdd(const Decimal& a, const Decimal& b) noexcept { return Combine(a, b, false); }

Outcome<Decimal> DecimalSubtract(const Decimal& a, const Decimal& b) noexcept { return Combine(a, b, true); }

Decimal DecimalNegate(const Decimal& a) noexcept {
  Decimal d = a;
  d.negative = !d.negative;
  return d;
}

// Long division, one digit after the point at a time: with both magnitudes below 2^96, the
// quotient so far stays below 2^100 and the remainder below the divisor, so every step fits
// 128 bits.
Outcome<Decimal> DecimalDivide(const Decimal& a, const Decimal& b) noexcept {
  const Wide divisor = MagnitudeOf(b);
  if (divisor == 0) return Fail(kDivisionByZero);
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
    if (quotient > kMax96) return Fail(kOverflow);
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
    if (scale == 0) return Fail(kOverflow);
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

// ---- conversions --------------------------------------------------------------------------

namespace {

// digits x 10^exponent as a Decimal of the largest scale, up to `scale` and 28, whose
// magnitude fits 96 bits, rounding half to even; overflow when not even the whole part fits.
// `digits` has no leading or trailing zeros.
Outcome<Decimal> DigitsToDecimal(bool negative, const std::string& digits, long long exponent,
                                 long long scale) noexcept {
  for (scale = std::clamp(scale, 0LL, static_cast<long long>(kMaxScale)); scale >= 0; --scale) {
    std::optional<Wide> magnitude = wide::RoundedWhole(digits, -exponent - scale);
    if (magnitude && *magnitude <= kMax96) return MakeDecimal(negative, *magnitude, static_cast<int>(scale));
  }
  return Fail(kOverflow);
}

// The same for the platform's readings, which keep no trailing zeros.
Outcome<Decimal> PlatformDecimal(bool negative, const std::string& digits, long long exponent) noexcept {
  return DigitsToDecimal(negative, digits, exponent, -exponent).transform(WithoutTrailingZeros);
}

bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

}  // namespace

Wide MagnitudeOf(const Decimal& d) noexcept { return (Wide{d.hi} << 64) | d.lo; }

Decimal MakeDecimal(bool negative, Wide magnitude, int scale) noexcept { return Make(negative, magnitude, scale); }

Decimal WithoutTrailingZeros(const Decimal& d) noexcept {
  Wide magnitude = MagnitudeOf(d);
  int scale = d.scale;
  while (scale > 0 && magnitude % 10 == 0) {
    magnitude /= 10;
    --scale;
  }
  Decimal result = Make(false, magnitude, scale);
  result.negative = d.negative;
  return result;
}

Outcome<std::int64_t> DecimalScaled(const Decimal& d, int scale) noexcept {
  const int from = std::min<int>(d.scale, 38);
  const Wide magnitude = MagnitudeOf(d);
  const Wide scaled = from <= scale ? magnitude * wide::Pow10(scale - from)
                                    : wide::DivideHalfEven(magnitude, wide::Pow10(from - scale));
  return wide::SignedOf(d.negative, scaled);
}

Outcome<Decimal> RealToDecimal(double x, int precision) {
  if (!std::isfinite(x)) return Fail(kOverflow);
  if (x == 0) return Decimal{};
  int first = 0;
  const std::string digits = platform::SignificantDigits(x, precision, first);
  const long long exponent = first - static_cast<long long>(digits.size()) + 1;
  return PlatformDecimal(x < 0, digits, exponent);
}

double DecimalToDouble(const Decimal& d) noexcept {
  const double value = wide::ScaledToDouble(MagnitudeOf(d), d.scale);
  return d.negative ? -value : value;
}

Outcome<Decimal> DoubleToDecimal(double x) { return RealToDecimal(x, 15); }

namespace {

// The digits of a Decimal's magnitude with the point placed by its scale, every digit kept.
std::string ScaledDigits(const Decimal& d) {
  std::string digits = wide::ToText(MagnitudeOf(d));
  const std::size_t scale = d.scale;
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  if (scale > 0) digits.insert(digits.size() - scale, 1, '.');
  return digits;
}

}  // namespace

String DecimalToText(const Decimal& d) {
  const bool negative = d.negative && (d.lo != 0 || d.hi != 0);
  const std::string text = (negative ? "-" : "") + ScaledDigits(WithoutTrailingZeros(d));
  return String(text.begin(), text.end());
}

String DecimalToScaledText(const Decimal& d) {
  const std::string text = (d.negative ? "-" : "") + ScaledDigits(d);
  return String(text.begin(), text.end());
}

// Reads the text by the rules of number text (blanks, sign, parentheses, separators, "$",
// exponent, &H/&O), which include plain decimal text, but exactly: digits beyond what fits
// round half to even. Like the platform, it keeps no trailing zeros ("4294967296.0" is
// 4294967296).
Outcome<Decimal> TextToDecimal(std::u16string_view text) {
  std::optional<platform::ParsedNumber> number = platform::ReadNumber(text);
  if (!number) return Fail(kTypeMismatch);
  if (number->whole) {
    const std::int64_t whole = *number->whole;
    return MakeDecimal(number->negative != (whole < 0), wide::MagnitudeOf(whole), 0);
  }
  return PlatformDecimal(number->negative, number->digits, number->exponent);
}

// [sign] digits [. digits] [E [sign] digits], with a digit before or after the point. The
// written digits fix the scale; they are then stripped of leading and trailing zeros for the
// rounding, which wants none.
Outcome<Decimal> ScaledTextToDecimal(std::u16string_view text) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == u'-';
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  std::string digits;
  long long fraction_digits = 0;
  bool point = false;
  for (; i < text.size() && (IsDigit(text[i]) || (text[i] == u'.' && !point)); ++i) {
    if (text[i] == u'.') {
      point = true;
    } else {
      digits += static_cast<char>(text[i]);
      fraction_digits += point ? 1 : 0;
    }
  }
  if (digits.empty()) return Fail(kTypeMismatch);
  long long exponent = 0;
  if (i < text.size() && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    const bool exponent_negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
    if (i == text.size()) return Fail(kTypeMismatch);
    // Beyond a few thousand the exponent only says "far too large" or "far too small".
    constexpr long long kExponentLimit = 100000;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      exponent = std::min(exponent * 10 + (text[i] - u'0'), kExponentLimit);
    }
    if (exponent_negative) exponent = -exponent;
  }
  if (i != text.size()) return Fail(kTypeMismatch);

  const long long scale = std::max(0LL, fraction_digits - exponent);
  exponent -= fraction_digits;
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) {  // zero, with the scale and sign as written
    Decimal zero = MakeDecimal(false, 0, static_cast<int>(std::min<long long>(scale, kMaxScale)));
    zero.negative = negative;
    return zero;
  }
  const std::size_t last = digits.find_last_not_of('0');
  exponent += static_cast<long long>(digits.size() - 1 - last);
  digits = digits.substr(first, last + 1 - first);
  return DigitsToDecimal(negative, digits, exponent, scale);
}

}  // namespace ztl
