// ZtObjects: whether an object reference is set, and the interface table of the class.

#include "ztldata/collections/objects.hpp"

#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kIsSet[] = {In("objObject", Type::Object)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtObjects::IsSet>("IsSet", 0x60030000, kIsSet, Type::Boolean,
                              "Determines if an object is set or nothing"),
};

}  // namespace

const ClassInfo kZtObjectsClass = DefineClass<ZtObjects, "ZtObjects">(
    ClassKind::Utility, {ids::kZtObjectsClass, ids::kZtObjectsInterface}, kMembers);

const ClassInfo* ZtObjects::Class() const noexcept { return &kZtObjectsClass; }

Boolean ZtObjects::IsSet(const ObjectRef& objObject) noexcept { return objObject != nullptr; }

}  // namespace ztl
