// ZtStrings text operations: spacing, proper case, counting, padding, replacing, splitting
// and the character-class tests, each against its examples and, where a plain reference is
// easy to write, against that reference over generated texts.

#include "ztldata/text/strings.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../support/text.hpp"
#include "ztldata/frame/collection.hpp"

namespace ztl {
namespace {

using testing_support::Narrow;

// Random texts over a small alphabet, so that searches find something.
String RandomText(std::mt19937& random, std::size_t max_length, std::u16string_view alphabet = u"ab") {
  String text(random() % (max_length + 1), u'a');
  for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
  return text;
}

// Reference: non-overlapping occurrences, tried at every position from the left.
Long CountByHand(const String& what, const String& in) {
  Long count = 0;
  for (std::size_t i = 0; !what.empty() && i + what.size() <= in.size();) {
    if (in.compare(i, what.size(), what) == 0) {
      ++count;
      i += what.size();
    } else {
      ++i;
    }
  }
  return count;
}

// Reference: every occurrence replaced, left to right, position by position.
String ReplaceAllByHand(const String& text, const String& what, const String& with) {
  if (what.empty()) return text;
  String out;
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, what.size(), what) == 0) {
      out += with;
      i += what.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::vector<std::string> Items(const CollectionRef& c) {
  std::vector<std::string> items;
  for (const Variant& v : *c) items.push_back(v.IsString() ? Narrow(*v.If<String>()) : "<not text>");
  return items;
}

TEST(Expand, Examples) {
  const struct {
    String source, chars, expected;
  } kCases[] = {
      {u"abc", u" ", u"a b c"},
      {u"abc", u"-", u"a-b-c"},
      {u"abc", u"", u"abc"},
      {u"ab", u"<>", u"a<>b"},
      {u"a", u"-", u"a"},  // one character: unchanged
      {u"", u"-", u""},
      {String(u"a\0b", 3), u".", String(u"a.\0.b", 5)},  // NUL is a character like any other
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.source) + " / " + Narrow(c.chars));
    EXPECT_EQ(s.Expand(c.source, c.chars), c.expected);
  }
  EXPECT_EQ(s.Expand(u"xyz"), u"x y z");  // the default is a space
}

TEST(Expand, LongText) {
  ZtStrings s;
  const String text(100000, u'x');
  const String expanded = s.Expand(text, u"ab");
  ASSERT_EQ(expanded.size(), 100000u + 2 * 99999u);
  EXPECT_EQ(expanded.substr(expanded.size() - 4), u"xabx");
}

TEST(Capital, Examples) {
  const struct {
    String text, expected;
  } kCases[] = {
      {u"hELLO wORLD", u"Hello World"},
      {u"hello world", u"Hello World"},
      {u"o'neil-smith", u"O'neil-smith"},  // punctuation belongs to the word
      {u"mary-jane smith", u"Mary-jane Smith"},
      {u"x.y", u"X.y"},
      {u"a\tb\nc\vd\fe\rf", u"A\tB\nC\vD\fE\rF"},  // the control separators
      {String(u"a\0b", 3), String(u"A\0B", 3)},  // NUL separates words
      {u"  two  spaces", u"  Two  Spaces"},
      {u"123abc 123ABC", u"123abc 123abc"},  // a word starting with a digit keeps it
      {u"\u00E9COLE \u00FCBER", u"\u00C9cole \u00DCber"},  // Latin-1 letters
      {u"\u03B1\u0392\u0393", u"\u0391\u03B2\u03B3"},  // Greek: one code unit in, one out
      {u"stra\u00DFe \u00DF", u"Stra\u00DFe \u00DF"},  // sharp s has no one-unit upper case
      {u"\u00A0a", u"\u00A0a"},                         // a no-break space is no separator
      {u"\xD83D\xDE00x y", u"\xD83D\xDE00x Y"},         // a surrogate pair stays, starts its word
      {u"\xDC00 a", u"\xDC00 A"},                       // an unpaired surrogate stays
      {u"", u""},
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text));
    const String result = s.Capital(c.text);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(result.size(), c.text.size());
  }
}

