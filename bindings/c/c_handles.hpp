// What the C interface's handles are, the table of live handles that checks every handle a
// caller passes, how a C call fails (an outcome whose error number is the call's return code,
// its message recorded as the thread's last error), the guard at the boundary, and the
// conversion of values between ztl_variant and Variant. Shared by the c_*.cpp files only.
//
// Every step of a C call that may fail returns an Outcome and the call returns early on the
// first failure:
//   int ztl_array_dims(ztl_array* array, size_t* dims) {
//     return Guard([&]() -> Status {
//       ZTL_TRY(handle, Checked(array));
//       return SetOutput(dims, "dims", handle->array.Dims());
//     });
//   }
#pragma once

#include <cstddef>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "ztldata.h"
#include "ztldata/base/errors.hpp"
#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/frame/typelib.hpp"
#include "ztldata/frame/variant.hpp"

struct ztl_object {
  ztl::ObjectRef ref;
};
struct ztl_array {
  ztl::SafeArray array;
};
struct ztl_container {
  std::unique_ptr<ztl::Container> form;
};
struct ztl_class_object {
  const ztl::ClassInfo* info;
};

namespace ztl::c_api {

// ---- failures ---------------------------------------------------------------------------------

// Records `message` as the thread's last error and returns `code`. Never fails: a message that
// cannot be stored leaves the last error empty.
int Record(int code, std::string_view message) noexcept;

// The failure of a C call with its return code (a ZTL_E_* code or an error number) and message.
inline Failure Refuse(int code, std::string_view message) noexcept { return Fail(Record(code, message)); }
// The failure of an error number, its message the error's text followed by ": detail" if any.
Failure RefuseError(Long number, std::string_view detail = {});
// "a Long", "an Error": a value's type name with its article, for messages.
inline std::string TypeWithArticle(VarType type) {
  const std::string name(VarTypeName(type));
  return (name.find_first_of("AEIOU") == 0 ? "an " : "a ") + name;
}

// Runs the body of a C call and returns its code: 0 for success, or the code of the failure
// the body returned, its message already recorded. Clears the thread's last error first. The
// boundary of the library: running out of memory gives kOutOfMemory, and anything else that
// escapes a body (a bug) ZTL_E_INTERNAL; nothing escapes to the C caller.
template <class Body>
int Guard(Body&& body) noexcept {
  Record(ZTL_OK, "");
  try {
    const Status done = std::forward<Body>(body)();
    return done.ok() ? ZTL_OK : static_cast<int>(done.error());
  } catch (const std::bad_alloc&) {
    return Record(kOutOfMemory, ErrorText(kOutOfMemory));
  } catch (const std::exception& e) {
    return Record(ZTL_E_INTERNAL, e.what());
  } catch (...) {
    return Record(ZTL_E_INTERNAL, "unexpected fault");
  }
}

// ---- handles ----------------------------------------------------------------------------------

enum class HandleKind : unsigned char { Object, Array, Container, ClassObject };

constexpr HandleKind HandleKindOf(const ztl_object*) noexcept { return HandleKind::Object; }
constexpr HandleKind HandleKindOf(const ztl_array*) noexcept { return HandleKind::Array; }
constexpr HandleKind HandleKindOf(const ztl_container*) noexcept { return HandleKind::Container; }
constexpr HandleKind HandleKindOf(const ztl_class_object*) noexcept { return HandleKind::ClassObject; }

// Registers a new handle and gives it to the caller.
void* AddHandle(void* handle, HandleKind kind);
// Whether a pointer is a live handle of that kind.
bool IsLive(const void* handle, HandleKind kind) noexcept;
// Forgets a handle; false when it was none of that kind.
bool RemoveHandle(const void* handle, HandleKind kind) noexcept;
std::size_t LiveHandles() noexcept;

// A live handle of that kind, or a ZTL_E_INVALID_HANDLE failure saying why not.
Status CheckHandle(const void* handle, HandleKind kind);

template <class T>
Outcome<T*> Checked(T* handle) {
  ZTL_CHECK(CheckHandle(handle, HandleKindOf(handle)));
  return handle;
}

// A new handle for the caller, made of `args`.
template <class T, class... Args>
T* NewHandle(Args&&... args) {
  auto owned = std::make_unique<T>(T{std::forward<Args>(args)...});
  AddHandle(owned.get(), HandleKindOf(owned.get()));
  return owned.release();
}
inline ztl_object* NewObject(ObjectRef ref) { return NewHandle<ztl_object>(std::move(ref)); }

// Forgets and deletes a handle the caller releases.
template <class T>
Status ReleaseHandle(T* handle) {
  if (!RemoveHandle(handle, HandleKindOf(handle))) {
    ZTL_CHECK(Checked(handle));  // says why
    return Refuse(ZTL_E_INVALID_HANDLE, "the handle was released meanwhile");
  }
  delete handle;
  return Done();
}

// ---- arguments --------------------------------------------------------------------------------

// A pointer argument that must be given; a ZTL_E_INVALID_ARG failure when null.
Status Required(const void* pointer, const char* name);

// Writes a result into a required output argument.
template <class T, class U>
Status SetOutput(T* out, const char* name, U&& value) {
  ZTL_CHECK(Required(out, name));
  *out = static_cast<T>(std::forward<U>(value));
  return Done();
}

// A UTF-8 text argument that must be given.
Outcome<std::string_view> RequiredText(const char* text, const char* name);

// The text argument of a given length, or up to its NUL when the length is (size_t)-1; null
// is only allowed with length 0.
Outcome<std::string_view> TextArgument(const char* text, std::size_t length);

// ---- values -----------------------------------------------------------------------------------

// An owned C variant of a value: strings copied, objects and arrays as new handles.
Outcome<ztl_variant> ToC(const Variant& value);
// The value a caller's variant stands for (strings copied, handles checked).
Outcome<Variant> FromC(const ztl_variant& value);
// The same for a variant argument that must be given.
Outcome<Variant> FromC(const ztl_variant* value, const char* name);
// Puts a value into the caller's variant, clearing what it held once the new value stands.
Status Replace(ztl_variant& target, const Variant& value);

// Memory the caller frees with ztl_free, owned here until it is handed over with release().
struct FreeMemory {
  void operator()(void* memory) const noexcept { std::free(memory); }
};
using CText = std::unique_ptr<char, FreeMemory>;

// Copies text into memory the caller frees with ztl_free (NUL-terminated).
Outcome<CText> CopyText(std::string_view text);
// The same for an optional output argument: no copy when the caller passes no `out`.
Outcome<CText> CopyTextFor(char** out, std::string_view text);
// Hands a copy of text to the caller through `out`, already checked, and its length through
// `length` when given.
Status SetOutputText(char** out, std::size_t* length, std::string_view text);

}  // namespace ztl::c_api
