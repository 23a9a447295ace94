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
  // Packs a number into a short text (see the number-packing documentation).
  String CompressNumber(Double dblNumber, Integer intSize = 9, Integer intDecimals = 0) noexcept;
  // Reads a number packed by CompressNumber.
  Double DecompressNumber(const String& strNumber, Integer intSize = 9, Integer intDecimals = 0) noexcept;
  // The number in English words.
  String Num2Letter(Long lngNumber) noexcept;
  // Whether the number is prime. Negative numbers, 0 and 1 are not.
  Boolean IsPrime(Long lngNumber) noexcept;
  Boolean IsEven(Long lngNumber) noexcept;
  Boolean IsOdd(Long lngNumber) noexcept;
  // A new random 128-bit identifier as 35 uppercase hexadecimal characters in groups of
  // 8, 4, 4 and 16 ("0F1E2D3C-4B5A-4978-8695A4B3C2D1E0F1"); "" if none could be made.
  String GetUniqueNumber() noexcept;
  // The number in Roman numerals.
  String ToRoman(Integer intNumber) noexcept;
  // The value of a Roman numeral.
  Integer ToArabic(const String& strRoman) noexcept;
  // e^(ln x / r). For x < 0 only an odd whole r has a real root: -e^(ln|x| / r); otherwise 0.
  Double Root(Double dblNumber, Double dblRoot) noexcept;
  // e^(ln x * p). For x < 0 only a whole p has a real power (negative for odd p); otherwise 0.
  Double Power(Double dblNumber, Double dblPower) noexcept;

 private:
  // "0" repeated (width - length) times; "" when that count is not positive.
  String ZeroFill(Integer width, Integer length) noexcept;
};

}  // namespace ztl
