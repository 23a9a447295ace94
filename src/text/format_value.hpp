// The value-formatting service for a Variant and a number pattern, as sPrintf fills its
// conversions. The pattern itself is written by platform/number_format.hpp; the plain text
// of a value is convert.hpp's ToString.
//
// Example:
//   FormatValue(Long{42}, u"0000")       // u"0042"
//   FormatValue(String(u"abc"), u"0.00") // u"abc": text that is no number stays as it is
#pragma once

#include <string_view>

#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl::text {

// A Variant written with a number pattern:
//   - an empty pattern gives the value's plain text;
//   - numbers are written as FormatNumber does: Integer, Long, Byte and Boolean (-1 or 0)
//     by value, Double and Date (its day count) from 15 significant digits, Single from 7,
//     Currency and Decimal from all their digits; Empty is 0;
//   - a String that reads as a number is written as that number, any other text is
//     returned unchanged;
//   - an object gives its default value.
// `numeric` (when given) is set to whether a number was written with the pattern.
// Fails for Null, Error values and arrays (13), and objects without a default value (91, 438).
Outcome<String> FormatValue(const Variant& value, std::u16string_view pattern, bool* numeric = nullptr);

}  // namespace ztl::text
