// Objects and late-bound calls across the C interface: creating and releasing objects, their
// class names and identities, dispatch ids of names, and calls by name, dispatch id or slot.

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "c_handles.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::c_api {

namespace {

Outcome<MemberKind> MemberKindOf(int kind) {
  switch (kind) {
    case ZTL_METHOD:
    case ZTL_METHOD | ZTL_GET: return MemberKind::Method;
    case ZTL_GET: return MemberKind::PropertyGet;
    case ZTL_LET: return MemberKind::PropertyLet;
    default:
      return Refuse(ZTL_E_INVALID_ARG, "kind must be ZTL_METHOD, ZTL_GET or ZTL_LET, not " + std::to_string(kind));
  }
}

// The class of a live object handle.
Outcome<const ClassInfo*> ClassOf(ztl_object* handle) {
  ZTL_TRY(object, Checked(handle));
  const ClassInfo* info = object->ref ? object->ref->Class() : nullptr;
  if (info == nullptr) return Refuse(kNoSuchMember, "the object has no members");
  return info;
}

// Writes a by-reference argument's value after a call back into the caller's variant. An array
// handle gets the new contents in place; an unchanged value is left as the caller gave it.
Status WriteBack(ztl_variant& arg, Variant& after) {
  if ((arg.type & ZTL_VT_ARRAY) != 0 && after.IsArray()) {
    ZTL_TRY(handle, Checked(arg.value.array));
    handle->array = std::move(*after.If<SafeArray>());
    arg.type = static_cast<std::uint16_t>(ZTL_VT_ARRAY | static_cast<std::uint16_t>(handle->array.ElementType()));
    return Done();
  }
  ZTL_TRY(before, FromC(arg));
  if (before == after) return Done();
  return Replace(arg, after);
}

// The call itself: the caller's variants in, the result and by-reference values out.
Status Invoke(ztl_object* handle, const MemberInfo* member, CallForm form, ztl_variant* args, std::size_t count,
              ztl_variant* result, const std::string& what) {
  ZTL_TRY(object, Checked(handle));
  if (count > 0 && args == nullptr) return Refuse(ZTL_E_INVALID_ARG, "args must not be NULL when arg_count is not 0");
  if (member == nullptr) return RefuseError(kNoSuchMember, what);
  std::vector<Variant> values;
  values.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    ZTL_TRY(arg, FromC(args[i]));
    values.push_back(std::move(arg));
  }
  Variant value;
  std::string message;
  if (const Status call = Call(*object->ref, *member, values, value, form, &message); !call) {
    return Refuse(call.error(), message);
  }
  for (std::size_t i = 0; i < count && i < member->params.size(); ++i) {
    if (member->params[i].byref) ZTL_CHECK(WriteBack(args[i], values[i]));
  }
  if (result == nullptr) return Done();
  ZTL_TRY(out, ToC(value));
  *result = out;
  return Done();
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// Sets the 0-based position of each parameter name in names[1..count-1], leaving -1 for one
// the member lacks. Gives the first name it lacks.
Outcome<std::optional<std::string>> ParameterIds(const MemberInfo& member, const char* const* names, size_t count,
                                                 int32_t* dispids) {
  std::optional<std::string> missing;
  for (size_t i = 1; i < count; ++i) {
    ZTL_TRY(param, RequiredText(names[i], "a parameter name"));
    for (std::size_t p = 0; p < member.params.size(); ++p) {
      if (SameName(member.params[p].name, param)) dispids[i] = static_cast<int32_t>(p);
    }
    if (dispids[i] == -1 && !missing) missing = std::string(param);
  }
  return missing;
}

}  // namespace

}  // namespace ztl::c_api

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

int ztl_create_object(const char* name_or_clsid, ztl_object** object) {
  return Guard([&]() -> Status {
    ZTL_TRY(name, RequiredText(name_or_clsid, "name_or_clsid"));
    ZTL_CHECK(Required(object, "object"));
    ztl_class_object* factory = nullptr;
    if (ztl_get_class_object(name_or_clsid, &factory) != ZTL_OK) {
      return RefuseError(kNotCreatable, "no class named '" + std::string(name) + "'");
    }
    const int code = ztl_class_object_create(factory, object);
    const std::string message = ztl_last_error();
    ztl_class_object_release(factory);
    if (code != ZTL_OK) return Refuse(code, message);
    return Done();
  });
}

