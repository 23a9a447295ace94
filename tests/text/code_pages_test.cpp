// ZtStrings translations between code pages: ANSI to OEM and back over every code against
// the system's tables, and EBCDIC over every code against the rule that makes its table
// (IBM code page 500 from the C library's converter, then the unused bytes in order).

#include <gtest/gtest.h>

#include <iconv.h>

#include <array>
#include <cstdio>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "platform/codepage.hpp"
#include "ztldata/text/ebcdic.hpp"
#include "ztldata/text/strings.hpp"

namespace ztl {
namespace {

// "b>o" pairs for the codes 0x80-0xFF, as the system's conversion tables list them; the
// codes below 0x80 stay as they are.
std::array<int, 256> ReadPairs(std::initializer_list<const char*> rows) {
  std::array<int, 256> table{};
  for (int code = 0; code < 128; ++code) table[code] = code;
  int seen = 0;
  for (const char* row : rows) {
    std::istringstream in(row);
    for (std::string pair; in >> pair; ++seen) {
      table[std::stoi(pair.substr(0, 2), nullptr, 16)] = std::stoi(pair.substr(3, 2), nullptr, 16);
    }
  }
  EXPECT_EQ(seen, 128);
  return table;
}

String CharOf(int code) { return String(1, platform::AnsiChar(static_cast<Byte>(code))); }

String AllCodes() {
  String text;
  for (int code = 0; code < 256; ++code) text += CharOf(code);
  return text;
}

TEST(WinToOem, EveryCode) {
  const auto expected = ReadPairs({
      "80>3F 81>3F 82>2C 83>9F 84>2C 85>2E 86>2B 87>D8 88>5E 89>25 8A>53 8B>3C 8C>4F 8D>3F 8E>5A 8F>3F",
      "90>3F 91>60 92>27 93>22 94>22 95>07 96>2D 97>2D 98>7E 99>54 9A>73 9B>3E 9C>6F 9D>3F 9E>7A 9F>59",
      "A0>FF A1>AD A2>9B A3>9C A4>0F A5>9D A6>DD A7>15 A8>22 A9>63 AA>A6 AB>AE AC>AA AD>2D AE>72 AF>5F",
      "B0>F8 B1>F1 B2>FD B3>33 B4>27 B5>E6 B6>14 B7>FA B8>2C B9>31 BA>A7 BB>AF BC>AC BD>AB BE>5F BF>A8",
      "C0>41 C1>41 C2>41 C3>41 C4>8E C5>8F C6>92 C7>80 C8>45 C9>90 CA>45 CB>45 CC>49 CD>49 CE>49 CF>49",
      "D0>44 D1>A5 D2>4F D3>4F D4>4F D5>4F D6>99 D7>78 D8>4F D9>55 DA>55 DB>55 DC>9A DD>59 DE>5F DF>E1",
      "E0>85 E1>A0 E2>83 E3>61 E4>84 E5>86 E6>91 E7>87 E8>8A E9>82 EA>88 EB>89 EC>8D ED>A1 EE>8C EF>8B",
      "F0>64 F1>A4 F2>95 F3>A2 F4>93 F5>6F F6>94 F7>F6 F8>6F F9>97 FA>A3 FB>96 FC>81 FD>79 FE>5F FF>98",
  });
  ZtStrings s;
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(s.WinToOem(CharOf(code)), CharOf(expected[code]));
  }
  // The whole page at once: one character for one.
  const String all = s.WinToOem(AllCodes());
  ASSERT_EQ(all.size(), 256u);
  for (int code = 0; code < 256; ++code) EXPECT_EQ(all[code], CharOf(expected[code])[0]);
}

TEST(OemToWin, EveryCode) {
  const auto expected = ReadPairs({
      "80>C7 81>FC 82>E9 83>E2 84>E4 85>E0 86>E5 87>E7 88>EA 89>EB 8A>E8 8B>EF 8C>EE 8D>EC 8E>C4 8F>C5",
      "90>C9 91>E6 92>C6 93>F4 94>F6 95>F2 96>FB 97>F9 98>FF 99>D6 9A>DC 9B>A2 9C>A3 9D>A5 9E>50 9F>83",
      "A0>E1 A1>ED A2>F3 A3>FA A4>F1 A5>D1 A6>AA A7>BA A8>BF A9>AC AA>AC AB>BD AC>BC AD>A1 AE>AB AF>BB",
      "B0>A6 B1>A6 B2>A6 B3>A6 B4>A6 B5>A6 B6>A6 B7>2B B8>2B B9>A6 BA>A6 BB>2B BC>2B BD>2B BE>2B BF>2B",
      "C0>2B C1>2D C2>2D C3>2B C4>2D C5>2B C6>A6 C7>A6 C8>2B C9>2B CA>2D CB>2D CC>A6 CD>2D CE>2B CF>2D",
      "D0>2D D1>2D D2>2D D3>2B D4>2B D5>2B D6>2B D7>2B D8>2B D9>2B DA>2B DB>A6 DC>5F DD>A6 DE>A6 DF>AF",
      "E0>61 E1>DF E2>47 E3>70 E4>53 E5>73 E6>B5 E7>74 E8>46 E9>54 EA>4F EB>64 EC>38 ED>66 EE>65 EF>6E",
      "F0>3D F1>B1 F2>3D F3>3D F4>28 F5>29 F6>F7 F7>98 F8>B0 F9>B7 FA>B7 FB>76 FC>6E FD>B2 FE>A6 FF>A0",
  });
  ZtStrings s;
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(s.OemToWin(CharOf(code)), CharOf(expected[code]));
  }
  EXPECT_EQ(s.OemToWin(AllCodes()).size(), 256u);
}

