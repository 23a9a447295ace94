// ZtCRC32: the interface table of the component and its operations.

#include "ztldata/coding/crc32.hpp"

#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kInit[] = {In("lngSeed", Type::Long), In("lngPrecondition", Type::Long)};
constexpr ParamInfo kAdd[] = {In("strBuffer", Type::String), In("lngPrevCRC32", Type::Long)};
constexpr ParamInfo kGet[] = {In("lngCRC32", Type::Long)};

constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtCRC32::InitCRC32>("InitCRC32", 0x60030005, kInit, Type::Long),
    Method<&ZtCRC32::AddCRC32>("AddCRC32", 0x60030006, kAdd, Type::Long),
    Method<&ZtCRC32::GetCRC32>("GetCRC32", 0x60030007, kGet, Type::Long),
};

}  // namespace

const ClassInfo kZtCRC32Class = {
    "ZtCRC32", "_ZtCRC32", "__ZtCRC32", ClassKind::Component,
    ids::kZtCRC32Class, ids::kZtCRC32Interface, ids::kZtCRC32Events,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtCRC32>()); },
};

const ClassInfo* ZtCRC32::Class() const noexcept { return &kZtCRC32Class; }

// The operations are not built yet: they answer with the default of their result type.
Long ZtCRC32::InitCRC32(Long, Long) noexcept { return 0; }
Long ZtCRC32::AddCRC32(const String&, Long) noexcept { return 0; }
Long ZtCRC32::GetCRC32(Long) noexcept { return 0; }

}  // namespace ztl
