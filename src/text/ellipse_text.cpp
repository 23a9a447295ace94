// ZtStrings::EllipseText: fitting a text into a width with "..." on a device context. The
// fitting itself is platform/text_fit; the fonts are platform/device_context.

#include <cstdint>
#include <string>

#include "frame/boundary.hpp"
#include "platform/device_font.hpp"
#include "platform/text_fit.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/utf8.hpp"
#include "ztldata/text/strings.hpp"

namespace ztl {

namespace {

// The text's ANSI form as the drawing service reads it: one byte per character, "?" for a
// character the code page lacks (a surrogate pair is one character), ending at the first NUL.
std::string AnsiText(const String& text) {
  std::string ansi;
  ansi.reserve(text.size() + 4);  // room for "..." and the terminator, as the service asks
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0) break;
    if (StartsSurrogatePair(text, i)) ++i;
    ansi.push_back(static_cast<char>(AnsiCode(c)));
  }
  return ansi;
}

}  // namespace

String ZtStrings::EllipseText(const String& strText, Long lngWidth, Long lngHeight, Long hDC,
                              ztlEllipseText intStyle) noexcept {
  return Guarded(String(), [&] {
    // An unknown device context makes the drawing service fail: the text stays as it is.
    const std::shared_ptr<const platform::DeviceFont> font = platform::FindDeviceFont(hDC);
    if (!font) return strText;

    // The rectangle: 97% of the width; its height only grows while measuring, so lngHeight
    // decides nothing.
    (void)lngHeight;
    const Long right = RoundToLong(static_cast<double>(lngWidth) * 0.97).value_or(0);

    // Measure only, rewrite the text as shown, and the style's own 16-bit flag.
    const std::uint32_t flags = platform::kDrawCalcRect | platform::kDrawModifyString |
                                (static_cast<std::uint32_t>(intStyle) & 0xFFFFu);
    const platform::CharWidth width = [&](unsigned char code) -> std::int64_t { return font->AnsiAdvance(code); };
    return AnsiBytesToString(platform::FitText(AnsiText(strText), right, flags, width));
  });
}

}  // namespace ztl
