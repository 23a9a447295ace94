// EllipseText and the device contexts it measures with: exact results in the built-in
// fixed-pitch font, fitting checked against the metrics of a real font, and hostile input.

#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "../support/text.hpp"
#include "platform/device_context.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/text/strings.hpp"

namespace {

using ztl::Long;
using ztl::String;
using ztl::testing_support::Narrow;
using ztl::testing_support::Wide;

// A device context that is deleted at the end of the test.
class ScopedDc {
 public:
  ScopedDc(std::string_view font, Long size) : hdc_(ztl::CreateDeviceContext(font, size)) {}
  ~ScopedDc() {
    if (hdc_ != 0) ztl::DeleteDeviceContext(hdc_);
  }
  Long get() const { return hdc_; }

 private:
  Long hdc_;
};

TEST(CreateDeviceContext, FontsAndSizes) {
  const struct {
    std::string font;
    Long size;
    bool made;
  } kCases[] = {
      {"fixed-pitch", 1, true},
      {"fixed-pitch", 1000, true},
      {"fixed-pitch", 0, false},
      {"fixed-pitch", 1001, false},
      {"fixed-pitch", -12, false},
      {"DejaVu Sans", 12, true},
      {"dejavu sans", 12, true},       // case and blanks do not count
      {"DejaVu Sans:bold", 12, true},  // a fontconfig pattern with properties
      {"DejaVu Sans Mono", 12, true},
      {"sans-serif", 12, true},        // a generic name is whatever the system configures
      {"monospace", 12, true},
      {"No Such Font Family", 12, false},  // not the fallback fontconfig would offer
      {"x", 12, false},
      {"", 12, false},
      {std::string("DejaVu Sans\0x", 13), 12, false},
      {"DejaVu Sans", 0, false},
      {"DejaVu Sans", 1001, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.font + " at " + std::to_string(c.size));
    ScopedDc dc(c.font, c.size);
    EXPECT_EQ(dc.get() > 0, c.made);
  }
}

TEST(CreateDeviceContext, HandlesAreFreedOnceAndNotReusedAtOnce) {
  const Long a = ztl::CreateDeviceContext(ztl::kFixedPitchFont, 10);
  ASSERT_GT(a, 0);
  EXPECT_TRUE(ztl::DeleteDeviceContext(a));
  EXPECT_FALSE(ztl::DeleteDeviceContext(a));
  const Long b = ztl::CreateDeviceContext(ztl::kFixedPitchFont, 10);
  EXPECT_GT(b, 0);
  EXPECT_NE(a, b);
  EXPECT_TRUE(ztl::DeleteDeviceContext(b));
  EXPECT_FALSE(ztl::DeleteDeviceContext(0));
  EXPECT_FALSE(ztl::DeleteDeviceContext(-1));
}

TEST(CreateDeviceContext, FontMetrics) {
  ScopedDc fixed(ztl::kFixedPitchFont, 7);
  auto font = ztl::platform::FindDeviceFont(fixed.get());
  ASSERT_TRUE(font);
  EXPECT_EQ(font->LineHeight(), 7);
  for (int code = 0; code < 256; ++code) EXPECT_EQ(font->AnsiAdvance(static_cast<ztl::Byte>(code)), 7);
  EXPECT_EQ(font->Advance(U'\u65E5'), 7);

  // A monospaced font: every printable ASCII character has the same advance; a proportional
  // one: "W" is wider than "i"; both grow with the size.
  ScopedDc mono("DejaVu Sans Mono", 20);
  auto m = ztl::platform::FindDeviceFont(mono.get());
  ASSERT_TRUE(m);
  EXPECT_GT(m->AnsiAdvance('a'), 0);
  for (int code = 0x20; code < 0x7F; ++code) EXPECT_EQ(m->AnsiAdvance(static_cast<ztl::Byte>(code)), m->AnsiAdvance('a'));
  EXPECT_GE(m->LineHeight(), 20);
  ScopedDc sans12("DejaVu Sans", 12), sans48("DejaVu Sans", 48);
  auto s12 = ztl::platform::FindDeviceFont(sans12.get()), s48 = ztl::platform::FindDeviceFont(sans48.get());
  ASSERT_TRUE(s12 && s48);
  EXPECT_GT(s12->AnsiAdvance('W'), s12->AnsiAdvance('i'));
  EXPECT_GT(s48->AnsiAdvance('W'), 3 * s12->AnsiAdvance('W'));
  // The ANSI table measures the code page's characters: 0x80 is the euro sign.
  EXPECT_EQ(s48->AnsiAdvance(0x80), s48->Advance(U'\u20AC'));
}

TEST(CreateDeviceContext, ManyThreads) {
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      ztl::ZtStrings s;
      for (int i = 0; i < 20; ++i) {
        const Long hdc = ztl::CreateDeviceContext(i % 2 ? "DejaVu Sans" : "fixed-pitch", 10 + t);
        if (hdc <= 0) ++failures[t];
        if (s.EllipseText(u"C:\\some\\path\\name.txt", 60, 10, hdc, ztl::ztlEllipsePath).empty()) ++failures[t];
        if (!ztl::DeleteDeviceContext(hdc)) ++failures[t];
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}

// With one pixel per character, the width in characters is lngWidth * 0.97 rounded half to even.
TEST(EllipseText, FixedPitchExact) {
  ScopedDc one(ztl::kFixedPitchFont, 1), ten(ztl::kFixedPitchFont, 10);
  const std::string path = "C:\\Program Files\\App\\file.txt";  // 29 characters
  const struct {
    std::string text;
    Long width;
    Long hdc;
    ztl::ztlEllipseText style;
    std::string expected;
  } kCases[] = {
      {"abcdefghij", 10, one.get(), ztl::ztlEllipseEnd, "abcdefghij"},  // 9.7 -> 10
      {"abcdefghij", 9, one.get(), ztl::ztlEllipseEnd, "abcdef..."},     // 8.73 -> 9
      {"abcdefghij", 7, one.get(), ztl::ztlEllipseEnd, "abcd..."},      // 6.79 -> 7
      {"abcdefghij", 3, one.get(), ztl::ztlEllipseEnd, "..."},          // 2.91 -> 3
      {"abcdefghij", 1, one.get(), ztl::ztlEllipseEnd, "..."},
      {std::string(48, 'a') + "b", 50, one.get(), ztl::ztlEllipseEnd, std::string(45, 'a') + "..."},  // 48.5 -> 48
      {std::string(145, 'a') + "b", 150, one.get(), ztl::ztlEllipseEnd, std::string(145, 'a') + "b"},  // 145.5 -> 146
      {std::string(147, 'a') + "b", 150, one.get(), ztl::ztlEllipseEnd, std::string(143, 'a') + "..."},
      {path, 30, one.get(), ztl::ztlEllipsePath, path},                          // 29.1 -> 29
      {path, 29, one.get(), ztl::ztlEllipsePath, "C:\\Program Files...\\file.txt"},  // 28.13 -> 28
      {path, 21, one.get(), ztl::ztlEllipsePath, "C:\\Progr...\\file.txt"},    // 20.37 -> 20
      {path, 12, one.get(), ztl::ztlEllipsePath, "...\\file.txt"},
      {path, 5, one.get(), ztl::ztlEllipsePath, "...\\file.txt"},
      {path, 5, one.get(), ztl::ztlEllipseEnd, "C:..."},
      {"no separator in this", 10, one.get(), ztl::ztlEllipsePath, "no sepa..."},
      // Ten pixels a character: 206 * 0.97 = 199.82 -> 200 pixels, 20 characters.
      {path, 206, ten.get(), ztl::ztlEllipsePath, "C:\\Progr...\\file.txt"},
      {path, 205, ten.get(), ztl::ztlEllipsePath, "C:\\Prog...\\file.txt"},  // 198.85 -> 199: 19 characters
      {"line1\nlonger line two", 8, one.get(), ztl::ztlEllipseEnd, "line1\nlonge..."},
      {"line1\r\nlonger line two\r\n", 8, one.get(), ztl::ztlEllipseEnd, "line1\r\nlonge...\r\n"},
      // Other style values: only their low 16 bits are drawing flags; without an ellipsis
      // flag the text is not shortened.
      {"abcdefghij", 3, one.get(), static_cast<ztl::ztlEllipseText>(0), "abcdefghij"},
      {"abcdefghij", 3, one.get(), static_cast<ztl::ztlEllipseText>(0x12345), "abcdefghij"},
      {path, 8, one.get(), static_cast<ztl::ztlEllipseText>(0xC000), "...\\f..."},  // both ellipses
      {"ab\ncdefgh", 6, one.get(), static_cast<ztl::ztlEllipseText>(0x8020), "ab\n..."},  // single line
  };
  ztl::ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text + " in " + std::to_string(c.width));
    EXPECT_EQ(Narrow(s.EllipseText(Wide(c.text), c.width, 20, c.hdc, c.style)), c.expected);
  }
}

