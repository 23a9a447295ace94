// Device contexts for ZtStrings::EllipseText: a handle (a Long) standing for a font at a pixel
// size, which EllipseText measures its text with. A font is found through fontconfig and
// measured with FreeType; the built-in fixed-pitch font needs no font files.
//
// Example:
//   ztl::Long hdc = ztl::CreateDeviceContext("DejaVu Sans", 12);
//   ztl::ZtStrings().EllipseText(u"C:\\Program Files\\App\\file.txt", 100, 20, hdc, ztl::ztlEllipsePath);
//   ztl::DeleteDeviceContext(hdc);
#pragma once

#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl {

// The name of the built-in font: every character exactly as wide as the pixel size, and a
// line as high as the pixel size.
inline constexpr std::string_view kFixedPitchFont = "fixed-pitch";

// A device context whose selected font is `font` (a fontconfig name such as "DejaVu Sans" or
// "DejaVu Sans:bold", or kFixedPitchFont for the built-in font that needs no files) at
// `pixel_size` pixels (1..1000). Returns a handle > 0, or 0 when the font cannot be found or
// loaded.
// Note: a family that is not installed is not found, even though fontconfig would offer a
// fallback for it; a generic name ("sans-serif", "monospace") or a metric-compatible alias the
// system configures ("Arial" for "Liberation Sans") is found.
// Handles are process-wide and safe to use from any thread; a deleted handle is not handed
// out again soon.
Long CreateDeviceContext(std::string_view font, Long pixel_size) noexcept;

// Frees a handle; false when it is not a live handle.
bool DeleteDeviceContext(Long hdc) noexcept;

}  // namespace ztl
