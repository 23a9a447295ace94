// Fitting text into a width with "...": the end and path ellipses with every character one
// unit wide, line by line, and the flags that leave the text alone.

#include "platform/text_fit.hpp"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

using ztl::platform::FitText;
using ztl::platform::kDrawCalcRect;
using ztl::platform::kDrawEndEllipsis;
using ztl::platform::kDrawModifyString;
using ztl::platform::kDrawPathEllipsis;
using ztl::platform::kDrawSingleLine;

constexpr std::uint32_t kMeasure = kDrawCalcRect | kDrawModifyString;
constexpr std::uint32_t kEnd = kMeasure | kDrawEndEllipsis;
constexpr std::uint32_t kPath = kMeasure | kDrawPathEllipsis;
const ztl::platform::CharWidth kOneUnit = [](unsigned char) -> std::int64_t { return 1; };

// The width of a text in the one-unit model is its length.
std::int64_t Width(const std::string& s) { return static_cast<std::int64_t>(s.size()); }

TEST(FitText, OneUnitVectors) {
  const std::string path = "C:\\Program Files\\App\\file.txt";
  const struct {
    std::string text;
    std::uint32_t flags;
    std::int64_t width;
    std::string expected;
  } kCases[] = {
      {"abcdefghij", kEnd | kDrawSingleLine, 10, "abcdefghij"},
      {"abcdefghij", kEnd | kDrawSingleLine, 6, "abc..."},
      {"abcdefghij", kEnd | kDrawSingleLine, 3, "..."},
      {"abcdefghij", kEnd | kDrawSingleLine, 2, "..."},  // too wide still: clipped when drawn
      {"abcdefghij", kEnd, 9, "abcdef..."},
      {path, kPath, 40, path},
      {path, kPath, Width(path), path},
      {path, kPath, Width(path) - 1, "C:\\Program Files...\\file.txt"},
      {path, kPath, 20, "C:\\Progr...\\file.txt"},
      {path, kPath, 13, "C...\\file.txt"},
      {path, kPath, 12, "...\\file.txt"},
      {path, kPath, 8, "...\\file.txt"},  // the file name is kept even when it does not fit
      {path, kPath | kDrawEndEllipsis, 8, "...\\f..."},
      {path, kPath | kDrawEndEllipsis, 20, "C:\\Progr...\\file.txt"},
      {"/usr/share/fonts/truetype/x.ttf", kPath, 14, "/usr/.../x.ttf"},
      {"a\\b/c", kPath, 4, ".../c"},  // the last separator of either kind
      // No separator: cut like the end ellipsis.
      {"abcdefghij", kPath, 6, "abc..."},
      {"abcdefghij", kPath, 10, "abcdefghij"},
      // A separator at the very start: nothing to remove before it.
      {"\\abcdefghij", kPath, 6, "...\\abcdefghij"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text + " in " + std::to_string(c.width) + ", flags " + std::to_string(c.flags));
    EXPECT_EQ(FitText(c.text, c.width, c.flags, kOneUnit), c.expected);
  }
}

TEST(FitText, FlagsThatLeaveTheTextAlone) {
  const struct {
    std::uint32_t flags;
  } kCases[] = {
      {kMeasure},                                   // no ellipsis
      {kDrawCalcRect | kDrawEndEllipsis},           // not asked to modify the text
      {kDrawCalcRect | kDrawPathEllipsis},
      {kDrawModifyString},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(FitText("abcdefghij\\xyz", 3, c.flags, kOneUnit), "abcdefghij\\xyz");
  }
}

TEST(FitText, EachLineOnItsOwn) {
  const struct {
    std::string text;
    std::uint32_t flags;
    std::int64_t width;
    std::string expected;
  } kCases[] = {
      {"line1\nlonger line two", kEnd, 8, "line1\nlonge..."},
      {"longer line one\nline2", kEnd, 8, "longe...\nline2"},
      {"abcdefghij\r\nabcdefghij\rab\nabcdefghij", kEnd, 6, "abc...\r\nabc...\rab\nabc..."},
      {"\n\nabcdefghij\n", kEnd, 6, "\n\nabc...\n"},
      {"C:\\dir\\long name.txt\nD:\\x\\y.txt", kPath, 12, "...\\long name.txt\nD:\\x\\y.txt"},
      {"C:\\a\\b.txt\nno separator here", kPath, 8, "...\\b.txt\nno se..."},
      // A single line: the line breaks are characters like any other.
      {"abc\ndefghij", kEnd | kDrawSingleLine, 6, "abc..."},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FitText(c.text, c.width, c.flags, kOneUnit), c.expected);
  }
}

TEST(FitText, EmptyTextsAndNoRoom) {
  const struct {
    std::string text;
    std::uint32_t flags;
    std::int64_t width;
    std::string expected;
  } kCases[] = {
      {"", kEnd, 0, ""},
      {"", kPath, -5, ""},
      {"\r\n", kEnd, -5, "\r\n"},  // empty lines have nothing to shorten
      {"a", kEnd, 0, "..."},
      {"a", kEnd, -2147483648LL, "..."},
      {"a\\b", kPath, -1, "...\\b"},
      {"abc", kEnd, 1, "..."},
      {"abc", kEnd, INT64_C(1) << 40, "abc"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text + " in " + std::to_string(c.width));
    EXPECT_EQ(FitText(c.text, c.width, c.flags, kOneUnit), c.expected);
  }
}

// With characters of different widths: the result is the longest start (end ellipsis) or
// the longest kept start before the separator (path ellipsis) that fits, checked against a
// brute-force search over every candidate.
TEST(FitText, ProportionalWidthsAgainstBruteForce) {
  const ztl::platform::CharWidth widths = [](unsigned char c) -> std::int64_t { return 1 + c % 7; };
  auto width_of = [&](const std::string& s) {
    std::int64_t sum = 0;
    for (char c : s) sum += widths(static_cast<unsigned char>(c));
    return sum;
  };
  const std::string text = "C:\\Documents and Settings\\Someone\\My Pictures\\holiday photo.jpeg";
  for (std::int64_t width = 0; width <= width_of(text) + 2; ++width) {
    SCOPED_TRACE(width);
    std::string end = text, path = text;
    if (width_of(text) > width) {
      end = "...";
      for (std::size_t n = 0; n <= text.size(); ++n) {
        if (width_of(text.substr(0, n) + "...") <= width) end = text.substr(0, n) + "...";
      }
      const std::size_t sep = text.rfind('\\');
      path = "..." + text.substr(sep);
      for (std::size_t n = 0; n <= sep; ++n) {
        if (width_of(text.substr(0, n) + "..." + text.substr(sep)) <= width) path = text.substr(0, n) + "..." + text.substr(sep);
      }
    }
    EXPECT_EQ(FitText(text, width, kEnd, widths), end);
    EXPECT_EQ(FitText(text, width, kPath, widths), path);
  }
}

}  // namespace
