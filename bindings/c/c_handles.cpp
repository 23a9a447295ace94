// The table of live handles, the checks every handle and pointer argument goes through, the
// thread's last error that every failure records, and the few functions of ztldata.h that only
// report on the library.

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

}  // namespace

int Record(int code, std::string_view message) noexcept {
  try {
    last_error.assign(message);
  } catch (...) {  // no memory for the message: the code alone tells
    last_error.clear();
  }
  return code;
}

Failure RefuseError(Long number, std::string_view detail) {
  std::string message = ErrorText(number);
  if (!detail.empty()) message.append(": ").append(detail);
  return Refuse(number, message);
}

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

Status CheckHandle(const void* handle, HandleKind kind) {
  if (handle == nullptr) return Refuse(ZTL_E_INVALID_HANDLE, std::string("the ") + KindText(kind) + " handle is NULL");
  if (!Table().IsLive(handle, kind)) {
    return Refuse(ZTL_E_INVALID_HANDLE,
                  std::string("not a live ") + KindText(kind) + " handle (released, or another kind)");
  }
  return Done();
}

Status Required(const void* pointer, const char* name) {
  if (pointer == nullptr) return Refuse(ZTL_E_INVALID_ARG, std::string(name) + " must not be NULL");
  return Done();
}

Outcome<std::string_view> RequiredText(const char* text, const char* name) {
  ZTL_CHECK(Required(text, name));
  return std::string_view(text);
}

Outcome<std::string_view> TextArgument(const char* text, std::size_t length) {
  if (text == nullptr && length != 0) return Refuse(ZTL_E_INVALID_ARG, "text must not be NULL");
  if (text == nullptr) return std::string_view();
  return length == static_cast<std::size_t>(-1) ? std::string_view(text) : std::string_view(text, length);
}

Outcome<CText> CopyText(std::string_view text) {
  CText copy(static_cast<char*>(std::malloc(text.size() + 1)));
  if (copy == nullptr) return RefuseError(kOutOfMemory);
  if (!text.empty()) std::memcpy(copy.get(), text.data(), text.size());
  copy.get()[text.size()] = '\0';
  return copy;
}

Outcome<CText> CopyTextFor(char** out, std::string_view text) {
  if (out == nullptr) return CText();
  return CopyText(text);
}

Status SetOutputText(char** out, std::size_t* length, std::string_view text) {
  ZTL_TRY(copy, CopyText(text));
  *out = copy.release();
  if (length != nullptr) *length = text.size();
  return Done();
}

}  // namespace ztl::c_api

extern "C" {

const char* ztl_last_error(void) { return ztl::c_api::last_error.c_str(); }

void ztl_free(void* memory) { std::free(memory); }

}  // extern "C"
