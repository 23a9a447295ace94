// Variant, the tagged value of the interface, and SafeArray, the array a Variant may hold.
// Conversions between kinds and the text of a value are in convert.hpp.
//
// Example:
//   ztl::Variant v = 97;              // a Long
//   ztl::Variant s = u"text";         // a String
//   if (const ztl::Long* n = v.If<ztl::Long>()) { ... }
#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "ztldata/base/outcome.hpp"
#include "ztldata/base/types.hpp"

namespace ztl {

class Object;
class SafeArray;
using ObjectRef = std::shared_ptr<Object>;  // an object reference; null is Nothing

// The automation type codes. An array is kArray | its element type (kVariant for Variant elements).
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Variant = 12,  // only as the element type of an array
  Decimal = 14,
  Byte = 17,
  Array = 0x2000,
};

constexpr VarType operator|(VarType a, VarType b) {
  return static_cast<VarType>(static_cast<std::uint16_t>(a) | static_cast<std::uint16_t>(b));
}

// The name of a type code as the type library writes it ("Long", "String", "Variant" ...); for an
// array type, the name of its element type.
std::string_view VarTypeName(VarType type) noexcept;

using EmptyValue = std::monostate;  // the value of an Empty Variant

struct NullValue {
  friend constexpr bool operator==(NullValue, NullValue) = default;
};
inline constexpr NullValue Null{};

namespace detail {
// Holds an array with value semantics: copying the box copies the elements.
class ArrayBox {
 public:
  explicit ArrayBox(SafeArray array);
  ArrayBox(const ArrayBox& other);
  ArrayBox(ArrayBox&&) noexcept = default;
  ArrayBox& operator=(const ArrayBox& other);
  ArrayBox& operator=(ArrayBox&&) noexcept = default;
  ~ArrayBox();
  SafeArray& get() const noexcept { return *array_; }
  friend bool operator==(const ArrayBox& a, const ArrayBox& b);

 private:
  std::unique_ptr<SafeArray> array_;
};
}  // namespace detail

// Variant: one value of any kind the interface carries.
//
// The kinds, in the order that groups them (every numeric kind lies between Boolean and Decimal):
//   Empty, Null, Boolean, Byte, Integer, Long, Currency, Single, Double, Date, Decimal,
//   String, Object, Error, Array.
// Copying a Variant copies an array's elements; object references are shared.
//
// Conversion policy (convert.hpp; every rule below is the host platform's):
//   - To Integer, Long or Byte: fractions round half to even (2.5 -> 2, 3.5 -> 4); a value
//     outside the target's range fails with overflow (6). Boolean is -1 or 0, Empty is 0.
//   - To Boolean: any number other than 0 is True; a text must read as a number, or be
//     "True"/"False" (any case) or "#TRUE#"/"#FALSE#" (upper case only).
//   - Text to number reads the platform's number text (leading/trailing blanks, one sign,
//     parentheses, thousands separators, "$", exponents, &H and &O); anything else is a
//     type mismatch (13). Number to text writes up to 15 significant digits (7 for Single).
//   - To Decimal: whole numbers get scale 0, a Currency scale 4 (1 -> 1.0000); a real or a
//     text keeps no trailing zeros (0.50 -> 0.5, "1.50" -> 1.5). A Decimal's text drops them
//     too; DecimalToScaledText keeps the scale.
//   - Text to Date reads the platform's US English date and time texts ("1/2/1970",
//     "2 Jan 1970", "1970-01-02 18:30", "6:30 PM"; see docs/dates.md), never a day count.
//   - Null converts to nothing but Variant (type mismatch); Empty is 0, "" or False.
//   - An object converts through its default value; without one it fails (438; Nothing: 91).
//   - An array converts to nothing but an array (type mismatch).
class Variant {
 public:
  Variant() noexcept = default;  // Empty
  Variant(NullValue) noexcept : value_(std::in_place_index<kNull>) {}
  Variant(Boolean b) noexcept : value_(std::in_place_index<kBoolean>, b) {}
  Variant(Byte b) noexcept : value_(std::in_place_index<kByte>, b) {}
  Variant(Integer i) noexcept : value_(std::in_place_index<kInteger>, i) {}
  Variant(Long l) noexcept : value_(std::in_place_index<kLong>, l) {}
  // Wider integers become a Long when they fit, a Double otherwise.
  Variant(long l) noexcept;
  Variant(long long l) noexcept;
  Variant(Currency c) noexcept : value_(std::in_place_index<kCurrency>, c) {}
  Variant(Single s) noexcept : value_(std::in_place_index<kSingle>, s) {}
  Variant(Double d) noexcept : value_(std::in_place_index<kDouble>, d) {}
  Variant(Date d) noexcept : value_(std::in_place_index<kDate>, d) {}
  Variant(Decimal d) noexcept : value_(std::in_place_index<kDecimal>, d) {}
  Variant(String s) noexcept : value_(std::in_place_index<kString>, std::move(s)) {}
  Variant(std::u16string_view s) : value_(std::in_place_index<kString>, s) {}
  Variant(const char16_t* s) : value_(std::in_place_index<kString>, s) {}
  Variant(const char*) = delete;  // say u"..." for a String
  Variant(ObjectRef o) noexcept : value_(std::in_place_index<kObject>, std::move(o)) {}
  Variant(std::nullptr_t) noexcept : value_(std::in_place_index<kObject>) {}  // Nothing
  Variant(ErrorValue e) noexcept : value_(std::in_place_index<kError>, e) {}
  Variant(SafeArray array);

