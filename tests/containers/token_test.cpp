// ZtToken: the documented examples, the exact default delimiter set over every code unit,
// and generated texts and delimiter sets against a reference that searches for each
// delimiter in turn.

#include "ztldata/containers/token.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace ztl {
namespace {

// The default delimiters by code point: blanks and punctuation, the diaeresis and soft
// hyphen, then the quotation mark, four control characters and Windows-1252 codes 138 and 141.
const String kDefaultSet = {
    0x20, 0x2C, 0x3B, 0x3A, 0x2E, 0x3F, 0xA8, 0xAD, 0x21, 0x28, 0x29, 0x26, 0x2F, 0x2A, 0x2B,
    0x2D, 0x25, 0x5B, 0x5D, 0x7B, 0x7D, 0x27, 0x22, 0x09, 0x0A, 0x0D, 0x1A, 0x160, 0x8D,
};

// The tokens as the repeated search finds them: the first occurrence of each delimiter in
// the rest of the text, the text before the nearest one, then the rest after it.
std::vector<String> ReferenceSplit(String rest, const String& delimiters) {
  const String& set = delimiters.empty() ? kDefaultSet : delimiters;
  std::vector<String> tokens;
  while (!rest.empty()) {
    std::size_t pos = rest.size() + 1;  // 1-based; past the end when no delimiter occurs
    for (const char16_t d : set) {
      const std::size_t found = rest.find(d);
      if (found != String::npos) pos = std::min(pos, found + 1);
    }
    if (pos > 1) tokens.push_back(rest.substr(0, pos - 1));
    rest = pos >= rest.size() ? String() : rest.substr(pos);
  }
  return tokens;
}

std::vector<String> Tokens(ZtToken& token) {
  std::vector<String> out;
  for (Long i = 1; i <= token.Count(); ++i) out.push_back(token.GetToken(i));
  return out;
}

std::string Joined(ZtToken& token) {
  std::string out;
  for (const String& t : Tokens(token)) {
    if (!out.empty()) out += '|';
    for (const char16_t c : t) out += c < 0x80 ? static_cast<char>(c) : '#';
  }
  return out;
}

TEST(Create, DocumentedExamples) {
  const struct {
    const char* name;
    String text;
    String delimiters;
    const char* expected;  // tokens joined by "|"
  } kCases[] = {
      {"runs of delimiters give no empty tokens", u"alpha, beta;;gamma", u"", "alpha|beta|gamma"},
      {"delimiters at both ends", u"  a  ", u"", "a"},
      {"the empty text", u"", u"", ""},
      {"only delimiters", u",,,", u"", ""},
      {"a given set replaces the default one", u"a-b c", u"-", "a|b c"},
      {"each character of the set is a delimiter", u"x1y2z", u"12", "x|y|z"},
      {"the apostrophe splits", u"don't", u"", "don|t"},
      {"tab, line feed, carriage return and quotation mark split", u"a\tb\nc\rd\"e", u"", "a|b|c|d|e"},
      {"delimiters are case-sensitive", u"aXbxc", u"x", "aXb|c"},
      {"the text is not trimmed otherwise", u" \u00B7a b\u00B7 ", u"", "#a|b#"},
      {"a delimiter repeated in the set", u"a,,b", u",,,", "a|b"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ZtToken token;
    token.Create(c.text, c.delimiters);
    EXPECT_EQ(Joined(token), c.expected);
  }
}

TEST(Create, DefaultSetIsExactlyItsTwentyNineCharacters) {
  ASSERT_EQ(kDefaultSet.size(), 29u);
  ZtToken token;
  for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
    const bool delimiter = kDefaultSet.find(static_cast<char16_t>(c)) != String::npos;
    token.Create(String{u'a', static_cast<char16_t>(c), u'b'});
    ASSERT_EQ(token.Count(), delimiter ? 2 : 1) << "U+" << std::hex << c;
  }
}

TEST(Create, MatchesTheSearchOverGeneratedTexts) {
  // Letters, default delimiters, characters beyond Latin-1 and a surrogate pair's halves.
  const String alphabet = u"abcXYZ ,;-'\"\t\u00A8\u00AD\u0160\u008D\u0161\u20AC\xD83D\xDE00\uFFFF";
  std::mt19937 random(20261206);
  for (int round = 0; round < 3000; ++round) {
    String text(random() % 40, u' ');
    for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
    String delimiters(random() % 3 == 0 ? 0 : random() % 5, u' ');
    for (char16_t& c : delimiters) c = alphabet[random() % alphabet.size()];
    SCOPED_TRACE(testing::Message() << "round " << round);
    ZtToken token;
    token.Create(text, delimiters);
    ASSERT_EQ(Tokens(token), ReferenceSplit(text, delimiters));
  }
}

TEST(Create, ReplacesEarlierTokens) {
  ZtToken token;
  token.Create(u"one two three");
  token.Create(u"four");
  EXPECT_EQ(Joined(token), "four");
  token.Create(u"");
  EXPECT_EQ(token.Count(), 0);
}

TEST(GetToken, OutsideTheTokensGivesEmptyText) {
  ZtToken token;
  EXPECT_EQ(token.Count(), 0);
  EXPECT_EQ(token.GetToken(1), u"");
  token.Create(u"a b");
  const struct {
    Long position;
    String expected;
  } kCases[] = {
      {-2147483647 - 1, u""}, {-1, u""}, {0, u""}, {1, u"a"}, {2, u"b"}, {3, u""}, {2147483647, u""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.position);
    EXPECT_EQ(token.GetToken(c.position), c.expected);
  }
}

}  // namespace
}  // namespace ztl