// The text goes through the ANSI code page: a character it lacks becomes "?", and is
// measured as "?"; the characters it has come back as they were.
TEST(EllipseText, AnsiCodePage) {
  ScopedDc one(ztl::kFixedPitchFont, 1);
  ztl::ZtStrings s;
  const struct {
    String text;
    Long width;
    String expected;
  } kCases[] = {
      {u"\u20AC\u00E9\u0153\u2122", 10, u"\u20AC\u00E9\u0153\u2122"},
      {u"\u65E5\u672C\u8A9E", 10, u"???"},
      {u"\U0001F600x", 10, u"?x"},                 // a surrogate pair is one character
      {u"\xD800x\xDC00", 10, u"?x?"},               // unpaired surrogates
      {u"\u65E5\u672C\u8A9Eabcdefgh", 9, u"???abc..."},
      {u"\u0081\u008D\u008F\u0090\u009D", 10, u"\u0081\u008D\u008F\u0090\u009D"},
      // The service reads the text up to its first NUL and shows only that.
      {String(u"ab\0cd", 5), 10, u"ab"},
      {String(u"abcdefghij\0z", 12), 7, u"abcd..."},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(s.EllipseText(c.text, c.width, 10, one.get(), ztl::ztlEllipseEnd), c.expected);
  }
}

