// Exact arithmetic and comparison of the Decimal kind: a 96-bit magnitude, a scale of 0..28
// and a sign. Variant arithmetic (variant_ops.hpp) uses these when a Decimal takes part;
// conversions between Decimal and the other kinds are in convert.hpp.
#pragma once

#include "failure.hpp"
#include "ztldata/frame/types.hpp"

namespace ztl {

// The sum and difference. The result has the larger of the two scales. When its magnitude
// does not fit 96 bits, digits after the point are dropped until it fits and the result is
// rounded half to even; overflow (6) when not even the whole part fits.
Decimal DecimalAdd(const Decimal& a, const Decimal& b);
Decimal DecimalSubtract(const Decimal& a, const Decimal& b);

// The value with its sign flipped, scale kept. Note: negating 0 gives a negative zero, which
// equals 0 in every comparison and prints as "0".
Decimal DecimalNegate(const Decimal& a) noexcept;

// The quotient. An exact quotient at scale (scale a - scale b) keeps that scale (at least
// 0: 1.00 / 1 is 1.00, 1 / 0.5 is 2). Otherwise the quotient gets as many digits after the
// point as fit 96 bits, at most 28, rounded half to even, and then loses its trailing zeros
// (1 / 3 is 0.3333333333333333333333333333, 10 / 4 is 2.5). A zero divisor fails with
// division by zero (11), also for 0 / 0; a whole part that does not fit with overflow (6).
Decimal DecimalDivide(const Decimal& a, const Decimal& b);

// -1, 0 or 1 as a is less than, equal to or greater than b, by value: scales do not matter
// (1.0 equals 1) and a negative zero equals 0.
int DecimalCompare(const Decimal& a, const Decimal& b) noexcept;

}  // namespace ztl
