// ZtBases: the interface table of the class and its operations.

#include "ztldata/numbers/bases.hpp"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kLongWord[] = {In("lngLong", Type::Long)};
constexpr ParamInfo kLongByte[] = {In("lngInteger", Type::Long)};
constexpr ParamInfo kSetBit[] = {In("lngValue", Type::Long), In("intPos", Type::Integer),
                                 In("blnSet", Type::Boolean)};
constexpr ParamInfo kGetBit[] = {In("lngValue", Type::Long), In("intPos", Type::Integer)};
constexpr ParamInfo kBase2Long[] = {In("strNumber", Type::String), In("intBase", Type::Integer)};
constexpr ParamInfo kLong2Base[] = {In("lngNumber", Type::Long), In("intBase", Type::Integer)};
constexpr ParamInfo kShift[] = {In("intWord", Type::Integer), In("intTimes", Type::Integer)};
constexpr ParamInfo kMakeWord[] = {In("intHigh", Type::Byte), In("intLow", Type::Byte)};
constexpr ParamInfo kMakeDWord[] = {In("intHigh", Type::Integer), In("intLow", Type::Integer)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtBases::LoWord>("LoWord", 0x60030000, kLongWord, Type::Long, "Gets the low word of a number"),
    Method<&ZtBases::HiWord>("HiWord", 0x60030001, kLongWord, Type::Long, "Gets the high word of a number"),
    Method<&ZtBases::LoByte>("LoByte", 0x60030002, kLongByte, Type::Integer, "Gets the low byte of a number"),
    Method<&ZtBases::HiByte>("HiByte", 0x60030003, kLongByte, Type::Integer, "Gets the high byte of a number"),
    Method<&ZtBases::SetBit>("SetBit", 0x60030004, kSetBit, Type::Long, "Changes a bit in a number"),
    Method<&ZtBases::GetBit>("GetBit", 0x60030005, kGetBit, Type::Boolean,
                             "Gets a boolean indicating if a specified bit is on"),
    Method<&ZtBases::Base2Long>("Base2Long", 0x60030006, kBase2Long, Type::Long,
                                "Converts a string in a specified base to decimal number"),
    Method<&ZtBases::Long2Base>("Long2Base", 0x60030007, kLong2Base, Type::String,
                                "Converts a decimal number to a string in a specified base"),
    Method<&ZtBases::LShiftWord>("LShiftWord", 0x60030008, kShift, Type::Integer,
                                 "Rotates a word to left the specified times"),
    Method<&ZtBases::RShiftWord>("RShiftWord", 0x60030009, kShift, Type::Integer,
                                 "Rotates a word to right the specified times"),
    Method<&ZtBases::MakeWord>("MakeWord", 0x6003000A, kMakeWord, Type::Integer, "Makes a word with two bytes"),
    Method<&ZtBases::MakeDWord>("MakeDWord", 0x6003000B, kMakeDWord, Type::Long,
                                "Makes a double word with two words"),
};

// Bits 0..15 of a value as a signed 16-bit word.
Integer Low16(long long v) { return static_cast<Integer>(static_cast<std::uint16_t>(v & 0xFFFF)); }

// The mask of bit p for 0 <= p <= 30: 2^p as a Long. A negative p gives 2^p below 1/2
// (or exactly 1/2 for -1), which rounds to the even 0: no bit.
Long BitMask(Integer p) { return p >= 0 ? Long{1} << p : 0; }

// The digit value of a character in an uppercased number text; other characters count 0.
int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 0;
}

}  // namespace

const ClassInfo kZtBasesClass = DefineClass<ZtBases, "ZtBases">(
    ClassKind::Utility, {ids::kZtBasesClass, ids::kZtBasesInterface}, kMembers);

const ClassInfo* ZtBases::Class() const noexcept { return &kZtBasesClass; }

Long ZtBases::LoWord(Long lngLong) noexcept { return Low16(lngLong); }

Long ZtBases::HiWord(Long lngLong) noexcept { return lngLong >> 16; }

Integer ZtBases::LoByte(Long lngInteger) noexcept { return static_cast<Integer>(lngInteger & 0xFF); }

Integer ZtBases::HiByte(Long lngInteger) noexcept {
  // The sign bit of a 16-bit word, or any bit above it, is taken as bit 15 of the word.
  if ((static_cast<std::uint32_t>(lngInteger) & 0xFFFF8000u) != 0) {
    return static_cast<Integer>(((lngInteger & 0x7FFF) / 256) | 128);
  }
  return static_cast<Integer>(lngInteger / 256);
}

