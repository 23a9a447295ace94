// Fitting text into a width with "...", with the character widths of real fonts and of a
// proportional model: the result is the longest start (end ellipsis) or the longest kept start
// before the last separator (path ellipsis) that fits, found by trying every candidate. The
// one-unit vectors are data (tests/vectors/values/text_fit.jsonl).

#include "platform/text_fit.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/device_font.hpp"
#include "ztldata/platform/device_context.hpp"

namespace ztl::platform {
namespace {

constexpr std::uint32_t kEnd = kDrawCalcRect | kDrawModifyString | kDrawEndEllipsis;
constexpr std::uint32_t kPath = kDrawCalcRect | kDrawModifyString | kDrawPathEllipsis;

// Every width from 0 to just past the whole text, against the widest candidate that fits.
void ExpectFitsLikeTheSearch(const std::string& text, const CharWidth& widths) {
  const auto width_of = [&](const std::string& s) {
    std::int64_t sum = 0;
    for (char c : s) sum += widths(static_cast<unsigned char>(c));
    return sum;
  };
  const std::size_t sep = text.find_last_of("\\/");
  for (std::int64_t width = 0; width <= width_of(text) + 2; ++width) {
    std::string end = text, path = text;
    if (width_of(text) > width) {
      end = "...";
      for (std::size_t n = 0; n <= text.size(); ++n) {
        if (width_of(text.substr(0, n) + "...") <= width) end = text.substr(0, n) + "...";
      }
      path = sep == std::string::npos ? end : "..." + text.substr(sep);
      for (std::size_t n = 0; sep != std::string::npos && n <= sep; ++n) {
        const std::string kept = text.substr(0, n) + "..." + text.substr(sep);
        if (width_of(kept) <= width) path = kept;
      }
    }
    ASSERT_EQ(FitText(text, width, kEnd, widths), end) << text << " in " << width;
    ASSERT_EQ(FitText(text, width, kPath, widths), path) << text << " in " << width;
  }
}

const char* const kTexts[] = {
    "C:\\Documents and Settings\\Someone\\My Pictures\\holiday photo.jpeg",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "WWWiiiMMMlll...,,,|||@@@ no separator at all",
    "\\leading separator",
    "caf\xE9 \x80 \x93quoted\x94 \xC6on\\\xFF",  // ANSI characters beyond ASCII
};

// A proportional model first, then real fonts at a few sizes (those installed here).
TEST(FitText, AgreesWithTheSearch) {
  for (const char* text : kTexts) ExpectFitsLikeTheSearch(text, [](unsigned char c) { return 1 + c % 7L; });
  for (const char* font : {"DejaVu Sans", "DejaVu Serif:bold", "DejaVu Sans Mono", "fixed-pitch"}) {
    for (Long size : {8, 13}) {
      const Long hdc = CreateDeviceContext(font, size);
      const std::shared_ptr<const DeviceFont> device = FindDeviceFont(hdc);
      if (!device) continue;
      SCOPED_TRACE(std::string(font) + " " + std::to_string(size));
      for (const char* text : kTexts) {
        ExpectFitsLikeTheSearch(text, [&](unsigned char c) -> std::int64_t { return device->AnsiAdvance(c); });
      }
      EXPECT_TRUE(DeleteDeviceContext(hdc));
    }
  }
}

}  // namespace
}  // namespace ztl::platform
