// Late-bound calls, in steps: find the member a name, dispatch id or slot names, check the
// argument count, bind the arguments (conversions, defaults, parameter arrays), run the member,
// write back by-reference arguments. The errors a host sees come from these steps, worded here
// once for all of them, before an operation runs. The typed C++ methods do the
// work; this layer only adapts Variants to them, driven by the interface tables.

#include <algorithm>
#include <bit>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "type_rows.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/platform/names.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl {

namespace {

// No member of the library has more parameters than this.
constexpr std::size_t kMaxParams = 8;

std::string MemberTitle(const Object& self, const MemberInfo& member) {
  const ClassInfo* info = self.Class();
  return (info ? std::string(info->name) + "." : std::string()) + std::string(member.name);
}

Failure Report(CallFailure* failure, Long code, const std::string& detail) {
  if (failure) {
    failure->number = code;
    failure->message = std::string(ErrorText(code)) + (detail.empty() ? "" : ": " + detail);
  }
  return Fail(code);
}

// Whether an argument already has its parameter's type, so it is passed without a copy.
bool HasType(const Variant& v, const TypeRow& row) {
  switch (row.binding) {
    case Binding::Convert: return v.Type() == row.var_type;
    case Binding::AsIs: return true;
    case Binding::Object: return v.IsObject();
    case Binding::Collection: {
      const ObjectRef* o = v.If<ObjectRef>();
      return o && (!*o || dynamic_cast<const Collection*>(o->get()) != nullptr);
    }
    case Binding::None: break;
  }
  return false;
}

// Converts an argument to its parameter's type as the host platform does for a dispatch
// call. Objects are not converted to other objects: a wrong object is a type mismatch.
Outcome<Variant> ConvertArgument(const Variant& v, const TypeRow& row) {
  switch (row.binding) {
    case Binding::Convert: return ChangeType(v, row.var_type);
    case Binding::AsIs: return v;
    case Binding::Object:
    case Binding::Collection:
    case Binding::None: break;
  }
  return Fail(kTypeMismatch);
}

Outcome<Variant> DefaultArgument(const ParamInfo& p) {
  if (p.default_value.is_text) return Variant(String(p.default_value.text));
  return ConvertArgument(Variant(p.default_value.number), RowOf(p.type));
}

// The arguments of one call bound to the member's parameters: for each parameter, the
// caller's argument itself when it already has the parameter's type, or a converted copy or
// a default held here. Held values are built only when needed and their cells are never
// cleared up front: most calls pass arguments that already have their parameters' types.
class Bound {
 public:
  Bound() noexcept {}  // NOLINT: leaves the cells unbuilt on purpose
  Bound(const Bound&) = delete;
  Bound& operator=(const Bound&) = delete;
  ~Bound() {
    for (std::uint32_t rest = held_; rest != 0; rest &= rest - 1) cells_[std::countr_zero(rest)].value.~Variant();
  }

  // Parameter i takes the caller's own argument.
  void Pass(std::size_t i, Variant& argument) noexcept { slots[i] = &argument; }
  // Parameter i takes a value held here (once per parameter).
  void Hold(std::size_t i, Variant&& value) {
    new (&cells_[i].value) Variant(std::move(value));
    held_ |= 1u << i;
    slots[i] = &cells_[i].value;
  }
  // The value held for parameter i, or null when it took the caller's argument.
  Variant* Held(std::size_t i) noexcept { return held_ & (1u << i) ? &cells_[i].value : nullptr; }
  // Whether any parameter holds a value here (most calls hold none).
  bool HoldsAny() const noexcept { return held_ != 0; }

  std::array<Variant*, kMaxParams> slots;

