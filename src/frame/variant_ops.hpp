// Variant arithmetic (add, subtract, negate, divide) and comparison, as the host platform's
// variant functions do them: numbers combine by value with promotion on overflow (Byte to
// Integer to Long to Double), two texts join, Empty counts as 0 or "", Null propagates.
// A Decimal on either side makes a sum, difference, quotient or comparison exact Decimal
// arithmetic (decimal.hpp), the other operand converted to Decimal first.
// Every function throws Failure: 13 type mismatch, 6 overflow, 11 division by zero.
#pragma once

#include "failure.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

Variant Add(const Variant& a, const Variant& b);
Variant Subtract(const Variant& a, const Variant& b);
Variant Negate(const Variant& a);
Variant Divide(const Variant& a, const Variant& b);

// The outcome of comparing two Variants; Unordered when either is Null.
enum class Ordering { Less, Equal, Greater, Unordered };
Ordering Compare(const Variant& a, const Variant& b);

// The language's tests a < b and a = b: false when either is Null.
inline bool LessThan(const Variant& a, const Variant& b) { return Compare(a, b) == Ordering::Less; }
inline bool EqualTo(const Variant& a, const Variant& b) { return Compare(a, b) == Ordering::Equal; }

}  // namespace ztl
