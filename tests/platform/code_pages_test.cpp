// The code pages against the C library's converters (every Windows-1252 code, every OEM (437)
// byte the other page has exactly), and proper case keeping the length of every code unit. The
// best-fit choices, character classes and examples are vectors (tests/vectors/values/).

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/char_class.hpp"
#include "platform/oem_codepage.hpp"
#include "ztldata/platform/code_page.hpp"

namespace ztl::platform {
namespace {

// One byte converted by the C library: "" where it has no conversion, empty without the converter.
std::optional<std::string> Convert(const char* from, const char* to, int byte) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)}, out[8] = {};
  char *in_p = in, *out_p = out;
  std::size_t in_left = 1, out_left = sizeof out;
  const bool converted = iconv(cd, &in_p, &in_left, &out_p, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  return converted ? std::string(out, out_p) : std::string();
}

// Exactly the 256 characters of the code page have a code, each coming back; every other one is
// "?". The C library knows the 251 defined codes (not the five undefined).
TEST(AnsiCodePage, EveryCodeAgreesWithTheCLibrary) {
  int with_code = 0;
  for (int c = 0; c <= 0xFFFF; ++c) {
    const Byte code = AnsiCode(static_cast<char16_t>(c));
    if (code == 63 && c != u'?') continue;
    ++with_code;
    EXPECT_EQ(AnsiChar(code), c);
  }
  EXPECT_EQ(with_code, 256);
  if (!Convert("CP1252", "UTF-16LE", 'A')) GTEST_SKIP() << "no CP1252 converter installed";
  int compared = 0;
  for (int code = 0; code < 256; ++code) {
    if (const std::string out = *Convert("CP1252", "UTF-16LE", code); !out.empty()) {
      char16_t expected;
      std::memcpy(&expected, out.data(), sizeof expected);
      EXPECT_EQ(AnsiChar(static_cast<Byte>(code)), expected) << code;
      ++compared;
    }
  }
  EXPECT_GE(compared, 251);
}

// ASCII passes both ways; where the other page has the very character, the conversion gives it.
TEST(OemCodePage, ExactCharactersAgreeWithTheCLibrary) {
  for (int code = 0; code < 128; ++code) {
    EXPECT_EQ(AnsiToOem(static_cast<Byte>(code)), code);
    EXPECT_EQ(OemToAnsi(static_cast<Byte>(code)), code);
  }
  if (!Convert("CP1252", "IBM437", 'A') || !Convert("IBM437", "CP1252", 'A')) GTEST_SKIP() << "no IBM437 converter";
  int exact_oem = 0, exact_ansi = 0;
  for (int code = 0x80; code < 256; ++code) {
    if (const std::string oem = *Convert("CP1252", "IBM437", code); oem.size() == 1) {
      EXPECT_EQ(AnsiToOem(static_cast<Byte>(code)), static_cast<Byte>(oem[0])) << code;
      ++exact_oem;
    }
    if (const std::string ansi = *Convert("IBM437", "CP1252", code); ansi.size() == 1) {
      EXPECT_EQ(OemToAnsi(static_cast<Byte>(code)), static_cast<Byte>(ansi[0])) << code;
      ++exact_ansi;
    }
  }
  EXPECT_GE(exact_oem, 50);
  EXPECT_GE(exact_ansi, 50);
}

// Proper case keeps the length of every code unit, at the start of a word and inside it.
TEST(ProperCase, KeepsTheLength) {
  for (int c = 0; c <= 0xFFFF; ++c) {
    const String first(1, static_cast<char16_t>(c));
    ASSERT_EQ(ProperCase(first).size(), 1u) << c;
    ASSERT_EQ(ProperCase(u"x" + first).size(), 2u) << c;
  }
}

}  // namespace
}  // namespace ztl::platform
