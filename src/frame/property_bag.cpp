// PropertyBag: keyed saved values of one component.

#include "ztldata/frame/property_bag.hpp"

#include "text_compare.hpp"

namespace ztl {

namespace {
bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}
}  // namespace

Variant PropertyBag::ReadProperty(std::u16string_view key, const Variant& default_value) const {
  for (const auto& [k, v] : entries_) {
    if (SameKey(k, key)) return v;
  }
  return default_value;
}

void PropertyBag::WriteProperty(std::u16string_view key, const Variant& value,
                                const std::optional<Variant>& default_value) {
  auto existing = entries_.begin();
  while (existing != entries_.end() && !SameKey(existing->first, key)) ++existing;
  if (omit_defaults_ && default_value && *default_value == value) {
    if (existing != entries_.end()) entries_.erase(existing);
    return;
  }
  if (existing != entries_.end()) {
    existing->second = value;
  } else {
    entries_.emplace_back(String(key), value);
  }
}

}  // namespace ztl
