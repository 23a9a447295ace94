// ZtData: the interface table of the class and its operations.

#include "ztldata/collections/data.hpp"

#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kPurge[] = {In("xVar", Type::Variant)};
constexpr ParamInfo kInter[] = {ByRef("xVar1", Type::Variant), ByRef("xVar2", Type::Variant)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtData::Purge>("Purge", 0x60030000, kPurge, Type::Variant, "Purges the value of a variable"),
    // The help text has two spaces before "two", as the type library carries it.
    Method<&ZtData::Inter>("Inter", 0x60030001, kInter, Type::Void, "Interchanges the value of  two variables"),
};

}  // namespace

const ClassInfo kZtDataClass = {
    "ZtData", "_ZtData", "", ClassKind::Utility,
    ids::kZtDataClass, ids::kZtDataInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtData>()); },
};

const ClassInfo* ZtData::Class() const noexcept { return &kZtDataClass; }

// The operations are not built yet: they answer with the default of their result type.
Variant ZtData::Purge(const Variant&) noexcept { return Variant(); }
void ZtData::Inter(Variant&, Variant&) noexcept {}

}  // namespace ztl
