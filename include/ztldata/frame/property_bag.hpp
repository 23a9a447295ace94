// PropertyBag: the saved properties of one component, read and written by key.
// A container hands one to each component when it saves (WriteProperties) and loads
// (ReadProperties) a form.
#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "ztldata/frame/variant.hpp"

namespace ztl {

class PropertyBag {
 public:
  // A bag that leaves out values equal to the default they are written with (the usual
  // behaviour), or one that keeps every value.
  explicit PropertyBag(bool omit_defaults = true) : omit_defaults_(omit_defaults) {}

  // The saved value of a key (compared without regard to case), or the default when the
  // key is absent.
  Variant ReadProperty(std::u16string_view key, const Variant& default_value) const;

  // Saves a value under a key, replacing an earlier one. With a default, the bag may leave
  // the value out when it equals the default (a later read then yields the same default).
  void WriteProperty(std::u16string_view key, const Variant& value,
                     const std::optional<Variant>& default_value = std::nullopt);

  // The saved entries in the order they were first written.
  const std::vector<std::pair<String, Variant>>& Entries() const noexcept { return entries_; }
  // Adds an entry as read from a saved document.
  void Restore(String key, Variant value) { entries_.emplace_back(std::move(key), std::move(value)); }

 private:
  bool omit_defaults_;
  std::vector<std::pair<String, Variant>> entries_;
};

}  // namespace ztl
