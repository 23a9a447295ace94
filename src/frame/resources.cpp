// The components' pictures, embedded from resources/ at build time.

#include "ztldata/frame/resources.hpp"

#include <string>
#include <vector>

#include "ztldata/frame/typelib.hpp"

namespace ztl {

namespace detail {
struct EmbeddedFile {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};
std::span<const EmbeddedFile> EmbeddedFiles();  // generated
}  // namespace detail

namespace {

struct Toolbox {
  std::string_view component;
  int id;
};
// The toolbox bitmaps' resource ids (ZtRSA and ZtEncryption have 24-bit pictures, the others 4-bit).
constexpr Toolbox kToolbox[] = {{"ZtRSA", 30000},   {"ZtCRC32", 30001}, {"ZtEncryption", 30002},
                                {"ZtRLE", 30003},   {"ZtToken", 30004}, {"ZtStack", 30005},
                                {"ZtBits", 30006}};

const std::vector<ResourceFile>& Files() {
  static const std::vector<ResourceFile> files = [] {
    std::vector<ResourceFile> out;
    for (const detail::EmbeddedFile& f : detail::EmbeddedFiles()) {
      out.push_back({f.name, {reinterpret_cast<const std::uint8_t*>(f.data), f.size}});
    }
    return out;
  }();
  return files;
}

std::span<const std::uint8_t> File(std::string_view component, std::string_view extension) {
  for (const ResourceFile& f : Files()) {
    if (f.name.size() == component.size() + extension.size() && f.name.starts_with(component) &&
        f.name.ends_with(extension)) {
      return f.bytes;
    }
  }
  return {};
}

// The component's own name spelled as the registry spells it, or empty.
std::string_view ComponentName(std::u16string_view class_name) {
  const ClassInfo* info = FindClass(class_name);
  return info && info->kind == ClassKind::Component ? info->name : std::string_view();
}

}  // namespace

std::span<const std::uint8_t> DesignPicture(std::u16string_view class_name) noexcept {
  const std::string_view name = ComponentName(class_name);
  return name.empty() ? std::span<const std::uint8_t>() : File(name, ".gif");
}

int ToolboxBitmapId(std::u16string_view class_name) noexcept {
  const std::string_view name = ComponentName(class_name);
  for (const Toolbox& t : kToolbox) {
    if (t.component == name) return t.id;
  }
  return 0;
}

std::span<const std::uint8_t> ToolboxBitmap(int resource_id) noexcept {
  for (const Toolbox& t : kToolbox) {
    if (t.id == resource_id) return File(t.component, ".bmp");
  }
  return {};
}

std::span<const ResourceFile> ResourceFiles() noexcept { return Files(); }

}  // namespace ztl
