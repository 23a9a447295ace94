// The Decimal kind: a 96-bit magnitude, a scale of 0..28 and a sign. Exact arithmetic and
// comparison (used by Variant arithmetic when a Decimal takes part), and the conversions
// between Decimal and the other kinds that convert.cpp builds on. The public conversions
// (DecimalToDouble, DoubleToDecimal, the texts of a Decimal) are in convert.hpp.
#pragma once

#include <cstdint>
#include <string>

#include "frame/wide.hpp"
#include "ztldata/base/outcome.hpp"

namespace ztl {

// The sum and difference. The result has the larger of the two scales. When its magnitude
// does not fit 96 bits, digits after the point are dropped until it fits and the result is
// rounded half to even; overflow (6) when not even the whole part fits.
Outcome<Decimal> DecimalAdd(const Decimal& a, const Decimal& b) noexcept;
Outcome<Decimal> DecimalSubtract(const Decimal& a, const Decimal& b) noexcept;

// The value with its sign flipped, scale kept. Note: negating 0 gives a negative zero, which
// equals 0 in every comparison and prints as "0".
Decimal DecimalNegate(const Decimal& a) noexcept;

// The quotient. An exact quotient at scale (scale a - scale b) keeps that scale (at least
// 0: 1.00 / 1 is 1.00, 1 / 0.5 is 2). Otherwise the quotient gets as many digits after the
// point as fit 96 bits, at most 28, rounded half to even, and then loses its trailing zeros
// (1 / 3 is 0.3333333333333333333333333333, 10 / 4 is 2.5). A zero divisor fails with
// division by zero (11), also for 0 / 0; a whole part that does not fit with overflow (6).
Outcome<Decimal> DecimalDivide(const Decimal& a, const Decimal& b) noexcept;

// -1, 0 or 1 as a is less than, equal to or greater than b, by value: scales do not matter
// (1.0 equals 1) and a negative zero equals 0.
int DecimalCompare(const Decimal& a, const Decimal& b) noexcept;

// ---- conversions ------------------------------------------------------------------------

// A Decimal from a magnitude of at most 96 bits and a scale of 0..28, the scale kept as given
// (a Currency becomes a Decimal of scale 4: 1 is 1.0000). Note: a zero magnitude is never
// negative.
Decimal MakeDecimal(bool negative, wide::Wide magnitude, int scale) noexcept;

// The same value with the trailing zeros of its scale dropped (1.500 becomes 1.5), as the
// platform's conversions from text and reals give it.
Decimal WithoutTrailingZeros(const Decimal& d) noexcept;

// The magnitude of a Decimal.
wide::Wide MagnitudeOf(const Decimal& d) noexcept;

// A Decimal rounded half to even to a multiple of 10^-scale, as a signed 64-bit count;
// overflow (6) when it does not fit.
Outcome<std::int64_t> DecimalScaled(const Decimal& d, int scale) noexcept;

// A real as a Decimal through its text of `precision` significant digits, as the platform
// does, so 0.1 becomes exactly 0.1; overflow (6) beyond 96 bits and for non-finite values.
Outcome<Decimal> RealToDecimal(double x, int precision);

}  // namespace ztl
