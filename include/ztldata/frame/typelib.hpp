// The type library as data: every class with its interface, members, parameters and help
// strings, in slot order. Dispatch (object.hpp) is driven by these tables.
//
// Example:
//   const ztl::ClassInfo* info = ztl::FindClass(u"ZtNumeric");
//   for (const ztl::MemberInfo& m : info->members) std::cout << m.name << '\n';
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ztldata/base/outcome.hpp"
#include "ztldata/base/types.hpp"

namespace ztl {

class Object;
class Variant;

using DispId = std::int32_t;

// The standard dispatch ids every component carries.
inline constexpr DispId kDispIdAbout = -552;
inline constexpr DispId kDispIdEnabled = -514;

// A 128-bit class, interface or library identity.
struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::array<std::uint8_t, 8> data4;
  friend constexpr bool operator==(const Guid&, const Guid&) = default;
};

// The declared type of a parameter or result.
enum class Type : std::uint8_t {
  Void,  // no result
  Integer,
  Long,
  Byte,
  Boolean,
  Single,
  Double,
  Date,
  String,
  Variant,
  Object,      // any object reference (or Nothing)
  Collection,  // the host's collection object (or Nothing)
  ztlEllipseText,
  ztlStackStrategy,
};

// The name the type library gives a type ("Long", "Collection", "ztlStackStrategy" ...).
std::string_view TypeName(Type type) noexcept;

enum class MemberKind : std::uint8_t { Method, PropertyGet, PropertyLet };

// The default of an optional parameter: a number or a text (the table says which by the type).
struct DefaultValue {
  Long number = 0;
  std::u16string_view text{};
  bool is_text = false;
};

struct ParamInfo {
  std::string_view name;  // for a property let's new value: "value"
  Type type;
  bool byref = false;
  bool optional = false;
  DefaultValue default_value{};
  bool paramarray = false;  // gathers the remaining arguments into one Variant array
};

// Calls the typed C++ method behind a member. `args` holds one Variant per parameter, each
// already of its parameter's type (a parameter array as one array of Variants). Only a host's
// object (the Collection) has members that fail; the library's operations always complete.
using MemberCall = Status (*)(Object& self, Variant* const* args, Variant& result);

struct MemberInfo {
  std::string_view name;
  DispId dispid;
  MemberKind kind;
  std::span<const ParamInfo> params;
  Type result;
  const char* help;  // null when the type library carries no help string
  MemberCall call;
};

enum class ClassKind : std::uint8_t {
  Utility,    // creatable by its registered name
  Component,  // a control: created only by placing it in a container
};

struct ClassInfo {
  std::string_view name;            // "ZtNumeric"
  std::string_view interface_name;  // "_ZtNumeric"
  std::string_view event_interface; // "__ZtStack" for components, empty for utility classes
  ClassKind kind;
  Guid clsid;
  Guid iid;
  Guid event_iid;  // zero for utility classes
  std::span<const MemberInfo> members;  // slot order
  std::shared_ptr<Object> (*create)();
};

// The library's identity: "ZTLData" version 1.4, locale 1033.
struct LibraryInfo {
  std::string_view name;
  Guid libid;
  int major;
  int minor;
  Long lcid;
};
const LibraryInfo& Library() noexcept;

// An enumeration of the type library and its constants.
struct EnumConstant {
  std::string_view name;
  Long value;
};
struct EnumInfo {
  std::string_view name;
  std::span<const EnumConstant> constants;
};
// ztlEllipseText and ztlStackStrategy.
std::span<const EnumInfo> Enumerations() noexcept;

// The sixteen classes, in the order of the registry.
std::span<const ClassInfo* const> Classes() noexcept;

// A class by its registered name ("ZTLData.ZtNumeric") or bare name, without regard to case;
// null when there is none.
const ClassInfo* FindClass(std::u16string_view name) noexcept;
// A class by its class id; null when there is none.
const ClassInfo* FindClass(const Guid& clsid) noexcept;

// A member by name (without regard to case) or dispatch id, for a kind of call. A method call
// also reaches a property get and a property get also reaches a method, as automation allows;
// a property let reaches only a let. Null when there is none.
const MemberInfo* FindMember(const ClassInfo& info, std::u16string_view name, MemberKind kind) noexcept;
const MemberInfo* FindMember(const ClassInfo& info, std::string_view utf8_name, MemberKind kind) noexcept;
const MemberInfo* FindMember(const ClassInfo& info, DispId dispid, MemberKind kind) noexcept;

// Whether a method's text arguments and text result are bytes, one character per byte of the
// ANSI code page: CRC-32, run-length coding, the ciphers, RSA and EBCDIC. Hosts with a byte
// string type (Python's bytes, .NET's byte[]) let their callers pass and receive those.
bool CarriesBytes(const ClassInfo& info, const MemberInfo& member) noexcept;

}  // namespace ztl
