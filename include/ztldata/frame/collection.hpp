// Collection: the host's collection object, an ordered list of Variant items at positions
// 1..Count, each with an optional unique key compared without regard to case.
//
// Example:
//   auto c = ztl::Collection::Create();
//   c->Add(u"first", u"k1");
//   c->Count();  // 1
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "ztldata/frame/object.hpp"

namespace ztl {

class Collection;
using CollectionRef = std::shared_ptr<Collection>;

class Collection : public Object {
 public:
  static CollectionRef Create() { return std::make_shared<Collection>(); }

  Long Count() const noexcept { return static_cast<Long>(items_.size()); }

  // Adds an item at the end. Returns false (and adds nothing) when the key is already used.
  bool Add(Variant item, std::optional<String> key = std::nullopt);

  // The item at a position 1..Count, or null outside.
  const Variant* Item(Long position) const noexcept;
  // The key of the item at a position, or null when it has none or the position is outside.
  const String* Key(Long position) const noexcept;

  // Removes the item at a position; false outside 1..Count.
  bool Remove(Long position) noexcept;

 private:
  struct Entry {
    Variant value;
    std::optional<String> key;
  };
  std::vector<Entry> items_;
};

}  // namespace ztl
