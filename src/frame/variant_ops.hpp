// Variant arithmetic (add, subtract, negate, divide) and comparison, as the host platform's
// variant functions do them: numbers combine by value with promotion on overflow (Byte to
// Integer to Long to Double), two texts join, Empty counts as 0 or "", Null propagates.
// A Decimal on either side makes a sum, difference, quotient or comparison exact Decimal
// arithmetic (decimal.hpp), the other operand converted to Decimal first.
// Each step returns its outcome: 13 type mismatch, 6 overflow, 11 division by zero.
#pragma once

#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

Outcome<Variant> Add(const Variant& a, const Variant& b);
Outcome<Variant> Subtract(const Variant& a, const Variant& b);
Outcome<Variant> Negate(const Variant& a);
Outcome<Variant> Divide(const Variant& a, const Variant& b);

// The result of comparing two Variants; Unordered when either is Null.
enum class Ordering { Less, Equal, Greater, Unordered };
Outcome<Ordering> Compare(const Variant& a, const Variant& b);

// The language's tests a < b and a = b: false when either is Null.
inline Outcome<bool> LessThan(const Variant& a, const Variant& b) {
  return Compare(a, b).transform([](Ordering o) { return o == Ordering::Less; });
}
inline Outcome<bool> EqualTo(const Variant& a, const Variant& b) {
  return Compare(a, b).transform([](Ordering o) { return o == Ordering::Equal; });
}

// The ordering the searches and sorts use: -1 when a sorts before b, 0 when they are equal,
// 1 otherwise. It is the language's two tests in turn, a < b and then a = b, where a test
// that fails counts as holding: values that cannot be compared (an array, an object without a
// default value) count as a before b; a Null against anything gives 1.
Long CompareVariants(const Variant& a, const Variant& b) noexcept;

}  // namespace ztl
