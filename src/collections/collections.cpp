// ZtCollections: searching, sorting and shuffling the host's collection in place, and the
// interface table of the class. Sorting and shuffling exchange items in place, each item
// keeping its key.

#include "ztldata/collections/collections.hpp"

#include <cstdint>

#include "collections/sorting.hpp"
#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "ztldata/platform/random.hpp"

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

// A collection's items by position 1..Count, for the shared sort and shuffle.
class Positions {
 public:
  explicit Positions(Collection& c) noexcept : c_(c) {}
  const Variant* At(std::int64_t i) const noexcept { return c_.Item(static_cast<Long>(i)); }
  void Exchange(std::int64_t i, std::int64_t j) noexcept { c_.Exchange(static_cast<Long>(i), static_cast<Long>(j)); }

 private:
  Collection& c_;
};

}  // namespace

const ClassInfo kZtCollectionsClass = DefineClass<ZtCollections, "ZtCollections">(
    ClassKind::Utility, {ids::kZtCollectionsClass, ids::kZtCollectionsInterface}, kMembers);

const ClassInfo* ZtCollections::Class() const noexcept { return &kZtCollectionsClass; }

ZtCollections::ZtCollections() noexcept { RandomizeFromClock(); }

Long ZtCollections::Search(const CollectionRef& cllCollection, const Variant& vntKey) noexcept {
  if (!cllCollection) return 0;
  // Running out of memory in a test (fetching a default value) finds nothing.
  return Guarded(Long{0}, [&]() -> Long {
    for (Long p = 1; p <= cllCollection->Count(); ++p) {
      // A test that fails (an item that cannot be compared) counts as a match.
      const Variant* item = cllCollection->Item(p);
      if (!item || collections::Matches(*item, vntKey)) return p;
    }
    return 0;
  });
}

Long ZtCollections::BinarySearch(const CollectionRef& cllCollection, const Variant& vntKey) noexcept {
  // Not found, an empty collection and no collection all give 0.
  if (!cllCollection || cllCollection->Count() == 0) return 0;
  std::int64_t lo = 1, hi = cllCollection->Count();
  for (;;) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    const Variant* item = cllCollection->Item(static_cast<Long>(mid));
    if (!item) return 0;
    const Long c = collections::Order(*item, vntKey);
    if (c == 0) return static_cast<Long>(mid);
    if (c > 0) {
      hi = mid;
      if (lo == hi) return 0;
    } else {
      lo = mid + 1;
      if (lo > hi) return 0;
    }
  }
}

void ZtCollections::Sort(const CollectionRef& cllCollection) noexcept {
  if (!cllCollection || cllCollection->Count() < 1) return;
  Positions items(*cllCollection);
  collections::Sort(items, 1, cllCollection->Count());
}

void ZtCollections::Shuffle(const CollectionRef& cllCollection) noexcept {
  if (!cllCollection || cllCollection->Count() < 1) return;
  Positions items(*cllCollection);
  collections::Shuffle(items, 1, cllCollection->Count());
}

Variant ZtCollections::SearchByKey(const CollectionRef& cllCollection, const Variant& vntKey) noexcept {
  // A text selects by key and a number by position; an object item comes back as a reference
  // to it, any other item as a copy.
  if (!cllCollection) return Variant();
  const Variant* item = cllCollection->Item(vntKey);
  if (!item) return Variant();
  return Guarded(Variant(), [&] { return *item; });
}

}  // namespace ztl