TEST(EllipseText, UnknownDeviceContextKeepsTheText) {
  const Long deleted = ztl::CreateDeviceContext(ztl::kFixedPitchFont, 1);
  ASSERT_TRUE(ztl::DeleteDeviceContext(deleted));
  ztl::ZtStrings s;
  const String text(u"C:\\Program Files\\App\\\u65E5\0file.txt", 31);
  for (Long hdc : {Long{0}, Long{-1}, deleted, Long{2147483647}}) {
    SCOPED_TRACE(hdc);
    EXPECT_EQ(s.EllipseText(text, 5, 5, hdc, ztl::ztlEllipsePath), text);
    EXPECT_EQ(s.EllipseText(u"", 5, 5, hdc, ztl::ztlEllipseEnd), u"");
  }
}

TEST(EllipseText, HostileWidths) {
  ScopedDc one(ztl::kFixedPitchFont, 1);
  ztl::ZtStrings s;
  const struct {
    Long width;
    std::string text;
    ztl::ztlEllipseText style;
    std::string expected;
  } kCases[] = {
      {0, "abc", ztl::ztlEllipseEnd, "..."},
      {-1, "abc", ztl::ztlEllipseEnd, "..."},
      {-2147483647 - 1, "abc", ztl::ztlEllipseEnd, "..."},
      {-2147483647 - 1, "a\\b", ztl::ztlEllipsePath, "...\\b"},
      {-100, "", ztl::ztlEllipseEnd, ""},
      {2147483647, "abc\\def", ztl::ztlEllipsePath, "abc\\def"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(Narrow(s.EllipseText(Wide(c.text), c.width, -5, one.get(), c.style)), c.expected);
  }
}

TEST(EllipseText, VeryLongText) {
  ScopedDc one(ztl::kFixedPitchFont, 1);
  ztl::ZtStrings s;
  const String name = u"\\file.txt";
  const String text = String(1 << 20, u'd') + name;
  EXPECT_EQ(s.EllipseText(text, 1000, 10, one.get(), ztl::ztlEllipsePath), String(958, u'd') + u"..." + name);
  EXPECT_EQ(s.EllipseText(text, 2147483647, 10, one.get(), ztl::ztlEllipseEnd), text);
}

// In a real font: the result is no wider than the rectangle in FreeType's hinted advances,
// one more character would not fit, and the path style keeps the file name.
TEST(EllipseText, RealFontFits) {
  ztl::ZtStrings s;
  const std::string kTexts[] = {
      "C:\\Program Files\\Common Files\\Some Vendor\\Shared\\component.dll",
      "/home/someone/Documents/Reports/2024/quarterly summary WWW.pdf",
      "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii\\MMMMMMMM.txt",
  };
  for (Long size : {9, 12, 17}) {
    ScopedDc dc("DejaVu Sans", size);
    auto font = ztl::platform::FindDeviceFont(dc.get());
    ASSERT_TRUE(font);
    auto width_of = [&](const std::string& t) {
      Long sum = 0;
      for (char c : t) sum += font->AnsiAdvance(static_cast<ztl::Byte>(c));
      return sum;
    };
    for (const std::string& text : kTexts) {
      const std::string name = text.substr(text.find_last_of("\\/"));
      for (Long width = 0; width <= width_of(text) + 20; width += 7) {
        SCOPED_TRACE(text + " in " + std::to_string(width) + " at " + std::to_string(size));
        const Long room = std::lrint(width * 0.97);
        const std::string path = Narrow(s.EllipseText(Wide(text), width, size, dc.get(), ztl::ztlEllipsePath));
        const std::string end = Narrow(s.EllipseText(Wide(text), width, size, dc.get(), ztl::ztlEllipseEnd));
        if (width_of(text) <= room) {
          EXPECT_EQ(path, text);
          EXPECT_EQ(end, text);
          continue;
        }
        // The path style: start of the text, "...", the file name in full.
        ASSERT_GE(path.size(), name.size() + 3);
        EXPECT_EQ(path.substr(path.size() - name.size()), name);
        const std::string kept = path.substr(0, path.size() - name.size() - 3);
        EXPECT_EQ(path.substr(kept.size(), 3), "...");
        EXPECT_EQ(text.substr(0, kept.size()), kept);
        if (width_of("..." + name) <= room) {
          EXPECT_LE(width_of(path), room);
          EXPECT_GT(width_of(text.substr(0, kept.size() + 1) + "..." + name), room);
        } else {
          EXPECT_TRUE(kept.empty());
        }
        // The end style: the longest start that fits with "...".
        ASSERT_GE(end.size(), 3u);
        EXPECT_EQ(end.substr(end.size() - 3), "...");
        const std::string start = end.substr(0, end.size() - 3);
        EXPECT_EQ(text.substr(0, start.size()), start);
        if (width_of("...") <= room) {
          EXPECT_LE(width_of(end), room);
          EXPECT_GT(width_of(text.substr(0, start.size() + 1) + "..."), room);
        }
      }
    }
  }
}

// Late-bound, as hosts call it: the style arrives as a number.
TEST(EllipseText, ThroughDispatch) {
  ScopedDc one(ztl::kFixedPitchFont, 1);
  ztl::ObjectRef strings = ztl::CreateObject(u"ZTLData.ZtStrings");
  ASSERT_TRUE(strings);
  const auto result = strings->Invoke(u"EllipseText", {String(u"abcdefghij"), 7, 10, one.get(), -32768});
  EXPECT_EQ(result, ztl::Variant(String(u"abcd...")));
}

}  // namespace
