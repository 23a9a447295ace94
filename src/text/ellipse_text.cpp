// ZtStrings::EllipseText: fitting a text into a width with "..." on a device context. The
// fitting itself is platform/text_fit; the fonts are platform/device_context.

#include <cstdint>
#include <string>

#include "frame/boundary.hpp"
#include "platform/codepage.hpp"
#include "platform/device_context.hpp"
#include "platform/text_fit.hpp"
#include "ztldata/frame/convert.hpp"
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
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    ansi.push_back(static_cast<char>(platform::AnsiCode(c)));
  }
  return ansi;
}

String FromAnsi(const std::string& ansi) {
  String text;
  text.reserve(ansi.size());
  for (char b : ansi) text.push_back(platform::AnsiChar(static_cast<Byte>(b)));
  return text;
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
    return FromAnsi(platform::FitText(AnsiText(strText), right, flags, width));
  });
}

}  // namespace ztl