int ztl_object_release(ztl_object* object) {
  return Guard([&] { return ReleaseHandle(object); });
}

int ztl_object_class(ztl_object* object, const char** class_name) {
  return Guard([&]() -> Status {
    ZTL_TRY(info, ClassOf(object));
    ZTL_CHECK(Required(class_name, "class_name"));
    // The names of the tables are views; keep one NUL-terminated copy of each.
    static std::mutex mutex;
    static auto* names = new std::map<const ClassInfo*, std::string>;
    std::lock_guard lock(mutex);
    auto [entry, added] = names->try_emplace(info, info->name);
    *class_name = entry->second.c_str();
    return Done();
  });
}

int ztl_object_same(ztl_object* a, ztl_object* b, int* same) {
  return Guard([&]() -> Status {
    ZTL_TRY(first, Checked(a));
    ZTL_TRY(second, Checked(b));
    return SetOutput(same, "same", first->ref == second->ref ? 1 : 0);
  });
}

int ztl_get_ids_of_names(ztl_object* object, const char* const* names, size_t count, int32_t* dispids) {
  return Guard([&]() -> Status {
    ZTL_TRY(info, ClassOf(object));
    if (count == 0) return Refuse(ZTL_E_INVALID_ARG, "count must be at least 1 (the member's name)");
    ZTL_CHECK(Required(names, "names"));
    ZTL_CHECK(Required(dispids, "dispids"));
    for (size_t i = 0; i < count; ++i) dispids[i] = -1;
    ZTL_TRY(name, RequiredText(names[0], "names[0]"));
    const String member_name = Utf8ToUtf16(name);
    const MemberInfo* member = FindMember(*info, member_name, MemberKind::Method);
    if (member == nullptr) member = FindMember(*info, member_name, MemberKind::PropertyLet);
    if (member == nullptr) {
      return Refuse(kNoSuchMember, std::string(info->name) + " has no member '" + std::string(name) + "'");
    }
    dispids[0] = member->dispid;
    ZTL_TRY(missing, ParameterIds(*member, names, count, dispids));
    if (missing) {
      return Refuse(ZTL_E_NOT_FOUND,
                    std::string(info->name) + "." + std::string(member->name) + " has no parameter '" + *missing + "'");
    }
    return Done();
  });
}

int ztl_invoke(ztl_object* object, int32_t dispid, int kind, ztl_variant* args, size_t arg_count, ztl_variant* result) {
  return Guard([&]() -> Status {
    ZTL_TRY(info, ClassOf(object));
    ZTL_TRY(member_kind, MemberKindOf(kind));
    return Invoke(object, FindMember(*info, dispid, member_kind), CallForm::Dispatch, args, arg_count, result,
                  std::string(info->name) + " dispatch id " + std::to_string(dispid));
  });
}

int ztl_invoke_name(ztl_object* object, const char* member, int kind, ztl_variant* args, size_t arg_count,
                    ztl_variant* result) {
  return Guard([&]() -> Status {
    ZTL_TRY(info, ClassOf(object));
    ZTL_TRY(name, RequiredText(member, "member"));
    ZTL_TRY(member_kind, MemberKindOf(kind));
    return Invoke(object, FindMember(*info, Utf8ToUtf16(name), member_kind), CallForm::Dispatch, args, arg_count,
                  result, std::string(info->name) + "." + std::string(name));
  });
}

int ztl_invoke_slot(ztl_object* object, size_t slot, ztl_variant* args, size_t arg_count, ztl_variant* result) {
  return Guard([&]() -> Status {
    ZTL_TRY(info, ClassOf(object));
    const MemberInfo* member = slot >= 1 && slot <= info->members.size() ? &info->members[slot - 1] : nullptr;
    return Invoke(object, member, CallForm::Slot, args, arg_count, result,
                  std::string(info->name) + " slot " + std::to_string(slot));
  });
}

void ztl_randomize(uint64_t seed) { SeedRandom(seed); }

}  // extern "C"