  // An Error value that marks an optional argument left out by the caller.
  static Variant Missing() noexcept { return ErrorValue{ErrorValue::kParamNotFound}; }

  // The automation type code; for an array, VarType::Array | its element type.
  VarType Type() const noexcept;

  bool IsEmpty() const noexcept { return value_.index() == kEmpty; }
  bool IsNull() const noexcept { return value_.index() == kNull; }
  bool IsNumeric() const noexcept {  // Boolean, Byte, Integer, Long, Currency, Single, Double, Date, Decimal
    return value_.index() >= kBoolean && value_.index() <= kDecimal;
  }
  bool IsString() const noexcept { return value_.index() == kString; }
  bool IsObject() const noexcept { return value_.index() == kObject; }
  bool IsArray() const noexcept { return value_.index() == kArray; }
  bool IsMissing() const noexcept;

  // The value when the Variant holds kind T, otherwise null. T is one of the scalar types,
  // NullValue, String, ObjectRef, ErrorValue or SafeArray.
  template <class T> const T* If() const noexcept;
  template <class T> T* If() noexcept;

  // Calls f with the value the Variant holds, as one of: EmptyValue, NullValue, Boolean, Byte,
  // Integer, Long, Currency, Single, Double, Date, Decimal, String, ObjectRef, ErrorValue or
  // SafeArray; returns what f returns. The one place that lists the alternatives.
  //   v.Visit([](const auto& x) { ... });
  template <class F> decltype(auto) Visit(F&& f) const;
  template <class F> decltype(auto) Visit(F&& f);

  // Whether two Variants hold the same kind and the same value (arrays element by element,
  // objects by identity). Not the platform's comparison, which converts between kinds.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  enum Index : std::size_t {
    kEmpty, kNull, kBoolean, kByte, kInteger, kLong, kCurrency, kSingle, kDouble, kDate,
    kDecimal, kString, kObject, kError, kArray,
  };
  using Storage = std::variant<std::monostate, NullValue, Boolean, Byte, Integer, Long, Currency,
                               Single, Double, Date, Decimal, String, ObjectRef, ErrorValue,
                               detail::ArrayBox>;
  Storage value_;
};

