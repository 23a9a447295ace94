// ZtStrings: searches and replacements against plain references over generated texts, texts
// longer than 16-bit positions, sPrintf's long templates and value array in the slot order,
// the EBCDIC translation of every code against the rule that makes its table, and EllipseText
// with the device contexts it measures with (fonts and handles, and what it adds to the
// fitting: 97% of the width, the style's low 16 bits, the ANSI code page, the device
// context's font). The tables of results are in tests/vectors/strings.jsonl,
// strings-sprintf.jsonl and strings-codepages.jsonl; the fitting itself is checked in real
// fonts in tests/platform/text_fit_test.cpp.

#include <gtest/gtest.h>
#include <iconv.h>

#include <atomic>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../support/text.hpp"
#include "platform/device_font.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/text/ebcdic.hpp"
#include "ztldata/text/strings.hpp"

namespace ztl {
namespace {

using testing_support::Narrow;

// Random texts over a small alphabet, so that searches find something.
String RandomText(std::mt19937& random, std::size_t max_length, std::u16string_view alphabet) {
  String text(random() % (max_length + 1), u'a');
  for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
  return text;
}

// Reference: every occurrence, left to right without overlap, replaced and counted.
String ReplaceAllByHand(const String& text, const String& what, const String& with, Long* count = nullptr) {
  if (what.empty()) return text;
  String out;
  for (std::size_t i = 0; i < text.size();) {
    const bool hit = text.compare(i, what.size(), what) == 0;
    out += hit ? with : String(1, text[i]);
    i += hit ? what.size() : 1;
    if (count) *count += hit;
  }
  return out;
}

// Random texts over a small alphabet, then near misses: long texts of "a" with a few "b", and
// searches just longer than a run (where checking candidates one by one would cost the
// text's length times the search's).
TEST(Searches, AgreeWithReferences) {
  std::mt19937 random(11);
  ZtStrings s;
  for (int i = 0; i < 4040; ++i) {
    String text = RandomText(random, 40, u"abc"), what = RandomText(random, 3, u"abc"),
           with = RandomText(random, 3, u"abc");
    if (i >= 4000) {
      text.assign(5000 + random() % 5000, u'a');
      for (int b = 0; b < 5; ++b) text[random() % text.size()] = u'b';
      what = String(50 + random() % 400, u'a') + (i % 2 ? u"b" : u"ba");
    }
    SCOPED_TRACE(Narrow(text.substr(0, 50)) + " / " + Narrow(what.substr(0, 50)) + " / " + Narrow(with));
    Long count = 0;
    EXPECT_EQ(s.ReplaceAll(text, what, with), ReplaceAllByHand(text, what, with, &count));
    EXPECT_EQ(s.Occurs(what, text), count);
    // Replace: the first occurrence; an empty search is found at the start of a non-empty text.
    const std::size_t at = text.empty() ? String::npos : text.find(what);
    String first = text;
    if (at != String::npos) first.replace(at, what.size(), with);
    EXPECT_EQ(s.Replace(text, what, with), first);
  }
}

TEST(LongTexts, PositionsAndCountsBeyondSixteenBits) {
  ZtStrings s;
  String text(70000, u'-');
  text[40000] = text[69999] = u'x';
  EXPECT_EQ(s.Occurs(u"x", text), 2);
  String expected = text;
  expected.replace(40000, 1, u"YY");
  EXPECT_EQ(s.Replace(text, u"x", u"YY"), expected);
  EXPECT_EQ(s.Pad(text, 3), u"--x");  // a text longer than an Integer can count
  EXPECT_EQ(s.Pad(u"x", 32767, 46).size(), 32767u);
  const String expanded = s.Expand(String(100000, u'x'), u"ab");
  ASSERT_EQ(expanded.size(), 100000u + 2 * 99999u);
  EXPECT_EQ(expanded.substr(expanded.size() - 4), u"xabx");
  std::vector<Variant> values(40000, Long{7});  // sPrintf: conversions far past an Integer count
  String many, printed;
  for (std::size_t i = 0; i < values.size(); ++i) many += u"%d,", printed += u"7,";
  EXPECT_EQ(s.sPrintf(String(50000, u'.') + many, values), String(50000, u'.') + printed);
  values.resize(1);  // the largest width there is
  EXPECT_EQ(s.sPrintf(u"%032767d", values), String(32766, u'0') + u"7");
}

// The pieces InStrAdv adds, joined, are the text without its separators: none is lost, none
// is empty.
TEST(InStrAdv, PiecesJoinToTheText) {
  std::mt19937 random(3);
  ZtStrings s;
  for (int i = 0; i < 2000; ++i) {
    const String text = RandomText(random, 30, u"ab;"), separator = RandomText(random, 2, u";") + u";";
    auto collection = Collection::Create();
    s.InStrAdv(text, separator, collection);
    String joined;
    for (const Variant& v : *collection) {
      EXPECT_FALSE(v.If<String>()->empty());
      joined += *v.If<String>();
    }
    EXPECT_EQ(joined, ReplaceAllByHand(text, separator, u"")) << Narrow(text) << " / " << Narrow(separator);
  }
}

// In the slot order the caller passes the values as one array, whatever its bounds.
TEST(sPrintf, ValueArrayInTheSlotOrder) {
  auto strings = CreateObject(u"ZtStrings");
  const struct { const char* what; Variant values; String expected; } kCases[] = {
      {"lower bound -5", SafeArray::Of({Long{1}, Long{2}}, -5), u"1-2"},
      {"holding Null", SafeArray::Of({Null, Long{2}}, 0), u"-2"},
      {"holding an array", SafeArray::Of({SafeArray::Of({Long{1}}), Long{2}}, 0), u"-2"},
      {"too short", SafeArray::Of({Long{1}}, 0), u""},
      {"unallocated", SafeArray(), u""},
      {"two dimensions", SafeArray(VarType::Long, {{0, 1}, {0, 2}}), u"0-0"},
  };
  for (const auto& c : kCases) {
    std::vector<Variant> args = {String(u"%d-%d"), c.values};
    EXPECT_EQ(strings->InvokeSlot(8, args), Variant(c.expected)) << c.what;
  }
}

String CharOf(int code) { return String(1, AnsiChar(static_cast<Byte>(code))); }

// The EBCDIC byte of each code: code page 500 for 0x00-0x9F, with "|" at 0x6A and 0x9F at
// 0xE1; then the bytes left unused, ascending, for 0xA0-0xFF. Empty without the converter.
std::vector<int> EbcdicByRule() {
  iconv_t cd = iconv_open("IBM500", "ISO-8859-1");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::vector<int> table(256);
  for (int code = 0; code < 0xA0; ++code) {
    char in[1] = {static_cast<char>(code)}, out[4] = {}, *in_p = in, *out_p = out;
    std::size_t in_left = 1, out_left = sizeof out;
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) == static_cast<std::size_t>(-1)) table.clear();
    if (table.empty()) break;
    table[code] = static_cast<unsigned char>(out[0]);
  }
  iconv_close(cd);
  if (table.empty()) return table;
  table[0x7C] = 0x6A;
  table[0x9F] = 0xE1;
  const std::set<int> used(table.begin(), table.begin() + 0xA0);
  for (int code = 0xA0, next = 0; code < 256; ++code, ++next) {
    while (used.count(next)) ++next;
    table[code] = next;
  }
  return table;
}

