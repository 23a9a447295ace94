// ZtCollections: the interface table of the class and its operations.

#include "ztldata/collections/collections.hpp"

#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kCollectionKey[] = {In("cllCollection", Type::Collection), In("vntKey", Type::Variant)};
constexpr ParamInfo kCollection[] = {In("cllCollection", Type::Collection)};

// No member carries 0x60030000 or 0x60030005, and SearchByKey keeps the last slot although
// its identifier is 0x60030006: hosts reach it either way.
constexpr MemberInfo kMembers[] = {
    Method<&ZtCollections::Search>("Search", 0x60030001, kCollectionKey, Type::Long,
                                   "Searches a value in a collection"),
    Method<&ZtCollections::BinarySearch>("BinarySearch", 0x60030002, kCollectionKey, Type::Long,
                                         "Searches a value in an ordered collection"),
    Method<&ZtCollections::Sort>("Sort", 0x60030003, kCollection, Type::Void, "Sorts a collection"),
    Method<&ZtCollections::Shuffle>("Shuffle", 0x60030004, kCollection, Type::Void, "Shuffles a collection"),
    Method<&ZtCollections::SearchByKey>("SearchByKey", 0x60030006, kCollectionKey, Type::Variant),
};

}  // namespace

const ClassInfo kZtCollectionsClass = {
    "ZtCollections", "_ZtCollections", "", ClassKind::Utility,
    ids::kZtCollectionsClass, ids::kZtCollectionsInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtCollections>()); },
};

const ClassInfo* ZtCollections::Class() const noexcept { return &kZtCollectionsClass; }

// The operations are not built yet: they answer with the default of their result type.
Long ZtCollections::Search(const CollectionRef&, const Variant&) noexcept { return 0; }
Long ZtCollections::BinarySearch(const CollectionRef&, const Variant&) noexcept { return 0; }
void ZtCollections::Sort(const CollectionRef&) noexcept {}
void ZtCollections::Shuffle(const CollectionRef&) noexcept {}
Variant ZtCollections::SearchByKey(const CollectionRef&, const Variant&) noexcept { return Variant(); }

}  // namespace ztl
