// The components' pictures: each one's toolbox bitmap (a 16 x 15 BMP file, resource ids
// 30000-30006) and design-time picture (a 32 x 32 GIF file), as the bytes of the files.
//
// Example:
//   std::span<const std::uint8_t> gif = ztl::DesignPicture(u"ZtStack");
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ztl {

// The bytes of a component's design-time picture (GIF); empty for a class that is no component.
std::span<const std::uint8_t> DesignPicture(std::u16string_view class_name) noexcept;

// The resource id of a component's toolbox bitmap (30000 for ZtRSA ... 30006 for ZtBits);
// 0 for a class that is no component.
int ToolboxBitmapId(std::u16string_view class_name) noexcept;

// The bytes of the toolbox bitmap with a resource id (BMP); empty for an unknown id.
std::span<const std::uint8_t> ToolboxBitmap(int resource_id) noexcept;

// Every picture as a file: its name ("ZtStack.gif", "ZtStack.bmp") and its bytes.
struct ResourceFile {
  std::string_view name;
  std::span<const std::uint8_t> bytes;
};
std::span<const ResourceFile> ResourceFiles() noexcept;

}  // namespace ztl
