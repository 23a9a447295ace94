// Builders for the interface tables that sit beside each class. A table row names the typed
// C++ method behind a member; the builder checks at compile time that the parameters and the
// result written in the row agree with the method's signature, and makes the call thunk.
//
// Example (numeric.cpp):
//   constexpr ParamInfo kTwoDoubles[] = {In("dblNumber1", Type::Double), In("dblNumber2", Type::Double)};
//   constexpr MemberInfo kMembers[] = {
//       Method<&ZtNumeric::Max>("Max", 0x60030000, kTwoDoubles, Type::Double, "Gets the max number"),
//   };
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>

#include "type_rows.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/object.hpp"

namespace ztl {

// ---- parameter rows ----------------------------------------------------------------------

constexpr ParamInfo In(std::string_view name, Type type) { return {name, type}; }
constexpr ParamInfo ByRef(std::string_view name, Type type) { return {name, type, true}; }
constexpr ParamInfo Optional(std::string_view name, Type type, Long fallback) {
  return {name, type, false, true, DefaultValue{fallback, {}, false}};
}
constexpr ParamInfo Optional(std::string_view name, Type type, std::u16string_view fallback) {
  return {name, type, false, true, DefaultValue{0, fallback, true}};
}
constexpr ParamInfo ParamArray(std::string_view name) {
  return {name, Type::Variant, false, false, {}, true};
}
// The new value a property let receives.
constexpr ParamInfo NewValue(Type type) { return {"value", type}; }

// Picks one overload of a member function: Pick<Boolean() const noexcept>(&ZtBits::Enabled).
template <class Signature, class C>
constexpr Signature C::*Pick(Signature C::*member) { return member; }

// ---- implementation details ------------------------------------------------------------

namespace detail {

template <class M> struct MethodTraits;
#define ZTL_METHOD_TRAITS(QUALIFIERS)                                  \
  template <class R, class C, class... A>                              \
  struct MethodTraits<R (C::*)(A...) QUALIFIERS> {                     \
    using Class = C;                                                   \
    using Result = R;                                                  \
    using Args = std::tuple<A...>;                                     \
  };
ZTL_METHOD_TRAITS()
ZTL_METHOD_TRAITS(const)
ZTL_METHOD_TRAITS(noexcept)
ZTL_METHOD_TRAITS(const noexcept)
#undef ZTL_METHOD_TRAITS

// How a C++ parameter type takes its value from a Variant that dispatch has already
// converted to the parameter's declared type, and which declared types it accepts.
template <class T> struct Arg;

// A number, Date or enumeration arrives as the Variant type its row gives.
template <class T>
struct ScalarArg {
  static constexpr bool Accepts(const ParamInfo& p) { return p.type == DeclaredType<T> && !p.paramarray; }
  static T Get(Variant& v) { return static_cast<T>(*v.If<typename CppType<T>::Stored>()); }
};
template <> struct Arg<Integer> : ScalarArg<Integer> {};
template <> struct Arg<Long> : ScalarArg<Long> {};
template <> struct Arg<Byte> : ScalarArg<Byte> {};
template <> struct Arg<Boolean> : ScalarArg<Boolean> {};
template <> struct Arg<Single> : ScalarArg<Single> {};
template <> struct Arg<Double> : ScalarArg<Double> {};
template <> struct Arg<Date> : ScalarArg<Date> {};
template <> struct Arg<ztlEllipseText> : ScalarArg<ztlEllipseText> {};
template <> struct Arg<ztlStackStrategy> : ScalarArg<ztlStackStrategy> {};

template <> struct Arg<const String&> {
  static constexpr bool Accepts(const ParamInfo& p) { return p.type == DeclaredType<String> && !p.paramarray; }
  static const String& Get(Variant& v) { return *v.If<String>(); }
};
template <> struct Arg<String> : Arg<const String&> {};

// A Variant parameter: by reference as Variant&, by value as Variant or const Variant&.
template <> struct Arg<Variant&> {
  static constexpr bool Accepts(const ParamInfo& p) { return p.type == DeclaredType<Variant> && p.byref; }
  static Variant& Get(Variant& v) { return v; }
};
template <> struct Arg<const Variant&> {
  static constexpr bool Accepts(const ParamInfo& p) {
    return p.type == DeclaredType<Variant> && !p.byref && !p.paramarray;
  }
  static const Variant& Get(Variant& v) { return v; }
};
template <> struct Arg<Variant> : Arg<const Variant&> {};

// A parameter array arrives as one array of Variants.
template <> struct Arg<std::span<const Variant>> {
  static constexpr bool Accepts(const ParamInfo& p) { return p.paramarray; }
  static std::span<const Variant> Get(Variant& v) {
    const SafeArray* a = v.If<SafeArray>();
    return a ? a->Elements() : std::span<const Variant>{};
  }
};

template <> struct Arg<const ObjectRef&> {
  static constexpr bool Accepts(const ParamInfo& p) { return p.type == DeclaredType<ObjectRef> && !p.paramarray; }
  static const ObjectRef& Get(Variant& v) { return *v.If<ObjectRef>(); }
};
template <> struct Arg<ObjectRef> : Arg<const ObjectRef&> {};

// A Collection parameter: dispatch has checked that the object is a Collection (or Nothing).
template <> struct Arg<const CollectionRef&> {
  static constexpr bool Accepts(const ParamInfo& p) { return p.type == DeclaredType<CollectionRef> && !p.paramarray; }
  static CollectionRef Get(Variant& v) { return std::static_pointer_cast<Collection>(*v.If<ObjectRef>()); }
};
template <> struct Arg<CollectionRef> : Arg<const CollectionRef&> {};

// How a C++ result type becomes a Variant; its declared type is the one its row gives.
template <class R> struct Result {
  static constexpr Type kType = DeclaredType<R>;
  template <class T>
  static Variant Wrap(T&& r) {
    if constexpr (std::is_enum_v<R>) return Variant(static_cast<Long>(r));
    else return Variant(std::forward<T>(r));
  }
};

// The library's operations always complete, so a thunk always reports success.
template <auto M>
Status Thunk(Object& self, Variant* const* args, Variant& result) {
  using Traits = MethodTraits<decltype(M)>;
  using Args = typename Traits::Args;
  using R = typename Traits::Result;
  auto& object = static_cast<typename Traits::Class&>(self);
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R>) {
      (object.*M)(Arg<std::tuple_element_t<I, Args>>::Get(*args[I])...);
      result = Variant();
    } else {
      result = Result<R>::Wrap((object.*M)(Arg<std::tuple_element_t<I, Args>>::Get(*args[I])...));
    }
  }(std::make_index_sequence<std::tuple_size_v<Args>>{});
  return Done();
}

