// Object, the base of everything a host holds by reference, and late-bound calls on it.
// The typed classes (ZtNumeric ...) derive from it; so do Collection and host objects.
//
// Example:
//   ztl::ObjectRef n = ztl::CreateObject(u"ZTLData.ZtNumeric");
//   ztl::Variant r = n->Invoke(u"IsPrime", {97});  // Boolean True
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ztldata/frame/typelib.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

// The error numbers a late-bound call can report before an operation runs.
inline constexpr Long kErrorOverflow = 6;          // an argument outside its parameter's range
inline constexpr Long kErrorTypeMismatch = 13;     // an argument that does not convert
inline constexpr Long kErrorNoSuchMember = 438;    // no member of that name, id or slot
inline constexpr Long kErrorArgumentCount = 450;   // too few or too many arguments
inline constexpr Long kErrorNotCreatable = 429;    // no such class, or one that cannot be created

// The platform's text of an error number ("Type mismatch" for 13).
const char* ErrorText(Long code) noexcept;

// What a late-bound call reports to a C++ host that gets an error.
class DispatchError : public std::runtime_error {
 public:
  DispatchError(Long code, const std::string& message) : std::runtime_error(message), code_(code) {}
  Long code() const noexcept { return code_; }

 private:
  Long code_;
};

// How a late-bound call reached its member. Through dispatch, the arguments for a parameter
// array are gathered into one array of Variants (lower bound 0); through the slot order the
// caller passes that array itself.
enum class CallForm : std::uint8_t { Dispatch, Slot };

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;

  // The class description, or null for an object without one (a host's own object).
  virtual const ClassInfo* Class() const noexcept { return nullptr; }

  // The value the object stands for where a plain value is needed (its default member);
  // none for most objects.
  virtual std::optional<Variant> DefaultValue() const noexcept { return std::nullopt; }

  // Late-bound calls. `args` are updated in place for by-reference parameters. They throw
  // DispatchError for an unknown member, a wrong argument count or an argument that does not
  // convert; the operation itself never fails.
  Variant Invoke(std::u16string_view member, std::initializer_list<Variant> args = {},
                 MemberKind kind = MemberKind::Method);
  Variant Invoke(std::u16string_view member, std::span<Variant> args,
                 MemberKind kind = MemberKind::Method);
  Variant Invoke(DispId member, std::span<Variant> args, MemberKind kind = MemberKind::Method);
  // Slots count from 1, in the order of the interface (a property's get and let are two slots).
  Variant InvokeSlot(std::size_t slot, std::span<Variant> args);
};

// The non-throwing core of every late-bound call: converts the arguments, fills defaults of
// omitted optional parameters, calls the member and writes back by-reference arguments.
// Returns 0, or the dispatch error number with a one-line message in `message` (when given).
Long Call(Object& self, const MemberInfo& member, std::span<Variant> args, Variant& result,
          CallForm form = CallForm::Dispatch, std::string* message = nullptr) noexcept;

// Creates a utility class by its registered name ("ZTLData.ZtNumeric") or bare class name,
// without regard to case. Null for an unknown name and for the components, which only a
// container creates.
ObjectRef CreateObject(std::u16string_view name) noexcept;
// The same by class id.
ObjectRef CreateObject(const Guid& clsid) noexcept;

}  // namespace ztl
