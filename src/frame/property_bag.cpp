// PropertyBag: keyed saved values of one component.

#include "ztldata/frame/property_bag.hpp"

#include "ztldata/platform/names.hpp"

namespace ztl {

Variant PropertyBag::ReadProperty(std::u16string_view key, const Variant& default_value) const {
  for (const auto& [k, v] : entries_) {
    if (EqualsIgnoringAsciiCase(k, key)) return v;
  }
  return default_value;
}

void PropertyBag::WriteProperty(std::u16string_view key, const Variant& value,
                                const std::optional<Variant>& default_value) {
  auto existing = entries_.begin();
  while (existing != entries_.end() && !EqualsIgnoringAsciiCase(existing->first, key)) ++existing;
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
