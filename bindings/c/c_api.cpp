// The C interface of ztldata.h: handles, variants, late-bound calls, arrays, collections,
// containers, the about-box hook and device contexts. The entry points are in
// c_entry_points.cpp. Every function runs its body through Guard, so no exception leaves it.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "c_handles.hpp"
#include "frame/convert.hpp"
#include "frame/failure.hpp"
#include "platform/utf8.hpp"
#include "ztldata/frame/about.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/text/device_context.hpp"

namespace ztl::c_api {

namespace {

// Arrays made through this interface stay below these sizes, so that a mistaken count gives an
// error instead of exhausting memory.
constexpr std::size_t kMaxDims = 60;
constexpr std::size_t kMaxElements = std::size_t{1} << 24;

class HandleTable {
 public:
  void Add(void* handle, HandleKind kind) {
    std::lock_guard lock(mutex_);
    live_.emplace(handle, kind);
  }
  bool IsLive(const void* handle, HandleKind kind) {
    std::lock_guard lock(mutex_);
    auto found = live_.find(handle);
    return found != live_.end() && found->second == kind;
  }
  bool Remove(const void* handle, HandleKind kind) {
    std::lock_guard lock(mutex_);
    auto found = live_.find(handle);
    if (found == live_.end() || found->second != kind) return false;
    live_.erase(found);
    return true;
  }
  std::size_t Count() {
    std::lock_guard lock(mutex_);
    return live_.size();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<const void*, HandleKind> live_;
};

// Never destroyed: handles may be released from exit handlers after static destruction began.
HandleTable& Table() {
  static HandleTable* table = new HandleTable;
  return *table;
}

thread_local std::string last_error;

const char* KindText(HandleKind kind) {
  switch (kind) {
    case HandleKind::Object: return "object";
    case HandleKind::Array: return "array";
    case HandleKind::Container: return "container";
    case HandleKind::ClassObject: return "class object";
  }
  return "handle";
}

template <class T>
T& Check(T* handle, HandleKind kind) {
  if (handle == nullptr) Throw(ZTL_E_INVALID_HANDLE, std::string("the ") + KindText(kind) + " handle is NULL");
  if (!Table().IsLive(handle, kind)) {
    Throw(ZTL_E_INVALID_HANDLE, std::string("not a live ") + KindText(kind) + " handle (released, or another kind)");
  }
  return *handle;
}

ztl_char16* CopyUtf16(std::u16string_view text) {
  auto* copy = static_cast<ztl_char16*>(std::malloc((text.size() + 1) * sizeof(ztl_char16)));
  if (copy == nullptr) throw std::bad_alloc();
  if (!text.empty()) std::memcpy(copy, text.data(), text.size() * sizeof(ztl_char16));
  copy[text.size()] = 0;
  return copy;
}

bool IsScalarType(std::uint16_t type) {
  switch (type) {
    case ZTL_VT_INTEGER: case ZTL_VT_LONG: case ZTL_VT_SINGLE: case ZTL_VT_DOUBLE: case ZTL_VT_CURRENCY:
    case ZTL_VT_DATE: case ZTL_VT_STRING: case ZTL_VT_OBJECT: case ZTL_VT_ERROR: case ZTL_VT_BOOLEAN:
    case ZTL_VT_DECIMAL: case ZTL_VT_BYTE:
      return true;
    default:
      return false;
  }
}

MemberKind KindOf(int kind) {
  switch (kind) {
    case ZTL_METHOD:
    case ZTL_METHOD | ZTL_GET: return MemberKind::Method;
    case ZTL_GET: return MemberKind::PropertyGet;
    case ZTL_LET: return MemberKind::PropertyLet;
    default: Throw(ZTL_E_INVALID_ARG, "kind must be ZTL_METHOD, ZTL_GET or ZTL_LET, not " + std::to_string(kind));
  }
}

const ClassInfo& ClassOf(const ztl_object& handle) {
  const ClassInfo* info = handle.ref ? handle.ref->Class() : nullptr;
  if (info == nullptr) Throw(kErrorNoSuchMember, "the object has no members");
  return *info;
}

Collection& CheckCollection(ztl_object* handle) {
  ztl_object& object = CheckObject(handle);
  auto* collection = dynamic_cast<Collection*>(object.ref.get());
  if (collection == nullptr) Throw(ZTL_E_INVALID_HANDLE, "the object is no collection");
  return *collection;
}

// Writes a by-reference argument's value after a call back into the caller's variant. An array
// handle gets the new contents in place; an unchanged value is left as the caller gave it.
void WriteBack(ztl_variant& arg, Variant& after) {
  if ((arg.type & ZTL_VT_ARRAY) != 0 && after.IsArray()) {
    ztl_array& handle = CheckArray(arg.value.array);
    handle.array = std::move(*after.If<SafeArray>());
    arg.type = static_cast<std::uint16_t>(ZTL_VT_ARRAY | static_cast<std::uint16_t>(handle.array.ElementType()));
    return;
  }
  if (FromC(arg) == after) return;
  ztl_variant fresh = ToC(after);
  ztl_variant_clear(&arg);
  arg = fresh;
}

int Invoke(ztl_object* handle, const MemberInfo* member, CallForm form, ztl_variant* args, std::size_t count,
           ztl_variant* result, const std::string& what) {
  ztl_object& object = CheckObject(handle);
  if (count > 0 && args == nullptr) Throw(ZTL_E_INVALID_ARG, "args must not be NULL when arg_count is not 0");
  if (member == nullptr) Throw(kErrorNoSuchMember, std::string(ErrorText(kErrorNoSuchMember)) + ": " + what);
  std::vector<Variant> values;
  values.reserve(count);
  for (std::size_t i = 0; i < count; ++i) values.push_back(FromC(args[i]));
  Variant value;
  std::string message;
  if (const Long code = Call(*object.ref, *member, values, value, form, &message)) Throw(code, message);
  for (std::size_t i = 0; i < count && i < member->params.size(); ++i) {
    if (member->params[i].byref) WriteBack(args[i], values[i]);
  }
  if (result != nullptr) *result = ToC(value);
  return ZTL_OK;
}

ztl_object* NewObject(ObjectRef ref) { return NewHandle<ztl_object, HandleKind::Object>(std::move(ref)); }

}  // namespace

[[noreturn]] void Throw(int code, std::string message) { throw Fault{code, std::move(message)}; }

void* AddHandle(void* handle, HandleKind kind) {
  Table().Add(handle, kind);
  return handle;
}
bool IsLive(const void* handle, HandleKind kind) noexcept {
  try {
    return Table().IsLive(handle, kind);
  } catch (...) {
    return false;
  }
}
bool RemoveHandle(const void* handle, HandleKind kind) noexcept {
  try {
    return handle != nullptr && Table().Remove(handle, kind);
  } catch (...) {
    return false;
  }
}
std::size_t LiveHandles() noexcept {
  try {
    return Table().Count();
  } catch (...) {
    return 0;
  }
}

ztl_object& CheckObject(ztl_object* handle) { return Check(handle, HandleKind::Object); }
ztl_array& CheckArray(ztl_array* handle) { return Check(handle, HandleKind::Array); }
ztl_container& CheckContainer(ztl_container* handle) { return Check(handle, HandleKind::Container); }
ztl_class_object& CheckClassObject(ztl_class_object* handle) { return Check(handle, HandleKind::ClassObject); }

std::string_view RequiredText(const char* text, const char* name) {
  if (text == nullptr) Throw(ZTL_E_INVALID_ARG, std::string(name) + " must not be NULL");
  return text;
}

int Record(int code, const char* message) noexcept {
  try {
    last_error.assign(message);
  } catch (...) {
    last_error.clear();
  }
  return code;
}

char* CopyText(std::string_view text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) throw std::bad_alloc();
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

ztl_variant ToC(const Variant& value) {
  ztl_variant v{};
  v.type = static_cast<std::uint16_t>(value.Type());
  if (const auto* x = value.If<Integer>()) v.value.integer = *x;
  else if (const auto* x = value.If<Long>()) v.value.lng = *x;
  else if (const auto* x = value.If<Single>()) v.value.single = *x;
  else if (const auto* x = value.If<Double>()) v.value.dbl = *x;
  else if (const auto* x = value.If<Currency>()) v.value.currency = x->scaled;
  else if (const auto* x = value.If<Date>()) v.value.date = x->value;
  else if (const auto* x = value.If<Boolean>()) v.value.boolean = static_cast<std::int16_t>(*x ? -1 : 0);
  else if (const auto* x = value.If<Byte>()) v.value.byte = *x;
  else if (const auto* x = value.If<ErrorValue>()) v.value.error = x->code;
  else if (const auto* x = value.If<Decimal>()) {
    v.value.decimal = ztl_decimal{x->lo, x->hi, x->scale, static_cast<std::uint8_t>(x->negative ? 1 : 0)};
  } else if (const auto* x = value.If<String>()) {
    v.value.string.data = CopyUtf16(*x);
    v.value.string.length = x->size();
    v.owned = 1;
  } else if (const auto* x = value.If<ObjectRef>()) {
    v.value.object = *x ? NewObject(*x) : nullptr;
    v.owned = 1;
  } else if (const auto* x = value.If<SafeArray>()) {
    v.value.array = NewHandle<ztl_array, HandleKind::Array>(*x);
    v.owned = 1;
  }
  return v;
}

Variant FromC(const ztl_variant& v) {
  switch (v.type) {
    case ZTL_VT_EMPTY: return Variant();
    case ZTL_VT_NULL: return Variant(Null);
    case ZTL_VT_INTEGER: return Variant(Integer{v.value.integer});
    case ZTL_VT_LONG: return Variant(Long{v.value.lng});
    case ZTL_VT_SINGLE: return Variant(Single{v.value.single});
    case ZTL_VT_DOUBLE: return Variant(Double{v.value.dbl});
    case ZTL_VT_CURRENCY: return Variant(Currency{v.value.currency});
    case ZTL_VT_DATE: return Variant(Date{v.value.date});
    case ZTL_VT_BOOLEAN: return Variant(Boolean{v.value.boolean != 0});
    case ZTL_VT_BYTE: return Variant(Byte{v.value.byte});
    case ZTL_VT_ERROR: return Variant(ErrorValue{v.value.error});
    case ZTL_VT_DECIMAL: {
      const ztl_decimal& d = v.value.decimal;
      if (d.scale > 28) Throw(ZTL_E_INVALID_ARG, "a Decimal's scale must be 0..28, not " + std::to_string(d.scale));
      return Variant(Decimal{d.lo, d.hi, d.scale, d.negative != 0});
    }
    case ZTL_VT_STRING: {
      const ztl_string& s = v.value.string;
      if (s.data == nullptr && s.length != 0) Throw(ZTL_E_INVALID_ARG, "a String with a length has no data");
      if (s.length > std::numeric_limits<std::int32_t>::max()) Throw(ZTL_E_INVALID_ARG, "a String is too long");
      String text(s.length, u'\0');
      if (s.length != 0) std::memcpy(text.data(), s.data, s.length * sizeof(ztl_char16));
      return Variant(std::move(text));
    }
    case ZTL_VT_OBJECT:
      if (v.value.object == nullptr) return Variant(nullptr);
      return Variant(CheckObject(v.value.object).ref);
    default:
      break;
  }
  if ((v.type & ZTL_VT_ARRAY) != 0) return Variant(CheckArray(v.value.array).array);
  Throw(ZTL_E_INVALID_ARG, "unknown type code " + std::to_string(v.type));
}

}  // namespace ztl::c_api

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

const char* ztl_last_error(void) { return last_error.c_str(); }

const char* ztl_version(void) { return ZTL_VERSION; }

void ztl_free(void* memory) { std::free(memory); }

// ---- values ----------------------------------------------------------------------------------

// Leaves the thread's last error alone: clearing a result must not hide why a call failed.
void ztl_variant_clear(ztl_variant* v) {
  if (v == nullptr) return;
  if (v->owned != 0) {
    if (v->type == ZTL_VT_STRING) {
      std::free(const_cast<ztl_char16*>(v->value.string.data));
    } else if (v->type == ZTL_VT_OBJECT) {
      if (RemoveHandle(v->value.object, HandleKind::Object)) delete v->value.object;
    } else if ((v->type & ZTL_VT_ARRAY) != 0) {
      if (RemoveHandle(v->value.array, HandleKind::Array)) delete v->value.array;
    }
  }
  *v = ztl_variant{};
}

int ztl_variant_set_utf8(ztl_variant* v, const char* text, size_t length) {
  return Guard([&] {
    ztl_variant& out = Required(v, "v");
    if (text == nullptr && length != 0) Throw(ZTL_E_INVALID_ARG, "text must not be NULL");
    const std::string_view view =
        text == nullptr ? std::string_view() : length == static_cast<size_t>(-1) ? std::string_view(text)
                                                                                 : std::string_view(text, length);
    ztl_variant fresh = ToC(Variant(platform::Utf8ToUtf16(view)));
    ztl_variant_clear(&out);
    out = fresh;
    return ZTL_OK;
  });
}

int ztl_variant_set_utf16(ztl_variant* v, const ztl_char16* text, size_t length) {
  return Guard([&] {
    ztl_variant& out = Required(v, "v");
    ztl_variant fresh = ToC(FromC(ztl_variant_string(text, length)));
    ztl_variant_clear(&out);
    out = fresh;
    return ZTL_OK;
  });
}

int ztl_variant_to_utf8(const ztl_variant* v, char** text, size_t* length) {
  return Guard([&] {
    const Variant value = FromC(Required(v, "v"));
    char*& out = Required(text, "text");
    String converted;
    if (const Long code = AttemptCode([&] { converted = ToString(value); })) {
      Throw(code, std::string(ErrorText(code)) + ": a " + std::string(VarTypeName(value.Type())) + " has no text");
    }
    const std::string utf8 = platform::Utf16ToUtf8(converted);
    out = CopyText(utf8);
    if (length != nullptr) *length = utf8.size();
    return ZTL_OK;
  });
}

int ztl_variant_copy(ztl_variant* copy, const ztl_variant* v) {
  return Guard([&] {
    ztl_variant& out = Required(copy, "copy");
    out = ToC(FromC(Required(v, "v")));
    return ZTL_OK;
  });
}

// ---- objects and calls -----------------------------------------------------------------------

int ztl_create_object(const char* name_or_clsid, ztl_object** object) {
  return Guard([&] {
    const std::string_view name = RequiredText(name_or_clsid, "name_or_clsid");
    ztl_object*& out = Required(object, "object");
    ztl_class_object* factory = nullptr;
    if (const int code = ztl_get_class_object(name_or_clsid, &factory)) {
      Throw(kErrorNotCreatable, std::string(ErrorText(kErrorNotCreatable)) + ": no class named '" + std::string(name) + "'");
    }
    const int code = ztl_class_object_create(factory, &out);
    const std::string message = ztl_last_error();
    ztl_class_object_release(factory);
    if (code != ZTL_OK) Throw(code, message);
    return ZTL_OK;
  });
}

int ztl_object_release(ztl_object* object) {
  return Guard([&] {
    if (!RemoveHandle(object, HandleKind::Object)) {
      CheckObject(object);  // says why
      Throw(ZTL_E_INVALID_HANDLE, "the handle was released meanwhile");
    }
    delete object;
    return ZTL_OK;
  });
}

int ztl_object_class(ztl_object* object, const char** class_name) {
  return Guard([&] {
    const ClassInfo& info = ClassOf(CheckObject(object));
    const char*& out = Required(class_name, "class_name");
    // The names of the tables are views; keep one NUL-terminated copy of each.
    static std::mutex mutex;
    static auto* names = new std::map<const ClassInfo*, std::string>;
    std::lock_guard lock(mutex);
    auto [entry, added] = names->try_emplace(&info, info.name);
    out = entry->second.c_str();
    return ZTL_OK;
  });
}

int ztl_object_same(ztl_object* a, ztl_object* b, int* same) {
  return Guard([&] {
    const ObjectRef& first = CheckObject(a).ref;
    const ObjectRef& second = CheckObject(b).ref;
    Required(same, "same") = first == second ? 1 : 0;
    return ZTL_OK;
  });
}

int ztl_get_ids_of_names(ztl_object* object, const char* const* names, size_t count, int32_t* dispids) {
  return Guard([&] {
    const ClassInfo& info = ClassOf(CheckObject(object));
    if (count == 0) Throw(ZTL_E_INVALID_ARG, "count must be at least 1 (the member's name)");
    Required(names, "names");
    Required(dispids, "dispids");
    for (size_t i = 0; i < count; ++i) dispids[i] = -1;
    const String member_name = platform::Utf8ToUtf16(RequiredText(names[0], "names[0]"));
    const MemberInfo* member = FindMember(info, member_name, MemberKind::Method);
    if (member == nullptr) member = FindMember(info, member_name, MemberKind::PropertyLet);
    if (member == nullptr) {
      Throw(kErrorNoSuchMember, std::string(info.name) + " has no member '" + std::string(names[0]) + "'");
    }
    dispids[0] = member->dispid;
    int code = ZTL_OK;
    std::string missing;
    for (size_t i = 1; i < count; ++i) {
      const std::string_view param = RequiredText(names[i], "a parameter name");
      for (std::size_t p = 0; p < member->params.size(); ++p) {
        const std::string_view known = member->params[p].name;
        if (known.size() == param.size() &&
            std::equal(known.begin(), known.end(), param.begin(),
                       [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                   std::tolower(static_cast<unsigned char>(y)); })) {
          dispids[i] = static_cast<int32_t>(p);
        }
      }
      if (dispids[i] == -1 && code == ZTL_OK) {
        code = ZTL_E_NOT_FOUND;
        missing = std::string(param);
      }
    }
    if (code != ZTL_OK) Throw(code, std::string(info.name) + "." + std::string(member->name) + " has no parameter '" + missing + "'");
    return ZTL_OK;
  });
}

int ztl_invoke(ztl_object* object, int32_t dispid, int kind, ztl_variant* args, size_t arg_count, ztl_variant* result) {
  return Guard([&] {
    const ClassInfo& info = ClassOf(CheckObject(object));
    const MemberKind member_kind = KindOf(kind);
    return Invoke(object, FindMember(info, dispid, member_kind), CallForm::Dispatch, args, arg_count, result,
                  std::string(info.name) + " dispatch id " + std::to_string(dispid));
  });
}

int ztl_invoke_name(ztl_object* object, const char* member, int kind, ztl_variant* args, size_t arg_count,
                    ztl_variant* result) {
  return Guard([&] {
    const ClassInfo& info = ClassOf(CheckObject(object));
    const std::string_view name = RequiredText(member, "member");
    const MemberKind member_kind = KindOf(kind);
    return Invoke(object, FindMember(info, platform::Utf8ToUtf16(name), member_kind), CallForm::Dispatch, args,
                  arg_count, result, std::string(info.name) + "." + std::string(name));
  });
}

int ztl_invoke_slot(ztl_object* object, size_t slot, ztl_variant* args, size_t arg_count, ztl_variant* result) {
  return Guard([&] {
    const ClassInfo& info = ClassOf(CheckObject(object));
    const MemberInfo* member = slot >= 1 && slot <= info.members.size() ? &info.members[slot - 1] : nullptr;
    return Invoke(object, member, CallForm::Slot, args, arg_count, result,
                  std::string(info.name) + " slot " + std::to_string(slot));
  });
}

// ---- arrays ----------------------------------------------------------------------------------

int ztl_array_new(uint16_t element_type, size_t dims, const int32_t* lower, const int32_t* count, ztl_array** array) {
  return Guard([&] {
    ztl_array*& out = Required(array, "array");
    if (element_type != ZTL_VT_VARIANT && !IsScalarType(element_type)) {
      Throw(ZTL_E_INVALID_ARG, "no array can hold elements of type " + std::to_string(element_type));
    }
    if (dims > kMaxDims) Throw(ZTL_E_INVALID_ARG, "an array has at most 60 dimensions");
    std::vector<ArrayBound> bounds;
    std::size_t total = 1;
    if (dims > 0) {
      Required(lower, "lower");
      Required(count, "count");
    }
    for (size_t d = 0; d < dims; ++d) {
      if (count[d] < 0) Throw(ZTL_E_INVALID_ARG, "dimension " + std::to_string(d + 1) + " has a negative count");
      if (static_cast<long long>(lower[d]) + count[d] - 1 > std::numeric_limits<int32_t>::max()) {
        Throw(ZTL_E_INVALID_ARG, "dimension " + std::to_string(d + 1) + " ends beyond the Long range");
      }
      total = count[d] == 0 ? 0 : total;
      if (total != 0 && static_cast<std::size_t>(count[d]) > kMaxElements / total) {
        Throw(kOutOfMemory, "Out of memory: an array of more than 16777216 elements");
      }
      total *= static_cast<std::size_t>(count[d]);
      bounds.push_back({lower[d], count[d]});
    }
    const auto type = static_cast<VarType>(element_type);
    out = dims == 0 ? NewHandle<ztl_array, HandleKind::Array>(SafeArray(type))
                    : NewHandle<ztl_array, HandleKind::Array>(SafeArray(type, std::move(bounds)));
    return ZTL_OK;
  });
}

int ztl_array_release(ztl_array* array) {
  return Guard([&] {
    if (!RemoveHandle(array, HandleKind::Array)) {
      CheckArray(array);  // says why
      Throw(ZTL_E_INVALID_HANDLE, "the handle was released meanwhile");
    }
    delete array;
    return ZTL_OK;
  });
}

int ztl_array_element_type(ztl_array* array, uint16_t* element_type) {
  return Guard([&] {
    Required(element_type, "element_type") = static_cast<uint16_t>(CheckArray(array).array.ElementType());
    return ZTL_OK;
  });
}

int ztl_array_dims(ztl_array* array, size_t* dims) {
  return Guard([&] {
    Required(dims, "dims") = static_cast<size_t>(CheckArray(array).array.Dims());
    return ZTL_OK;
  });
}

int ztl_array_bounds(ztl_array* array, size_t dim, int32_t* lower, int32_t* upper) {
  return Guard([&] {
    const SafeArray& a = CheckArray(array).array;
    if (dim < 1 || dim > static_cast<size_t>(a.Dims())) {
      Throw(kSubscriptOutOfRange, "Subscript out of range: the array has no dimension " + std::to_string(dim));
    }
    const ArrayBound& b = a.Bounds()[dim - 1];
    if (lower != nullptr) *lower = b.lower;
    if (upper != nullptr) *upper = b.upper();
    return ZTL_OK;
  });
}

namespace {
std::size_t OffsetOf(const SafeArray& a, const int32_t* index, size_t index_count) {
  if (index_count > 0) Required(index, "index");
  const std::ptrdiff_t offset = a.Offset(std::span<const Long>(index, index_count));
  if (offset < 0) Throw(kSubscriptOutOfRange, "Subscript out of range");
  return static_cast<std::size_t>(offset);
}
}  // namespace

int ztl_array_get(ztl_array* array, const int32_t* index, size_t index_count, ztl_variant* value) {
  return Guard([&] {
    const SafeArray& a = CheckArray(array).array;
    ztl_variant& out = Required(value, "value");
    out = ToC(a.Elements()[OffsetOf(a, index, index_count)]);
    return ZTL_OK;
  });
}

int ztl_array_put(ztl_array* array, const int32_t* index, size_t index_count, const ztl_variant* value) {
  return Guard([&] {
    SafeArray& a = CheckArray(array).array;
    const Variant v = FromC(Required(value, "value"));
    const std::size_t offset = OffsetOf(a, index, index_count);
    if (const Long code = a.Put(offset, v)) {
      Throw(code, std::string(ErrorText(code)) + ": a " + std::string(VarTypeName(v.Type())) + " in an array of " +
                      std::string(VarTypeName(a.ElementType())));
    }
    return ZTL_OK;
  });
}

// ---- collections -----------------------------------------------------------------------------

int ztl_collection_new(ztl_object** collection) {
  return Guard([&] {
    ztl_object*& out = Required(collection, "collection");
    out = NewObject(Collection::Create());
    return ZTL_OK;
  });
}

int ztl_collection_add(ztl_object* collection, const ztl_variant* item, const char* key) {
  return Guard([&] {
    Collection& c = CheckCollection(collection);
    Variant value = FromC(Required(item, "item"));
    const Variant key_value = key == nullptr ? Variant::Missing() : Variant(platform::Utf8ToUtf16(key));
    if (const Long code = c.Add(std::move(value), key_value, Variant::Missing(), Variant::Missing())) {
      Throw(code, ErrorText(code));
    }
    return ZTL_OK;
  });
}

int ztl_collection_count(ztl_object* collection, int32_t* count) {
  return Guard([&] {
    Required(count, "count") = CheckCollection(collection).Count();
    return ZTL_OK;
  });
}

int ztl_collection_item(ztl_object* collection, int32_t position, ztl_variant* item) {
  return Guard([&] {
    const Collection& c = CheckCollection(collection);
    ztl_variant& out = Required(item, "item");
    const Variant* found = c.Item(Long{position});
    if (found == nullptr) Throw(Collection::kErrorInvalidCall, std::string(ErrorText(Collection::kErrorInvalidCall)) + ": no item " + std::to_string(position));
    out = ToC(*found);
    return ZTL_OK;
  });
}

int ztl_collection_remove(ztl_object* collection, int32_t position) {
  return Guard([&] {
    Collection& c = CheckCollection(collection);
    if (position < 1 || position > c.Count()) {
      Throw(Collection::kErrorInvalidCall, std::string(ErrorText(Collection::kErrorInvalidCall)) + ": no item " + std::to_string(position));
    }
    if (const Long code = c.Remove(Variant(Long{position}))) Throw(code, ErrorText(code));
    return ZTL_OK;
  });
}

// ---- containers ------------------------------------------------------------------------------

int ztl_container_new(int design_mode, ztl_container** container) {
  return Guard([&] {
    ztl_container*& out = Required(container, "container");
    out = NewHandle<ztl_container, HandleKind::Container>(std::make_unique<Container>(design_mode != 0));
    return ZTL_OK;
  });
}

int ztl_container_release(ztl_container* container) {
  return Guard([&] {
    if (!RemoveHandle(container, HandleKind::Container)) {
      CheckContainer(container);  // says why
      Throw(ZTL_E_INVALID_HANDLE, "the handle was released meanwhile");
    }
    delete container;
    return ZTL_OK;
  });
}

int ztl_container_place(ztl_container* container, const char* class_name, const char* name, ztl_object** component) {
  return Guard([&] {
    Container& form = *CheckContainer(container).form;
    const String cls = platform::Utf8ToUtf16(RequiredText(class_name, "class_name"));
    ztl_object*& out = Required(component, "component");
    const ClassInfo* info = FindClass(cls);
    if (info == nullptr || info->kind != ClassKind::Component) {
      Throw(kErrorNotCreatable, std::string(ErrorText(kErrorNotCreatable)) + ": '" + std::string(class_name) +
                                    "' is no component");
    }
    const String wanted = name == nullptr ? String() : platform::Utf8ToUtf16(name);
    ComponentRef placed = form.Place(cls, wanted);
    if (!placed) Throw(ZTL_E_INVALID_ARG, "the name '" + std::string(name ? name : "") + "' is already used");
    out = NewObject(std::move(placed));
    return ZTL_OK;
  });
}

int ztl_container_find(ztl_container* container, const char* name, ztl_object** component) {
  return Guard([&] {
    const Container& form = *CheckContainer(container).form;
    const std::string_view wanted = RequiredText(name, "name");
    ztl_object*& out = Required(component, "component");
    ComponentRef found = form.Find(platform::Utf8ToUtf16(wanted));
    if (!found) Throw(ZTL_E_NOT_FOUND, "no component named '" + std::string(wanted) + "'");
    out = NewObject(std::move(found));
    return ZTL_OK;
  });
}

int ztl_container_count(ztl_container* container, size_t* count) {
  return Guard([&] {
    Required(count, "count") = CheckContainer(container).form->Components().size();
    return ZTL_OK;
  });
}

int ztl_container_component(ztl_container* container, size_t index, char** name, ztl_object** component) {
  return Guard([&] {
    const auto& placed = CheckContainer(container).form->Components();
    ztl_object*& out = Required(component, "component");
    if (index >= placed.size()) {
      Throw(kSubscriptOutOfRange, "Subscript out of range: the container holds " + std::to_string(placed.size()) +
                                      " component(s)");
    }
    char* text = name != nullptr ? CopyText(platform::Utf16ToUtf8(placed[index].first)) : nullptr;
    try {
      out = NewObject(placed[index].second);
    } catch (...) {
      std::free(text);
      throw;
    }
    if (name != nullptr) *name = text;
    return ZTL_OK;
  });
}

int ztl_container_save(ztl_container* container, char** text, size_t* length) {
  return Guard([&] {
    const Container& form = *CheckContainer(container).form;
    char*& out = Required(text, "text");
    const std::string saved = form.Save();
    out = CopyText(saved);
    if (length != nullptr) *length = saved.size();
    return ZTL_OK;
  });
}

int ztl_container_load(const char* text, size_t length, ztl_container** container, char** problems) {
  return Guard([&] {
    if (text == nullptr && length != 0) Throw(ZTL_E_INVALID_ARG, "text must not be NULL");
    ztl_container*& out = Required(container, "container");
    const std::string_view document = text == nullptr ? std::string_view()
                                      : length == static_cast<size_t>(-1) ? std::string_view(text)
                                                                          : std::string_view(text, length);
    std::vector<std::string> found;
    std::unique_ptr<Container> form = Container::Load(document, &found);
    std::string joined;
    for (const std::string& line : found) joined += line + "\n";
    char* problem_text = problems != nullptr ? CopyText(joined) : nullptr;
    try {
      out = NewHandle<ztl_container, HandleKind::Container>(std::move(form));
    } catch (...) {
      std::free(problem_text);
      throw;
    }
    if (problems != nullptr) *problems = problem_text;
    return ZTL_OK;
  });
}

// ---- the about box ---------------------------------------------------------------------------

int ztl_set_about_display(ztl_about_callback callback, void* user_data) {
  return Guard([&] {
    if (callback == nullptr) {
      SetAboutDisplay(nullptr);
    } else {
      SetAboutDisplay([callback, user_data](std::string_view text) {
        const std::string copy(text);  // NUL-terminated for the callback
        callback(copy.c_str(), copy.size(), user_data);
      });
    }
    return ZTL_OK;
  });
}

// ---- device contexts -------------------------------------------------------------------------

int ztl_device_context_new(const char* font, int32_t pixel_size, int32_t* hdc) {
  return Guard([&] {
    const std::string_view name = RequiredText(font, "font");
    int32_t& out = Required(hdc, "hdc");
    if (pixel_size < 1 || pixel_size > 1000) {
      Throw(ZTL_E_INVALID_ARG, "pixel_size must be 1..1000, not " + std::to_string(pixel_size));
    }
    const Long handle = CreateDeviceContext(name, pixel_size);
    if (handle == 0) Throw(ZTL_E_NOT_FOUND, "the font '" + std::string(name) + "' cannot be found or loaded");
    out = handle;
    return ZTL_OK;
  });
}

int ztl_device_context_release(int32_t hdc) {
  return Guard([&] {
    if (!DeleteDeviceContext(hdc)) Throw(ZTL_E_INVALID_HANDLE, "not a live device context: " + std::to_string(hdc));
    return ZTL_OK;
  });
}

}  // extern "C"
