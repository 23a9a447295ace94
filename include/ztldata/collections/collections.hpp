// ZtCollections: searching, sorting and shuffling the host's collection object in place.
// A stateless utility class; creating one reseeds the library's random generator.
//
// Example:
//   auto c = ztl::Collection::Create();
//   c->Add(3); c->Add(1); c->Add(2);
//   ztl::ZtCollections collections;
//   collections.Sort(c);            // 1, 2, 3
//   collections.Search(c, 2);       // 2
#pragma once

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtCollections : public Object {
 public:
  // Note: reseeds the shared random generator from the clock, which also changes the sequence
  // every other user of the generator sees (call SeedRandom after creating it to reproduce).
  ZtCollections() noexcept;

  const ClassInfo* Class() const noexcept override;

  // The position of the first item equal to the key; 0 when none is.
  Long Search(const CollectionRef& cllCollection, const Variant& vntKey) noexcept;
  // Binary search of a collection sorted ascending; 0 when the key is absent, the collection
  // empty or none given.
  Long BinarySearch(const CollectionRef& cllCollection, const Variant& vntKey) noexcept;
  // Sorts ascending in place (random pivot; not stable). Every item keeps its key.
  void Sort(const CollectionRef& cllCollection) noexcept;
  // Shuffles in place. Every item keeps its key.
  void Shuffle(const CollectionRef& cllCollection) noexcept;
  // The item a text key or a position selects; Empty when there is none.
  Variant SearchByKey(const CollectionRef& cllCollection, const Variant& vntKey) noexcept;
};

}  // namespace ztl