 private:
  struct Cell {
    Cell() noexcept {}  // NOLINT: built by Hold
    ~Cell() {}
    union {
      Variant value;
    };
  };
  std::array<Cell, kMaxParams> cells_;
  std::uint32_t held_ = 0;
};

// The shape of a member's parameters: how many fixed ones, how many of them required, and
// whether a parameter array follows.
struct Shape {
  std::size_t fixed = 0;
  std::size_t required = 0;
  bool has_array = false;
};

Shape ShapeOf(const MemberInfo& member) noexcept {
  Shape shape;
  const std::span<const ParamInfo> params = member.params;
  shape.has_array = !params.empty() && params.back().paramarray;
  shape.fixed = params.size() - (shape.has_array ? 1 : 0);
  for (std::size_t i = 0; i < shape.fixed; ++i) {
    if (!params[i].optional) shape.required = i + 1;
  }
  return shape;
}

Status CheckCount(const Object& self, const MemberInfo& member, const Shape& shape, std::size_t given,
                  CallForm form, CallFailure* message) {
  const std::size_t most = form == CallForm::Slot || !shape.has_array ? member.params.size() : SIZE_MAX;
  if (given >= shape.required && given <= most) return Done();
  const std::string takes = shape.required == shape.fixed && !shape.has_array
                                ? std::to_string(shape.fixed) + " argument(s)"
                                : "at least " + std::to_string(shape.required) + " argument(s)";
  return Report(message, kArgumentCount,
                MemberTitle(self, member) + " takes " + takes + ", got " + std::to_string(given));
}

// Binds the fixed parameters: a default for an omitted optional one, the argument itself when
// it has the parameter's type, otherwise the argument converted.
Status BindFixed(const Object& self, const MemberInfo& member, const Shape& shape, std::span<Variant> args,
                 Bound& bound, CallFailure* message) {
  for (std::size_t i = 0; i < shape.fixed; ++i) {
    const ParamInfo& p = member.params[i];
    auto which = [&] {
      return "argument " + std::to_string(i + 1) + " (" + std::string(p.name) + ") of " + MemberTitle(self, member);
    };
    if (i >= args.size() || args[i].IsMissing()) {
      if (!p.optional) return Report(message, kArgumentNotOptional, which());
      ZTL_TRY(fallback, DefaultArgument(p));
      bound.Hold(i, std::move(fallback));
    } else if (HasType(args[i], RowOf(p.type))) {
      bound.Pass(i, args[i]);
    } else {
      Outcome<Variant> converted = ConvertArgument(args[i], RowOf(p.type));
      if (!converted) {
        return Report(message, converted.error() == kOverflow ? kOverflow : kTypeMismatch,
                      which() + " cannot be " + std::string(VarTypeName(args[i].Type())) + " for " +
                          std::string(TypeName(p.type)));
      }
      bound.Hold(i, *std::move(converted));
    }
  }
  return Done();
}

// Binds a parameter array: through dispatch the remaining arguments are gathered into one
// array of Variants (lower bound 0); through the slot order the caller passes that array.
Status BindParamArray(const Object& self, const MemberInfo& member, const Shape& shape, std::span<Variant> args,
                      CallForm form, Bound& bound, CallFailure* message) {
  const std::size_t at = shape.fixed;
  if (form == CallForm::Dispatch) {
    std::vector<Variant> rest(args.begin() + static_cast<std::ptrdiff_t>(std::min(at, args.size())), args.end());
    bound.Hold(at, SafeArray::Of(std::move(rest), 0));
  } else if (args.size() > at && args[at].IsArray()) {
    bound.Pass(at, args[at]);
  } else if (args.size() > at && !args[at].IsMissing()) {
    return Report(message, kTypeMismatch, "the parameter array of " + MemberTitle(self, member) + " must be an array");
  } else {
    bound.Hold(at, SafeArray::Of({}, 0));
  }
  return Done();
}

// Runs the member on the bound arguments. A library operation never fails; a host's object
// (the Collection) reports its failures, as the host's own objects do. The guard only keeps a
// fault from reaching the host: the result then holds the value its type starts with.
Status Run(Object& self, const MemberInfo& member, Bound& bound, Variant& result, CallFailure* message) {
  Status status;
  try {
    status = member.call(self, bound.slots.data(), result);
  } catch (...) {
    result = InitialValue(RowOf(member.result).var_type);
    return Done();
  }
  if (!status) return Report(message, status.error(), MemberTitle(self, member));
  return Done();
}

// By-reference arguments that were converted get the value the operation left in them.
void WriteBack(const MemberInfo& member, const Shape& shape, std::span<Variant> args, Bound& bound) {
  if (!bound.HoldsAny()) return;
  for (std::size_t i = 0; i < shape.fixed && i < args.size(); ++i) {
    if (Variant* held = bound.Held(i); held && member.params[i].byref) args[i] = std::move(*held);
  }
}

Status CallSteps(Object& self, const MemberInfo& member, std::span<Variant> args, Variant& result, CallForm form,
                 CallFailure* message) {
  const Shape shape = ShapeOf(member);
  ZTL_CHECK(CheckCount(self, member, shape, args.size(), form, message));
  Bound bound;
  ZTL_CHECK(BindFixed(self, member, shape, args, bound, message));
  if (shape.has_array) ZTL_CHECK(BindParamArray(self, member, shape, args, form, bound, message));
  ZTL_CHECK(Run(self, member, bound, result, message));
  WriteBack(member, shape, args, bound);
  return Done();
}

// The start of a long text for a message: its first 40 characters, then "...".
std::string Shortened(std::string_view text) {
  constexpr int kShownCharacters = 40;
  int characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A character starts at every byte that is no UTF-8 continuation byte.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > kShownCharacters) {
      return std::string(text.substr(0, i)) + "...";
    }
  }
  return std::string(text);
}

std::string_view KindText(MemberKind kind) {
  switch (kind) {
    case MemberKind::PropertyGet: return "property get";
    case MemberKind::PropertyLet: return "property let";
    default: return "method";
  }
}

}  // namespace

