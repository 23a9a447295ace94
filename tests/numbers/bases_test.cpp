// ZtBases: words and bytes against plain bit arithmetic, bits, shifts, and numbers in
// bases 2..36 both ways.

#include "ztldata/numbers/bases.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace ztl {
namespace {

constexpr Long kMinLong = -2147483647 - 1;

String U(const char* s) { return String(s, s + std::char_traits<char>::length(s)); }

std::vector<Long> SomeLongs() {
  std::vector<Long> values = {0, 1, -1, 2, -2, 255, 256, 32767, 32768, -32768, -32769, 65535, 65536,
                              0x12345678, 0x1234ABCD, 2147483647, kMinLong, kMinLong + 1};
  std::mt19937 gen(4242);
  for (int i = 0; i < 5000; ++i) values.push_back(static_cast<Long>(gen()));
  return values;
}

TEST(Words, Examples) {
  ZtBases b;
  const struct {
    Long value;
    Long lo, hi;
  } kCases[] = {
      {0x12345678, 22136, 4660}, {0x1234ABCD, -21555, 4660}, {65535, -1, 0},     {32768, -32768, 0},
      {65536, 0, 1},             {-1, -1, -1},                {-65536, 0, -1},    {kMinLong, 0, -32768},
      {2147483647, -1, 32767},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(b.LoWord(c.value), c.lo);
    EXPECT_EQ(b.HiWord(c.value), c.hi);
  }
  EXPECT_EQ(b.MakeDWord(0x1234, 0x5678), 305419896);
  EXPECT_EQ(b.MakeDWord(1, -1), 131071);
  EXPECT_EQ(b.MakeDWord(0, -1), 65535);
  EXPECT_EQ(b.MakeDWord(-1, -1), -1);
  EXPECT_EQ(b.MakeDWord(-32768, 0), kMinLong);
  EXPECT_EQ(b.MakeDWord(32767, -1), 2147483647);
}

TEST(Words, SplitAndJoinAreInverse) {
  ZtBases b;
  for (Long x : SomeLongs()) {
    SCOPED_TRACE(x);
    const Long lo = b.LoWord(x), hi = b.HiWord(x);
    ASSERT_GE(lo, -32768);
    ASSERT_LE(lo, 32767);
    ASSERT_EQ(lo, static_cast<std::int16_t>(x & 0xFFFF));
    ASSERT_EQ(hi, static_cast<std::int16_t>(static_cast<std::uint32_t>(x) >> 16));
    ASSERT_EQ(b.MakeDWord(static_cast<Integer>(hi), static_cast<Integer>(lo)), x);
  }
}

TEST(Bytes, Examples) {
  ZtBases b;
  const struct {
    Long value;
    Integer lo, hi;
  } kCases[] = {
      {0x1234, 52, 18}, {-1, 255, 255},  {0xFF00, 0, 255}, {0x80FF, 255, 128},
      {65536, 0, 128},  // beyond a 16-bit word the sign rule still applies
      {0, 0, 0},        {32767, 255, 127},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(b.LoByte(c.value), c.lo);
    EXPECT_EQ(b.HiByte(c.value), c.hi);
  }
  EXPECT_EQ(b.MakeWord(0x12, 0x34), 4660);
  EXPECT_EQ(b.MakeWord(128, 0), -32768);
  EXPECT_EQ(b.MakeWord(255, 255), -1);
}

// Every 16-bit word, signed (-32768..-1) or unsigned (32768..65535): its bytes are bits 0..7
// and 8..15, and they make the word again.
TEST(Bytes, EveryWord) {
  ZtBases b;
  for (Long w = -32768; w <= 65535; ++w) {
    const auto bits = static_cast<std::uint16_t>(w);
    const Integer lo = b.LoByte(w), hi = b.HiByte(w);
    ASSERT_EQ(lo, bits & 0xFF) << w;
    ASSERT_EQ(hi, bits >> 8) << w;
    ASSERT_EQ(b.MakeWord(static_cast<Byte>(hi), static_cast<Byte>(lo)), static_cast<Integer>(bits)) << w;
  }
}

TEST(Bits, Examples) {
  ZtBases b;
  EXPECT_EQ(b.SetBit(0, 31, true), kMinLong);
  EXPECT_EQ(b.SetBit(-1, 31, false), 2147483647);
  EXPECT_EQ(b.SetBit(5, 1, true), 7);
  EXPECT_EQ(b.SetBit(7, 0, false), 6);
  EXPECT_EQ(b.SetBit(5, 32, true), 5);
  EXPECT_EQ(b.SetBit(5, -1, true), 5);
  EXPECT_EQ(b.SetBit(5, -32768, false), 5);
  EXPECT_TRUE(b.GetBit(-1, 31));
  EXPECT_TRUE(b.GetBit(4, 2));
  EXPECT_FALSE(b.GetBit(4, 1));
  EXPECT_FALSE(b.GetBit(4, 40));
  EXPECT_FALSE(b.GetBit(1, -1));
  EXPECT_FALSE(b.GetBit(-1, 32767));
}

// Against the two's-complement pattern for every position -40..40: positions outside 0..31
// leave the value alone and read as False.
TEST(Bits, EveryPosition) {
  ZtBases b;
  std::mt19937 gen(99);
  for (int i = 0; i < 200; ++i) {
    const Long x = static_cast<Long>(gen());
    const auto bits = static_cast<std::uint32_t>(x);
    for (Integer p = -40; p <= 40; ++p) {
      const bool inside = p >= 0 && p <= 31;
      const std::uint32_t mask = inside ? std::uint32_t{1} << p : 0;
      ASSERT_EQ(b.GetBit(x, p), (bits & mask) != 0) << x << " bit " << p;
      ASSERT_EQ(b.SetBit(x, p, true), static_cast<Long>(bits | mask)) << x << " bit " << p;
      ASSERT_EQ(b.SetBit(x, p, false), static_cast<Long>(bits & ~mask)) << x << " bit " << p;
    }
  }
}

TEST(Shifts, Examples) {
  const struct {
    Integer word, times, left, right;
  } kCases[] = {
      {1, 15, -32768, 0},
      {-1, 1, -2, 32767},        // the right shift is logical
      {0x1234, 4, 9024, 291},
      {-32768, 15, 0, 1},
      {-100, 0, -100, -100},
      {1, 16, 0, 0},             // sixteen places or more shift every bit out
      {1, 31, 0, 0},
      {-1, 31, 0, 0},
      {5, 40, 0, 0},
      {-1, 40, 0, 0},
      {32767, 32767, 0, 0},
      {5, -1, 2, 5},             // a negative count halves, rounding to even; right keeps the word
      {3, -1, 2, 3},
      {-3, -1, -2, 0},           // a negative word's pattern does not fit an Integer
      {-5, -2, -1, 0},
      {7, -32768, 0, 7},
  };
  ZtBases b;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.word << " by " << c.times);
    EXPECT_EQ(b.LShiftWord(c.word, c.times), c.left);
    EXPECT_EQ(b.RShiftWord(c.word, c.times), c.right);
  }
}

