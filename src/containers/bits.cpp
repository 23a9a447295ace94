// ZtBits: the interface table of the component and its operations.

#include "ztldata/containers/bits.hpp"

#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

// The type library holds True as -1.
constexpr ParamInfo kCreate[] = {In("lngBitsSize", Type::Long), Optional("blnPreserve", Type::Boolean, -1)};
constexpr ParamInfo kBitGet[] = {In("lngIndex", Type::Long)};
constexpr ParamInfo kBitLet[] = {In("lngIndex", Type::Long), NewValue(Type::Boolean)};
constexpr ParamInfo kFile[] = {In("strFile", Type::String)};

// Methods and properties are numbered in two series (0x6003xxxx and 0x6803xxxx).
constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtBits::Create>("Create", 0x60030007, kCreate, Type::Void),
    PropertyGet<&ZtBits::Size>("Size", 0x68030001, {}, Type::Long),
    PropertyGet<Pick<Boolean(Long) const noexcept>(&ZtBits::Bit)>("Bit", 0x68030000, kBitGet, Type::Boolean),
    PropertyLet<Pick<void(Long, Boolean) noexcept>(&ZtBits::Bit)>("Bit", 0x68030000, kBitLet),
    Method<&ZtBits::FileRead>("FileRead", 0x60030008, kFile, Type::Boolean),
    Method<&ZtBits::FileWrite>("FileWrite", 0x60030009, kFile, Type::Boolean),
};

}  // namespace

const ClassInfo kZtBitsClass = {
    "ZtBits", "_ZtBits", "__ZtBits", ClassKind::Component,
    ids::kZtBitsClass, ids::kZtBitsInterface, ids::kZtBitsEvents,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtBits>()); },
};

const ClassInfo* ZtBits::Class() const noexcept { return &kZtBitsClass; }

// The operations are not built yet: they answer with the default of their result type.
void ZtBits::Create(Long, Boolean) noexcept {}
Long ZtBits::Size() const noexcept { return 0; }
Boolean ZtBits::Bit(Long) const noexcept { return false; }
void ZtBits::Bit(Long, Boolean) noexcept {}
Boolean ZtBits::FileRead(const String&) noexcept { return false; }
Boolean ZtBits::FileWrite(const String&) noexcept { return false; }

}  // namespace ztl
