// One row per declared type of the type library: its name, the Variant type its values have,
// and how dispatch binds an argument to it. Dispatch, the type library and the member tables
// all read these rows, so a new declared type is one row here and one C++ type below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/typelib.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

// How an argument becomes a value of a declared type.
enum class Binding : std::uint8_t {
  None,        // no argument has this type (the Void result)
  Convert,     // converted to the row's Variant type, as the platform converts
  AsIs,        // any value, taken as it is (Variant)
  Object,      // any object or Nothing; never converted
  Collection,  // the host's Collection or Nothing; never converted
};

struct TypeRow {
  Type type;
  std::string_view name;  // as the type library writes it
  VarType var_type;       // the type of the values: an enumeration's values are Longs
  Binding binding;
};

inline constexpr TypeRow kTypeRows[] = {
    {Type::Void, "", VarType::Empty, Binding::None},
    {Type::Integer, "Integer", VarType::Integer, Binding::Convert},
    {Type::Long, "Long", VarType::Long, Binding::Convert},
    {Type::Byte, "Byte", VarType::Byte, Binding::Convert},
    {Type::Boolean, "Boolean", VarType::Boolean, Binding::Convert},
    {Type::Single, "Single", VarType::Single, Binding::Convert},
    {Type::Double, "Double", VarType::Double, Binding::Convert},
    {Type::Date, "Date", VarType::Date, Binding::Convert},
    {Type::String, "String", VarType::String, Binding::Convert},
    {Type::Variant, "Variant", VarType::Variant, Binding::AsIs},
    {Type::Object, "Object", VarType::Object, Binding::Object},
    {Type::Collection, "Collection", VarType::Object, Binding::Collection},
    {Type::ztlEllipseText, "ztlEllipseText", VarType::Long, Binding::Convert},
    {Type::ztlStackStrategy, "ztlStackStrategy", VarType::Long, Binding::Convert},
};

// The rows stand in the order of the enumeration, so a type finds its row by its value.
inline constexpr bool kRowsInOrder = [] {
  for (std::size_t i = 0; i < std::size(kTypeRows); ++i) {
    if (static_cast<std::size_t>(kTypeRows[i].type) != i) return false;
  }
  return true;
}();
static_assert(kRowsInOrder, "kTypeRows must list the declared types in the order of enum Type");

constexpr const TypeRow& RowOf(Type type) noexcept { return kTypeRows[static_cast<std::size_t>(type)]; }

// The declared type a C++ type stands for in a member table: a parameter or result of type
// `T` is declared as DeclaredType<T>. The values of a Convert row arrive in dispatch as the
// row's Variant type, so `Variant::If<Stored<T>>` reads them.
template <class T> struct CppType;
template <Type kType, class TStored = void>
struct CppTypeOf {
  static constexpr Type kDeclared = kType;
  using Stored = TStored;
};
template <> struct CppType<void> : CppTypeOf<Type::Void> {};
template <> struct CppType<Integer> : CppTypeOf<Type::Integer, Integer> {};
template <> struct CppType<Long> : CppTypeOf<Type::Long, Long> {};
template <> struct CppType<Byte> : CppTypeOf<Type::Byte, Byte> {};
template <> struct CppType<Boolean> : CppTypeOf<Type::Boolean, Boolean> {};
template <> struct CppType<Single> : CppTypeOf<Type::Single, Single> {};
template <> struct CppType<Double> : CppTypeOf<Type::Double, Double> {};
template <> struct CppType<Date> : CppTypeOf<Type::Date, Date> {};
template <> struct CppType<String> : CppTypeOf<Type::String, String> {};
template <> struct CppType<Variant> : CppTypeOf<Type::Variant> {};
template <> struct CppType<ObjectRef> : CppTypeOf<Type::Object, ObjectRef> {};
template <> struct CppType<CollectionRef> : CppTypeOf<Type::Collection, ObjectRef> {};
template <> struct CppType<ztlEllipseText> : CppTypeOf<Type::ztlEllipseText, Long> {};
template <> struct CppType<ztlStackStrategy> : CppTypeOf<Type::ztlStackStrategy, Long> {};

template <class T>
inline constexpr Type DeclaredType = CppType<std::remove_cvref_t<T>>::kDeclared;

// The value a value of a Variant type starts with: a new array's elements, a result that an
// operation never assigned (0, "", False, Nothing, the zero Date; Empty for a Variant).
inline Variant InitialValue(VarType type) {
  switch (type) {
    case VarType::Integer: return Integer{0};
    case VarType::Long: return Long{0};
    case VarType::Single: return Single{0};
    case VarType::Double: return Double{0};
    case VarType::Currency: return Currency{};
    case VarType::Date: return Date{};
    case VarType::String: return String();
    case VarType::Object: return nullptr;
    case VarType::Error: return ErrorValue{};
    case VarType::Boolean: return false;
    case VarType::Decimal: return Decimal{};
    case VarType::Byte: return Byte{0};
    default: return Variant();
  }
}

}  // namespace ztl