// Each code goes to the rule's byte and back (which makes both tables permutations), byte by
// byte and as one text of all 256.
TEST(EBCDIC, EveryCodeFollowsTheRuleAndComesBack) {
  const std::vector<int> expected = EbcdicByRule();
  ZtStrings s;
  String all;
  for (int code = 0; code < 256; ++code) {
    all += CharOf(code);
    EXPECT_EQ(EbcdicToAscii(AsciiToEbcdic(static_cast<Byte>(code))), code);
    if (expected.empty()) continue;  // no IBM500 converter installed
    EXPECT_EQ(s.ASCIIToEBCDIC(CharOf(code)), CharOf(expected[code])) << code;
    EXPECT_EQ(AsciiToEbcdic(static_cast<Byte>(code)), expected[code]) << code;
  }
  EXPECT_EQ(s.EBCDICToASCII(s.ASCIIToEBCDIC(all)), all);
  const std::string bytes = "AZaz09|\x9F\xA0\xFF";
  EXPECT_EQ(AsciiToEbcdicBytes(bytes), "\xC1\xE9\x81\xA9\xF0\xF9\x6A\xE1\x41\xFF");
  EXPECT_EQ(EbcdicToAsciiBytes(AsciiToEbcdicBytes(bytes)), bytes);
}

// ---- EllipseText and device contexts ------------------------------------------------------

// A device context that is deleted at the end of the test.
struct ScopedDc {
  ScopedDc(std::string_view font, Long size) : hdc(CreateDeviceContext(font, size)) {}
  ~ScopedDc() { DeleteDeviceContext(hdc); }
  Long hdc;
};

TEST(DeviceContext, FontsSizesAndHandles) {
  // Case and blanks do not count; a fontconfig pattern or a generic name is taken.
  for (const char* font : {"fixed-pitch", "dejavu  sans", "DejaVu Sans:bold", "DejaVu Sans Mono", "monospace"}) {
    EXPECT_GT(ScopedDc(font, 1).hdc, 0) << font;
    EXPECT_GT(ScopedDc(font, 1000).hdc, 0) << font;
    EXPECT_EQ(ScopedDc(font, 0).hdc, 0) << font;
    EXPECT_EQ(ScopedDc(font, 1001).hdc, 0) << font;
  }
  // No fallback to another family (an unknown family, a handle deleted twice and one that
  // leaves texts alone: the serve transcripts).
  using namespace std::literals;
  for (std::string_view font : {"x"sv, ""sv, "DejaVu Sans\0x"sv}) EXPECT_EQ(ScopedDc(font, 12).hdc, 0) << font;
  // A freed handle is not given out again at once.
  const Long a = CreateDeviceContext(kFixedPitchFont, 10);
  EXPECT_TRUE(DeleteDeviceContext(a));
  EXPECT_NE(ScopedDc(kFixedPitchFont, 10).hdc, a);
}

