// Collection: the host's collection object, an ordered list of Variant items at positions
// 1..Count, each with an optional unique key compared without regard to case.
// It is a dispatchable object (Add, Item, Count, Remove); the typed methods below report
// misuse as an error number instead of raising it.
//
// Example:
//   auto c = ztl::Collection::Create();
//   c->Add(u"first", u"k1");
//   c->Add(u"zero", u"k0", ztl::Long{1}, ztl::Variant::Missing());  // before position 1
//   c->Item(u"K1");   // "first": keys ignore case
//   c->Count();       // 2
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ztldata/frame/object.hpp"

namespace ztl {

class Collection;
using CollectionRef = std::shared_ptr<Collection>;

class Collection : public Object {
 public:
  static CollectionRef Create() { return std::make_shared<Collection>(); }
  ~Collection() override { EmptyAll(items_); }

  const ClassInfo* Class() const noexcept override;

  Long Count() const noexcept { return static_cast<Long>(items_.size()); }

  // Adds an item at the end. Returns false (and adds nothing) when the key is already used.
  bool Add(Variant item, std::optional<String> key = std::nullopt) noexcept;

  // Adds an item as a host does: with a key (a text, or Variant::Missing() for none), before
  // the item `Before` selects or after the item `After` selects (each an index as for Item,
  // or Variant::Missing()), or at the end when both are missing.
  // Fails with 457 when the key is used, 5 when Before or After selects no item or both are
  // given, 13 when the key is not text (6, 13 from the index as for Item).
  Status Add(Variant Item, const Variant& Key, const Variant& Before, const Variant& After) noexcept;

  // The item at a position 1..Count, or null outside.
  const Variant* Item(Long position) const noexcept {
    return position >= 1 && position <= Count() ? &items_[static_cast<std::size_t>(position - 1)] : nullptr;
  }
  // The item an index selects: a String selects by key, a number by position (rounded half to
  // even), an object by its default value. Null when it selects none.
  const Variant* Item(const Variant& Index) const noexcept;

  // The position 1..Count an index selects, as for Item. Fails with 5 when no item is
  // selected, 13 for an index that is neither text nor number, 6 for a number beyond the Long
  // range.
  Outcome<Long> Locate(const Variant& Index) const noexcept;

  // The key of the item at a position, or null when it has none or the position is outside.
  const String* Key(Long position) const noexcept;

  // Removes the item an index selects (a position or a key, as for Item). Fails as Locate.
  Status Remove(const Variant& Index) noexcept;

  // Exchanges the items at two positions; each keeps its key. False outside 1..Count.
  bool Exchange(Long position1, Long position2) noexcept;  // (defined below: sorts call it often)

  // The items in order, for iteration: item at position p is Items()[p - 1].
  // Note: adding or removing items invalidates the span.
  std::span<const Variant> Items() const noexcept { return items_; }
  const Variant* begin() const noexcept { return items_.data(); }
  const Variant* end() const noexcept { return items_.data() + items_.size(); }

 private:
  // Keys live in slots: the map finds a key's slot from its case-folded text, and the slot
  // holds the position of the key's item. Exchanging items touches only the two slots'
  // positions, which sit side by side in one vector.
  struct KeyEntry {
    String text;  // as given
    std::int32_t slot;
  };
  using KeyMap = std::unordered_map<String, KeyEntry>;
  static constexpr std::int32_t kNoKey = -1;

  Status Insert(std::size_t at, Variant item, std::optional<String> key) noexcept;
  // Makes room for an item at `at` and claims the key's slot (kNoKey for none); it may run
  // out of memory, and changes nothing else when it fails.
  Outcome<std::int32_t> Reserve(std::size_t at, std::optional<String>& key);
  Outcome<Long> Find(const Variant& index) const;
  // Brings the positions of the keys of the items from a position on up to date.
  void Renumber(std::size_t from) noexcept;

  std::vector<Variant> items_;
  std::vector<std::int32_t> keys_;  // parallel to items_: each item's key slot, or kNoKey
  KeyMap by_key_;
  std::vector<std::size_t> slot_position_;           // 0-based position of each slot's item
  std::vector<KeyMap::value_type*> slot_entry_;      // each slot's map entry; null when free
  std::vector<std::int32_t> free_slots_;
};

// ---- implementation details ------------------------------------------------------------

inline bool Collection::Exchange(Long position1, Long position2) noexcept {
  if (position1 < 1 || position1 > Count() || position2 < 1 || position2 > Count()) return false;
  const auto a = static_cast<std::size_t>(position1 - 1), b = static_cast<std::size_t>(position2 - 1);
  std::swap(items_[a], items_[b]);
  std::swap(keys_[a], keys_[b]);
  if (keys_[a] != kNoKey) slot_position_[static_cast<std::size_t>(keys_[a])] = a;
  if (keys_[b] != kNoKey) slot_position_[static_cast<std::size_t>(keys_[b])] = b;
  return true;
}

}  // namespace ztl