TEST(Occurs, Examples) {
  const struct {
    String check_in, check_for;
    Long expected;
  } kCases[] = {
      {u"a", u"banana", 3},
      {u"banana", u"a", 0},  // the first argument is the text looked for
      {u"aa", u"aaaaa", 2},  // no overlap
      {u"ana", u"banana", 1},
      {u"A", u"banana", 0},  // case counts
      {u"", u"banana", 0},   // an empty text looked for: none
      {u"", u"", 0},
      {u"x", u"", 0},
      {String(1, u'\0'), String(u"a\0b\0", 4), 2},
      {u"\xD800", u"\xD800\xD800x", 2},
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.check_in) + " in " + Narrow(c.check_for));
    EXPECT_EQ(s.Occurs(c.check_in, c.check_for), c.expected);
  }
}

TEST(Occurs, AgreesWithACountByHand) {
  std::mt19937 random(7);
  ZtStrings s;
  for (int i = 0; i < 3000; ++i) {
    const String what = RandomText(random, 3), in = RandomText(random, 40);
    SCOPED_TRACE(Narrow(what) + " in " + Narrow(in));
    EXPECT_EQ(s.Occurs(what, in), CountByHand(what, in));
  }
}

// Texts and searches made of near misses, where checking candidates one by one would cost
// the text's length times the search's.
TEST(Occurs, NearMisses) {
  std::mt19937 random(13);
  ZtStrings s;
  for (int i = 0; i < 40; ++i) {
    String text(5000 + random() % 5000, u'a');
    for (int b = 0; b < 5; ++b) text[random() % text.size()] = u'b';
    const String what = String(50 + random() % 400, u'a') + (i % 2 ? u"b" : u"ba");
    SCOPED_TRACE(std::to_string(i));
    EXPECT_EQ(s.Occurs(what, text), CountByHand(what, text));
    EXPECT_EQ(s.ReplaceAll(text, what, u"-"), ReplaceAllByHand(text, what, u"-"));
  }
  // Far too slow without a linear search: 4 Mi candidates of 1000 units each.
  const String text(4 << 20, u'a');
  EXPECT_EQ(s.Occurs(String(1000, u'a') + u"b", text), 0);
  EXPECT_EQ(s.Occurs(String(1000, u'a'), text), (4 << 20) / 1000);
}

TEST(Occurs, BeyondSixteenBitPositions) {
  String text(70000, u'-');
  text[40000] = text[69999] = u'x';
  EXPECT_EQ(ZtStrings().Occurs(u"x", text), 2);
}

TEST(Pad, Examples) {
  const struct {
    String buffer;
    Integer length, pad;
    String expected;
  } kCases[] = {
      {u"abc", 5, 32, u"abc  "},
      {u"abc", 5, 42, u"abc**"},
      {u"abcdef", 3, 32, u"def"},  // a longer text is cut on the left
      {u"abc", 3, 32, u"abc"},
      {u"abc", 0, 32, u""},
      {u"", 2, 48, u"00"},
      {u"abc", 4, 0, String(u"abc\0", 4)},
      {u"abc", 5, 0x80, u"abc\u20AC\u20AC"},  // the character of an ANSI code
      {u"abc", 5, 0xE9, u"abc\u00E9\u00E9"},
      {u"abc", -1, 32, u""},        // a negative length cannot be cut
      {u"", -1, 32, u""},
      {u"abc", 5, 256, u""},        // no character has that code
      {u"abc", 5, -1, u""},
      {u"abc", 3, 256, u"abc"},     // no padding needed: the code is not looked at
      {u"abcdef", 3, -5, u"def"},
      {u"\xD800xy", 2, 32, u"xy"},
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.buffer) + " " + std::to_string(c.length) + " " + std::to_string(c.pad));
    EXPECT_EQ(s.Pad(c.buffer, c.length, c.pad), c.expected);
  }
  EXPECT_EQ(s.Pad(u"ab", 4), u"ab  ");  // a space by default
}

TEST(Pad, TextsOfAnyLength) {
  ZtStrings s;
  String text(40000, u'a');
  text.back() = u'z';
  EXPECT_EQ(s.Pad(text, 3), u"aaz");  // a text longer than an Integer can count
  EXPECT_EQ(s.Pad(u"x", 32767, 46).size(), 32767u);
  EXPECT_EQ(s.Pad(text, 32767).size(), 32767u);
}

