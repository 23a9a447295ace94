// Object, the base of everything a host holds by reference, and late-bound calls on it.
// The typed classes (ZtNumeric ...) derive from it; so do Collection and host objects.
//
// Example:
//   ztl::ObjectRef n = ztl::CreateObject(u"ZTLData.ZtNumeric");
//   ztl::Outcome<ztl::Variant> r = n->Invoke(u"IsPrime", {97});  // Boolean True
//   n->Invoke(u"NoSuchThing").error()                           // 438
//   ztl::CallFailure failure;
//   ztl::LateCall(*n, ztl::MemberKey::Text("0x6003000D"), ztl::MemberKind::Method, args, &failure);
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

// Why a late-bound call failed: the platform's error number and a one-line message, worded
// here once for every host ("ZtNumeric has no method NoSuch (Object doesn't support this
// property or method)"). A host with its own error codes maps from the number.
struct CallFailure {
  Long number = 0;
  std::string message;
};

// The member a late-bound call names: a name (without regard to case, as UTF-16 or UTF-8
// text), a dispatch id, or a slot (from 1, in the order of the interface). Holds views: the
// text must outlive the key.
class MemberKey {
 public:
  static MemberKey Name(std::u16string_view name) noexcept { return MemberKey(By::Name16, name, {}, 0); }
  static MemberKey Name(std::string_view utf8) noexcept { return MemberKey(By::Name8, {}, utf8, 0); }
  static MemberKey Id(DispId id) noexcept {
    return MemberKey(By::Id, {}, {}, static_cast<std::size_t>(static_cast<std::uint32_t>(id)));
  }
  static MemberKey Slot(std::size_t slot) noexcept { return MemberKey(By::Slot, {}, {}, slot); }
  // Text a host was given: a dispatch id when it reads as one (ParseDispId), else a name.
  static MemberKey Text(std::string_view utf8) noexcept;

  bool IsSlot() const noexcept { return by_ == By::Slot; }
  // The member of `info` this key names for a call of `kind`; null when there is none.
  const MemberInfo* Find(const ClassInfo& info, MemberKind kind) const noexcept;
  // The key as a message names it: the name, the dispatch id as `ztl describe` writes it
  // ("0x6003000D"), or "slot 3"; a long name is cut short.
  std::string Describe() const;

 private:
  enum class By : std::uint8_t { Name16, Name8, Id, Slot };
  MemberKey(By by, std::u16string_view name16, std::string_view name8, std::size_t number) noexcept
      : by_(by), name16_(name16), name8_(name8), number_(number) {}
  By by_;
  std::u16string_view name16_;
  std::string_view name8_;
  std::size_t number_;
};

// A dispatch id written as text: decimal ("1610809357", "-4") or hexadecimal after 0x
// ("0x6003000D"), within 32 bits (either signed or unsigned). None for any other text.
std::optional<DispId> ParseDispId(std::string_view text) noexcept;
// A dispatch id as `ztl describe` writes it: hexadecimal ("0x6003000D"), or decimal when negative.
std::string DispIdText(DispId id);

// The position (from 0) of the parameter `name` names, without regard to case; none when the
// member has no such parameter. Named arguments bind through it.
std::optional<std::size_t> ParameterIndex(const MemberInfo& member, std::u16string_view name) noexcept;
std::optional<std::size_t> ParameterIndex(const MemberInfo& member, std::string_view utf8) noexcept;

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
  // convert (errors.hpp). The operation itself never fails. LateCall gives a message too.
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
// by-reference arguments. On failure `result` is unchanged and `failure` (when given) gets the
// number and a one-line message ("Type mismatch: argument 1 (dblNumber) of ZtNumeric.Round
// cannot be String for Double").
Status Call(Object& self, const MemberInfo& member, std::span<Variant> args, Variant& result,
            CallForm form = CallForm::Dispatch, CallFailure* failure = nullptr) noexcept;

// The member `key` names on `self` for a call of `kind`; null, with `failure` (when given) set
// to 438 and its message, when the object has none.
const MemberInfo* ResolveMember(const Object& self, const MemberKey& key, MemberKind kind,
                                CallFailure* failure = nullptr) noexcept;
// The same for a class (null: an object without one) before an object of it is made.
const MemberInfo* ResolveMember(const ClassInfo* info, const MemberKey& key, MemberKind kind,
                                CallFailure* failure = nullptr) noexcept;

// The whole late-bound call every host makes: resolves the member, then Call (a slot key
// calls in the slot form). Arguments the host binds by name it places at their ParameterIndex,
// leaving the gaps missing.
Outcome<Variant> LateCall(Object& self, const MemberKey& key, MemberKind kind, std::span<Variant> args,
                          CallFailure* failure = nullptr) noexcept;

// Creates a utility class by its registered name ("ZTLData.ZtNumeric") or bare class name,
// without regard to case. Null for an unknown name and for the components, which only a
// container creates.
ObjectRef CreateObject(std::u16string_view name) noexcept;
// The same by class id.
ObjectRef CreateObject(const Guid& clsid) noexcept;

}  // namespace ztl
