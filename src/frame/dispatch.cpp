// Late-bound calls: argument conversion, defaults, parameter arrays, by-reference write-back
// and the errors a host sees before an operation runs. The typed C++ methods do the work;
// this layer only adapts Variants to them, driven by the interface tables.

#include <array>
#include <optional>
#include <vector>

#include "convert.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/object.hpp"

namespace ztl {

namespace {

// No member of the library has more parameters than this.
constexpr std::size_t kMaxParams = 8;

constexpr Long kErrorArgumentNotOptional = 449;


std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::string MemberTitle(const Object& self, const MemberInfo& member) {
  const ClassInfo* info = self.Class();
  return (info ? std::string(info->name) + "." : std::string()) + std::string(member.name);
}

Long Report(std::string* message, Long code, const std::string& detail) {
  if (message) *message = std::string(ErrorText(code)) + (detail.empty() ? "" : ": " + detail);
  return code;
}

// The value a result holds when an operation never assigns it.
Variant DefaultResult(Type type) {
  switch (type) {
    case Type::Integer: return Integer{0};
    case Type::Long:
    case Type::ztlEllipseText:
    case Type::ztlStackStrategy: return Long{0};
    case Type::Byte: return Byte{0};
    case Type::Boolean: return false;
    case Type::Single: return Single{0};
    case Type::Double: return Double{0};
    case Type::Date: return Date{};
    case Type::String: return String();
    case Type::Object:
    case Type::Collection: return nullptr;
    case Type::Void:
    case Type::Variant: return Variant();
  }
  return Variant();
}

// Whether an argument already has its parameter's type, so it is passed without a copy.
bool HasType(const Variant& v, Type type) {
  switch (type) {
    case Type::Integer: return v.If<Integer>() != nullptr;
    case Type::Long:
    case Type::ztlEllipseText:
    case Type::ztlStackStrategy: return v.If<Long>() != nullptr;
    case Type::Byte: return v.If<Byte>() != nullptr;
    case Type::Boolean: return v.If<Boolean>() != nullptr;
    case Type::Single: return v.If<Single>() != nullptr;
    case Type::Double: return v.If<Double>() != nullptr;
    case Type::Date: return v.If<Date>() != nullptr;
    case Type::String: return v.IsString();
    case Type::Variant: return true;
    case Type::Object: return v.IsObject();
    case Type::Collection: {
      const ObjectRef* o = v.If<ObjectRef>();
      return o && (!*o || dynamic_cast<const Collection*>(o->get()) != nullptr);
    }
    case Type::Void: return false;
  }
  return false;
}

// Converts an argument to its parameter's type as the host platform does for a dispatch
// call. Objects are not converted to other objects: a wrong object is a type mismatch.
Variant ConvertArgument(const Variant& v, Type type) {
  switch (type) {
    case Type::Integer: return ToInteger(v);
    case Type::Long:
    case Type::ztlEllipseText:
    case Type::ztlStackStrategy: return ToLong(v);
    case Type::Byte: return ToByte(v);
    case Type::Boolean: return ToBoolean(v);
    case Type::Single: return ToSingle(v);
    case Type::Double: return ToDouble(v);
    case Type::Date: return ToDate(v);
    case Type::String: return ToString(v);
    case Type::Variant: return v;
    case Type::Object:
    case Type::Collection:
    case Type::Void: break;
  }
  Fail(kTypeMismatch);
}

Variant DefaultArgument(const ParamInfo& p) {
  if (p.default_value.is_text) return String(p.default_value.text);
  return ConvertArgument(Variant(p.default_value.number), p.type);
}

Long CallChecked(Object& self, const MemberInfo& member, std::span<Variant> args, Variant& result,
                 CallForm form, std::string* message) {
  const std::span<const ParamInfo> params = member.params;
  const bool has_array = !params.empty() && params.back().paramarray;
  const std::size_t fixed = params.size() - (has_array ? 1 : 0);
  std::size_t required = 0;
  for (std::size_t i = 0; i < fixed; ++i) {
    if (!params[i].optional) required = i + 1;
  }
  const std::size_t most = form == CallForm::Slot || !has_array ? params.size() : SIZE_MAX;
  if (args.size() < required || args.size() > most) {
    return Report(message, kErrorArgumentCount,
                  MemberTitle(self, member) + " takes " +
                      (required == fixed && !has_array ? std::to_string(fixed) + " argument(s)"
                                                        : "at least " + std::to_string(required) + " argument(s)") +
                      ", got " + std::to_string(args.size()));
  }

  // Arguments that needed a conversion or a default; built only when needed, since most
  // calls pass arguments that already have their parameters' types.
  std::array<std::optional<Variant>, kMaxParams> converted;
  std::array<Variant*, kMaxParams> slots;
  for (std::size_t i = 0; i < fixed; ++i) {
    const ParamInfo& p = params[i];
    if (i >= args.size() || args[i].IsMissing()) {
      if (!p.optional) {
        return Report(message, kErrorArgumentNotOptional,
                      "argument " + std::to_string(i + 1) + " (" + std::string(p.name) + ") of " +
                          MemberTitle(self, member));
      }
      slots[i] = &converted[i].emplace(DefaultArgument(p));
    } else if (HasType(args[i], p.type)) {
      slots[i] = &args[i];
    } else {
      const Long code = AttemptCode([&] { converted[i].emplace(ConvertArgument(args[i], p.type)); });
      if (code != 0) {
        return Report(message, code == kOverflow ? kErrorOverflow : kErrorTypeMismatch,
                      "argument " + std::to_string(i + 1) + " (" + std::string(p.name) + ") of " +
                          MemberTitle(self, member) + " cannot be " +
                          std::string(VarTypeName(args[i].Type())) + " for " + std::string(TypeName(p.type)));
      }
      slots[i] = &*converted[i];
    }
  }
  if (has_array) {
    if (form == CallForm::Dispatch) {
      std::vector<Variant> rest;
      for (std::size_t i = fixed; i < args.size(); ++i) rest.push_back(args[i]);
      converted[fixed].emplace(SafeArray::Of(std::move(rest), 0));
    } else if (args.size() > fixed && args[fixed].IsArray()) {
      converted[fixed].emplace(args[fixed]);
    } else if (args.size() > fixed && !args[fixed].IsMissing()) {
      return Report(message, kErrorTypeMismatch,
                    "the parameter array of " + MemberTitle(self, member) + " must be an array");
    } else {
      converted[fixed].emplace(SafeArray::Of({}, 0));
    }
    slots[fixed] = &*converted[fixed];
  }

  // A library operation never fails; this guard only keeps a fault from reaching the host. A
  // host's object (the Collection) reports its failures, as the host's own objects do.
  try {
    member.call(self, slots.data(), result);
  } catch (const Failure& failure) {
    const ClassInfo* info = self.Class();
    if (info && info->raises_errors) return Report(message, failure.code(), MemberTitle(self, member));
    result = DefaultResult(member.result);
  } catch (...) {
    result = DefaultResult(member.result);
  }

  // By-reference arguments that were converted get the value the operation left in them.
  for (std::size_t i = 0; i < fixed && i < args.size(); ++i) {
    if (params[i].byref && converted[i]) args[i] = std::move(*converted[i]);
  }
  return 0;
}

[[noreturn]] void Throw(Long code, const std::string& message) { throw DispatchError(code, message); }

Variant InvokeFound(Object& self, const MemberInfo* member, std::span<Variant> args,
                    const std::string& what) {
  if (!member) Throw(kErrorNoSuchMember, std::string(ErrorText(kErrorNoSuchMember)) + ": " + what);
  Variant result;
  std::string message;
  if (const Long code = Call(self, *member, args, result, CallForm::Dispatch, &message)) Throw(code, message);
  return result;
}

const ClassInfo& ClassOf(const Object& self) {
  const ClassInfo* info = self.Class();
  if (!info) Throw(kErrorNoSuchMember, "the object has no members");
  return *info;
}

}  // namespace

const char* ErrorText(Long code) noexcept {
  switch (code) {
    case kErrorOverflow: return "Overflow";
    case kErrorTypeMismatch: return "Type mismatch";
    case kErrorNoSuchMember: return "Object doesn't support this property or method";
    case kErrorArgumentCount: return "Wrong number of arguments or invalid property assignment";
    case kErrorArgumentNotOptional: return "Argument not optional";
    case kErrorNotCreatable: return "ActiveX component can't create object";
    case kObjectNotSet: return "Object variable not set";
    case kInvalidProcedureCall: return "Invalid procedure call or argument";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case 457: return "This key is already associated with an element of this collection";
    default: return "Automation error";
  }
}

Long Call(Object& self, const MemberInfo& member, std::span<Variant> args, Variant& result, CallForm form,
          std::string* message) noexcept {
  try {
    return CallChecked(self, member, args, result, form, message);
  } catch (...) {
    // Only running out of memory while gathering arguments gets here.
    return Report(message, kOutOfMemory, "");
  }
}

Variant Object::Invoke(std::u16string_view member, std::initializer_list<Variant> args, MemberKind kind) {
  std::vector<Variant> copy(args);
  return Invoke(member, std::span<Variant>(copy), kind);
}

Variant Object::Invoke(std::u16string_view member, std::span<Variant> args, MemberKind kind) {
  return InvokeFound(*this, FindMember(ClassOf(*this), member, kind), args, "'" + Narrow(member) + "'");
}

Variant Object::Invoke(DispId member, std::span<Variant> args, MemberKind kind) {
  return InvokeFound(*this, FindMember(ClassOf(*this), member, kind), args,
                     "dispatch id " + std::to_string(member));
}

Variant Object::InvokeSlot(std::size_t slot, std::span<Variant> args) {
  const ClassInfo& info = ClassOf(*this);
  if (slot < 1 || slot > info.members.size()) {
    Throw(kErrorNoSuchMember, std::string(ErrorText(kErrorNoSuchMember)) + ": slot " + std::to_string(slot));
  }
  Variant result;
  std::string message;
  if (const Long code = Call(*this, info.members[slot - 1], args, result, CallForm::Slot, &message)) {
    Throw(code, message);
  }
  return result;
}

namespace {
ObjectRef Create(const ClassInfo* info) noexcept {
  if (!info || info->kind != ClassKind::Utility) return nullptr;
  try {
    return info->create();
  } catch (...) {
    return nullptr;
  }
}
}  // namespace

ObjectRef CreateObject(std::u16string_view name) noexcept { return Create(FindClass(name)); }

ObjectRef CreateObject(const Guid& clsid) noexcept { return Create(FindClass(clsid)); }

}  // namespace ztl
