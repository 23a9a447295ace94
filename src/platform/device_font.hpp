// The fonts behind device-context handles: how wide each character is and how high a line
// is, in whole pixels. The public side (creating and deleting handles) is in
// ztldata/platform/device_context.hpp.
#pragma once

#include <array>
#include <memory>

#include "ztldata/base/types.hpp"

namespace ztl::platform {

struct FreeTypeFace;  // a loaded font file at one pixel size (device_context.cpp)

// The selected font of a device context. Immutable once made, except for the cache of
// advances outside the ANSI code page, which is guarded; safe to share between threads.
class DeviceFont {
 public:
  // The built-in fixed-pitch font at `pixel_size`.
  explicit DeviceFont(Long pixel_size);
  // A font file loaded by FreeType; measures the ANSI code page at once.
  DeviceFont(std::shared_ptr<FreeTypeFace> face, Long pixel_size, Long line_height);

  // The advance width, in pixels, of the character of an ANSI (Windows-1252) code.
  Long AnsiAdvance(Byte code) const noexcept { return ansi_advance_[code]; }
  // The advance width, in pixels, of any character; a character the font lacks measures as
  // the font's missing-glyph box.
  Long Advance(char32_t c) const noexcept;
  Long LineHeight() const noexcept { return line_height_; }
  Long PixelSize() const noexcept { return pixel_size_; }

 private:
  std::shared_ptr<FreeTypeFace> face_;  // null for the built-in font
  Long pixel_size_;
  Long line_height_;
  std::array<Long, 256> ansi_advance_{};
};

// The font of a live device context, or null for a handle that is not one. The font stays
// usable after the handle is deleted, for as long as the caller holds it.
std::shared_ptr<const DeviceFont> FindDeviceFont(Long hdc) noexcept;

}  // namespace ztl::platform
