// ZtBases: the interface table of the class and its operations.

#include "ztldata/numbers/bases.hpp"

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

}  // namespace

const ClassInfo kZtBasesClass = {
    "ZtBases", "_ZtBases", "", ClassKind::Utility,
    ids::kZtBasesClass, ids::kZtBasesInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtBases>()); },
};

const ClassInfo* ZtBases::Class() const noexcept { return &kZtBasesClass; }

// The operations are not built yet: they answer with the default of their result type.
Long ZtBases::LoWord(Long) noexcept { return 0; }
Long ZtBases::HiWord(Long) noexcept { return 0; }
Integer ZtBases::LoByte(Long) noexcept { return 0; }
Integer ZtBases::HiByte(Long) noexcept { return 0; }
Long ZtBases::SetBit(Long, Integer, Boolean) noexcept { return 0; }
Boolean ZtBases::GetBit(Long, Integer) noexcept { return false; }
Long ZtBases::Base2Long(const String&, Integer) noexcept { return 0; }
String ZtBases::Long2Base(Long, Integer) noexcept { return String(); }
Integer ZtBases::LShiftWord(Integer, Integer) noexcept { return 0; }
Integer ZtBases::RShiftWord(Integer, Integer) noexcept { return 0; }
Integer ZtBases::MakeWord(Byte, Byte) noexcept { return 0; }
Long ZtBases::MakeDWord(Integer, Integer) noexcept { return 0; }

}  // namespace ztl
