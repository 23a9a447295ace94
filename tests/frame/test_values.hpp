// Values the frame tests build again and again: a host object with an optional default
// value, Decimals and an Error value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "ztldata/frame/object.hpp"

namespace ztl::testing_values {

// A host object whose default value is the one given (none when empty).
class Holder : public Object {
 public:
  explicit Holder(std::optional<Variant> value) : value_(std::move(value)) {}
  std::optional<Variant> DefaultValue() const noexcept override { return value_; }

 private:
  std::optional<Variant> value_;
};

inline Variant Obj(std::optional<Variant> value) {
  return ObjectRef(std::make_shared<Holder>(std::move(value)));
}
inline Variant Dec(std::uint64_t magnitude, std::uint8_t scale, bool negative = false) {
  return Decimal{magnitude, 0, scale, negative};
}
inline Variant Err() { return ErrorValue{static_cast<std::int32_t>(0x800A000Du)}; }

}  // namespace ztl::testing_values
