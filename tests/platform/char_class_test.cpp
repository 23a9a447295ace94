// Character classes of the 256 ANSI codes against the system's known answers, and proper
// case: examples and the length kept for every code unit.

#include "platform/char_class.hpp"

#include <gtest/gtest.h>

#include <set>

#include "../support/text.hpp"

namespace ztl::platform {
namespace {

using testing_support::Narrow;

// The system's classes of Windows-1252: ASCII letters and digits, and from 0x80 these.
TEST(IsAnsiAlpha, EveryCode) {
  std::set<int> letters = {0x83, 0x88, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA};
  for (int c = 0xC0; c <= 0xFF; ++c) {
    if (c != 0xD7 && c != 0xF7) letters.insert(c);
  }
  for (int c = 'A'; c <= 'Z'; ++c) letters.insert(c);
  for (int c = 'a'; c <= 'z'; ++c) letters.insert(c);
  std::set<int> digits = {0xB2, 0xB3, 0xB9};
  for (int c = '0'; c <= '9'; ++c) digits.insert(c);

  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    const auto b = static_cast<Byte>(code);
    EXPECT_EQ(IsAnsiAlpha(b), letters.count(code) == 1);
    EXPECT_EQ(IsAnsiAlphaNumeric(b), letters.count(code) == 1 || digits.count(code) == 1);
  }
}

TEST(ProperCase, Examples) {
  const struct {
    String text, expected;
  } kCases[] = {
      {u"hello world", u"Hello World"},
      {u"hELLO wORLD", u"Hello World"},
      {u"o'neil", u"O'neil"},
      {u"a\tb\nc", u"A\tB\nC"},
      {u"123abc", u"123abc"},
      {u"\u01C6a", u"\u01C4a"},  // dž: upper case, not title case
      {u"\u03C2\u03A3", u"\u03A3\u03C3"},  // final sigma up, capital sigma down
      {u"\u0130x", u"\u0130x"},  // İ has no one-unit lower case in the rest of a word either
      {u"x\u0130", u"Xi"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(ProperCase(c.text), c.expected);
  }
}

// One code unit in, one out, at the start of a word and inside it.
TEST(ProperCase, KeepsTheLength) {
  for (int c = 0; c <= 0xFFFF; ++c) {
    const String first(1, static_cast<char16_t>(c));
    const String inside = u"x" + first;
    ASSERT_EQ(ProperCase(first).size(), 1u) << c;
    ASSERT_EQ(ProperCase(inside).size(), 2u) << c;
  }
}

}  // namespace
}  // namespace ztl::platform