// One dimension of an array: its lower bound and its element count (upper = lower + count - 1).
struct ArrayBound {
  Long lower = 0;
  Long count = 0;
  Long upper() const noexcept { return static_cast<Long>(lower + static_cast<long long>(count) - 1); }
  friend constexpr bool operator==(const ArrayBound&, const ArrayBound&) = default;
};

// SafeArray: an array of 0..n dimensions, each with its own bounds, of one element type.
// With no dimensions it is "not allocated" (a dynamic array before its first ReDim).
// Elements are stored first dimension fastest, each as a Variant of the element type
// (any kind for an array of Variants).
// Note: Put converts a value to the element type; writing through Elements() must keep it.
class SafeArray {
 public:
  // An unallocated array of Variants.
  SafeArray() = default;
  // An unallocated array of the given element type.
  explicit SafeArray(VarType element) : element_(element) {}
  // An allocated array; every element starts at its type's default (Empty for Variants).
  SafeArray(VarType element, std::vector<ArrayBound> bounds);
  // A one-dimensional array of Variants holding the given items, the first at `lower`.
  static SafeArray Of(std::vector<Variant> items, Long lower = 0);

  VarType ElementType() const noexcept { return element_; }
  int Dims() const noexcept { return static_cast<int>(bounds_.size()); }
  bool Allocated() const noexcept { return !bounds_.empty(); }
  std::span<const ArrayBound> Bounds() const noexcept { return bounds_; }
  std::size_t Size() const noexcept { return elements_.size(); }

  // Storage-order access (first dimension fastest).
  std::span<Variant> Elements() noexcept { return elements_; }
  std::span<const Variant> Elements() const noexcept { return elements_; }

  // The storage offset of an index (one subscript per dimension), or -1 outside the bounds.
  std::ptrdiff_t Offset(std::span<const Long> index) const noexcept;

  // Stores a value at a storage offset, converted to the element type. Fails with 9 for an
  // offset outside the array and with the conversion's error (13, 6); the element then keeps
  // its value.
  Status Put(std::size_t offset, const Variant& value);

  friend bool operator==(const SafeArray& a, const SafeArray& b) = default;

 private:
  VarType element_ = VarType::Variant;
  std::vector<ArrayBound> bounds_;
  std::vector<Variant> elements_;
};

// A set of lambdas as one visitor for Variant::Visit, each lambda taking the alternative it
// names (a generic one takes the rest):
//   v.Visit(ztl::Overloaded{[](const ztl::String& s) { ... }, [](const auto&) { ... }});
template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// ---- implementation details ------------------------------------------------------------

template <class T> const T* Variant::If() const noexcept {
  if constexpr (std::is_same_v<T, SafeArray>) {
    const auto* box = std::get_if<kArray>(&value_);
    return box ? &box->get() : nullptr;
  } else {
    return std::get_if<T>(&value_);
  }
}

template <class F> decltype(auto) Variant::Visit(F&& f) const {
  return std::visit(
      [&f](const auto& x) -> decltype(auto) {
        if constexpr (std::is_same_v<std::decay_t<decltype(x)>, detail::ArrayBox>) {
          return std::forward<F>(f)(static_cast<const SafeArray&>(x.get()));
        } else {
          return std::forward<F>(f)(x);
        }
      },
      value_);
}

template <class F> decltype(auto) Variant::Visit(F&& f) {
  return std::visit(
      [&f](auto& x) -> decltype(auto) {
        if constexpr (std::is_same_v<std::decay_t<decltype(x)>, detail::ArrayBox>) {
          return std::forward<F>(f)(x.get());
        } else {
          return std::forward<F>(f)(x);
        }
      },
      value_);
}

template <class T> T* Variant::If() noexcept {
  if constexpr (std::is_same_v<T, SafeArray>) {
    auto* box = std::get_if<kArray>(&value_);
    return box ? &box->get() : nullptr;
  } else {
    return std::get_if<T>(&value_);
  }
}

}  // namespace ztl
