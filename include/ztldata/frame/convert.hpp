// Conversions between the kinds of the value model, as the host platform makes them, and the
// text of a value. Each returns an Outcome: the converted value, or type mismatch (13) for a
// kind that does not convert and overflow (6) for a value outside the target's range. The
// rules are summarised on Variant (variant.hpp).
//
// Example:
//   ztl::ToLong(ztl::Variant(u"&H10")).value_or(0)    // 16
//   ztl::ToLong(ztl::Variant(2.5)).value_or(0)        // 2 (half to even)
//   ztl::ToString(ztl::Variant(true)).value_or(u"")   // u"True"
//   ztl::ToInteger(ztl::Variant(40000)).error()       // 6 (overflow)
#pragma once

#include <string_view>

#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

Outcome<Integer> ToInteger(const Variant& v);
Outcome<Long> ToLong(const Variant& v);
Outcome<Byte> ToByte(const Variant& v);
Outcome<Boolean> ToBoolean(const Variant& v);
Outcome<Single> ToSingle(const Variant& v);
Outcome<Double> ToDouble(const Variant& v);
Outcome<Currency> ToCurrency(const Variant& v);
Outcome<Date> ToDate(const Variant& v);
Outcome<Decimal> ToDecimal(const Variant& v);
// The platform's text of a value: "True", "1.5", "12/30/1899 6:00:00 AM", "" for Empty.
Outcome<String> ToString(const Variant& v);

// The same, chosen by the C++ type: To<Long>(v) is ToLong(v); To<Variant>(v) is v itself.
template <class T> Outcome<T> To(const Variant& v);

// The value converted to the given kind (a scalar type code, or Variant for no change). An
// object, an Error value or an array converts only to its own type code.
Outcome<Variant> ChangeType(const Variant& v, VarType to);

// A value read from text as a String argument converts to a parameter of the given kind
// ("&H10" for Long is 16, "1/2/2000" for Date is 2000-01-02, "yes" for Boolean fails).
Outcome<Variant> ReadValue(std::u16string_view text, VarType to);

// The value of an object where a plain value is needed: its default value (followed through
// objects), or 91 for Nothing and 438 for an object without one. Non-objects come back as
// they are.
Outcome<Variant> ValueOf(const Variant& v);

// Rounding and narrowing of numbers: half to even; overflow (6) outside the target's range,
// and for NaN.
Outcome<Integer> RoundToInteger(double x) noexcept;
Outcome<Long> RoundToLong(double x) noexcept;
Outcome<Integer> LongToInteger(Long x) noexcept;
Outcome<Byte> IntegerToByte(Long x) noexcept;

// Currency <-> Double and text. The text has no trailing zeros ("12.5"); reading a text is
// exact from its digits, rounded half to even at the fourth decimal.
double CurrencyToDouble(Currency c) noexcept;
Outcome<Currency> DoubleToCurrency(double x) noexcept;  // overflow (6) beyond the range
String CurrencyToText(Currency c);
Outcome<Currency> TextToCurrency(std::u16string_view text);  // 13, or 6

// Decimal <-> Double and text. A Double converts through its 15 significant digits, so 0.1
// becomes exactly 0.1. Decimal arithmetic is Variant arithmetic.
// Note: a Decimal keeps its scale: 1.50 equals 1.5 but is not the same value (a Currency
// converts to scale 4, a sum has the larger scale of its operands). The platform's text of a
// Decimal and its reading of text drop trailing zeros ("1.50" reads as 1.5 and 1.50 writes
// "1.5"); the scaled text keeps every digit of the scale, for encodings that carry a value.
double DecimalToDouble(const Decimal& d) noexcept;
Outcome<Decimal> DoubleToDecimal(double x);  // overflow (6) beyond 96 bits or non-finite
String DecimalToText(const Decimal& d);      // "-12.5", the platform's text
Outcome<Decimal> TextToDecimal(std::u16string_view text);  // 13, or 6

// The text of a Decimal with every digit its scale keeps, and "-" whenever its sign is set:
// "1.50", "0.00", "-0" (a negated 0). DecimalToText is the platform's text.
String DecimalToScaledText(const Decimal& d);
// Plain decimal text read with the scale it is written with: "-12.50", ".5", "1.50E+3"
// (1500), "0E-7" (0.0000000). The scale is the number of digits after the point less the
// exponent, at least 0; a text that does not fit 28 digits after the point or 96 bits gets the
// largest scale that fits, rounded half to even. Type mismatch (13) for any other text,
// overflow (6) when not even the whole part fits.
Outcome<Decimal> ScaledTextToDecimal(std::u16string_view text);

// ---- implementation details ------------------------------------------------------------

template <class T> Outcome<T> To(const Variant& v) {
  if constexpr (std::is_same_v<T, Integer>) return ToInteger(v);
  else if constexpr (std::is_same_v<T, Long>) return ToLong(v);
  else if constexpr (std::is_same_v<T, Byte>) return ToByte(v);
  else if constexpr (std::is_same_v<T, Boolean>) return ToBoolean(v);
  else if constexpr (std::is_same_v<T, Single>) return ToSingle(v);
  else if constexpr (std::is_same_v<T, Double>) return ToDouble(v);
  else if constexpr (std::is_same_v<T, Currency>) return ToCurrency(v);
  else if constexpr (std::is_same_v<T, Date>) return ToDate(v);
  else if constexpr (std::is_same_v<T, Decimal>) return ToDecimal(v);
  else if constexpr (std::is_same_v<T, String>) return ToString(v);
  else if constexpr (std::is_same_v<T, Variant>) return v;
  else static_assert(sizeof(T) == 0, "no conversion to this type");
}

}  // namespace ztl
