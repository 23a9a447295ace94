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

  // Bits 0..15 as a signed 16-bit value (65535 gives -1).
  Long LoWord(Long lngLong) noexcept;
  // Bits 16..31 as a signed 16-bit value.
  Long HiWord(Long lngLong) noexcept;
  // Bits 0..7 (0 to 255).
  Integer LoByte(Long lngInteger) noexcept;
  // Bits 8..15 (0 to 255) of a 16-bit word. Note: 65536 gives 128.
  Integer HiByte(Long lngInteger) noexcept;
  // Sets or clears bit intPos (0..31); other positions leave the value unchanged.
  Long SetBit(Long lngValue, Integer intPos, Boolean blnSet) noexcept;
  // Whether bit intPos (0..31) is set; False for other positions.
  Boolean GetBit(Long lngValue, Integer intPos) noexcept;
  // Reads digits 0-9, A-Z in a base 2..36; 0 for an empty text or another base.
  // Note: digits are not checked against the base, and other characters count as 0.
  Long Base2Long(const String& strNumber, Integer intBase) noexcept;
  // Writes a number in a base 2..36 (uppercase, sign and magnitude); "" for another base.
  String Long2Base(Long lngNumber, Integer intBase) noexcept;
  // Shifts a 16-bit word left, zeros coming in.
  // Note: despite the help text it does not rotate; a product beyond the Long range leaves
  // the word unchanged.
  Integer LShiftWord(Integer intWord, Integer intTimes) noexcept;
  // Shifts a 16-bit word right, zeros coming in (a logical shift; not a rotation).
  Integer RShiftWord(Integer intWord, Integer intTimes) noexcept;
  // The 16-bit word of two bytes; negative when intHigh >= 128.
  Integer MakeWord(Byte intHigh, Byte intLow) noexcept;
  // The 32-bit value of two 16-bit words (intLow taken as a bit pattern).
  Long MakeDWord(Integer intHigh, Integer intLow) noexcept;
};

}  // namespace ztl
