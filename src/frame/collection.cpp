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
#include "frame/convert.hpp"
#include "frame/failure.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

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
// The host's collection raises its errors; a member that fails throws the error number for
// the dispatch layer.

Collection& Self(Object& self) { return static_cast<Collection&>(self); }

void CallItem(Object& self, Variant* const* args, Variant& result) {
  Long position = 0;
  if (const Long code = Self(self).Locate(*args[0], position)) Fail(code);
  result = *Self(self).Item(position);
}

void CallAdd(Object& self, Variant* const* args, Variant& result) {
  const Variant missing = Variant::Missing();
  auto given = [&](const Variant* v) -> const Variant& { return Omitted(*v) ? missing : *v; };
  if (const Long code = Self(self).Add(*args[0], given(args[1]), given(args[2]), given(args[3]))) Fail(code);
  result = Variant();
}

void CallCount(Object& self, Variant* const*, Variant& result) { result = Self(self).Count(); }

void CallRemove(Object& self, Variant* const* args, Variant& result) {
  if (const Long code = Self(self).Remove(*args[0])) Fail(code);
  result = Variant();
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
    true,
};

const ClassInfo* Collection::Class() const noexcept { return &kCollectionClass; }

// ---- positions and keys ------------------------------------------------------------------

void Collection::Renumber(std::size_t from) noexcept {
  for (std::size_t p = from; p < keys_.size(); ++p) {
    if (keys_[p] != kNoKey) slot_position_[static_cast<std::size_t>(keys_[p])] = p;
  }
}

Long Collection::Insert(std::size_t at, Variant item, std::optional<String> key) noexcept {
  std::int32_t slot = kNoKey;
  const Long code = AttemptCode([&] {
    // Everything that may run out of memory comes first, so a failure changes nothing.
    // Positions are Longs, which bounds the count.
    if (items_.size() >= static_cast<std::size_t>(std::numeric_limits<Long>::max())) Fail(kErrorOutOfMemory);
    Grow(items_);
    Grow(keys_);
    if (!key) return;
    String folded = FoldKey(*key);
    if (by_key_.contains(folded)) Fail(kErrorDuplicateKey);
    if (free_slots_.empty()) {
      if (slot_entry_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        Fail(kErrorOutOfMemory);
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
  });
  if (code != 0) return code;
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), slot);
  if (at + 1 < keys_.size()) Renumber(at + 1);
  return 0;
}

bool Collection::Add(Variant item, std::optional<String> key) noexcept {
  return Insert(items_.size(), std::move(item), std::move(key)) == 0;
}

Long Collection::Add(Variant item, const Variant& key, const Variant& before, const Variant& after) noexcept {
  std::optional<String> text;
  if (!key.IsMissing()) {
    const String* s = key.If<String>();
    if (!s) return kErrorTypeMismatch;
    if (AttemptCode([&] { text = *s; }) != 0) return kErrorOutOfMemory;
  }
  const bool has_before = !before.IsMissing(), has_after = !after.IsMissing();
  if (has_before && has_after) return kErrorInvalidCall;
  std::size_t at = items_.size();
  if (has_before || has_after) {
    Long position = 0;
    if (const Long code = Locate(has_before ? before : after, position)) return code;
    at = static_cast<std::size_t>(has_before ? position - 1 : position);
  }
  return Insert(at, std::move(item), std::move(text));
}

Long Collection::Locate(const Variant& index, Long& position) const noexcept {
  // An object stands for its default value.
  const Variant* value = &index;
  Variant held;
  if (index.IsObject()) {
    if (AttemptCode([&] { held = ValueOf(index); }) != 0) return kErrorTypeMismatch;
    value = &held;
  }
  if (const String* key = value->If<String>()) {
    String folded;
    if (AttemptCode([&] { folded = FoldKey(*key); }) != 0) return kErrorOutOfMemory;
    const auto found = by_key_.find(folded);
    if (found == by_key_.end()) return kErrorInvalidCall;
    position = static_cast<Long>(slot_position_[static_cast<std::size_t>(found->second.slot)] + 1);
    return 0;
  }
  if (!value->IsNumeric() && !value->IsEmpty()) return kErrorTypeMismatch;
  Long p = 0;
  if (const Long code = AttemptCode([&] { p = ToLong(*value); })) return code;
  if (p < 1 || p > Count()) return kErrorInvalidCall;
  position = p;
  return 0;
}

const Variant* Collection::Item(const Variant& index) const noexcept {
  Long position = 0;
  return Locate(index, position) == 0 ? Item(position) : nullptr;
}

const String* Collection::Key(Long position) const noexcept {
  if (position < 1 || position > Count()) return nullptr;
  const std::int32_t slot = keys_[static_cast<std::size_t>(position - 1)];
  return slot == kNoKey ? nullptr : &slot_entry_[static_cast<std::size_t>(slot)]->second.text;
}

Long Collection::Remove(const Variant& index) noexcept {
  Long position = 0;
  if (const Long code = Locate(index, position)) return code;
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
  return 0;
}

}  // namespace ztl