TEST(DeviceContext, FontMetrics) {
  ScopedDc fixed(kFixedPitchFont, 7), mono("DejaVu Sans Mono", 20), sans12("DejaVu Sans", 12), sans48("DejaVu Sans", 48);
  auto f = platform::FindDeviceFont(fixed.hdc), m = platform::FindDeviceFont(mono.hdc);
  auto s12 = platform::FindDeviceFont(sans12.hdc), s48 = platform::FindDeviceFont(sans48.hdc);
  ASSERT_TRUE(f);
  ASSERT_TRUE(m);
  ASSERT_TRUE(s12);
  ASSERT_TRUE(s48);
  EXPECT_EQ(f->LineHeight(), 7);
  EXPECT_EQ(f->Advance(U'\u65E5'), 7);
  EXPECT_GE(m->LineHeight(), 20);
  EXPECT_EQ(m->AnsiAdvance('i'), m->AnsiAdvance('W'));
  EXPECT_GT(s12->AnsiAdvance('W'), s12->AnsiAdvance('i'));
  EXPECT_GT(s48->AnsiAdvance('W'), 3 * s12->AnsiAdvance('W'));
  EXPECT_EQ(s48->AnsiAdvance(0x80), s48->Advance(U'\u20AC'));  // the ANSI table: 0x80 is the euro sign
}

// Threads making, using and deleting device contexts at once: every call still succeeds.
TEST(DeviceContext, ManyThreads) {
  std::atomic<int> failures = 0;
  std::vector<std::jthread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < 20; ++i) {
        const Long hdc = CreateDeviceContext(i % 2 ? "DejaVu Sans" : "fixed-pitch", 10 + t);
        failures += ZtStrings().EllipseText(u"C:\\some\\path\\name.txt", 60, 10, hdc, ztlEllipsePath).empty();
        failures += !DeleteDeviceContext(hdc);
      }
    });
  }
  threads.clear();  // joins
  EXPECT_EQ(failures, 0);
}

// One pixel a character (ten for the cases marked so): the room in characters is lngWidth *
// 0.97 rounded half to even.
TEST(EllipseText, FixedPitchExact) {
  ScopedDc one(kFixedPitchFont, 1), ten(kFixedPitchFont, 10);
  const String path = u"C:\\Program Files\\App\\file.txt";  // 29 characters
  const auto E = ztlEllipseEnd, P = ztlEllipsePath;
  const struct { String text; Long width, style; String expected; bool ten_pixels = false; } kCases[] = {
      {u"abcdefghij", 10, E, u"abcdefghij"},                         // 9.7 -> 10
      {u"abcdefghij", 9, E, u"abcdef..."},                           // 8.73 -> 9
      {String(48, u'a') + u"b", 50, E, String(45, u'a') + u"..."},   // 48.5 -> 48
      {String(145, u'a') + u"b", 150, E, String(145, u'a') + u"b"},  // 145.5 -> 146
      {path, 30, P, path},                                           // 29.1 -> 29
      {path, 29, P, u"C:\\Program Files...\\file.txt"},
      {path, 206, P, u"C:\\Progr...\\file.txt", true},  // 199.82 -> 200 pixels
      {path, 205, P, u"C:\\Prog...\\file.txt", true},   // 198.85 -> 199 pixels
      {u"abc", -2147483647 - 1, E, u"..."},
      {u"a\\b", -2147483647 - 1, P, u"...\\b"},
      {u"abc\\def", 2147483647, P, u"abc\\def"},
      // Only the low 16 bits of the style are drawing flags.
      {u"abcdefghij", 3, 0x12345, u"abcdefghij"},
      {path, 8, 0xC000, u"...\\f..."},
      {u"ab\ncdefgh", 6, 0x8020, u"ab\n..."},
      // The ANSI code page: a character it lacks (a surrogate pair is one) is "?" and measured
      // as "?"; the text ends at its first NUL.
      {u"\u20AC\u00E9\u0153\u2122\u0081\u008D", 10, E, u"\u20AC\u00E9\u0153\u2122\u0081\u008D"},
      {u"\u65E5\u672C\u8A9Eabcdefgh", 9, E, u"???abc..."},
      {u"\U0001F600x\xD800x\xDC00", 10, E, u"?x?x?"},
      {String(u"abcdefghij\0z", 12), 7, E, u"abcd..."},
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    EXPECT_EQ(s.EllipseText(c.text, c.width, 20, c.ten_pixels ? ten.hdc : one.hdc, static_cast<ztlEllipseText>(c.style)),
              c.expected) << Narrow(c.text) << " in " << c.width;
  }
  const String text = String(1 << 20, u'd') + u"\\file.txt";
  EXPECT_EQ(s.EllipseText(text, 1000, 10, one.hdc, P), String(958, u'd') + u"...\\file.txt");
}

}  // namespace
}  // namespace ztl