TEST(Replace, Examples) {
  const struct {
    String text, search, replace, expected;
  } kCases[] = {
      {u"a-b-c", u"-", u"+", u"a+b-c"},  // the first occurrence only
      {u"a-b-c", u"-", u"", u"ab-c"},
      {u"a-b-c", u"x", u"+", u"a-b-c"},
      {u"abc", u"", u"X", u"Xabc"},      // an empty search is found at the start
      {u"", u"", u"X", u""},             // but not in an empty text
      {u"", u"a", u"X", u""},
      {u"abc", u"abc", u"", u""},
      {u"abcabc", u"bc", u"BCD", u"aBCDabc"},
      {u"abc", u"c", u"cc", u"abcc"},
      {String(u"a\0b", 3), String(1, u'\0'), u"-", u"a-b"},
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text) + " / " + Narrow(c.search) + " / " + Narrow(c.replace));
    EXPECT_EQ(s.Replace(c.text, c.search, c.replace), c.expected);
  }
  EXPECT_EQ(s.Replace(u"abc", u"b"), u"ac");  // replaced with nothing by default
}

TEST(Replace, BeyondSixteenBitPositions) {
  String text(50000, u'.');
  text[40000] = u'x';
  String expected = text;
  expected.replace(40000, 1, u"YY");
  EXPECT_EQ(ZtStrings().Replace(text, u"x", u"YY"), expected);
}

TEST(ReplaceAll, Examples) {
  const struct {
    String text, search, replace, expected;
  } kCases[] = {
      {u"a-b-c", u"-", u"+", u"a+b+c"},
      {u"a-b-c", u"-", u"", u"abc"},
      {u"aaa", u"aa", u"b", u"ba"},        // left to right, no overlap
      {u"abab", u"b", u"bb", u"abbabb"},   // replaced text is not searched again
      {u"abc", u"", u"X", u"abc"},         // an empty search changes nothing
      {u"", u"a", u"X", u""},
      {u"aaaa", u"a", u"", u""},
      {u"xyz", u"xyz", u"123", u"123"},
      {u"-x-", u"-", u"--", u"--x--"},
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text) + " / " + Narrow(c.search) + " / " + Narrow(c.replace));
    EXPECT_EQ(s.ReplaceAll(c.text, c.search, c.replace), c.expected);
  }
  EXPECT_EQ(s.ReplaceAll(u"a-b-c", u"-"), u"abc");
}

TEST(ReplaceAll, AgreesWithAReplaceByHand) {
  std::mt19937 random(11);
  ZtStrings s;
  for (int i = 0; i < 3000; ++i) {
    const String text = RandomText(random, 40, u"abc"), what = RandomText(random, 3, u"abc"),
                 with = RandomText(random, 3, u"abc");
    SCOPED_TRACE(Narrow(text) + " / " + Narrow(what) + " / " + Narrow(with));
    EXPECT_EQ(s.ReplaceAll(text, what, with), ReplaceAllByHand(text, what, with));
    // Replace is the same with only the first occurrence.
    // An empty search is found at the start of any text but the empty one.
    const std::size_t at = text.empty() ? String::npos : text.find(what);
    String first = text;
    if (at != String::npos) first.replace(at, what.size(), with);
    EXPECT_EQ(s.Replace(text, what, with), first);
  }
}

TEST(InStrAdv, Pieces) {
  const struct {
    String buffer, search;
    std::vector<std::string> added;
  } kCases[] = {
      {u",a,,b ,", u",", {"a", "b "}},  // blank pieces are skipped, pieces stay untrimmed
      {u"a, b", u", ", {"a", "b"}},      // the whole separator is skipped
      {u"a, b", u",", {"a", " b"}},
      {u"a::b::::c", u"::", {"a", "b", "c"}},
      {u"a,  ,b", u",", {"a", "b"}},     // only spaces: blank
      {u"a,\t,b", u",", {"a", "\t", "b"}},  // a tab is no space
      {u"a, ", u",", {"a", " "}},        // the last piece goes in whatever it holds
      {u"abc", u",", {"abc"}},
      {u"abc", u"abc", {}},
      {u"", u",", {}},
      {u"a,b", u"", {}},                 // an empty separator adds nothing
      {u"1x2X3", u"x", {"1", "2X3"}},    // binary search: case counts
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.buffer) + " / " + Narrow(c.search));
    auto collection = Collection::Create();
    EXPECT_EQ(s.InStrAdv(c.buffer, c.search, collection), static_cast<Long>(c.added.size()));
    EXPECT_EQ(Items(collection), c.added);
  }
}

