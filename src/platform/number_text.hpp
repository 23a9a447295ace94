// Number text as the host platform writes and reads it: the text of a Double or Single
// (what CStr gives), the reading of a text as a number (what CDbl and argument conversion
// accept) and Val, the lenient leading-number reader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl::platform {

// Up to 15 significant digits ("0.1", "1E+15", "5.6789E-12"); negative zero is "0".
// Infinities and NaN are written "Infinity", "-Infinity" and "NaN".
String DoubleToText(double x);
// The same with 7 significant digits.
String SingleToText(float x);

// The significant digits of |x| (finite, not zero) rounded half away from zero to
// `precision` digits, trailing zeros dropped; `exponent` receives the power of ten of the
// first digit. The platform rounds the exact binary value this way, so the Single
// 654322.25 has the 7 digits 6543223.
std::string SignificantDigits(double x, int precision, int& exponent);

// The whole text read as a number: blanks around it, one sign (leading or trailing),
// parentheses for a negative, "," thousands separators after the first digit, one ".",
// an exponent "E", "$" before or after, "&H" hexadecimal and "&O" octal whole numbers
// (never with "$"). Blanks may also stand between the leading symbols ("- $ 11").
// Empty when the text is no number (a type mismatch for the caller). A number beyond the
// Double range reads as an infinity (an overflow for the caller).
std::optional<double> ParseNumber(std::u16string_view text);

// A plain whole number of up to 15 digits after an optional sign ("12345", "-7"), the text
// most conversions meet, read without the general rules (which give it the same value, exact
// in a Double). None for any other text.
std::optional<std::int64_t> ReadPlainWhole(std::u16string_view text) noexcept;

// A number text read by the rules of ParseNumber, before it becomes a Double: the value is
// digits x 10^exponent, or `whole` for an "&H" or "&O" text (its bit pattern kept in an
// Integer or a Long, so "&HFFFF" is -1). Decimal and other exact readers start from this.
struct ParsedNumber {
  bool negative = false;
  std::string digits;         // significant decimal digits, no leading or trailing zeros
  long long exponent = 0;     // the power of ten of the last digit
  std::optional<Long> whole;  // the value of a hexadecimal or octal text
};
std::optional<ParsedNumber> ReadNumber(std::u16string_view text);

// Val: reads the leading number of a text and ignores the rest; blanks anywhere inside the
// number are skipped. Empty (a type mismatch for the caller) only for a fraction followed by
// a type-suffix character such as "1.5%".
std::optional<double> Val(std::u16string_view text);

}  // namespace ztl::platform
