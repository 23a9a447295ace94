// The four entry points of the C interface: class objects, registration into a registration
// file, its removal, and whether the library can be unloaded (no handle alive).

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "c_handles.hpp"
#include "ztldata/frame/resources.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::c_api {

namespace {

namespace fs = std::filesystem;

// The first line of every registration file: unregistering removes only files that carry it.
constexpr std::string_view kRegistrationHeader = "; ztldata registration file";

// The components' miscellaneous status: recompose on resize, cannot link inside, inside-out
// activation, activate when visible, invisible at run time, no user-interface activation, set
// client site first.
constexpr long kMiscStatus = 0x24591;

std::string GuidText(const Guid& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2, g.data3,
                g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", with or without braces.
std::optional<Guid> ParseGuid(std::string_view text) {
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
  if (text.size() != 36) return std::nullopt;
  std::uint8_t bytes[16];
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[n++] = static_cast<std::uint8_t>(high * 16 + low);
    i += 2;
  }
  Guid g{};
  g.data1 = static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
            static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
  g.data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
  g.data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) g.data4[static_cast<std::size_t>(i)] = bytes[8 + i];
  return g;
}

// The file this interface was loaded from: the shared library, or the program it is linked into.
std::string ServerPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ztl_register_server), &info) != 0 && info.dli_fname != nullptr) {
    std::error_code error;
    const fs::path path = fs::canonical(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : path.string();
  }
  return {};
}

Outcome<fs::path> DefaultPath() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && data_home[0] == '/') return fs::path(data_home) / "ztldata" / "registration";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    return Refuse(ZTL_E_IO, "no default registration path: neither XDG_DATA_HOME nor HOME is set");
  }
  return fs::path(home) / ".local" / "share" / "ztldata" / "registration";
}

Outcome<fs::path> PathOf(const char* path) {
  if (path == nullptr) return DefaultPath();
  if (path[0] == '\0') return Refuse(ZTL_E_INVALID_ARG, "path must not be empty");
  return fs::path(path);
}

std::string RegistrationText() {
  const LibraryInfo& library = Library();
  std::ostringstream out;
  out << kRegistrationHeader << "\n"
      << "; Written by ztl_register_server; ztl_unregister_server removes it.\n\n"
      << "[TypeLib]\n"
      << "Name=" << library.name << "\n"
      << "LibId=" << GuidText(library.libid) << "\n"
      << "Version=" << library.major << "." << library.minor << "\n"
      << "Locale=" << library.lcid << "\n"
      << "Server=" << ServerPath() << "\n";
  for (const ClassInfo* info : Classes()) {
    const bool component = info->kind == ClassKind::Component;
    out << "\n[" << library.name << "." << info->name << "]\n"
        << "Class=" << info->name << "\n"
        << "ClassId=" << GuidText(info->clsid) << "\n"
        << "Interface=" << info->interface_name << " " << GuidText(info->iid) << "\n";
    if (component) out << "EventInterface=" << info->event_interface << " " << GuidText(info->event_iid) << "\n";
    out << "Kind=" << (component ? "Control" : "Creatable") << "\n"
        << "ThreadingModel=Apartment\n";
    if (component) {
      out << "MiscStatus=" << kMiscStatus << "\n"
          << "ToolboxBitmap=" << ToolboxBitmapId(Utf8ToUtf16(info->name)) << "\n";
    }
  }
  return out.str();
}

// Replaces the file whole: a reader never sees half of it.
Status WriteWhole(const fs::path& path, const std::string& text) {
  std::error_code error;
  if (path.has_parent_path()) {
    fs::create_directories(path.parent_path(), error);
    if (error) {
      return Refuse(ZTL_E_IO, "cannot make the folder " + path.parent_path().string() + ": " + error.message());
    }
  }
  const fs::path temporary = path.string() + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
      fs::remove(temporary, error);
      return Refuse(ZTL_E_IO, "cannot write " + temporary.string());
    }
  }
  fs::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return Refuse(ZTL_E_IO, "cannot replace " + path.string() + ": " + error.message());
  }
  return Done();
}

// Removes a registration file of this library, leaving any other file alone.
Status RemoveRegistration(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string first;
  std::getline(in, first);
  if (!in || first != kRegistrationHeader) {
    return Refuse(ZTL_E_IO, file.string() + " is no registration file of this library; it is left alone");
  }
  in.close();
  std::error_code error;
  if (!fs::remove(file, error) || error) {
    return Refuse(ZTL_E_IO, "cannot remove " + file.string() + ": " + error.message());
  }
  return Done();
}

}  // namespace

}  // namespace ztl::c_api

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

int ztl_get_class_object(const char* clsid, ztl_class_object** class_object) {
  return Guard([&]() -> Status {
    ZTL_TRY(text, RequiredText(clsid, "clsid"));
    ZTL_CHECK(Required(class_object, "class_object"));
    const ClassInfo* info = nullptr;
    if (const std::optional<Guid> id = ParseGuid(text)) info = FindClass(*id);
    if (info == nullptr) info = FindClass(Utf8ToUtf16(text));
    if (info == nullptr) return Refuse(kNotCreatable, "no class with the id or name '" + std::string(text) + "'");
    *class_object = NewHandle<ztl_class_object>(info);
    return Done();
  });
}

int ztl_class_object_create(ztl_class_object* class_object, ztl_object** object) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(class_object));
    const ClassInfo& info = *handle->info;
    ZTL_CHECK(Required(object, "object"));
    if (info.kind == ClassKind::Component) {
      return RefuseError(kNotCreatable, std::string(info.name) + " is a component: place it in a container");
    }
    ObjectRef created = CreateObject(info.clsid);
    if (!created) return RefuseError(kNotCreatable, info.name);
    *object = NewObject(std::move(created));
    return Done();
  });
}

int ztl_class_object_release(ztl_class_object* class_object) {
  return Guard([&] { return ReleaseHandle(class_object); });
}

int ztl_registration_path(char** path) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(path, "path"));
    ZTL_TRY(file, DefaultPath());
    return SetOutputText(path, nullptr, file.string());
  });
}

int ztl_register_server(const char* path) {
  return Guard([&]() -> Status {
    ZTL_TRY(file, PathOf(path));
    return WriteWhole(file, RegistrationText());
  });
}

int ztl_unregister_server(const char* path) {
  return Guard([&]() -> Status {
    ZTL_TRY(file, PathOf(path));
    std::error_code error;
    if (!fs::exists(file, error)) return Done();
    ZTL_CHECK(RemoveRegistration(file));
    // The default place's own folder goes too when nothing else is in it.
    if (path == nullptr) fs::remove(file.parent_path(), error);
    return Done();
  });
}

int ztl_can_unload_now(int* can_unload) {
  return Guard([&] { return SetOutput(can_unload, "can_unload", LiveHandles() == 0 ? 1 : 0); });
}

int ztl_live_handles(size_t* count) {
  return Guard([&] { return SetOutput(count, "count", LiveHandles()); });
}

}  // extern "C"
