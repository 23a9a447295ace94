// The ANSI code page: every code both ways, the C library's converter as an oracle for the
// defined codes, and the characters the code page lacks.

#include "platform/codepage.hpp"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstring>

namespace ztl::platform {
namespace {

TEST(AnsiChar, EveryCodeComesBack) {
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(AnsiCode(AnsiChar(static_cast<Byte>(code))), code);
  }
}

TEST(AnsiChar, NamedCodes) {
  const struct {
    Byte code;
    char16_t c;
  } kCases[] = {
      {0x00, u'\0'},     {0x41, u'A'},      {0x7F, u'\u007F'},
      {0x80, u'\u20AC'},  // euro sign
      {0x8A, u'\u0160'}, {0x92, u'\u2019'}, {0x99, u'\u2122'},
      {0x9F, u'\u0178'},  // Y with diaeresis
      {0xA0, u'\u00A0'}, {0xE9, u'\u00E9'}, {0xFF, u'\u00FF'},
      // The five undefined codes stand for the C1 controls of the same number.
      {0x81, u'\u0081'}, {0x8D, u'\u008D'}, {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x9D, u'\u009D'},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(AnsiChar(c.code), c.c);
    EXPECT_EQ(AnsiCode(c.c), c.code);
  }
}

// The C library's CP1252 converter knows the 251 defined codes (not the five undefined).
TEST(AnsiChar, AgreesWithTheCLibrary) {
  iconv_t cd = iconv_open("UTF-16LE", "CP1252");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1252 converter installed";
  int compared = 0;
  for (int code = 0; code < 256; ++code) {
    char in[1] = {static_cast<char>(code)};
    char out[4] = {};
    char* in_p = in;
    char* out_p = out;
    std::size_t in_left = 1, out_left = sizeof out;
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) == static_cast<std::size_t>(-1)) continue;
    char16_t expected;
    std::memcpy(&expected, out, sizeof expected);
    SCOPED_TRACE(code);
    EXPECT_EQ(AnsiChar(static_cast<Byte>(code)), expected);
    ++compared;
  }
  iconv_close(cd);
  EXPECT_GE(compared, 251);
}

// Exactly the 256 characters of the code page have a code; every other one is "?".
TEST(AnsiCode, OtherCharactersAreQuestionMarks) {
  int with_code = 0;
  for (int c = 0; c <= 0xFFFF; ++c) {
    const Byte code = AnsiCode(static_cast<char16_t>(c));
    if (code == 63 && c != u'?') continue;
    ++with_code;
    EXPECT_EQ(AnsiChar(code), c);
  }
  EXPECT_EQ(with_code, 256);

  const char16_t kLacking[] = {u'\u4E2D', u'\u0080', u'\u0100', u'\u20AD', u'\uFFFD', char16_t{0xD800}};
  for (char16_t c : kLacking) {
    SCOPED_TRACE(static_cast<int>(c));
    EXPECT_EQ(AnsiCode(c), 63);
  }
}

}  // namespace
}  // namespace ztl::platform
