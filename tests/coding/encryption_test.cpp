// ZtEncryption: worked examples, a model of the four passes on whole Longs for keys whose
// multipliers are not negative, and round trips over many keys, negative ones included.

#include "ztldata/coding/encryption.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "coding/cipher_passes.hpp"
#include "platform/codepage.hpp"

namespace ztl {
namespace {

// The passes as first written: Longs, the mixing term with the sign of the product, a value
// outside 0..255 leaving a space. Valid as a reference where the multipliers are >= 0.
String ModelEncode(const String& text, Long key) {
  const Long m1 = key % 233 + 11, m2 = key % 239 + 7, m3 = key % 241 + 5, m4 = key % 251 + 3;
  auto f = [](Long m, Long x) { return (m * x) % 256; };
  const long long n = static_cast<long long>(text.size());
  std::vector<Long> a(text.size() + 1);
  for (long long i = 1; i <= n; ++i) a[i] = platform::AnsiCode(text[i - 1]);
  for (long long i = 2; i <= n; ++i) a[i] = a[i] ^ a[i - 1] ^ f(m1, a[i - 1]);
  for (long long i = n - 1; i >= 1; --i) a[i] = a[i] ^ a[i + 1] ^ f(m2, a[i + 1]);
  for (long long i = 3; i <= n; ++i) a[i] = a[i] ^ a[i - 2] ^ f(m3, a[i - 1]);
  for (long long i = n - 2; i >= 1; --i) a[i] = a[i] ^ a[i + 2] ^ f(m4, a[i + 1]);
  String out(text.size(), u' ');
  for (long long i = 1; i <= n; ++i) {
    if (a[i] >= 0 && a[i] <= 255) out[i - 1] = platform::AnsiChar(static_cast<Byte>(a[i]));
  }
  return out;
}

TEST(Encode, WorkedExamples) {
  const struct {
    const char* situation;
    String text;
    Long key;
    String code;
  } kCases[] = {
      {"empty", u"", 1234, u""},
      {"one character is left alone", u"Q", 1234, u"Q"},
      {"key 0: multipliers 11, 7, 5, 3", u"AB", 0, u"\u00F1\u00C8"},
      {"key -1: multipliers 10, 6, 4, 2", u"AB", -1, u"\u00FE\u2030"},
      {"key -20: negative multipliers mix in 0..255", u"AB", -20, u")\u00B4"},
  };
  ZtEncryption cipher;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.situation);
    EXPECT_EQ(cipher.Encode(c.text, c.key), c.code);
    EXPECT_EQ(cipher.Decode(c.code, c.key), c.text);
  }
}

TEST(Encode, CharactersOutsideTheCodePageReadAsQuestionMarks) {
  ZtEncryption cipher;
  EXPECT_EQ(cipher.Encode(u"a\u4E00b\xD800", 99), cipher.Encode(u"a?b?", 99));
}

String RandomAnsiText(std::mt19937& random, std::size_t length) {
  String text(length, u' ');
  for (char16_t& c : text) c = platform::AnsiChar(static_cast<Byte>(random()));
  return text;
}

TEST(Encode, MatchesTheModelForKeysWithoutNegativeMultipliers) {
  std::mt19937 random(5);
  ZtEncryption cipher;
  const Long kKeys[] = {0, 1, 232, 233, 1000003, std::numeric_limits<Long>::max(), -1, -2};
  for (const Long key : kKeys) {
    for (const std::size_t length : {1u, 2u, 3u, 4u, 17u, 1000u}) {
      SCOPED_TRACE(::testing::Message() << "key " << key << ", length " << length);
      const String text = RandomAnsiText(random, length);
      EXPECT_EQ(cipher.Encode(text, key), ModelEncode(text, key));
    }
  }
}

TEST(Decode, UndoesEncodeUnderEveryKey) {
  std::mt19937 random(9);
  ZtEncryption cipher;
  std::vector<Long> keys = {0, -1, -12, -232, -233, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max()};
  for (int i = 0; i < 200; ++i) keys.push_back(static_cast<Long>(random()));
  for (const Long key : keys) {
    SCOPED_TRACE(key);
    const String text = RandomAnsiText(random, random() % 300);
    const String code = cipher.Encode(text, key);
    ASSERT_EQ(code.size(), text.size());
    ASSERT_EQ(cipher.Decode(code, key), text);
  }
  // A long text, and a wrong key that does not give the text back.
  const String text = RandomAnsiText(random, 100000);
  EXPECT_EQ(cipher.Decode(cipher.Encode(text, -777), -777), text);
  EXPECT_NE(cipher.Decode(cipher.Encode(text, 7), 8), text);
}

// The bit-plane passes against the position-at-a-time loops: keys with even and odd and
// negative multipliers, lengths around the 64-position blocks.
TEST(EncodePasses, PlanesGiveTheLoopsResult) {
  if (!coding::CanUsePlanes()) GTEST_SKIP() << "no 512-bit vectors here";
  std::mt19937 random(10);
  std::vector<Long> keys = {0, 1, -1, -20, 232, 233, std::numeric_limits<Long>::min()};
  for (int i = 0; i < 60; ++i) keys.push_back(static_cast<Long>(random()));
  for (const Long key : keys) {
    for (int round = 0; round < 30; ++round) {
      const std::size_t n = round < 20 ? 60 + round * 5 : random() % 5000;
      std::vector<std::uint8_t> planes(n);
      for (auto& b : planes) b = static_cast<std::uint8_t>(random());
      std::vector<std::uint8_t> loops = planes;
      coding::EncodePasses(planes.data(), n, key, true);
      coding::EncodePasses(loops.data(), n, key, false);
      ASSERT_EQ(planes, loops) << "key " << key << ", length " << n;
    }
  }
}

}  // namespace
}  // namespace ztl
