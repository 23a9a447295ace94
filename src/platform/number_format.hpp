// Number patterns of the value-formatting service: a number written with a pattern of "0",
// "#" and ".". Date patterns are in date_format.hpp; the text area writes a Variant with a
// pattern (text/format_value.hpp).
//
// Example:
//   FormatNumber(3.14159, u"00000.00")  // u"00003.14"
//   FormatNumber(42, u"#.#")            // u"42."
//   FormatNumber(0, u"#")               // u"" ("#" shows no zero integer part)
#pragma once

#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl::platform {

// Writes a number with a pattern:
//   "0"  a digit position always shown: the integer part has at least as many digits as
//        there are positions from the first "0" before the point; after the point, zeros
//        fill the positions up to the last "0";
//   "#"  a digit position shown only when significant: a "#" integer part shows no zero,
//        so 0.5 with "#.#" is ".5" and 0 with "#" is "";
//   "."  the decimal point, shown whenever the pattern has one (3 with "#.#" is "3.").
// The number is rounded to the digit positions after the point (to a whole number without
// a point), half away from zero, on its 15-significant-digit decimal text, so 2.675 with
// "0.00" is "2.68"; the integer part always shows all its digits; a negative number gets a
// leading "-" unless it rounds to zero. No grouping separators. Characters other than
// "0", "#" and the first "." are ignored. Infinities and NaN are written as their text.
String FormatNumber(double x, std::u16string_view pattern);

// The same for a number given by its significant decimal digits ('0'-'9', none for zero),
// the first of them standing at 10^exponent, so "15" with exponent -1 is 0.15.
String FormatDigits(bool negative, std::string_view digits, long long exponent, std::u16string_view pattern);

}  // namespace ztl::platform
