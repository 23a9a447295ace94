// Variant arithmetic and comparison. Each operand is first reduced to a plain value (an
// object to its default value); the kinds of the two operands then pick the kind of the
// result from one table, and the step is computed in that kind's own arithmetic.

#include "frame/variant_ops.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

#include "frame/decimal.hpp"
#include "frame/plain_value.hpp"
#include "ztldata/frame/convert.hpp"
#include "platform/number_text.hpp"

namespace ztl {

namespace {

// The kinds that take part in arithmetic, in the platform's order of precedence: the kind
// of a result is normally the later of its operands' kinds. Boolean counts as Integer, and
// a text combined with a number counts as the Double it reads as.
enum class Num : std::uint8_t { Empty, Byte, Integer, Long, Single, Double, Currency, Date, Decimal };
constexpr int kNumKinds = 9;

// Result kind of a sum or difference, by left (row) and right (column) operand kind.
// Departures from "the later kind": Empty with Empty gives Integer, Single with Long gives
// Double. A difference of two Dates is a Double (handled where the table is read).
[[maybe_unused]] constexpr Num E = Num::Empty, UI1 = Num::Byte, I2 = Num::Integer, I4 = Num::Long,
              R4 = Num::Single, R8 = Num::Double, CY = Num::Currency, DT = Num::Date,
              DEC = Num::Decimal;
constexpr Num kSumKind[kNumKinds][kNumKinds] = {
    //         E    UI1  I2   I4   R4   R8   CY   DT   DEC
    /* E   */ {I2,  UI1, I2,  I4,  R4,  R8,  CY,  DT,  DEC},
    /* UI1 */ {UI1, UI1, I2,  I4,  R4,  R8,  CY,  DT,  DEC},
    /* I2  */ {I2,  I2,  I2,  I4,  R4,  R8,  CY,  DT,  DEC},
    /* I4  */ {I4,  I4,  I4,  I4,  R8,  R8,  CY,  DT,  DEC},
    /* R4  */ {R4,  R4,  R4,  R8,  R4,  R8,  CY,  DT,  DEC},
    /* R8  */ {R8,  R8,  R8,  R8,  R8,  R8,  CY,  DT,  DEC},
    /* CY  */ {CY,  CY,  CY,  CY,  CY,  CY,  CY,  DT,  DEC},
    /* DT  */ {DT,  DT,  DT,  DT,  DT,  DT,  DT,  DT,  DEC},
    /* DEC */ {DEC, DEC, DEC, DEC, DEC, DEC, DEC, DEC, DEC},
};

// Result kind of a quotient other than a Decimal one: a Single when a Single meets a Single,
// Integer, Byte, Boolean or Empty; a Double otherwise.
constexpr bool SingleQuotient(Num l, Num r) {
  auto small = [](Num k) {
    return k == Num::Single || k == Num::Integer || k == Num::Byte || k == Num::Empty;
  };
  return (l == Num::Single && small(r)) || (r == Num::Single && small(l));
}

// An operand reduced to a plain value: an object is replaced by its default value, kept in
// `held` (which fails with 91 for Nothing and 438 for an object without one). Arrays and
// Error values take part in no arithmetic or comparison.
Outcome<const Variant*> Reduce(const Variant& v, std::optional<Variant>& held) {
  ZTL_TRY(p, PlainValue(v, held));
  if (p->IsArray()) return Fail(kTypeMismatch);
  return p;
}

bool IsError(const Variant& v) noexcept { return v.If<ErrorValue>() != nullptr; }

// The kind of a numeric or Empty operand (not Null, String, Error).
Outcome<Num> KindOf(const Variant& v) noexcept {
  switch (v.Type()) {
    case VarType::Empty: return Num::Empty;
    case VarType::Boolean: return Num::Integer;
    case VarType::Byte: return Num::Byte;
    case VarType::Integer: return Num::Integer;
    case VarType::Long: return Num::Long;
    case VarType::Single: return Num::Single;
    case VarType::Double: return Num::Double;
    case VarType::Currency: return Num::Currency;
    case VarType::Date: return Num::Date;
    case VarType::Decimal: return Num::Decimal;
    default: return Fail(kTypeMismatch);
  }
}

// A text that takes part in arithmetic must read as a number.
Outcome<Double> ReadNumber(const String& s) {
  std::optional<double> x = platform::ParseNumber(s);
  if (!x) return Fail(kTypeMismatch);
  return *x;
}

// An operand ready for arithmetic: its kind, and the value as a whole number (Empty,
// Boolean, Byte, Integer, Long), a real number (every kind) or a Decimal (every kind).
struct Operand {
  Num kind;
  const Variant* value;  // null for a text read as a number
  Double text_number = 0;
  const String* text = nullptr;  // the text of a text operand

