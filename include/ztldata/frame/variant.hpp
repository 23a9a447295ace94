// Variant, the tagged value of the interface, and SafeArray, the array a Variant may hold.
// Conversions between kinds and the text of a value are in convert.hpp.
//
// Example:
//   ztl::Variant v = 97;              // a Long
//   ztl::Variant s = u"text";         // a String
//   if (const ztl::Long* n = v.If<ztl::Long>()) { ... }
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <type_traits>
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
// The text of a String Variant: one heap block shared by copies until one of them asks to
// change it (copy on write). A holder that hands out a mutable String* first takes a block of
// its own and marks it unshareable, so copies made later copy the text: the pointer handed
// out can only ever write into its own Variant's text.
struct StringBox {
  explicit StringBox(String s) noexcept : text(std::move(s)) {}
  // Blocks come from slabs of their own rather than the general heap (text_blocks.cpp).
  static void* operator new(std::size_t size);
  static void operator delete(void* block) noexcept;
  std::atomic<std::int32_t> refs{1};
  bool shareable = true;
  String text;
};

// The kinds whose mutable access may need a heap block of their own first.
template <class T>
inline constexpr bool kAllocatesWhenMutable = std::is_same_v<T, String> || std::is_same_v<T, ObjectRef>;
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
  Variant() noexcept { Store({0, 0}); }  // Empty
  Variant(NullValue) noexcept { Store({0, Tag(kNull)}); }
  Variant(Boolean b) noexcept { Set(kBoolean, b); }
  Variant(Byte b) noexcept { Set(kByte, b); }
  Variant(Integer i) noexcept { Set(kInteger, i); }
  Variant(Long l) noexcept { Set(kLong, l); }
  // Wider integers become a Long when they fit, a Double otherwise.
  Variant(long l) noexcept;
  Variant(long long l) noexcept;
  Variant(Currency c) noexcept { Set(kCurrency, c); }
  Variant(Single s) noexcept { Set(kSingle, s); }
  Variant(Double d) noexcept { Set(kDouble, d); }
  Variant(Date d) noexcept { Set(kDate, d); }
  Variant(Decimal d) noexcept { Set(kDecimal, d); }
  // A text, an object and an array are held in a heap block: making one may run out of memory.
  Variant(String s) { SetPointer(kString, new detail::StringBox(std::move(s))); }
  Variant(std::u16string_view s) : Variant(String(s)) {}
  Variant(const char16_t* s) : Variant(String(s)) {}
  Variant(const char*) = delete;  // say u"..." for a String
  Variant(ObjectRef o) {
    if (o) {
      SetPointer(kObject, new ObjectRef(std::move(o)));
    } else {
      SetPointer<ObjectRef>(kObject, nullptr);
    }
  }
  Variant(std::nullptr_t) noexcept { SetPointer<ObjectRef>(kObject, nullptr); }  // Nothing
  Variant(ErrorValue e) noexcept { Set(kError, e); }
  Variant(SafeArray array);

  // Copying copies the value (an array element by element); a move leaves the source Empty.
  Variant(const Variant& other) {
    if (other.HoldsPointer()) {
      CopyPointerFrom(other);
    } else {
      Store(other.Load());
    }
  }
  Variant(Variant&& other) noexcept {
    Store(other.Load());
    other.Store({0, 0});
  }
  Variant& operator=(const Variant& other) {
    if (this == &other) return *this;
    if (!HoldsPointer() && !other.HoldsPointer()) {
      Store(other.Load());
      return *this;
    }
    Variant copy(other);  // may fail: this keeps its value
    return *this = std::move(copy);
  }
  Variant& operator=(Variant&& other) noexcept {
    if (this == &other) return *this;
    if (HoldsPointer()) ReleasePointer();
    Store(other.Load());
    other.Store({0, 0});
    return *this;
  }
  ~Variant() {
    if (HoldsPointer()) ReleasePointer();
  }
  // Exchanges two values (their bytes: nothing is copied or freed).
  friend void swap(Variant& a, Variant& b) noexcept {
    const Words x = a.Load(), y = b.Load();
    a.Store(y);
    b.Store(x);
  }

  // An Error value that marks an optional argument left out by the caller.
  static Variant Missing() noexcept { return ErrorValue{ErrorValue::kParamNotFound}; }

  // The automation type code; for an array, VarType::Array | its element type.
  VarType Type() const noexcept;

  bool IsEmpty() const noexcept { return kind_ == kEmpty; }
  bool IsNull() const noexcept { return kind_ == kNull; }
  bool IsNumeric() const noexcept {  // Boolean, Byte, Integer, Long, Currency, Single, Double, Date, Decimal
    return kind_ >= kBoolean && kind_ <= kDecimal;
  }
  bool IsString() const noexcept { return kind_ == kString; }
  bool IsObject() const noexcept { return kind_ == kObject; }
  bool IsArray() const noexcept { return kind_ == kArray; }
  bool IsMissing() const noexcept;

  // The value when the Variant holds kind T, otherwise null. T is one of the scalar types,
  // NullValue, String, ObjectRef, ErrorValue or SafeArray.
  // The mutable form of a String or an object reference may need a block of its own first (a
  // text shared with a copy, Nothing), and so may run out of memory.
  template <class T> const T* If() const noexcept;
  template <class T> T* If() noexcept(!(detail::kAllocatesWhenMutable<T>));

  // Calls f with the value the Variant holds, as one of: EmptyValue, NullValue, Boolean, Byte,
  // Integer, Long, Currency, Single, Double, Date, Decimal, String, ObjectRef, ErrorValue or
  // SafeArray; returns what f returns. The one place that lists the alternatives.
  //   v.Visit([](const auto& x) { ... });
  template <class F> decltype(auto) Visit(F&& f) const;
  template <class F> decltype(auto) Visit(F&& f);

  // Whether two Variants hold the same kind and the same value (arrays element by element,
  // objects by identity). Not the platform's comparison, which converts between kinds.
  friend bool operator==(const Variant& a, const Variant& b);

  // Empties a run of values. Texts are let go faster than one by one: the blocks a few
  // elements ahead are fetched into the cache while the current ones are freed.
  friend void EmptyAll(std::span<Variant> values) noexcept;

 private:
  // The kinds as held in the tag byte. The kinds up to kError are held in place and copy as
  // bytes; the others hold one pointer to a heap block.
  enum Kind : std::uint8_t {
    kEmpty, kNull, kBoolean, kByte, kInteger, kLong, kCurrency, kSingle, kDouble, kDate,
    kDecimal, kError, kString, kObject, kArray,
  };
  static constexpr std::size_t kPayload = 15;  // bytes before the tag

  bool HoldsPointer() const noexcept { return kind_ >= kString; }

  template <class T> static constexpr Kind KindOf() noexcept;
  template <class Self, class F> static decltype(auto) VisitOf(Self& self, F&& f);

  template <class T> T* Payload() noexcept { return std::launder(reinterpret_cast<T*>(bytes_)); }
  template <class T> const T* Payload() const noexcept {
    return std::launder(reinterpret_cast<const T*>(bytes_));
  }
  // The value as two 64-bit words, the tag in the top byte of the second. Values are built
  // and copied a whole word at a time: a later read of a word is then served from the one
  // write that made it, never pieced together from narrower writes.
  struct Words {
    std::uint64_t low, high;
  };
  static constexpr std::uint64_t Tag(Kind kind) noexcept { return std::uint64_t{kind} << 56; }
  // The whole object as bytes: the second word spans the last payload bytes and the tag.
  unsigned char* Raw() noexcept { return reinterpret_cast<unsigned char*>(this); }
  const unsigned char* Raw() const noexcept { return reinterpret_cast<const unsigned char*>(this); }
  Words Load() const noexcept {
    Words w;
    std::memcpy(&w.low, Raw(), 8);
    std::memcpy(&w.high, Raw() + 8, 8);
    __asm__("" : "+r"(w.low), "+r"(w.high));  // two general registers, not one vector
    return w;
  }
  void Store(Words w) noexcept {
    std::memcpy(Raw(), &w.low, 8);
    std::memcpy(Raw() + 8, &w.high, 8);
  }
  template <class T> void Set(Kind kind, const T& value) noexcept {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= kPayload);
    std::uint64_t w[2] = {0, Tag(kind)};
    std::memcpy(w, &value, sizeof value);
    Store({w[0], w[1]});
  }
  template <class P> void SetPointer(Kind kind, P* p) noexcept {
    Store({reinterpret_cast<std::uintptr_t>(p), Tag(kind)});
  }
  template <class P> P* Pointer() const noexcept {
    P* p;
    std::memcpy(&p, bytes_, sizeof p);
    return p;
  }

  void CopyPointerFrom(const Variant& other);  // other holds a pointer kind; this is unset
  void ReleasePointer() noexcept;               // frees the block of a pointer kind
  String* MutableString() {                     // detaches a shared text first
    detail::StringBox* box = Pointer<detail::StringBox>();
    if (box->refs.load(std::memory_order_acquire) != 1) box = DetachString();
    box->shareable = false;
    return &box->text;
  }
  detail::StringBox* DetachString();
  static void DropShare(detail::StringBox* box) noexcept;  // frees the block with its last share
  ObjectRef* MutableObject();                   // gives Nothing a block of its own
  static const ObjectRef kNothing;

  // Every constructor writes both words: none is left to a member initializer, which a copy
  // would pay for before it knows the kind.
  alignas(8) unsigned char bytes_[kPayload];
  Kind kind_;
};
static_assert(sizeof(Variant) == 16, "a Variant is two machine words");
void EmptyAll(std::span<Variant> values) noexcept;  // see Variant

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

  SafeArray(const SafeArray&) = default;
  SafeArray(SafeArray&&) noexcept = default;
  SafeArray& operator=(const SafeArray&) = default;
  SafeArray& operator=(SafeArray&&) noexcept = default;
  ~SafeArray() { EmptyAll(elements_); }

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

