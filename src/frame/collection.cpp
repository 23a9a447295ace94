// Collection: ordered items with optional unique keys, its interface table and its late-bound
// members. Items sit in one vector (item by position is an index); a hash map leads from a
// key's case-folded text to its slot, which holds the position of its item (item by key is one
// lookup). Adding or removing in the middle shifts the items after it and renumbers their keys.

#include "ztldata/frame/collection.hpp"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "frame/classes.hpp"
#include "frame/boundary.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {

namespace {

// Keys compare as the host's collection compares them, without regard to case. A key is
// folded code point by code point with Unicode simple case folding, so "A"/"a", "Ä"/"ä",
// "Ÿ"/"ÿ" and every other cased pair of any script are the same key; the length never
// changes, and "ß" stays apart from "ss". A lone surrogate is kept as it is.
String FoldKey(const String& key) {
  String folded;
  folded.reserve(key.size());
  const std::size_t length = key.size();
  for (std::size_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(key.data(), i, length, c);
    const UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
    if (U_IS_BMP(f)) {
      folded += static_cast<char16_t>(f);
    } else {
      folded += static_cast<char16_t>(U16_LEAD(f));
      folded += static_cast<char16_t>(U16_TRAIL(f));
    }
  }
  return folded;
}

// What an optional parameter of the late-bound Add holds when the caller left it out: a
// Unicode noncharacter, which no host text is meant to carry.
constexpr std::u16string_view kOmitted = u"\uFDD0";

// Room for one more element, growing the capacity geometrically.
template <class T>
void Grow(std::vector<T>& v) {
  if (v.size() == v.capacity()) v.reserve(std::max<std::size_t>(8, 2 * v.capacity()));
}

bool Omitted(const Variant& v) {
  if (v.IsMissing()) return true;
  const String* s = v.If<String>();
  return s && *s == kOmitted;
}

// ---- the late-bound members ------------------------------------------------------------
// The host's collection raises its errors: a member that fails returns the error number for
// the dispatch layer to report.

Collection& Self(Object& self) { return static_cast<Collection&>(self); }

Status CallItem(Object& self, Variant* const* args, Variant& result) {
  ZTL_TRY(position, Self(self).Locate(*args[0]));
  result = *Self(self).Item(position);
  return Done();
}

Status CallAdd(Object& self, Variant* const* args, Variant& result) {
  const Variant missing = Variant::Missing();
  auto given = [&](const Variant* v) -> const Variant& { return Omitted(*v) ? missing : *v; };
  ZTL_CHECK(Self(self).Add(*args[0], given(args[1]), given(args[2]), given(args[3])));
  result = Variant();
  return Done();
}

Status CallCount(Object& self, Variant* const*, Variant& result) {
  result = Self(self).Count();
  return Done();
}

Status CallRemove(Object& self, Variant* const* args, Variant& result) {
  ZTL_CHECK(Self(self).Remove(*args[0]));
  result = Variant();
  return Done();
}

constexpr ParamInfo kIndex[] = {In("Index", Type::Variant)};
constexpr ParamInfo kAdd[] = {In("Item", Type::Variant), Optional("Key", Type::Variant, kOmitted),
                              Optional("Before", Type::Variant, kOmitted),
                              Optional("After", Type::Variant, kOmitted)};

// The host's own identifiers: Item is the default member (dispatch id 0).
constexpr MemberInfo kMembers[] = {
    {"Item", 0, MemberKind::Method, kIndex, Type::Variant, nullptr, &CallItem},
    {"Add", 1, MemberKind::Method, kAdd, Type::Void, nullptr, &CallAdd},
    {"Count", 2, MemberKind::Method, {}, Type::Long, nullptr, &CallCount},
    {"Remove", 3, MemberKind::Method, kIndex, Type::Void, nullptr, &CallRemove},
};

}  // namespace

// A host makes its own collections, so the registry does not list this class.
const ClassInfo kCollectionClass = {
    "Collection", "_Collection", "", ClassKind::Utility,
    ids::kCollectionClass, ids::kCollectionInterface, {},
    kMembers,
    [] { return ObjectRef(Collection::Create()); },
};

const ClassInfo* Collection::Class() const noexcept { return &kCollectionClass; }

// ---- positions and keys ------------------------------------------------------------------

void Collection::Renumber(std::size_t from) noexcept {
  for (std::size_t p = from; p < keys_.size(); ++p) {
    if (keys_[p] != kNoKey) slot_position_[static_cast<std::size_t>(keys_[p])] = p;
  }
}

