// The value-formatting service for each kind of value: numbers through their pattern, text
// that is no number as it stands, and the kinds that have no text.

#include "text/format_value.hpp"

#include <gtest/gtest.h>

namespace ztl::text {
namespace {

TEST(FormatValue, Kinds) {
  const struct {
    const char* what;
    Variant value;
    const char16_t* pattern;
    const char16_t* expected;
    bool numeric;
  } kCases[] = {
      {"Long", Long{42}, u"0000", u"0042", true},
      {"Boolean", true, u"0", u"-1", true},
      {"Empty", Variant(), u"0.0", u"0.0", true},
      {"Single", Single{0.1f}, u"0.000000000", u"0.100000000", true},
      {"Double", 0.1, u"0.000000000", u"0.100000000", true},
      {"Currency", Currency{123456789}, u"0.00", u"12345.68", true},
      {"Currency near zero", Currency{-15}, u"0.00", u"0.00", true},  // rounds to zero: no sign
      {"Date", Date{1.75}, u"0.0", u"1.8", true},
      {"number text", String(u"1.5"), u"0.00", u"1.50", true},
      {"other text", String(u"abc"), u"0.00", u"abc", false},
      {"empty text", String(), u"0", u"", false},
      {"no pattern", 1.5, u"", u"1.5", false},
      {"no pattern, Boolean", true, u"", u"True", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    bool numeric = !c.numeric;
    const Outcome<String> text = FormatValue(c.value, c.pattern, &numeric);
    EXPECT_TRUE(text.ok());
    EXPECT_EQ(text.value_or(String()), c.expected);
    EXPECT_EQ(numeric, c.numeric);
  }
  for (const Variant& v : {Variant(Null), Variant(SafeArray()), Variant(ErrorValue{5}), Variant(nullptr)}) {
    EXPECT_FALSE(FormatValue(v, u"0").ok());
    EXPECT_FALSE(FormatValue(v, u"").ok());
  }
}

}  // namespace
}  // namespace ztl::text
