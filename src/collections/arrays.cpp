// ZtArrays: the interface table of the class and its operations.

#include "ztldata/collections/arrays.hpp"

#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kArray[] = {ByRef("aArray", Type::Variant)};
constexpr ParamInfo kArrayKey[] = {ByRef("aArray", Type::Variant), In("vntKey", Type::Variant)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtArrays::Dimensions>("Dimensions", 0x60030000, kArray, Type::Integer,
                                  "Gets the number of dimensions of an array"),
    Method<&ZtArrays::IsEmpty>("IsEmpty", 0x60030001, kArray, Type::Boolean, "Determines if an array is empty"),
    Method<&ZtArrays::GetMax>("GetMax", 0x60030002, kArray, Type::Variant, "Gets the max element of an array"),
    Method<&ZtArrays::GetMin>("GetMin", 0x60030003, kArray, Type::Variant, "Gets the min element of an array"),
    Method<&ZtArrays::GetMed>("GetMed", 0x60030004, kArray, Type::Variant, "Gets the medium value of an array"),
    Method<&ZtArrays::GetSum>("GetSum", 0x60030005, kArray, Type::Variant, "Gets the sum of an array"),
    Method<&ZtArrays::Search>("Search", 0x60030006, kArrayKey, Type::Long, "Searches a value in an array"),
    Method<&ZtArrays::BinarySearch>("BinarySearch", 0x60030007, kArrayKey, Type::Long,
                                    "Makes a binary search into an ordered array"),
    Method<&ZtArrays::Sort>("Sort", 0x60030008, kArray, Type::Void, "Sorts an array"),
    Method<&ZtArrays::Shuffle>("Shuffle", 0x60030009, kArray, Type::Void, "Unsorts an array"),
};

}  // namespace

const ClassInfo kZtArraysClass = {
    "ZtArrays", "_ZtArrays", "", ClassKind::Utility,
    ids::kZtArraysClass, ids::kZtArraysInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtArrays>()); },
};

const ClassInfo* ZtArrays::Class() const noexcept { return &kZtArraysClass; }

// The operations are not built yet: they answer with the default of their result type.
Integer ZtArrays::Dimensions(Variant&) noexcept { return 0; }
Boolean ZtArrays::IsEmpty(Variant&) noexcept { return false; }
Variant ZtArrays::GetMax(Variant&) noexcept { return Variant(); }
Variant ZtArrays::GetMin(Variant&) noexcept { return Variant(); }
Variant ZtArrays::GetMed(Variant&) noexcept { return Variant(); }
Variant ZtArrays::GetSum(Variant&) noexcept { return Variant(); }
Long ZtArrays::Search(Variant&, const Variant&) noexcept { return 0; }
Long ZtArrays::BinarySearch(Variant&, const Variant&) noexcept { return 0; }
void ZtArrays::Sort(Variant&) noexcept {}
void ZtArrays::Shuffle(Variant&) noexcept {}

}  // namespace ztl
