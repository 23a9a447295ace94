// Object, the base of everything a host holds by reference, and late-bound calls on it.
// The typed classes (ZtNumeric ...) derive from it; so do Collection and host objects.
//
// Example:
//   ztl::ObjectRef n = ztl::CreateObject(u"ZTLData.ZtNumeric");
//   ztl::Outcome<ztl::Variant> r = n->Invoke(u"IsPrime", {97});  // Boolean True
//   n->Invoke(u"NoSuchThing").error()                           // 438
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/typelib.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

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

  // Late-bound calls. `args` are updated in place for by-reference parameters. The outcome
  // is the result, or the dispatch error: 438 for an unknown member, 450 for a wrong argument
  // count, 449 for a required argument left out, 13 or 6 for an argument that does not
  // convert (errors.hpp). The operation itself never fails. Use Call for a message too.
  Outcome<Variant> Invoke(std::u16string_view member, std::initializer_list<Variant> args = {},
                          MemberKind kind = MemberKind::Method);
  Outcome<Variant> Invoke(std::u16string_view member, std::span<Variant> args,
                          MemberKind kind = MemberKind::Method);
  Outcome<Variant> Invoke(DispId member, std::span<Variant> args, MemberKind kind = MemberKind::Method);
  // Slots count from 1, in the order of the interface (a property's get and let are two slots).
  Outcome<Variant> InvokeSlot(std::size_t slot, std::span<Variant> args);
};

// The core of every late-bound call: binds the arguments (converts them, fills defaults of
// omitted optional parameters, gathers a parameter array), calls the member and writes back
// by-reference arguments. On failure `result` is unchanged and `message` (when given) gets a
// one-line description ("Type mismatch: argument 1 (dblNumber) of ZtNumeric.Round cannot be
// String for Double").
Status Call(Object& self, const MemberInfo& member, std::span<Variant> args, Variant& result,
            CallForm form = CallForm::Dispatch, std::string* message = nullptr) noexcept;

// Creates a utility class by its registered name ("ZTLData.ZtNumeric") or bare class name,
// without regard to case. Null for an unknown name and for the components, which only a
// container creates.
ObjectRef CreateObject(std::u16string_view name) noexcept;
// The same by class id.
ObjectRef CreateObject(const Guid& clsid) noexcept;

}  // namespace ztl