Outcome<std::int32_t> Collection::Reserve(std::size_t at, std::optional<String>& key) {
  Grow(items_);
  Grow(keys_);
  if (!key) return kNoKey;
  String folded = FoldKey(*key);
  if (by_key_.contains(folded)) return Fail(kKeyInUse);
  std::int32_t slot = kNoKey;
  if (free_slots_.empty()) {
    if (slot_entry_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
      return Fail(kOutOfMemory);
    }
    Grow(slot_position_);
    Grow(slot_entry_);
    // Room for every slot to be freed, so that removing never allocates.
    if (free_slots_.capacity() < slot_entry_.capacity()) free_slots_.reserve(slot_entry_.capacity());
    slot = static_cast<std::int32_t>(slot_entry_.size());
  } else {
    slot = free_slots_.back();
  }
  KeyMap::value_type& entry = *by_key_.emplace(std::move(folded), KeyEntry{std::move(*key), slot}).first;
  // Nothing below allocates.
  if (slot == static_cast<std::int32_t>(slot_entry_.size())) {
    slot_position_.push_back(at);
    slot_entry_.push_back(&entry);
  } else {
    free_slots_.pop_back();
    slot_position_[static_cast<std::size_t>(slot)] = at;
    slot_entry_[static_cast<std::size_t>(slot)] = &entry;
  }
  return slot;
}

Status Collection::Insert(std::size_t at, Variant item, std::optional<String> key) noexcept {
  // Positions are Longs, which bounds the count.
  if (items_.size() >= static_cast<std::size_t>(std::numeric_limits<Long>::max())) return Fail(kOutOfMemory);
  // Everything that may run out of memory comes first, so a failure changes nothing.
  const Outcome<std::int32_t> slot =
      Guarded(Outcome<std::int32_t>(Fail(kOutOfMemory)), [&] { return Reserve(at, key); });
  if (!slot) return slot.failure();
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), *slot);
  if (at + 1 < keys_.size()) Renumber(at + 1);
  return Done();
}

bool Collection::Add(Variant item, std::optional<String> key) noexcept {
  return Insert(items_.size(), std::move(item), std::move(key)).ok();
}

Status Collection::Add(Variant item, const Variant& key, const Variant& before, const Variant& after) noexcept {
  std::optional<String> text;
  if (!key.IsMissing()) {
    const String* s = key.If<String>();
    if (!s) return Fail(kTypeMismatch);
    if (!Guarded(false, [&] { return text.emplace(*s), true; })) return Fail(kOutOfMemory);
  }
  const bool has_before = !before.IsMissing(), has_after = !after.IsMissing();
  if (has_before && has_after) return Fail(kInvalidProcedureCall);
  std::size_t at = items_.size();
  if (has_before || has_after) {
    ZTL_TRY(position, Locate(has_before ? before : after));
    at = static_cast<std::size_t>(has_before ? position - 1 : position);
  }
  return Insert(at, std::move(item), std::move(text));
}

Outcome<Long> Collection::Locate(const Variant& index) const noexcept {
  return Guarded(Outcome<Long>(Fail(kOutOfMemory)), [&] { return Find(index); });
}

Outcome<Long> Collection::Find(const Variant& index) const {
  // An object stands for its default value; one without is no index.
  const Variant* value = &index;
  Variant held;
  if (index.IsObject()) {
    Outcome<Variant> inner = ValueOf(index);
    if (!inner) return Fail(kTypeMismatch);
    held = *std::move(inner);
    value = &held;
  }
  if (const String* key = value->If<String>()) {
    const auto found = by_key_.find(FoldKey(*key));
    if (found == by_key_.end()) return Fail(kInvalidProcedureCall);
    return static_cast<Long>(slot_position_[static_cast<std::size_t>(found->second.slot)] + 1);
  }
  if (!value->IsNumeric() && !value->IsEmpty()) return Fail(kTypeMismatch);
  ZTL_TRY(p, ToLong(*value));
  if (p < 1 || p > Count()) return Fail(kInvalidProcedureCall);
  return p;
}

const Variant* Collection::Item(const Variant& index) const noexcept {
  const Outcome<Long> position = Locate(index);
  return position ? Item(*position) : nullptr;
}

const String* Collection::Key(Long position) const noexcept {
  if (position < 1 || position > Count()) return nullptr;
  const std::int32_t slot = keys_[static_cast<std::size_t>(position - 1)];
  return slot == kNoKey ? nullptr : &slot_entry_[static_cast<std::size_t>(slot)]->second.text;
}

Status Collection::Remove(const Variant& index) noexcept {
  ZTL_TRY(position, Locate(index));
  const std::size_t at = static_cast<std::size_t>(position - 1);
  if (const std::int32_t slot = keys_[at]; slot != kNoKey) {
    KeyMap::value_type*& entry = slot_entry_[static_cast<std::size_t>(slot)];
    by_key_.erase(by_key_.find(entry->first));
    entry = nullptr;
    free_slots_.push_back(slot);  // never allocates: it has room for every slot
  }
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(at));
  keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(at));
  Renumber(at);
  return Done();
}

}  // namespace ztl
