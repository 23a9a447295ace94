// The class descriptions of the type library, each defined beside its class, listed here so
// that the registry can gather them.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

#include "ztldata/frame/typelib.hpp"

namespace ztl {

// Utility classes.
extern const ClassInfo kZtArraysClass;
extern const ClassInfo kZtBasesClass;
extern const ClassInfo kZtConversionClass;
extern const ClassInfo kZtCollectionsClass;
extern const ClassInfo kZtDateClass;
extern const ClassInfo kZtDataClass;
extern const ClassInfo kZtNumericClass;
extern const ClassInfo kZtObjectsClass;
extern const ClassInfo kZtStringsClass;

// Components.
extern const ClassInfo kZtBitsClass;
extern const ClassInfo kZtStackClass;
extern const ClassInfo kZtTokenClass;
extern const ClassInfo kZtRLEClass;
extern const ClassInfo kZtEncryptionClass;
extern const ClassInfo kZtCRC32Class;
extern const ClassInfo kZtRSAClass;

// The host's collection object: dispatchable, but not a class of the library's registry.
extern const ClassInfo kCollectionClass;

// A class's name as a template argument, so that the names derived from it can be kept in
// static storage for the string_views of a ClassInfo.
template <std::size_t N>
struct ClassName {
  char text[N]{};
  constexpr ClassName() noexcept = default;
  constexpr ClassName(const char (&name)[N]) noexcept {  // NOLINT(google-explicit-constructor): "ZtBits" converts
    for (std::size_t i = 0; i < N; ++i) text[i] = name[i];
  }
};

// The identities of a class, its interface and, for a component, its events interface.
struct ClassIds {
  Guid clsid;
  Guid iid;
  Guid event_iid{};  // left zero for utility classes
};

// The class description of `T`, named `Name`: its interface is "_Name" and, for a component,
// its events interface "__Name"; a utility class has neither events interface nor its id.
//   const ClassInfo kZtBitsClass = DefineClass<ZtBits, "ZtBits">(
//       ClassKind::Component, {ids::kZtBitsClass, ids::kZtBitsInterface, ids::kZtBitsEvents}, kMembers);
template <class T, ClassName Name>
constexpr ClassInfo DefineClass(ClassKind kind, ClassIds ids, std::span<const MemberInfo> members) noexcept;

// ---------------------------------------------------------------------------------------------
namespace class_definition {

// `Name` behind `Underscores` underscores, with its terminating zero.
template <ClassName Name, std::size_t Underscores>
inline constexpr auto kPrefixed = [] {
  ClassName<sizeof Name.text + Underscores> out;
  for (std::size_t i = 0; i < Underscores; ++i) out.text[i] = '_';
  for (std::size_t i = 0; i < sizeof Name.text; ++i) out.text[Underscores + i] = Name.text[i];
  return out;
}();

template <class T>
std::shared_ptr<Object> Make() {
  return std::make_shared<T>();
}

}  // namespace class_definition

template <class T, ClassName Name>
constexpr ClassInfo DefineClass(ClassKind kind, ClassIds ids, std::span<const MemberInfo> members) noexcept {
  const bool component = kind == ClassKind::Component;
  return ClassInfo{
      std::string_view(class_definition::kPrefixed<Name, 0>.text),
      std::string_view(class_definition::kPrefixed<Name, 1>.text),
      component ? std::string_view(class_definition::kPrefixed<Name, 2>.text) : std::string_view(""),
      kind,
      ids.clsid,
      ids.iid,
      component ? ids.event_iid : Guid{},
      members,
      &class_definition::Make<T>,
  };
}

}  // namespace ztl
