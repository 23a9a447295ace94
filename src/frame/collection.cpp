// Collection: ordered items with optional keys compared without regard to case.

#include "ztldata/frame/collection.hpp"

namespace ztl {

namespace {
// Keys compare as the host's collection compares them: without regard to case.
bool SameKey(const String& a, const String& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

bool Collection::Add(Variant item, std::optional<String> key) {
  if (key) {
    for (const Entry& e : items_) {
      if (e.key && SameKey(*e.key, *key)) return false;
    }
  }
  items_.push_back({std::move(item), std::move(key)});
  return true;
}

const Variant* Collection::Item(Long position) const noexcept {
  if (position < 1 || position > Count()) return nullptr;
  return &items_[static_cast<std::size_t>(position - 1)].value;
}

const String* Collection::Key(Long position) const noexcept {
  if (position < 1 || position > Count()) return nullptr;
  const auto& key = items_[static_cast<std::size_t>(position - 1)].key;
  return key ? &*key : nullptr;
}

bool Collection::Remove(Long position) noexcept {
  if (position < 1 || position > Count()) return false;
  items_.erase(items_.begin() + (position - 1));
  return true;
}

}  // namespace ztl
