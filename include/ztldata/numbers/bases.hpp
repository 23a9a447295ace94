// ZtBases: words and bytes of integers, single bits, 16-bit shifts, and numbers written in
// any base from 2 to 36. A stateless utility class.
//
// Example:
//   ztl::ZtBases b;
//   b.Long2Base(255, 16);      // u"FF"
//   b.MakeWord(0x12, 0x34);    // 4660
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtBases : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // Bits 0..15 as a signed 16-bit value: 0x12345678 gives 0x5678, 65535 gives -1.
  Long LoWord(Long lngLong) noexcept;
  // Bits 16..31 as a signed 16-bit value: -1 gives -1, 65536 gives 1.
  Long HiWord(Long lngLong) noexcept;
  // Bits 0..7 (0 to 255).
  Integer LoByte(Long lngInteger) noexcept;
  // Bits 8..15 (0 to 255) of a 16-bit word, signed (-32768..-1) or not (32768..65535).
  // Note: beyond a 16-bit word any bit from 15 up counts as bit 15: 65536 gives 128.
  Integer HiByte(Long lngInteger) noexcept;
  // Sets (blnSet True) or clears bit intPos, 0..31 (31 is the sign bit). Other positions,
  // negative ones included, leave the value unchanged.
  Long SetBit(Long lngValue, Integer intPos, Boolean blnSet) noexcept;
  // Whether bit intPos (0..31) is set; False for other positions.
  Boolean GetBit(Long lngValue, Integer intPos) noexcept;
  // Reads a number written in a base 2..36 with the digits 0-9 and A-Z (either case) and
  // an optional leading "-": Base2Long("ff", 16) is 255, ("-80000000", 16) -2147483648.
  // 0 for an empty text, another base, or a magnitude that does not fit a Long.
  // Note: lenient. Digits are not checked against the base ("9" in base 2 is 9), and any
  // other character counts 0 but still takes a digit position ("1 0" in base 10 is 100).
  Long Base2Long(const String& strNumber, Integer intBase) noexcept;
  // Writes a number in a base 2..36 (uppercase, sign and magnitude, never a two's
  // complement pattern): (-10, 2) gives "-1010". "" for another base.
  String Long2Base(Long lngNumber, Integer intBase) noexcept;
  // Shifts a 16-bit word left, zeros coming in; 16 places or more give 0.
  // Note: despite the help text it does not rotate. A negative intTimes halves the word
  // that many times, rounding to even: (3, -1) gives 2.
  Integer LShiftWord(Integer intWord, Integer intTimes) noexcept;
  // Shifts a 16-bit word right, zeros coming in (a logical shift, not a rotation):
  // (-1, 1) gives 32767; 16 places or more give 0.
  // Note: a negative intTimes returns the word when it is 0 or more and 0 otherwise.
  Integer RShiftWord(Integer intWord, Integer intTimes) noexcept;
  // The 16-bit word of two bytes; negative when intHigh >= 128 (255, 255 gives -1).
  Integer MakeWord(Byte intHigh, Byte intLow) noexcept;
  // The 32-bit value of two 16-bit words (intLow taken as a bit pattern: (0, -1) gives
  // 65535); negative when intHigh is.
  Long MakeDWord(Integer intHigh, Integer intLow) noexcept;
};

}  // namespace ztl
