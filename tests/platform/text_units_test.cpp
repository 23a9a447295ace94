// The shared text pieces: ASCII-only name folding, UTF-8 sequences, surrogate pairs and the
// Windows-1252 fast paths against the table they short-cut.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/names.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl {
namespace {

// ---- names ---------------------------------------------------------------------------------

struct NameCase {
  std::u16string a, b;
  bool equal;
};

const NameCase kNames[] = {
    {u"GetRandom", u"getRANDOM", true}, {u"Ab", u"Abc", false},   {u"Abc", u"Abd", false},
    {u"@[", u"`{", false},  // the neighbours of A-Z and a-z are no letters
    {u"\u00E9", u"\u00C9", false},      // Latin-1 letters are not folded
    {u"\u0161", u"\u0141", false},      // nor anything 32 apart beyond ASCII
};

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

TEST(Names, EqualsIgnoringAsciiCaseInEveryForm) {
  for (const auto& [a, b, equal] : kNames) {
    EXPECT_EQ(EqualsIgnoringAsciiCase(a, b), equal) << Narrow(a);
    if (a.back() > 0xFF || b.back() > 0xFF) continue;  // the byte forms take Latin-1 here
    EXPECT_EQ(EqualsIgnoringAsciiCase(a, std::string_view(Narrow(b))), equal) << Narrow(a);
    EXPECT_EQ(EqualsIgnoringAsciiCase(std::string_view(Narrow(a)), std::string_view(Narrow(b))), equal) << Narrow(a);
  }
}

// ---- UTF-8 ---------------------------------------------------------------------------------

struct SequenceCase {
  std::string text;
  std::size_t at, length;
};

const SequenceCase kSequences[] = {
    {"A", 0, 1},          {"\xC3\xA9", 0, 2},    {"\xE2\x82\xAC", 0, 3}, {"\xF0\x9F\x98\x80", 0, 4},
    {"\x80", 0, 0},       // continuation byte
    {"\xC1\xBF", 0, 0},   // overlong two bytes
    {"\xE0\x9F\xBF", 0, 0},  // overlong three bytes
    {"\xED\xA0\x80", 0, 0},  // encoded surrogate
    {"\xF4\x90\x80\x80", 0, 0},  // past U+10FFFF
    {"\xE2\x82", 0, 0},   // cut off
    {"\xE2\x41\xAC", 0, 0},  // second byte no continuation
    {"\xE2\x82\xAC", 1, 0}, {"A", 1, 0},
};

TEST(Utf8, SequenceLength) {
  for (const auto& [text, at, length] : kSequences) EXPECT_EQ(Utf8SequenceLength(text, at), length) << text;
}

TEST(Utf8, IsValidUtf8) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("a\xC3\xA9\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("a\xC3\xA9\xF0\x9F\x98"));
}

TEST(Utf8, AppendUtf8ReplacesWhatHasNoForm) {
  for (const char32_t cp : {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000}}) {
    std::string out;
    AppendUtf8(out, cp);
    EXPECT_EQ(out, "\xEF\xBF\xBD") << static_cast<std::uint32_t>(cp);
  }
}

// Every code point: one valid sequence of its own length, which decodes back to it.
TEST(Utf8, AppendUtf8RoundTripsEveryCodePoint) {
  int failures = 0;
  for (char32_t cp = 0; cp <= 0x10FFFF && failures < 5; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string out;
    AppendUtf8(out, cp);
    const String units = Utf8ToUtf16(out);
    const char32_t back = units.size() == 2 ? CodePointOfPair(units[0], units[1]) : units[0];
    if (Utf8SequenceLength(out, 0) != out.size() || back != cp) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(cp);
      ++failures;
    }
  }
}

// ---- surrogates ----------------------------------------------------------------------------

struct PairCase {
  std::u16string text;
  std::size_t at;
  bool pair;
};

const PairCase kPairs[] = {
    {u"\xD83D\xDE00", 0, true}, {u"a\xD83D\xDE00", 1, true}, {u"\xD83D\xDE00", 1, false},
    {u"\xD83D", 0, false},      {u"\xDE00\xD83D", 0, false}, {u"\xD83D\xD83D", 0, false},
};

TEST(Surrogates, StartsSurrogatePair) {
  for (const auto& [text, at, pair] : kPairs) EXPECT_EQ(StartsSurrogatePair(text, at), pair) << at;
}

TEST(Surrogates, CodePointOfPair) {
  EXPECT_EQ(CodePointOfPair(0xD800, 0xDC00), 0x10000u);
  EXPECT_EQ(CodePointOfPair(0xD83D, 0xDE00), 0x1F600u);
  EXPECT_EQ(CodePointOfPair(0xDBFF, 0xDFFF), 0x10FFFFu);
}

// ---- Windows-1252 --------------------------------------------------------------------------

TEST(CodePage, AnsiCharThenAnsiCodeGivesEveryByteBack) {
  for (int code = 0; code < 256; ++code) EXPECT_EQ(AnsiCode(AnsiChar(static_cast<Byte>(code))), code);
}

// The bulk conversion skips work for ASCII and Latin-1 runs: it must agree with AnsiCode for
// texts of each kind and for every UTF-16 unit.
TEST(CodePage, BulkAgreesWithAnsiCode) {
  std::vector<std::u16string> texts = {u"plain", u"caf\u00E9", u"\u20AC1", u"\u4E00"};
  texts.emplace_back();
  for (char32_t c = 0; c <= 0xFFFF; ++c) texts.back() += static_cast<char16_t>(c);
  for (const auto& text : texts) {
    std::string expected;
    for (const char16_t c : text) expected += static_cast<char>(AnsiCode(c));
    EXPECT_EQ(StringToAnsiBytes(text), expected) << text.size();
  }
}

}  // namespace
}  // namespace ztl
