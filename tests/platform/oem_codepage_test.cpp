// The ANSI <-> OEM byte conversions: ASCII passes, the characters both code pages have
// agree with the C library's converters, and the system's best-fit choices for the rest.

#include "platform/oem_codepage.hpp"

#include <gtest/gtest.h>

#include <iconv.h>

#include <functional>

namespace ztl::platform {
namespace {

TEST(OemCodePage, AsciiPasses) {
  for (int code = 0; code < 128; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(AnsiToOem(static_cast<Byte>(code)), code);
    EXPECT_EQ(OemToAnsi(static_cast<Byte>(code)), code);
  }
}

// Runs `check` for every byte that the C library converts from one code page to the other,
// with the byte it gives; returns how many it converted, or -1 without the converters.
int ForEachExactByte(const char* from, const char* to, const std::function<void(int, int)>& check) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
  int converted = 0;
  for (int code = 0x80; code < 256; ++code) {
    char in[1] = {static_cast<char>(code)}, out[8] = {};
    char *in_p = in, *out_p = out;
    std::size_t in_left = 1, out_left = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) == static_cast<std::size_t>(-1) || out_p - out != 1) continue;
    check(code, static_cast<unsigned char>(out[0]));
    ++converted;
  }
  iconv_close(cd);
  return converted;
}

// Where the other code page has the very character, the conversion gives it.
TEST(OemCodePage, ExactCharactersAgreeWithTheCLibrary) {
  const int to_oem = ForEachExactByte("CP1252", "IBM437", [](int ansi, int oem) {
    SCOPED_TRACE(ansi);
    EXPECT_EQ(AnsiToOem(static_cast<Byte>(ansi)), oem);
  });
  const int to_ansi = ForEachExactByte("IBM437", "CP1252", [](int oem, int ansi) {
    SCOPED_TRACE(oem);
    EXPECT_EQ(OemToAnsi(static_cast<Byte>(oem)), ansi);
  });
  if (to_oem < 0 || to_ansi < 0) GTEST_SKIP() << "no CP1252 or IBM437 converter installed";
  EXPECT_GE(to_oem, 50);
  EXPECT_GE(to_ansi, 50);
}

TEST(OemCodePage, BestFit) {
  const struct {
    Byte ansi, oem;
  } kToOem[] = {
      {0xC0, 0x41},  // À -> A
      {0xE9, 0x82},  // é, exact
      {0xC4, 0x8E},  // Ä, exact
      {0xE3, 0x61},  // ã -> a
      {0x8A, 0x53},  // Š -> S
      {0x80, 0x3F},  // € -> ?
      {0x81, 0x3F},  // undefined -> ?
      {0x93, 0x22},  // “ -> "
      {0x96, 0x2D},  // – -> -
      {0xA9, 0x63},  // © -> c
      {0xBD, 0xAB},  // ½, exact
      {0xD7, 0x78},  // × -> x
      {0xDF, 0xE1},  // ß, exact
      {0x95, 0x07},  // • -> the OEM bullet 0x07
  };
  for (const auto& c : kToOem) {
    SCOPED_TRACE(c.ansi);
    EXPECT_EQ(AnsiToOem(c.ansi), c.oem);
  }
  const struct {
    Byte oem, ansi;
  } kToAnsi[] = {
      {0x82, 0xE9},  // é
      {0xC4, 0x2D},  // ─ -> -
      {0xDA, 0x2B},  // ┌ -> +
      {0xB3, 0xA6},  // │ -> ¦
      {0xE0, 0x61},  // α -> a
      {0xEC, 0x38},  // ∞ -> 8
      {0x9E, 0x50},  // ₧ -> P
      {0x01, 0x01},  // controls pass
  };
  for (const auto& c : kToAnsi) {
    SCOPED_TRACE(c.oem);
    EXPECT_EQ(OemToAnsi(c.oem), c.ansi);
  }
}

}  // namespace
}  // namespace ztl::platform