TEST(InStrAdv, KeepsWhatTheCollectionHeld) {
  ZtStrings s;
  auto collection = Collection::Create();
  collection->Add(Long{7}, String(u"seven"));
  collection->Add(u"old");
  EXPECT_EQ(s.InStrAdv(u"x;y", u";", collection), 4);
  EXPECT_EQ(Items(collection), (std::vector<std::string>{"<not text>", "old", "x", "y"}));
  EXPECT_EQ(s.InStrAdv(u"", u";", collection), 4);  // an empty text adds nothing
  EXPECT_EQ(*collection->Item(u"seven"), Variant(Long{7}));
  EXPECT_EQ(s.InStrAdv(u"a;b", u";", nullptr), 0);  // no collection
}

// Splitting and joining again gives the text back when no piece is blank.
TEST(InStrAdv, PiecesJoinToTheText) {
  std::mt19937 random(3);
  ZtStrings s;
  for (int i = 0; i < 2000; ++i) {
    const String text = RandomText(random, 30, u"ab;"), separator = RandomText(random, 2, u";") + u";";
    auto collection = Collection::Create();
    s.InStrAdv(text, separator, collection);
    String expected_joined;  // the text without separators: what the pieces hold together
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != String::npos; from = at + separator.size()) {
      expected_joined += text.substr(from, at - from);
    }
    expected_joined += text.substr(from);
    String joined;
    for (const Variant& v : *collection) {
      EXPECT_FALSE(v.If<String>()->empty());
      joined += *v.If<String>();
    }
    SCOPED_TRACE(Narrow(text) + " / " + Narrow(separator));
    EXPECT_EQ(joined, expected_joined);
  }
}

TEST(InStrAdv, ThroughDispatchFillsTheCallersCollection) {
  auto strings = CreateObject(u"ZtStrings");
  auto collection = Collection::Create();
  Variant args[] = {String(u"p q"), String(u" "), ObjectRef(collection)};
  EXPECT_EQ(strings->Invoke(u"InStrAdv", args), Variant(Long{2}));
  EXPECT_EQ(Items(collection), (std::vector<std::string>{"p", "q"}));
}

// Classes of the ANSI code page: the letters of Windows-1252 and the few digits beyond 0-9.
TEST(CharacterTests, Examples) {
  const struct {
    String text;
    bool alpha, alphanumeric, numeric;
  } kCases[] = {
      {u"", true, true, true},
      {u"abcXYZ", true, true, false},
      {u"abc1", false, true, false},
      {u"12.5", false, false, true},
      {u"1 2 -", false, false, true},  // numeric only means: no letter
      {u"12a", false, true, false},
      {u"\u00E9\u00DF\u00FF\u0160\u0192\u02C6", true, true, false},  // é ß ÿ Š ƒ ˆ
      {u"\u00B2\u00B3\u00B9", false, true, true},  // superscript digits
      {u"\u00BD", false, false, true},             // ½ is no digit
      {u"\u00D7\u00F7\u20AC\u02DC", false, false, true},  // × ÷ € ˜
      {u"\u0100", false, false, true},  // not in the code page: read as "?"
      {u"\u4E2D", false, false, true},
      {u"\xD800", false, false, true},  // an unpaired surrogate is "?" too
      {String(u"a\0", 2), false, false, false},
      {u"\u0081", false, false, true},  // an undefined code
  };
  ZtStrings s;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(s.IsAlpha(c.text), c.alpha);
    EXPECT_EQ(s.IsAlphaNumeric(c.text), c.alphanumeric);
    EXPECT_EQ(s.IsNumeric(c.text), c.numeric);
  }
}

}  // namespace
}  // namespace ztl
