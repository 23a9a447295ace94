// Objects and late-bound calls across the C interface: creating and releasing objects, their
// class names and identities, dispatch ids of names, and calls by name, dispatch id or slot.

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

// The class of a live object handle; null for an object without a class description, whose
// member lookups the frame refuses in the words every host gives.
Outcome<const ClassInfo*> ClassOf(ztl_object* handle) {
  ZTL_TRY(object, Checked(handle));
  const ClassInfo* info = object->ref ? object->ref->Class() : nullptr;
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

// The call itself: the member `key` names, the caller's variants in, the result and
// by-reference values out.
Status Invoke(ztl_object* handle, const MemberKey& key, MemberKind kind, ztl_variant* args, std::size_t count,
              ztl_variant* result) {
  ZTL_TRY(object, Checked(handle));
  if (count > 0 && args == nullptr) return Refuse(ZTL_E_INVALID_ARG, "args must not be NULL when arg_count is not 0");
  CallFailure failure;
  const MemberInfo* member = ResolveMember(object->ref ? object->ref->Class() : nullptr, key, kind, &failure);
  if (member == nullptr) return Refuse(failure.number, failure.message);
  std::vector<Variant> values;
  values.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    ZTL_TRY(arg, FromC(args[i]));
    values.push_back(std::move(arg));
  }
  Variant value;
  const CallForm form = key.IsSlot() ? CallForm::Slot : CallForm::Dispatch;
  if (!Call(*object->ref, *member, values, value, form, &failure)) return Refuse(failure.number, failure.message);
  for (std::size_t i = 0; i < count && i < member->params.size(); ++i) {
    if (member->params[i].byref) ZTL_CHECK(WriteBack(args[i], values[i]));
  }
  if (result == nullptr) return Done();
  ZTL_TRY(out, ToC(value));
  *result = out;
  return Done();
}

// Sets the 0-based position of each parameter name in names[1..count-1], leaving -1 for one
// the member lacks. Gives the first name it lacks.
Outcome<std::optional<std::string>> ParameterIds(const MemberInfo& member, const char* const* names, size_t count,
                                                 int32_t* dispids) {
  std::optional<std::string> missing;
  for (size_t i = 1; i < count; ++i) {
    ZTL_TRY(param, RequiredText(names[i], "a parameter name"));
    if (const std::optional<std::size_t> index = ParameterIndex(member, param)) {
      dispids[i] = static_cast<int32_t>(*index);
    } else if (!missing) {
      missing = std::string(param);
    }
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
    if (info == nullptr) return Refuse(kNoSuchMember, "the object has no class description");
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
    // A method or property get, else a property that is only set.
    CallFailure failure;
    const MemberInfo* member = ResolveMember(info, MemberKey::Name(name), MemberKind::Method, &failure);
    if (member == nullptr) member = ResolveMember(info, MemberKey::Name(name), MemberKind::PropertyLet);
    if (member == nullptr) return Refuse(failure.number, failure.message);
    dispids[0] = member->dispid;
    ZTL_TRY(missing, ParameterIds(*member, names, count, dispids));
    if (missing) {
      return Refuse(ZTL_E_NOT_FOUND,
                    std::string(info->name) + "." + std::string(member->name) + " has no parameter '" + *missing + "'");
    }
    return Done();
  });
}

int ztl_member_carries_bytes(ztl_object* object, int32_t dispid, int* carries) {
  return Guard([&]() -> Status {
    ZTL_TRY(info, ClassOf(object));
    CallFailure failure;
    const MemberInfo* member = ResolveMember(info, MemberKey::Id(dispid), MemberKind::Method, &failure);
    if (member == nullptr) return Refuse(failure.number, failure.message);
    return SetOutput(carries, "carries", CarriesBytes(*info, *member) ? 1 : 0);
  });
}

int ztl_invoke(ztl_object* object, int32_t dispid, int kind, ztl_variant* args, size_t arg_count, ztl_variant* result) {
  return Guard([&]() -> Status {
    ZTL_CHECK(ClassOf(object));
    ZTL_TRY(member_kind, MemberKindOf(kind));
    return Invoke(object, MemberKey::Id(dispid), member_kind, args, arg_count, result);
  });
}

int ztl_invoke_name(ztl_object* object, const char* member, int kind, ztl_variant* args, size_t arg_count,
                    ztl_variant* result) {
  return Guard([&]() -> Status {
    ZTL_CHECK(ClassOf(object));
    ZTL_TRY(name, RequiredText(member, "member"));
    ZTL_TRY(member_kind, MemberKindOf(kind));
    return Invoke(object, MemberKey::Name(name), member_kind, args, arg_count, result);
  });
}

int ztl_invoke_slot(ztl_object* object, size_t slot, ztl_variant* args, size_t arg_count, ztl_variant* result) {
  return Guard([&]() -> Status {
    ZTL_CHECK(ClassOf(object));
    return Invoke(object, MemberKey::Slot(slot), MemberKind::Method, args, arg_count, result);
  });
}

void ztl_randomize(uint64_t seed) { SeedRandom(seed); }

}  // extern "C"