// For counts 0..40, shifts of the 16-bit pattern with zeros coming in.
TEST(Shifts, AgainstThePattern) {
  ZtBases b;
  for (Long w = -32768; w <= 32767; w += 7) {
    const auto bits = static_cast<std::uint16_t>(w);
    for (Integer t = 0; t <= 40; ++t) {
      const std::uint16_t left = t < 16 ? static_cast<std::uint16_t>(bits << t) : 0;
      const std::uint16_t right = t < 16 ? static_cast<std::uint16_t>(bits >> t) : 0;
      ASSERT_EQ(b.LShiftWord(static_cast<Integer>(w), t), static_cast<Integer>(left)) << w << " by " << t;
      ASSERT_EQ(b.RShiftWord(static_cast<Integer>(w), t), t == 0 ? w : static_cast<Integer>(right))
          << w << " by " << t;
    }
  }
}

TEST(Long2Base, Examples) {
  const struct {
    Long number;
    Integer base;
    const char* text;
  } kCases[] = {
      {255, 16, "FF"},        {-10, 2, "-1010"},    {0, 7, "0"},      {2147483647, 36, "ZIK0ZJ"},
      {kMinLong, 16, "-80000000"},
      {kMinLong, 2, "-10000000000000000000000000000000"},
      {35, 36, "Z"},          {36, 36, "10"},
      {5, 1, ""},             {5, 37, ""},          {5, -16, ""},     {0, 0, ""},
  };
  ZtBases b;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.number << " base " << c.base);
    EXPECT_EQ(b.Long2Base(c.number, c.base), U(c.text));
  }
}

