// Conversions between the kinds of the value model, as the host platform makes them.
// Each function throws Failure: type mismatch (13) for a kind that does not convert,
// overflow (6) for a value outside the target's range. The rules are summarised on Variant.
#pragma once

#include "failure.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

// A Double rounded half to even into Integer or Long; overflow (6) when it does not fit,
// and also for NaN.
Integer RoundToInteger(double x);
Long RoundToLong(double x);

// Narrowing of whole numbers; overflow (6) when the value does not fit.
Integer LongToInteger(Long x);
Byte IntegerToByte(Long x);

Integer ToInteger(const Variant& v);
Long ToLong(const Variant& v);
Byte ToByte(const Variant& v);
Boolean ToBoolean(const Variant& v);
Single ToSingle(const Variant& v);
Double ToDouble(const Variant& v);
Currency ToCurrency(const Variant& v);
Date ToDate(const Variant& v);
Decimal ToDecimal(const Variant& v);
String ToString(const Variant& v);  // the platform's text of a value ("True", "1.5", ...)

// The value of an object where a plain value is needed: its default value, else Failure:
// 91 for Nothing, 438 for an object without one. Non-objects come back unchanged.
Variant ValueOf(const Variant& v);

// The value converted to the given kind (a scalar type code, or Variant for no change).
Variant ChangeType(const Variant& v, VarType to);

// Decimal <-> Double and text. Decimal arithmetic and comparison are in decimal.hpp.
double DecimalToDouble(const Decimal& d) noexcept;
Decimal DoubleToDecimal(double x);       // overflow (6) beyond 96 bits or for non-finite values
String DecimalToText(const Decimal& d);  // "-12.5"
Decimal TextToDecimal(std::u16string_view text);  // type mismatch (13) or overflow (6)

// Currency <-> Double and text.
double CurrencyToDouble(Currency c) noexcept;
Currency DoubleToCurrency(double x);  // rounds half to even at the fourth decimal; overflow (6)
String CurrencyToText(Currency c);    // "12.5", no trailing zeros

}  // namespace ztl