TEST(WinToOem, Texts) {
  ZtStrings s;
  const struct {
    String text, oem;
  } kCases[] = {
      {u"Hello", u"Hello"},
      {u"", u""},
      {u"\u00C0\u00E9", u"A\u201A"},  // À has no OEM letter; é is OEM 0x82, which reads as ANSI "‚"
      {u"\u4E2Dx", u"?x"},            // not in the ANSI code page: "?"
      {String(u"a\0b\u00E4", 4), String(u"a\0b\u201E", 4)},  // NUL does not end the text
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(s.WinToOem(c.text), c.oem);
  }
  // é: ANSI 0xE9 -> OEM 0x82, which reads as ANSI "‚" (U+201A), and back to é.
  EXPECT_EQ(s.WinToOem(u"\u00E9"), u"\u201A");
  EXPECT_EQ(s.OemToWin(u"\u201A"), u"\u00E9");
}

// ---- EBCDIC ------------------------------------------------------------------------------

// The EBCDIC byte of each code as the rule makes it: IBM code page 500 for 0x00-0x9F from
// the C library's converter, with "|" at 0x6A and 0x9F at 0xE1; then the bytes left unused,
// in ascending order, for 0xA0-0xFF. Empty when the converter is missing.
std::optional<std::array<int, 256>> EbcdicByRule() {
  iconv_t cd = iconv_open("IBM500", "ISO-8859-1");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::array<int, 256> table{};
  std::set<int> used;
  for (int code = 0; code < 0xA0; ++code) {
    char in[1] = {static_cast<char>(code)}, out[4] = {};
    char *in_p = in, *out_p = out;
    std::size_t in_left = 1, out_left = sizeof out;
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) == static_cast<std::size_t>(-1)) {
      iconv_close(cd);
      return std::nullopt;
    }
    table[code] = static_cast<unsigned char>(out[0]);
  }
  iconv_close(cd);
  table[0x7C] = 0x6A;
  table[0x9F] = 0xE1;
  for (int code = 0; code < 0xA0; ++code) used.insert(table[code]);
  int next = 0;
  for (int code = 0xA0; code < 256; ++code) {
    while (used.count(next)) ++next;
    table[code] = next++;
  }
  return table;
}

TEST(ASCIIToEBCDIC, EveryCodeFollowsTheRule) {
  const auto expected = EbcdicByRule();
  if (!expected) GTEST_SKIP() << "no IBM500 converter installed";
  ZtStrings s;
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(s.ASCIIToEBCDIC(CharOf(code)), CharOf((*expected)[code]));
    EXPECT_EQ(AsciiToEbcdic(static_cast<Byte>(code)), (*expected)[code]);
  }
}

TEST(ASCIIToEBCDIC, EveryCodeComesBack) {
  ZtStrings s;
  std::set<int> images;
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    const String there = s.ASCIIToEBCDIC(CharOf(code));
    ASSERT_EQ(there.size(), 1u);
    images.insert(platform::AnsiCode(there[0]));
    EXPECT_EQ(s.EBCDICToASCII(there), CharOf(code));
    EXPECT_EQ(EbcdicToAscii(AsciiToEbcdic(static_cast<Byte>(code))), code);
    EXPECT_EQ(AsciiToEbcdic(EbcdicToAscii(static_cast<Byte>(code))), code);
  }
  EXPECT_EQ(images.size(), 256u);  // a permutation
  EXPECT_EQ(s.EBCDICToASCII(s.ASCIIToEBCDIC(AllCodes())), AllCodes());
}

TEST(ASCIIToEBCDIC, Examples) {
  const struct {
    std::string ansi, ebcdic;
  } kCases[] = {
      {"AZaz09", "\xC1\xE9\x81\xA9\xF0\xF9"},
      {"|", "\x6A"},
      {" @", "\x40\x7C"},
      {"[]!^", "\x4A\x5A\x4F\x5F"},
      {"\x9F\xA0\xA1\xFF", "\xE1\x41\x42\xFF"},
      {std::string("\0\x7F", 2), std::string("\0\x07", 2)},
      {"", ""},
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.ansi);
    EXPECT_EQ(AsciiToEbcdicBytes(c.ansi), c.ebcdic);
    EXPECT_EQ(EbcdicToAsciiBytes(c.ebcdic), c.ansi);
    String ansi, ebcdic;
    for (unsigned char b : c.ansi) ansi += CharOf(b);
    for (unsigned char b : c.ebcdic) ebcdic += CharOf(b);
    EXPECT_EQ(s.ASCIIToEBCDIC(ansi), ebcdic);
    EXPECT_EQ(s.EBCDICToASCII(ebcdic), ansi);
  }
}

TEST(ASCIIToEBCDIC, CharactersOutsideTheCodePage) {
  ZtStrings s;
  // Each reads as "?" (0x3F), whose EBCDIC byte is 0x6F, the ANSI "o".
  EXPECT_EQ(s.ASCIIToEBCDIC(u"\u4E2D\xD800\u0100"), u"ooo");
  EXPECT_EQ(s.EBCDICToASCII(u"\u4E2D"), u"\x1A");  // 0x3F read as EBCDIC is 0x1A
}

TEST(ASCIIToEBCDIC, LongTexts) {
  ZtStrings s;
  String text;
  for (int i = 0; i < 100000; ++i) text += CharOf(i % 256);
  const String there = s.ASCIIToEBCDIC(text);
  ASSERT_EQ(there.size(), text.size());
  EXPECT_EQ(s.EBCDICToASCII(there), text);
}

}  // namespace
}  // namespace ztl
