// Variant and SafeArray: construction, type codes, structural equality and element storage.

#include "ztldata/frame/variant.hpp"

#include <limits>

#include "type_rows.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {

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
Variant::Variant(SafeArray array) { SetPointer(kArray, new SafeArray(std::move(array))); }

const ObjectRef Variant::kNothing;

void Variant::CopyPointerFrom(const Variant& other) {
  switch (other.kind_) {
    case kString: {
      detail::StringBox* box = other.Pointer<detail::StringBox>();
      if (box->shareable) {
        box->refs.fetch_add(1, std::memory_order_relaxed);
      } else {
        box = new detail::StringBox(box->text);
      }
      SetPointer(kString, box);
      return;
    }
    case kObject: {
      const ObjectRef* o = other.Pointer<ObjectRef>();
      SetPointer(kObject, o ? new ObjectRef(*o) : nullptr);
      return;
    }
    case kArray: SetPointer(kArray, new SafeArray(*other.Pointer<SafeArray>())); return;
    default: Store(other.Load()); return;
  }
}

void Variant::ReleasePointer() noexcept {
  switch (kind_) {
    case kString: DropShare(Pointer<detail::StringBox>()); break;
    case kObject: delete Pointer<ObjectRef>(); break;
    case kArray: delete Pointer<SafeArray>(); break;
    default: break;
  }
  Store({0, 0});
}

void Variant::DropShare(detail::StringBox* box) noexcept {
  // The only holder frees the block without a locked instruction: no other Variant can reach
  // it to take a share meanwhile.
  if (box->refs.load(std::memory_order_acquire) == 1 || box->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    delete box;
  }
}

void EmptyAll(std::span<Variant> values) noexcept {
  // Freeing a text touches its block and then the block of its characters, two cache misses
  // when the values were made long ago. Each block is fetched two strides ahead, and the
  // characters' block one stride ahead, once its pointer has arrived.
  constexpr std::size_t kStride = 8;
  const std::size_t n = values.size();
  auto box_of = [&](std::size_t i) {
    return values[i].kind_ == Variant::kString ? values[i].Pointer<detail::StringBox>() : nullptr;
  };
  for (std::size_t i = 0; i < n; ++i) {
    if (i + 2 * kStride < n) {
      if (const detail::StringBox* ahead = box_of(i + 2 * kStride)) __builtin_prefetch(ahead);
    }
    if (i + kStride < n) {
      if (const detail::StringBox* near = box_of(i + kStride)) __builtin_prefetch(near->text.data() - 8);
    }
    if (values[i].HoldsPointer()) {
      values[i].ReleasePointer();
    } else {
      values[i].Store({0, 0});
    }
  }
}

detail::StringBox* Variant::DetachString() {
  detail::StringBox* shared = Pointer<detail::StringBox>();
  auto* own = new detail::StringBox(shared->text);
  DropShare(shared);
  SetPointer(kString, own);
  return own;
}

ObjectRef* Variant::MutableObject() {
  ObjectRef* o = Pointer<ObjectRef>();
  if (!o) {
    o = new ObjectRef();
    SetPointer(kObject, o);
  }
  return o;
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.kind_ != b.kind_) return false;
  return a.Visit([&](const auto& x) {
    using T = std::decay_t<decltype(x)>;
    if constexpr (std::is_same_v<T, EmptyValue>) {
      return true;
    } else {
      return x == *b.If<T>();
    }
  });
}

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