inline bool Variant::IsMissing() const noexcept {
  return kind_ == kError && Payload<ErrorValue>()->code == ErrorValue::kParamNotFound;
}

inline VarType Variant::Type() const noexcept {
  static constexpr VarType kCodes[] = {
      VarType::Empty,   VarType::Null,   VarType::Boolean, VarType::Byte,   VarType::Integer,
      VarType::Long,    VarType::Currency, VarType::Single, VarType::Double, VarType::Date,
      VarType::Decimal, VarType::Error,  VarType::String,  VarType::Object,
  };
  if (kind_ == kArray) return VarType::Array | Pointer<SafeArray>()->ElementType();
  return kCodes[kind_];
}

template <class T> constexpr Variant::Kind Variant::KindOf() noexcept {
  if constexpr (std::is_same_v<T, NullValue>) return kNull;
  else if constexpr (std::is_same_v<T, Boolean>) return kBoolean;
  else if constexpr (std::is_same_v<T, Byte>) return kByte;
  else if constexpr (std::is_same_v<T, Integer>) return kInteger;
  else if constexpr (std::is_same_v<T, Long>) return kLong;
  else if constexpr (std::is_same_v<T, Currency>) return kCurrency;
  else if constexpr (std::is_same_v<T, Single>) return kSingle;
  else if constexpr (std::is_same_v<T, Double>) return kDouble;
  else if constexpr (std::is_same_v<T, Date>) return kDate;
  else if constexpr (std::is_same_v<T, Decimal>) return kDecimal;
  else if constexpr (std::is_same_v<T, ErrorValue>) return kError;
  else if constexpr (std::is_same_v<T, String>) return kString;
  else if constexpr (std::is_same_v<T, ObjectRef>) return kObject;
  else if constexpr (std::is_same_v<T, SafeArray>) return kArray;
  else static_assert(sizeof(T) == 0, "not a kind a Variant holds");
}

