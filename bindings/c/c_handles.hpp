// What the C interface's handles are, the table of live handles that checks every handle a
// caller passes, the guard that turns every fault into an error code and a message, and the
// conversion of values between ztl_variant and Variant. Shared by the c_*.cpp files only.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "ztldata.h"
#include "ztldata/base/errors.hpp"
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

enum class HandleKind : unsigned char { Object, Array, Container, ClassObject };

// A fault of a C call: its error code and a one-line message.
struct Fault {
  int code;
  std::string message;
};
[[noreturn]] void Throw(int code, std::string message);

// Registers a new handle and gives it to the caller.
void* AddHandle(void* handle, HandleKind kind);
// Whether a pointer is a live handle of that kind.
bool IsLive(const void* handle, HandleKind kind) noexcept;
// Forgets a handle; false when it was none of that kind.
bool RemoveHandle(const void* handle, HandleKind kind) noexcept;
std::size_t LiveHandles() noexcept;

template <class T, HandleKind kKind, class... Args>
T* NewHandle(Args&&... args) {
  auto owned = std::make_unique<T>(T{std::forward<Args>(args)...});
  AddHandle(owned.get(), kKind);
  return owned.release();
}

// A new object handle for the caller.
ztl_object* NewObject(ObjectRef ref);

// The handle after checking it, or a ZTL_E_INVALID_HANDLE fault naming `what`.
ztl_object& CheckObject(ztl_object* handle);
ztl_array& CheckArray(ztl_array* handle);
ztl_container& CheckContainer(ztl_container* handle);
ztl_class_object& CheckClassObject(ztl_class_object* handle);

// A required output or input pointer; a ZTL_E_INVALID_ARG fault when null.
template <class T>
T& Required(T* pointer, const char* name) {
  if (pointer == nullptr) Throw(ZTL_E_INVALID_ARG, std::string(name) + " must not be NULL");
  return *pointer;
}

// A UTF-8 text argument that must be given.
std::string_view RequiredText(const char* text, const char* name);

// Runs the body of a C call: clears the thread's last error, returns the body's code, and turns
// any fault or exception into its code with the last error set. Nothing escapes.
int Record(int code, const char* message) noexcept;
template <class Body>
int Guard(Body&& body) noexcept {
  Record(ZTL_OK, "");
  try {
    return std::forward<Body>(body)();
  } catch (const Fault& fault) {
    return Record(fault.code, fault.message.c_str());
  } catch (const std::bad_alloc&) {
    return Record(kOutOfMemory, ErrorText(kOutOfMemory));
  } catch (const std::exception& e) {
    return Record(ZTL_E_INTERNAL, e.what());
  } catch (...) {
    return Record(ZTL_E_INTERNAL, "unexpected fault");
  }
}

// An owned C variant of a value: strings copied, objects and arrays as new handles.
ztl_variant ToC(const Variant& value);
// The value a caller's variant stands for (strings copied, handles checked).
Variant FromC(const ztl_variant& value);

// Copies text into memory the caller frees with ztl_free (NUL-terminated).
char* CopyText(std::string_view text);

// The text argument of a given length, or up to its NUL when the length is (size_t)-1; null
// is only allowed with length 0.
std::string_view TextArgument(const char* text, std::size_t length);

}  // namespace ztl::c_api