  std::int64_t Whole() const {
    const Variant& v = *value;
    if (const Boolean* b = v.If<Boolean>()) return *b ? -1 : 0;
    if (const Byte* b = v.If<Byte>()) return *b;
    if (const Integer* i = v.If<Integer>()) return *i;
    if (const Long* l = v.If<Long>()) return *l;
    return 0;  // Empty
  }
  Double Real() const {
    if (!value) return text_number;
    const Variant& v = *value;
    switch (kind) {
      case Num::Single: return *v.If<Single>();
      case Num::Double: return *v.If<Double>();
      case Num::Currency: return CurrencyToDouble(*v.If<Currency>());
      case Num::Date: return v.If<Date>()->value;
      case Num::Decimal: return DecimalToDouble(*v.If<Decimal>());
      default: return static_cast<Double>(Whole());
    }
  }
  // As Currency: whole numbers scale exactly; a Single or Double rounds at the fourth decimal.
  Outcome<Currency> AsCurrency() const noexcept {
    if (kind == Num::Currency) return *value->If<Currency>();
    if (kind <= Num::Long && value) return Currency{Whole() * 10000};
    return DoubleToCurrency(Real());
  }
  // As Decimal: whole numbers and Currency exactly (a Currency at scale 4, so Currency 1 plus
  // Decimal 0 is 1.0000), a text read exactly from its digits, a Double or Date through its
  // 15 significant digits and a Single through its 7 (so 0.1 becomes 0.1); overflow (6) for a
  // real beyond the Decimal range, infinity or NaN.
  Outcome<Decimal> AsDecimal() const {
    if (!value) return TextToDecimal(*text);
    return ToDecimal(*value);
  }
};

// Inlined: the operand then stays in registers rather than making a round trip through memory.
[[gnu::always_inline]] inline Outcome<Operand> MakeOperand(const Variant& v) {
  if (const String* s = v.If<String>()) {
    return ReadNumber(*s).transform([s](Double x) { return Operand{Num::Double, nullptr, x, s}; });
  }
  return KindOf(v).transform([&v](Num kind) { return Operand{kind, &v}; });
}

// A whole-number result in the smallest kind, from `kind` upward, that holds it:
// Byte, then Integer, then Long, then Double.
Variant WholeResult(std::int64_t x, Num kind) {
  if (kind == Num::Byte && x >= 0 && x <= 255) return static_cast<Byte>(x);
  if (kind <= Num::Integer && x >= -32768 && x <= 32767) return static_cast<Integer>(x);
  if (x >= std::numeric_limits<Long>::min() && x <= std::numeric_limits<Long>::max()) {
    return static_cast<Long>(x);
  }
  return static_cast<Double>(x);
}

// A floating-point step that overflows or is invalid fails with overflow.
Outcome<Double> Finite(Double x) noexcept {
  if (!std::isfinite(x)) return Fail(kOverflow);
  return x;
}

// A Single result, or a Double when it leaves the Single range. The step is computed in
// Double and rounded once; for a sum, difference or quotient of Singles and 16-bit whole
// numbers that gives the correctly rounded Single.
Outcome<Variant> SingleResult(Double x) noexcept {
  if (!std::isfinite(x)) return Fail(kOverflow);
  const Single s = static_cast<Single>(x);
  if (std::isinf(s)) return Variant(x);
  return Variant(s);
}

template <class T>
Outcome<Variant> AsVariant(Outcome<T> x) {
  return std::move(x).and_then([](T&& value) -> Outcome<Variant> { return Variant(std::move(value)); });
}

enum class Op { Add, Subtract };

Outcome<Variant> SumOrDifference(Op op, const Operand& l, const Operand& r) {
  Num kind = kSumKind[static_cast<int>(l.kind)][static_cast<int>(r.kind)];
  if (op == Op::Subtract && l.kind == Num::Date && r.kind == Num::Date) kind = Num::Double;
  auto apply = [op](auto x, auto y) { return op == Op::Add ? x + y : x - y; };
  switch (kind) {
    case Num::Empty:
    case Num::Byte:
    case Num::Integer:
    case Num::Long:
      return WholeResult(apply(l.Whole(), r.Whole()), kind);
    case Num::Single:
      return SingleResult(apply(l.Real(), r.Real()));
    case Num::Currency: {
      ZTL_TRY(x, l.AsCurrency());
      ZTL_TRY(y, r.AsCurrency());
      std::int64_t sum = 0;
      const bool overflow = op == Op::Add ? __builtin_add_overflow(x.scaled, y.scaled, &sum)
                                          : __builtin_sub_overflow(x.scaled, y.scaled, &sum);
      if (overflow) return Fail(kOverflow);
      return Variant(Currency{sum});
    }
    case Num::Date:
      return Finite(apply(l.Real(), r.Real())).transform([](Double x) { return Variant(Date{x}); });
    case Num::Decimal: {
      // Both operands become Decimals and the step is exact (rounded only when the result
      // needs more than 96 bits).
      ZTL_TRY(x, l.AsDecimal());
      ZTL_TRY(y, r.AsDecimal());
      return AsVariant(op == Op::Add ? DecimalAdd(x, y) : DecimalSubtract(x, y));
    }
    case Num::Double:
      return AsVariant(Finite(apply(l.Real(), r.Real())));
  }
  return Fail(kTypeMismatch);
}

// The checks every binary step starts with. Returns true when the result is Null.
Outcome<bool> NullOperand(const Variant& l, const Variant& r) noexcept {
  if (IsError(l) || IsError(r)) return Fail(kTypeMismatch);
  return l.IsNull() || r.IsNull();
}

// The frame of every binary step: both operands reduced to plain values, Error values refused,
// Null when either is Null; otherwise `step` on the two plain values.
template <class Step>
Outcome<Variant> BinaryStep(const Variant& a, const Variant& b, Step step) {
  std::optional<Variant> held_a, held_b;
  ZTL_TRY(l, Reduce(a, held_a));
  ZTL_TRY(r, Reduce(b, held_b));
  ZTL_TRY(null, NullOperand(*l, *r));
  if (null) return Variant(Null);
  return step(*l, *r);
}

Outcome<Variant> Quotient(const Variant& l, const Variant& r);

}  // namespace

Outcome<Variant> Add(const Variant& a, const Variant& b) {
  return BinaryStep(a, b, [](const Variant& l, const Variant& r) -> Outcome<Variant> {
    if (l.IsString() && r.IsString()) return Variant(*l.If<String>() + *r.If<String>());
    // Adding Empty leaves the other operand as it is; a Boolean still becomes an Integer.
    if (l.IsEmpty() || r.IsEmpty()) {
      const Variant& other = l.IsEmpty() ? r : l;
      if (other.IsEmpty()) return Variant(Integer{0});
      if (const Boolean* v = other.If<Boolean>()) return Variant(Integer(*v ? -1 : 0));
      return other;
    }
    ZTL_TRY(x, MakeOperand(l));
    ZTL_TRY(y, MakeOperand(r));
    return SumOrDifference(Op::Add, x, y);
  });
}

Outcome<Variant> Subtract(const Variant& a, const Variant& b) {
  return BinaryStep(a, b, [](const Variant& l, const Variant& r) -> Outcome<Variant> {
    ZTL_TRY(x, MakeOperand(l));
    ZTL_TRY(y, MakeOperand(r));
    return SumOrDifference(Op::Subtract, x, y);
  });
}

Outcome<Variant> Negate(const Variant& a) {
  std::optional<Variant> held;
  ZTL_TRY(p, Reduce(a, held));
  const Variant& v = *p;
  switch (v.Type()) {
    case VarType::Null: return Variant(Null);
    case VarType::Empty: return Variant(Integer{0});
    case VarType::Boolean: return Variant(Integer(*v.If<Boolean>() ? 1 : 0));
    case VarType::Byte: return Variant(static_cast<Integer>(-*v.If<Byte>()));
    case VarType::Integer: return WholeResult(-std::int64_t{*v.If<Integer>()}, Num::Integer);
    case VarType::Long: return WholeResult(-std::int64_t{*v.If<Long>()}, Num::Long);
    case VarType::Single: return Variant(-*v.If<Single>());
    case VarType::Double: return Variant(-*v.If<Double>());
    case VarType::Date: return Variant(Date{-v.If<Date>()->value});
    case VarType::Currency: {
      const std::int64_t x = v.If<Currency>()->scaled;
      if (x == std::numeric_limits<std::int64_t>::min()) return Fail(kOverflow);
      return Variant(Currency{-x});
    }
    case VarType::Decimal: return Variant(DecimalNegate(*v.If<Decimal>()));
    case VarType::String: return ReadNumber(*v.If<String>()).transform([](Double x) { return Variant(-x); });
    default: return Fail(kTypeMismatch);
  }
}

Outcome<Variant> Divide(const Variant& a, const Variant& b) {
  return BinaryStep(a, b, [](const Variant& l, const Variant& r) { return Quotient(l, r); });
}

namespace {

// The quotient of two plain, non-Null operands.
Outcome<Variant> Quotient(const Variant& l, const Variant& r) {
  ZTL_TRY(x, MakeOperand(l));
  ZTL_TRY(y, MakeOperand(r));
  // A Decimal on either side makes the quotient a Decimal; its zero divisor fails with
  // division by zero even for 0 / 0.
  if (x.kind == Num::Decimal || y.kind == Num::Decimal) {
    ZTL_TRY(dividend, x.AsDecimal());
    ZTL_TRY(divisor, y.AsDecimal());
    return AsVariant(DecimalDivide(dividend, divisor));
  }
  const Double dividend = x.Real(), divisor = y.Real();
  if (divisor == 0) return Fail(dividend == 0 || std::isnan(dividend) ? kOverflow : kDivisionByZero);
  const Double q = dividend / divisor;
  if (SingleQuotient(x.kind, y.kind)) return SingleResult(q);
  return AsVariant(Finite(q));
}

}  // namespace

namespace {

template <class T>
Ordering OrderOf(T x, T y) {
  if constexpr (std::is_floating_point_v<T>) {
    if (std::isnan(x) || std::isnan(y)) return Ordering::Unordered;
  }
  return x < y ? Ordering::Less : y < x ? Ordering::Greater : Ordering::Equal;
}

// Whether a Double turns into an infinite Single (too large for the Single range).
bool LeavesSingleRange(Double x) { return std::isfinite(x) && std::isinf(static_cast<Single>(x)); }

// Two numbers (or Empty) compared in the kind the platform picks for the pair: as Decimals
// when a Decimal is involved (as Doubles when the other side does not convert to one, such as
// a Double beyond the Decimal range); at Single precision when a Single is (as Doubles when the
// other side does not fit a Single); as Doubles for Double and Date, also against Currency;
// as scaled whole numbers for Currency against whole numbers; otherwise as whole numbers.
Outcome<Ordering> CompareNumbers(const Variant& a, const Variant& b) {
  ZTL_TRY(l, MakeOperand(a));
  ZTL_TRY(r, MakeOperand(b));
  auto either = [&](Num k) { return l.kind == k || r.kind == k; };
  if (either(Num::Decimal)) {
    const Outcome<Decimal> x = l.AsDecimal();
    const Outcome<Decimal> y = x ? r.AsDecimal() : x;
    if (!y) return OrderOf(l.Real(), r.Real());
    const int c = DecimalCompare(*x, *y);
    return c < 0 ? Ordering::Less : c > 0 ? Ordering::Greater : Ordering::Equal;
  }
  if (either(Num::Single)) {
    const Double x = l.Real(), y = r.Real();
    if (LeavesSingleRange(x) || LeavesSingleRange(y)) return OrderOf(x, y);
    return OrderOf(static_cast<Single>(x), static_cast<Single>(y));
  }
  if (either(Num::Double) || either(Num::Date)) return OrderOf(l.Real(), r.Real());
  if (either(Num::Currency)) {
    ZTL_TRY(x, l.AsCurrency());
    ZTL_TRY(y, r.AsCurrency());
    return OrderOf(x.scaled, y.scaled);
  }
  return OrderOf(l.Whole(), r.Whole());
}

}  // namespace

Outcome<Ordering> Compare(const Variant& a, const Variant& b) {
  // An object that cannot give a default value makes the comparison a type mismatch.
  std::optional<Variant> held_a, held_b;
  const Outcome<const Variant*> reduced_a = Reduce(a, held_a);
  if (!reduced_a) return Fail(kTypeMismatch);
  const Outcome<const Variant*> reduced_b = Reduce(b, held_b);
  if (!reduced_b) return Fail(kTypeMismatch);
  const Variant* const l = *reduced_a;
  const Variant* const r = *reduced_b;
  if (IsError(*l) || IsError(*r)) {
    if (IsError(*l) && IsError(*r)) return Ordering::Equal;
    return Fail(kTypeMismatch);
  }
  if (l->IsNull() || r->IsNull()) return Ordering::Unordered;

  const String* ls = l->If<String>();
  const String* rs = r->If<String>();
  if (ls || rs) {
    // A number sorts before any text; Empty counts as "".
    if (!ls && !l->IsEmpty()) return Ordering::Less;
    if (!rs && !r->IsEmpty()) return Ordering::Greater;
    const std::u16string_view x = ls ? std::u16string_view(*ls) : std::u16string_view();
    const std::u16string_view y = rs ? std::u16string_view(*rs) : std::u16string_view();
    const int c = x.compare(y);
    return c < 0 ? Ordering::Less : c > 0 ? Ordering::Greater : Ordering::Equal;
  }
  return CompareNumbers(*l, *r);
}

// The test a < b, then the test a = b, where a failing test counts as holding.
Long CompareVariants(const Variant& a, const Variant& b) noexcept {
  const Outcome<Ordering> first = Compare(a, b);
  if (!first || *first == Ordering::Less) return -1;
  // The test a = b compares the same two values again, so only an object, whose default value
  // is fetched anew, can answer differently.
  Ordering second = *first;
  if (a.IsObject() || b.IsObject()) {
    const Outcome<Ordering> again = Compare(a, b);
    if (!again) return 0;
    second = *again;
  }
  if (second == Ordering::Equal) return 0;
  // Neither test held (b before a, or a Null on either side).
  return 1;
}

}  // namespace ztl