// Fails constant evaluation (so the table does not compile) when a row disagrees with its method.
inline void TableDisagreesWithMethod() {}

template <auto M>
consteval void CheckSignature(std::span<const ParamInfo> params, Type result) {
  using Traits = MethodTraits<decltype(M)>;
  using Args = typename Traits::Args;
  if (std::tuple_size_v<Args> != params.size()) TableDisagreesWithMethod();
  if (Result<typename Traits::Result>::kType != result) TableDisagreesWithMethod();
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    if (!(Arg<std::tuple_element_t<I, Args>>::Accepts(params[I]) && ...)) TableDisagreesWithMethod();
  }(std::make_index_sequence<std::tuple_size_v<Args>>{});
}

}  // namespace detail

// ---- member rows ---------------------------------------------------------------------------

template <auto M>
consteval MemberInfo Method(std::string_view name, DispId dispid, std::span<const ParamInfo> params,
                            Type result, const char* help = nullptr) {
  detail::CheckSignature<M>(params, result);
  return {name, dispid, MemberKind::Method, params, result, help, &detail::Thunk<M>};
}

template <auto M>
consteval MemberInfo PropertyGet(std::string_view name, DispId dispid, std::span<const ParamInfo> params,
                                 Type result, const char* help = nullptr) {
  detail::CheckSignature<M>(params, result);
  return {name, dispid, MemberKind::PropertyGet, params, result, help, &detail::Thunk<M>};
}

template <auto M>
consteval MemberInfo PropertyLet(std::string_view name, DispId dispid, std::span<const ParamInfo> params,
                                 const char* help = nullptr) {
  detail::CheckSignature<M>(params, Type::Void);
  return {name, dispid, MemberKind::PropertyLet, params, Type::Void, help, &detail::Thunk<M>};
}

}  // namespace ztl