template <class T> const T* Variant::If() const noexcept {
  constexpr Kind kind = KindOf<T>();
  if (kind_ != kind) return nullptr;
  if constexpr (kind == kNull) {
    return &Null;
  } else if constexpr (kind == kString) {
    return &Pointer<detail::StringBox>()->text;
  } else if constexpr (kind == kObject) {
    const ObjectRef* o = Pointer<ObjectRef>();
    return o ? o : &kNothing;
  } else if constexpr (kind == kArray) {
    return Pointer<SafeArray>();
  } else {
    return Payload<T>();
  }
}

template <class T> T* Variant::If() noexcept(!(detail::kAllocatesWhenMutable<T>)) {
  constexpr Kind kind = KindOf<T>();
  if (kind_ != kind) return nullptr;
  if constexpr (kind == kNull) {
    return Payload<NullValue>();
  } else if constexpr (kind == kString) {
    return MutableString();
  } else if constexpr (kind == kObject) {
    return MutableObject();
  } else if constexpr (kind == kArray) {
    return Pointer<SafeArray>();
  } else {
    return Payload<T>();
  }
}

// Both Visits: Self is Variant or const Variant. The mutable one hands out a text or an
// object reference of this Variant's own (see MutableString).
template <class Self, class F> decltype(auto) Variant::VisitOf(Self& self, F&& f) {
  constexpr bool kConst = std::is_const_v<Self>;
  using Empty = std::conditional_t<kConst, const EmptyValue, EmptyValue>;
  using R = decltype(std::forward<F>(f)(std::declval<Empty&>()));
  auto call = [&](auto& value) -> R { return static_cast<R>(std::forward<F>(f)(value)); };
  switch (self.kind_) {
    case kNull: return call(*self.template Payload<NullValue>());
    case kBoolean: return call(*self.template Payload<Boolean>());
    case kByte: return call(*self.template Payload<Byte>());
    case kInteger: return call(*self.template Payload<Integer>());
    case kLong: return call(*self.template Payload<Long>());
    case kCurrency: return call(*self.template Payload<Currency>());
    case kSingle: return call(*self.template Payload<Single>());
    case kDouble: return call(*self.template Payload<Double>());
    case kDate: return call(*self.template Payload<Date>());
    case kDecimal: return call(*self.template Payload<Decimal>());
    case kError: return call(*self.template Payload<ErrorValue>());
    case kString:
      if constexpr (kConst) {
        return call(*self.template If<String>());
      } else {
        return call(*self.MutableString());
      }
    case kObject:
      if constexpr (kConst) {
        return call(*self.template If<ObjectRef>());
      } else {
        return call(*self.MutableObject());
      }
    case kArray:
      if constexpr (kConst) {
        return call(*self.template If<SafeArray>());
      } else {
        return call(*self.template Pointer<SafeArray>());
      }
    case kEmpty: break;
  }
  Empty empty{};
  return call(empty);
}

template <class F> decltype(auto) Variant::Visit(F&& f) const { return VisitOf(*this, std::forward<F>(f)); }
template <class F> decltype(auto) Variant::Visit(F&& f) { return VisitOf(*this, std::forward<F>(f)); }

}  // namespace ztl
