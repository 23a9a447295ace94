// ZtRLE: the documented encodings, the reading of odd coded texts, and round trips over
// generated texts against a model that writes runs one character at a time.

#include "ztldata/coding/rle.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/codepage.hpp"

namespace ztl {
namespace {

String Repeat(char16_t c, std::size_t n) { return String(n, c); }

// The coder as a stream: each character compared with the one before and the one after, a
// pending count flushed when the run ends or reaches 254. Written independently of the
// run-at-a-time coder, for texts without "~".
String StreamCompress(const String& in) {
  String out;
  bool has_prev = false;
  char16_t prev = 0;
  int count = 0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char16_t ch = in[i];
    const bool has_next = i + 1 < in.size();
    if (!has_prev || ch != prev) {
      if (count > 0) out += {u'~', platform::AnsiChar(static_cast<Byte>(count))};
      count = 0;
      out += ch;
      prev = ch;
      has_prev = true;
    } else if ((!has_next || in[i + 1] != ch) && count == 0) {
      out += ch;
    } else if (++count == 254) {
      out += {u'~', platform::AnsiChar(254)};
      count = 0;
      has_prev = false;
    }
  }
  if (count > 0) out += {u'~', platform::AnsiChar(static_cast<Byte>(count))};
  return out;
}

TEST(Compress, DocumentedRuns) {
  const struct {
    const char* situation;
    String in;
    String out;
  } kCases[] = {
      {"empty", u"", u""},
      {"runs of one and two stay literal", u"aab", u"aab"},
      {"three", u"aaa", String(u"a~\x02")},
      {"255 is the longest single token", Repeat(u'a', 255), u"a~\u00FE"},
      {"256 starts a new run", Repeat(u'a', 256), u"a~\u00FEa"},
      {"257 leaves a run of two", Repeat(u'a', 257), u"a~\u00FEaa"},
      {"258 leaves a run of three", Repeat(u'a', 258), String(u"a~\u00FEa~\x02")},
      {"127: the count character is ~ itself", Repeat(u'a', 127), u"a~~"},
      {"129: count 128 is the euro sign", Repeat(u'a', 129), u"a~\u20AC"},
      {"runs are case-sensitive", u"aAAa", u"aAAa"},
      {"one tilde", u"~", String(u"~\0~\x01", 4)},
      {"a tilde between letters", u"a~b", String(u"a~\0~\x01" u"b", 6)},
      {"three tildes", u"~~~", String(u"~\0~\x03", 4)},
      {"300 tildes in two pieces", Repeat(u'~', 300), String(u"~\0~\u00FE~\0~.", 8)},
      {"a tilde run after a run", u"bbbb~~", String(u"b~\x03~\0~\x02", 7)},
  };
  ZtRLE rle;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.situation);
    EXPECT_EQ(rle.Compress(c.in), c.out);
    EXPECT_EQ(rle.Decompress(c.out), c.in);
  }
}

TEST(Decompress, OddCodedTexts) {
  const struct {
    const char* situation;
    String in;
    String out;
  } kCases[] = {
      {"empty", u"", u""},
      {"a trailing marker adds nothing", u"ab~", u"ab"},
      {"a lone marker", u"~", u""},
      {"a leading token has nothing to repeat but takes its count", String(u"~\x05" u"b"), u"b"},
      {"count 0", String(u"a~\0", 3), u"a"},
      {"a second token repeats the marker", String(u"a~\x02~\x03"), u"aaa~~~"},
      {"the count character is not inspected", u"a~~", Repeat(u'a', 127)},
      {"a count outside the code page counts as ?", u"a~\u4E00", Repeat(u'a', 64)},
      {"count 255", u"x~\u00FF", Repeat(u'x', 256)},
      {"an undefined code page byte", u"x~\u0081", Repeat(u'x', 130)},
      {"other characters pass through", u"\U0001F600\xD800", u"\U0001F600\xD800"},
  };
  ZtRLE rle;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.situation);
    EXPECT_EQ(rle.Decompress(c.in), c.out);
  }
}

// Texts with long runs of a few characters, of lengths beyond 32767 too.
String GeneratedText(std::mt19937& random, bool with_tildes) {
  const String alphabet = with_tildes ? String(u"ab~\u20AC\0\xD800", 6) : String(u"ab\u20AC\0\xD800Z", 6);
  String text;
  const std::size_t length = random() % 4 == 0 ? 33000 + random() % 2000 : random() % 700;
  while (text.size() < length) {
    const char16_t c = alphabet[random() % alphabet.size()];
    const std::size_t run = random() % 3 == 0 ? random() % 600 : 1 + random() % 3;
    text.append(run, c);
  }
  return text;
}

TEST(Compress, RoundTripsGeneratedTexts) {
  std::mt19937 random(71);
  ZtRLE rle;
  for (int round = 0; round < 300; ++round) {
    const bool with_tildes = round % 2 == 1;
    const String text = GeneratedText(random, with_tildes);
    SCOPED_TRACE(::testing::Message() << "round " << round << ", length " << text.size());
    const String packed = rle.Compress(text);
    ASSERT_EQ(rle.Decompress(packed), text);
    if (!with_tildes) {
      EXPECT_EQ(packed, StreamCompress(text));
      EXPECT_LE(packed.size(), text.size());
    }
  }
}

}  // namespace
}  // namespace ztl
