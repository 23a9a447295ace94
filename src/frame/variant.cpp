// Variant and SafeArray: construction, type codes, structural equality and element storage.

#include "ztldata/frame/variant.hpp"

#include <limits>

#include "type_rows.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {

namespace detail {
ArrayBox::ArrayBox(SafeArray array) : array_(std::make_unique<SafeArray>(std::move(array))) {}
ArrayBox::ArrayBox(const ArrayBox& other) : array_(std::make_unique<SafeArray>(*other.array_)) {}
ArrayBox& ArrayBox::operator=(const ArrayBox& other) {
  if (this != &other) array_ = std::make_unique<SafeArray>(*other.array_);
  return *this;
}
ArrayBox::~ArrayBox() = default;
bool operator==(const ArrayBox& a, const ArrayBox& b) { return *a.array_ == *b.array_; }
}  // namespace detail

namespace {
template <class T>
Variant FromWide(T l) noexcept {
  if (l >= std::numeric_limits<Long>::min() && l <= std::numeric_limits<Long>::max()) {
    return Variant(static_cast<Long>(l));
  }
  return Variant(static_cast<Double>(l));
}
}  // namespace

Variant::Variant(long l) noexcept : Variant(FromWide(l)) {}
Variant::Variant(long long l) noexcept : Variant(FromWide(l)) {}
Variant::Variant(SafeArray array) : value_(std::in_place_index<kArray>, std::move(array)) {}

VarType Variant::Type() const noexcept {
  static constexpr VarType kCodes[] = {
      VarType::Empty,  VarType::Null,   VarType::Boolean, VarType::Byte,    VarType::Integer,
      VarType::Long,   VarType::Currency, VarType::Single, VarType::Double, VarType::Date,
      VarType::Decimal, VarType::String, VarType::Object, VarType::Error,
  };
  if (const SafeArray* a = If<SafeArray>()) return VarType::Array | a->ElementType();
  return kCodes[value_.index()];
}

bool Variant::IsMissing() const noexcept {
  const ErrorValue* e = If<ErrorValue>();
  return e && e->code == ErrorValue::kParamNotFound;
}

bool operator==(const Variant& a, const Variant& b) { return a.value_ == b.value_; }

std::string_view VarTypeName(VarType type) noexcept {
  switch (static_cast<VarType>(static_cast<std::uint16_t>(type) & 0x0FFF)) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::Single: return "Single";
    case VarType::Double: return "Double";
    case VarType::Currency: return "Currency";
    case VarType::Date: return "Date";
    case VarType::String: return "String";
    case VarType::Object: return "Object";
    case VarType::Error: return "Error";
    case VarType::Boolean: return "Boolean";
    case VarType::Variant: return "Variant";
    case VarType::Decimal: return "Decimal";
    case VarType::Byte: return "Byte";
    default: return "Unknown";
  }
}

// ---- SafeArray --------------------------------------------------------------------------


SafeArray::SafeArray(VarType element, std::vector<ArrayBound> bounds)
    : element_(element), bounds_(std::move(bounds)) {
  std::size_t total = bounds_.empty() ? 0 : 1;
  for (const ArrayBound& b : bounds_) total *= b.count > 0 ? static_cast<std::size_t>(b.count) : 0;
  elements_.assign(total, InitialValue(element_));
}

SafeArray SafeArray::Of(std::vector<Variant> items, Long lower) {
  SafeArray a;
  a.bounds_.push_back({lower, static_cast<Long>(items.size())});
  a.elements_ = std::move(items);
  return a;
}

std::ptrdiff_t SafeArray::Offset(std::span<const Long> index) const noexcept {
  if (index.size() != bounds_.size() || bounds_.empty()) return -1;
  std::ptrdiff_t offset = 0;
  std::ptrdiff_t stride = 1;
  for (std::size_t d = 0; d < bounds_.size(); ++d) {
    long long i = static_cast<long long>(index[d]) - bounds_[d].lower;
    if (i < 0 || i >= bounds_[d].count) return -1;
    offset += static_cast<std::ptrdiff_t>(i) * stride;
    stride *= bounds_[d].count;
  }
  return offset;
}

Status SafeArray::Put(std::size_t offset, const Variant& value) {
  if (offset >= elements_.size()) return Fail(kSubscriptOutOfRange);
  if (element_ == VarType::Variant) {
    elements_[offset] = value;
    return Done();
  }
  ZTL_TRY(converted, ChangeType(value, element_));
  elements_[offset] = std::move(converted);
  return Done();
}

}  // namespace ztl