Long ZtBases::SetBit(Long lngValue, Integer intPos, Boolean blnSet) noexcept {
  if (intPos > 31) return lngValue;
  const std::uint32_t mask = intPos == 31 ? 0x80000000u : static_cast<std::uint32_t>(BitMask(intPos));
  const std::uint32_t bits = static_cast<std::uint32_t>(lngValue);
  return static_cast<Long>(blnSet ? bits | mask : bits & ~mask);
}

Boolean ZtBases::GetBit(Long lngValue, Integer intPos) noexcept {
  if (intPos > 31) return false;
  if (intPos == 31) return lngValue < 0;
  return (lngValue & BitMask(intPos)) != 0;
}

Long ZtBases::Base2Long(const String& strNumber, Integer intBase) noexcept {
  if (strNumber.empty() || intBase < 2 || intBase > 36) return 0;
  std::u16string_view s = strNumber;
  const bool negative = s.front() == u'-';
  if (negative) s.remove_prefix(1);
  // The largest magnitude that has a Long: 2147483648 only when negated.
  const long long limit = negative ? 2147483648LL : 2147483647LL;
  long long total = 0;
  long long place = 1;
  bool place_beyond = false;  // place exceeds every magnitude a Long holds
  for (auto it = s.rbegin(); it != s.rend(); ++it) {
    // Uppercase: only ASCII letters can become digits.
    const char16_t c = (*it >= u'a' && *it <= u'z') ? static_cast<char16_t>(*it - 32) : *it;
    const int digit = DigitValue(c);
    if (digit != 0) {
      // A magnitude that does not fit a Long gives the default, never a wrong number.
      if (place_beyond) return 0;
      total += place * digit;
      if (total > limit) return 0;
    }
    if (!place_beyond) {
      place *= intBase;
      place_beyond = place > limit;
    }
  }
  return static_cast<Long>(negative ? -total : total);
}

String ZtBases::Long2Base(Long lngNumber, Integer intBase) noexcept {
  if (intBase < 2 || intBase > 36) return String();
  static constexpr char16_t kDigits[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  // Sign and magnitude; the magnitude of -2147483648 is held wider.
  long long magnitude = lngNumber < 0 ? -static_cast<long long>(lngNumber) : lngNumber;
  char16_t buffer[34];  // 32 binary digits and a sign at most
  char16_t* start = buffer + sizeof buffer / sizeof buffer[0];
  do {
    *--start = kDigits[magnitude % intBase];
    magnitude /= intBase;
  } while (magnitude != 0);
  if (lngNumber < 0) *--start = u'-';
  return Guarded(String(), [&] { return String(start, buffer + sizeof buffer / sizeof buffer[0]); });
}

Integer ZtBases::LShiftWord(Integer intWord, Integer intTimes) noexcept {
  // Sixteen places or more shift every bit out.
  if (intTimes >= 16) return 0;
  if (intTimes >= 0) return Low16(static_cast<long long>(intWord) << intTimes);
  // A negative count divides by 2^-t, rounding to nearest with halves to even: 3 by -1 is 2.
  return Low16(static_cast<long long>(std::nearbyint(std::ldexp(static_cast<double>(intWord), intTimes))));
}

Integer ZtBases::RShiftWord(Integer intWord, Integer intTimes) noexcept {
  if (intTimes == 0) return intWord;
  // A negative count divides by 2^t rounded to a whole number, which is 0: the division
  // fails and the word's pattern is kept, which as an Integer only the words 0..32767 are.
  if (intTimes < 0) return intWord >= 0 ? intWord : Integer{0};
  // Sixteen places or more shift every bit out.
  if (intTimes >= 16) return 0;
  return static_cast<Integer>(static_cast<std::uint16_t>(intWord) >> intTimes);
}

Integer ZtBases::MakeWord(Byte intHigh, Byte intLow) noexcept {
  return static_cast<Integer>(static_cast<std::uint16_t>((intHigh << 8) | intLow));
}

Long ZtBases::MakeDWord(Integer intHigh, Integer intLow) noexcept {
  return static_cast<Long>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(intHigh)) << 16) |
                           static_cast<std::uint16_t>(intLow));
}

}  // namespace ztl