TEST(Long2Base, AgainstPrintf) {
  ZtBases b;
  for (Long x : SomeLongs()) {
    SCOPED_TRACE(x);
    const long long magnitude = x < 0 ? -static_cast<long long>(x) : x;
    char text[40];
    std::snprintf(text, sizeof text, "%s%llX", x < 0 ? "-" : "", magnitude);
    ASSERT_EQ(b.Long2Base(x, 16), U(text));
    std::snprintf(text, sizeof text, "%s%llo", x < 0 ? "-" : "", magnitude);
    ASSERT_EQ(b.Long2Base(x, 8), U(text));
    ASSERT_EQ(b.Long2Base(x, 10), U(std::to_string(x).c_str()));
  }
}

TEST(Base2Long, Examples) {
  const struct {
    const char* text;
    Integer base;
    Long expected;
  } kCases[] = {
      {"ff", 16, 255},
      {"-1010", 2, -10},
      {"ZIK0ZJ", 36, 2147483647},
      {"7FFFFFFF", 16, 2147483647},
      {"-80000000", 16, kMinLong},   // the smallest Long is read exactly
      {"80000000", 16, 0},           // too large for a Long: the default, not a wrong number
      {"-80000001", 16, 0},
      {"11111111111111111111111111111111", 2, 0},  // 2^32 - 1
      {"1111111111111111111111111111111", 2, 2147483647},
      {"0000000000000000000000000000000000000000001", 2, 1},  // zeros take no room
      {"2147483647", 10, 2147483647},
      {"2147483648", 10, 0},
      {"99999999999", 10, 0},
      {"9", 2, 9},                    // digits are not checked against the base
      {"Z", 10, 35},
      {"1 0", 10, 100},               // other characters take a digit position
      {"1.5", 10, 105},
      {"--5", 10, -5},                // the second "-" only takes a position
      {"-", 10, 0},
      {"", 10, 0},
      {"12", 1, 0},
      {"12", 37, 0},
  };
  ZtBases b;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' base " << c.base);
    EXPECT_EQ(b.Base2Long(U(c.text), c.base), c.expected);
  }
  EXPECT_EQ(b.Base2Long(u"\u00E9", 16), 0);     // no digit, not even after uppercasing
  EXPECT_EQ(b.Base2Long(u"\xD800z", 36), 35);  // an unpaired surrogate is just a position
  EXPECT_EQ(b.Base2Long(u"1\xD800", 36), 36);
}

TEST(Base2Long, ReadsBackEveryBase) {
  ZtBases b;
  for (Long x : SomeLongs()) {
    for (Integer base = 2; base <= 36; ++base) {
      const String text = b.Long2Base(x, base);
      ASSERT_EQ(b.Base2Long(text, base), x) << x << " base " << base;
      String lower = text;
      for (auto& c : lower) c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
      ASSERT_EQ(b.Base2Long(lower, base), x) << x << " base " << base;
    }
  }
}

}  // namespace
}  // namespace ztl
