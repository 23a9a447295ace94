// Values the frame tests build again and again: host objects with a default value, and
// Decimals.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "ztldata/frame/object.hpp"

namespace ztl::testing_values {

// A host object whose default value is read from a list, one entry per request, the last one
// again and again; an empty entry means it has none.
struct Holder : Object {
  explicit Holder(std::vector<std::optional<Variant>> values) : values(std::move(values)) {}
  std::optional<Variant> DefaultValue() const noexcept override { return values[std::min(next++, values.size() - 1)]; }
  std::vector<std::optional<Variant>> values;
  mutable std::size_t next = 0;
};

// A host object whose default value is the one given (none when empty).
inline Variant Obj(std::optional<Variant> value) { return ObjectRef(std::make_shared<Holder>(std::vector{value})); }
inline Variant Dec(std::uint64_t magnitude, std::uint8_t scale, bool negative = false) {
  return Decimal{magnitude, 0, scale, negative};
}

}  // namespace ztl::testing_values