std::optional<DispId> ParseDispId(std::string_view text) noexcept {
  long long id = 0;
  const char* end = text.data() + text.size();
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  const char* begin = text.data() + (hex ? 2 : 0);
  if (hex && begin != end && *begin == '-') return std::nullopt;  // from_chars would take "0x-5"
  const auto [ptr, ec] = std::from_chars(begin, end, id, hex ? 16 : 10);
  if (begin == end || ec != std::errc() || ptr != end || id < INT32_MIN || id > UINT32_MAX) return std::nullopt;
  return static_cast<DispId>(static_cast<std::uint32_t>(id));
}

std::string DispIdText(DispId id) {
  if (id < 0) return std::to_string(id);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(id));
  return text;
}

std::optional<std::size_t> ParameterIndex(const MemberInfo& member, std::u16string_view name) noexcept {
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    if (EqualsIgnoringAsciiCase(name, member.params[i].name)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> ParameterIndex(const MemberInfo& member, std::string_view utf8) noexcept {
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    if (EqualsIgnoringAsciiCase(utf8, member.params[i].name)) return i;
  }
  return std::nullopt;
}

MemberKey MemberKey::Text(std::string_view utf8) noexcept {
  if (const std::optional<DispId> id = ParseDispId(utf8)) return Id(*id);
  return Name(utf8);
}

const MemberInfo* MemberKey::Find(const ClassInfo& info, MemberKind kind) const noexcept {
  switch (by_) {
    case By::Name16: return FindMember(info, name16_, kind);
    case By::Id: return FindMember(info, static_cast<DispId>(static_cast<std::uint32_t>(number_)), kind);
    case By::Slot: return number_ >= 1 && number_ <= info.members.size() ? &info.members[number_ - 1] : nullptr;
    case By::Name8: return FindMember(info, name8_, kind);
  }
  return nullptr;
}

std::string MemberKey::Describe() const {
  switch (by_) {
    case By::Name16: return Shortened(Utf16ToUtf8(name16_));
    case By::Name8: return Shortened(name8_);
    case By::Id: return DispIdText(static_cast<DispId>(static_cast<std::uint32_t>(number_)));
    case By::Slot: return "slot " + std::to_string(number_);
  }
  return std::string();
}

Status Call(Object& self, const MemberInfo& member, std::span<Variant> args, Variant& result, CallForm form,
            CallFailure* failure) noexcept {
  try {
    return CallSteps(self, member, args, result, form, failure);
  } catch (...) {
    // The last guard: only running out of memory while binding arguments gets here.
    if (failure) {
      failure->number = kOutOfMemory;
      failure->message.clear();
    }
    return Fail(kOutOfMemory);
  }
}

const MemberInfo* ResolveMember(const Object& self, const MemberKey& key, MemberKind kind,
                                CallFailure* failure) noexcept {
  return ResolveMember(self.Class(), key, kind, failure);
}

const MemberInfo* ResolveMember(const ClassInfo* info, const MemberKey& key, MemberKind kind,
                                CallFailure* failure) noexcept {
  const MemberInfo* member = info ? key.Find(*info, kind) : nullptr;
  if (member || !failure) return member;
  failure->number = kNoSuchMember;
  try {
    const std::string kind_text = key.IsSlot() ? std::string() : std::string(KindText(kind)) + " ";
    failure->message = (info ? std::string(info->name) : std::string("the object")) + " has no " + kind_text +
                       key.Describe() + " (" + std::string(ErrorText(kNoSuchMember)) + ")";
  } catch (...) {
    failure->message.clear();
  }
  return nullptr;
}

Outcome<Variant> LateCall(Object& self, const MemberKey& key, MemberKind kind, std::span<Variant> args,
                          CallFailure* failure) noexcept {
  // The member found straight away; only a miss goes through ResolveMember for its wording.
  const ClassInfo* info = self.Class();
  const MemberInfo* member = info ? key.Find(*info, kind) : nullptr;
  if (!member) {
    ResolveMember(info, key, kind, failure);
    return Fail(kNoSuchMember);
  }
  const CallForm form = key.IsSlot() ? CallForm::Slot : CallForm::Dispatch;
  Variant result;
  const Status status = Call(self, *member, args, result, form, failure);
  if (!status) return status.failure();
  return result;
}

Outcome<Variant> Object::Invoke(std::u16string_view member, std::initializer_list<Variant> args, MemberKind kind) {
  std::vector<Variant> copy(args);
  return Invoke(member, std::span<Variant>(copy), kind);
}

Outcome<Variant> Object::Invoke(std::u16string_view member, std::span<Variant> args, MemberKind kind) {
  return LateCall(*this, MemberKey::Name(member), kind, args);
}

Outcome<Variant> Object::Invoke(DispId member, std::span<Variant> args, MemberKind kind) {
  return LateCall(*this, MemberKey::Id(member), kind, args);
}

Outcome<Variant> Object::InvokeSlot(std::size_t slot, std::span<Variant> args) {
  return LateCall(*this, MemberKey::Slot(slot), MemberKind::Method, args);
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
