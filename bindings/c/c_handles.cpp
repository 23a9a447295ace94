// The table of live handles, the checks every handle and pointer argument goes through, the
// thread's last error, and the few functions of ztldata.h that only report on the library.

#include "c_handles.hpp"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace ztl::c_api {

namespace {

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

ztl_object* NewObject(ObjectRef ref) { return NewHandle<ztl_object, HandleKind::Object>(std::move(ref)); }

ztl_object& CheckObject(ztl_object* handle) { return Check(handle, HandleKind::Object); }
ztl_array& CheckArray(ztl_array* handle) { return Check(handle, HandleKind::Array); }
ztl_container& CheckContainer(ztl_container* handle) { return Check(handle, HandleKind::Container); }
ztl_class_object& CheckClassObject(ztl_class_object* handle) { return Check(handle, HandleKind::ClassObject); }

std::string_view RequiredText(const char* text, const char* name) {
  if (text == nullptr) Throw(ZTL_E_INVALID_ARG, std::string(name) + " must not be NULL");
  return text;
}

std::string_view TextArgument(const char* text, std::size_t length) {
  if (text == nullptr && length != 0) Throw(ZTL_E_INVALID_ARG, "text must not be NULL");
  if (text == nullptr) return {};
  return length == static_cast<std::size_t>(-1) ? std::string_view(text) : std::string_view(text, length);
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

}  // namespace ztl::c_api

extern "C" {

const char* ztl_last_error(void) { return ztl::c_api::last_error.c_str(); }

const char* ztl_version(void) { return ZTL_VERSION; }

void ztl_free(void* memory) { std::free(memory); }

}  // extern "C"
