// ZtNumeric: arithmetic helpers, primes, random numbers, number words, Roman numerals,
// number packing and unique identifiers. A stateless utility class.
//
// Example:
//   ztl::ZtNumeric n;
//   n.IsPrime(97);     // true
//   n.Factorial(10);   // 3628800
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtNumeric : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // The greater of two numbers; equal numbers give the second.
  Double Max(Double dblNumber1, Double dblNumber2) noexcept;
  // The smaller of two numbers; equal numbers give the second.
  Double Min(Double dblNumber1, Double dblNumber2) noexcept;
  // Rounds to a number of decimals, halves toward positive infinity (-2.5 gives -2).
  // Note: negative decimals, or a value too large to scale, give 0.
  Double Round(Double dblValue, Integer intDecimals) noexcept;
  // A random whole number between the bounds, both included (see RandomBetween).
  Long GetRandom(Long lngLow, Long lngHigh) noexcept;
  // Note: the fixed Double 2.7182818285, not the full-precision constant.
  Double GetE() noexcept;
  // The logarithm in a whole-number base; 0 for a non-positive number or base.
  // Note: base 1 gives +infinity, -infinity or NaN (the quotient by ln 1 = 0).
  Double LogN(Double dblNumber, Integer intBase) noexcept;
  // ln(x) / ln(10); 0 for a non-positive number.
  Double Log10(Double dblNumber) noexcept;
  // n! for 0..12; 0 for a negative number and for 13 or more (n! does not fit a Long).
  Long Factorial(Long lngNumber) noexcept;
  // 1 + 2 + ... + n for 1..65535; 0 for n <= 0 and for 65536 or more (the sum does not fit).
  Long Sum(Long lngNumber) noexcept;
  // Packs a number into a short text. |dblNumber| x 10^intDecimals is rounded to a whole
  // number (halves away from zero) and written as n decimal digits, n = intSize + 1 raised
  // to the next even count (10 for the default 9); each two digits become one character
  // whose Windows-1252 code is their value 0..99, and the first character carries 128 more
  // for a negative number. The defaults pack every whole number below 10^10 into five
  // characters: 123456789 gives the codes 1, 23, 45, 67, 89.
  // Note: the text records neither n nor intDecimals; read it back with the same values.
  // Note: "" when the rounded magnitude needs more than n digits, for a non-finite scaled
  // value and for a negative intSize. A negative number that rounds to 0 keeps its sign
  // (-0.4 gives 128, 0, 0, 0, 0).
  // Note: a negative intDecimals packs the number divided by 10^-intDecimals, which
  // DecompressNumber does not multiply back: (123456, 9, -2) packs 1235, and reads back as
  // 1235. Stored texts rely on this.
  String CompressNumber(Double dblNumber, Integer intSize = 9, Integer intDecimals = 0) noexcept;
  // Reads a number packed by CompressNumber with the same intSize and intDecimals: each
  // character's code as two decimal digits (a first code above 127 less 128, and the number
  // negative), the last intDecimals digits being the fraction.
  // Note: 0 for "", for a negative intSize, for intDecimals above n and for digits beyond
  // the Double range. A code 100..127 or 228..255 (never written by CompressNumber) gives
  // three digits and shifts the rest.
  // Note: a negative intDecimals reads the digits as a whole number, without multiplying by
  // 10^-intDecimals: a text that CompressNumber(123456, 9, -2) packed gives 1235. Stored texts
  // rely on this.
  Double DecompressNumber(const String& strNumber, Integer intSize = 9, Integer intDecimals = 0) noexcept;
  // The number in English words, lowercase, groups separated by single spaces and never
  // an "and": 1000005 gives "one million five", -42 "negative forty-two", 0 "zero".
  // Covers every Long, -2147483648 included.
  String Num2Letter(Long lngNumber) noexcept;
  // Whether the number is prime. Negative numbers, 0 and 1 are not.
  Boolean IsPrime(Long lngNumber) noexcept;
  Boolean IsEven(Long lngNumber) noexcept;
  Boolean IsOdd(Long lngNumber) noexcept;
  // A new random 128-bit identifier as 35 uppercase hexadecimal characters in groups of
  // 8, 4, 4 and 16 ("0F1E2D3C-4B5A-4978-8695A4B3C2D1E0F1"); "" if none could be made.
  String GetUniqueNumber() noexcept;
  // The number in Roman numerals, 1 to 9999: 1994 gives "MCMXCIV". Beyond the classical
  // letters, Q is 5000 and H is 10000, so 4000 is "MQ" and 9000 "MH".
  // Note: "" for 0, for negative numbers and for 10000 or more.
  String ToRoman(Integer intNumber) noexcept;
  // The value of a Roman numeral in the letters I V X L C D M Q H (uppercase), spaces around
  // it ignored. No syntax is checked: each letter is subtracted when a larger one follows it
  // and added otherwise, so "IIII" gives 4 and "IM" 999.
  // Note: 0 when any other character appears (lowercase letters, digits, inner spaces) and
  // when the total leaves the Integer range ("HHHH").
  Integer ToArabic(const String& strRoman) noexcept;
  // e^(ln x / r). For x < 0 only an odd whole r has a real root: -e^(ln|x| / r); otherwise 0.
  Double Root(Double dblNumber, Double dblRoot) noexcept;
  // e^(ln x * p). For x < 0 only a whole p has a real power (negative for odd p); otherwise 0.
  Double Power(Double dblNumber, Double dblPower) noexcept;

 private:
  // The words of 0..999 ("" for 0): "three hundred forty-two". Like ZeroFill it lets running
  // out of memory rise to the operation that calls it, which then gives its default.
  String Group2Letter(Integer number);
  // "0" repeated (width - length) times; "" when that count is not positive.
  String ZeroFill(Integer width, Integer length);
  // The value of one Roman letter ("I" 1 ... "Q" 5000, "H" 10000); 0 for anything else.
  Integer RomanDigitValue(std::u16string_view letter) noexcept;
};

}  // namespace ztl
