// ZtStrings.sPrintf: the number patterns the conversions make, the two passes over the
// template, values of every kind, and hostile templates and value arrays.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "../support/text.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/text/strings.hpp"

namespace ztl {
namespace {

using testing_support::Narrow;

String Printf(const String& text, std::vector<Variant> values) { return ZtStrings().sPrintf(text, values); }

// Every conversion of the pattern table, with the two values the table shows.
TEST(sPrintf, PatternTable) {
  const struct {
    String conversion, of_pi, of_42;
  } kCases[] = {
      {u"%d", u"3", u"42"},
      {u"%f", u"3", u"42"},
      {u"%ld", u"3", u"42"},
      {u"%5d", u"3", u"42"},   // a width without a leading 0 has no effect
      {u"%-5d", u"3", u"42"},
      {u"%05d", u"00003", u"00042"},
      {u"%.2f", u"3.1", u"42."},  // a precision without a leading 0: one optional decimal
      {u"%5.2f", u"3.1", u"42."},
      {u"%.02f", u"3.14", u"42.00"},
      {u"%5.02f", u"3.14", u"42.00"},
      {u"%05.02f", u"00003.14", u"00042.00"},
      {u"%08.3f", u"00000003.1", u"00000042."},
      {u"%s", u"3.14159", u"42"},  // the value's plain text
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.conversion));
    EXPECT_EQ(Printf(c.conversion, {3.14159}), c.of_pi);
    EXPECT_EQ(Printf(c.conversion, {Long{42}}), c.of_42);
    EXPECT_EQ(Printf(u"<" + c.conversion + u">", {Long{42}}), u"<" + c.of_42 + u">");
  }
}

TEST(sPrintf, MorePatterns) {
  const struct {
    String conversion;
    Variant value;
    String expected;
  } kCases[] = {
      {u"%.005f", 3.14159, u"3.14159"},       // "#.00000"
      {u"%.0f", 3.14159, u"3."},              // "#."
      {u"%.0f", 42.7, u"43."},
      {u"%.10f", 3.14159, u"3.1"},            // "#.#"
      {u"%0.5f", 3.14159, u"3.1"},            // "." then "#"
      {u"%05.d", Long{42}, u"00042"},         // a point with nothing after it: a width alone
      {u"%03.0f", 3.5, u"004."},              // "000."
      {u"%02.03f", 0.5, u"00.500"},
      {u"%.02f", 0.004, u".00"},              // "#" shows no zero integer part
      {u"%.02f", 0.005, u".01"},              // halves away from zero
      {u"%d", 2.5, u"3"},
      {u"%d", -2.5, u"-3"},
      {u"%d", 0.5, u"1"},
      {u"%d", 1.005e15, u"1005000000000000"},
      {u"%05.02f", -3.14159, u"-00003.14"},
      {u"%.02f", 2.675, u"2.68"},             // rounded on the 15-digit decimal text
      {u"%010d", -7, u"-0000000007"},
      {u"%0d", Long{42}, u"42"},              // "0" zeros: the empty pattern, plain text
      {u"%0d", 3.25, u"3.25"},
      {u"%00f", 3.25, u"3.25"},
      {u"%.1f", Long{0}, u"."},               // zero with "#.#" still shows the point
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.conversion) + " " + Narrow(ToString(c.value).value_or(String())));
    EXPECT_EQ(Printf(c.conversion, {c.value}), c.expected);
  }
}

// A width or precision that is no Integer count makes its step of the pattern fail, which
// leaves the pattern as it stood: empty (plain text) or with one part only.
TEST(sPrintf, WidthsThatAreNoCount) {
  const struct {
    String conversion, expected;
  } kCases[] = {
      {u"%099999d", u"3.14159"},    // beyond the Integer range
      {u"%032768d", u"3.14159"},
      {u"%0x5d", u"3.14159"},       // not a number
      {u"%0-5d", u"3.14159"},
      {u"%.0xf", u"3.14159"},       // the precision alone fails: no pattern at all
      {u"%0x.02f", u"03"},          // the width fails: the decimals part "00" alone
      {u"%05.0xf", u"00003."},      // the precision fails: the width part alone
      {u"%00000.099999f", u"3."},   // "." and a failed decimals part
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.conversion));
    EXPECT_EQ(Printf(c.conversion, {3.14159}), c.expected);
  }
  const String wide = Printf(u"%032767d", {Long{5}});  // the largest count there is
  ASSERT_EQ(wide.size(), 32767u);
  EXPECT_EQ(wide.back(), u'5');
  EXPECT_EQ(wide.find_first_not_of(u'0'), 32766u);
}

TEST(sPrintf, Templates) {
  const struct {
    String text;
    std::vector<Variant> values;
    String expected;
  } kCases[] = {
      {u"no conversion", {}, u"no conversion"},
      {u"", {}, u""},
      {u"100%%", {}, u"100%"},
      {u"%d%%", {Long{7}}, u"7%"},
      {u"%%%d", {Long{7}}, u"%7"},
      {u"%d and %s", {Long{1}, String(u"two")}, u"1 and two"},
      {u"%d items", {Long{1}, Long{2}}, u""},  // more values than conversions
      {u"%d %d", {Long{1}}, u""},             // fewer
      {u"%d", {}, u""},
      {u"100%%", {Long{1}}, u""},
      {u"%5.2lf", {3.5}, u""},     // "l" not followed by "d" ends everything
      {u"%l", {Long{1}}, u""},
      {u"%ls", {Long{1}}, u""},
      {u"%D is %d", {Long{5}, Long{6}}, u"5 6"},  // "%D i" runs on to the "s" of "is"
      {u"50%x done", {Long{7}}, u"507one"},        // "%x d": up to the "d" of "done"
      {u"%5%", {Long{1}, Long{2}}, u"%"},          // counts as two, fills as a percent sign
      {u"%5%", {}, u""},
      {u"%x%%d", {Long{1}}, u"%1"},  // "%x%" is a percent sign, "%d" a conversion
      {u"50%", {Long{1}}, u"50%"},   // no conversion letter after the "%": copied as it is
      {u"%05", {Long{1}}, u"%05"},
      {u"a%b", {Long{1}}, u"a%b"},
      {String(u"a\0%d\0b", 6), {Long{1}}, String(u"a\0" u"1\0b", 5)},
      {u"\xD800%d\xDC00", {Long{2}}, u"\xD800" u"2\xDC00"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(Printf(c.text, c.values), c.expected);
  }
}

TEST(sPrintf, ValuesOfEveryKind) {
  auto collection = Collection::Create();
  const struct {
    const char* what;
    String conversion;
    Variant value;
    String expected;
  } kCases[] = {
      {"zero", u"%d", Long{0}, u"0"},  // nothing from "#": written as 0
      {"-0.4", u"%d", -0.4, u"0"},
      {"0.3", u"%d", 0.3, u"0"},
      {"zero text", u"%d", String(u"0"), u"0"},
      {"Empty", u"%d", Variant(), u"0"},
      {"Empty as text", u"%s", Variant(), u""},
      {"text", u"%s", String(u"abc"), u"abc"},
      {"number text", u"%s", String(u"12.7"), u"12.7"},  // %s: the text unchanged
      {"leading zeros", u"%s", String(u"007"), u"007"},
      {"number text with %d", u"%d", String(u"12.7"), u"13"},
      {"number text with %05d", u"%05d", String(u" 12 "), u"00012"},
      {"other text", u"%05d", String(u"abc"), u"abc"},  // inserted unchanged
      {"empty text", u"%d", String(), u""},             // no number, so not "0"
      {"True", u"%d", true, u"-1"},
      {"True as text", u"%s", true, u"True"},
      {"Byte", u"%03d", Byte{7}, u"007"},
      {"Integer", u"%d", Integer{-32768}, u"-32768"},
      {"Single", u"%.05f", Single{0.1f}, u".10000"},  // 7 digits: no binary tail
      {"Currency", u"%.03f", Currency{123450}, u"12.345"},
      {"Decimal", u"%d", *TextToDecimal(u"12345678901234567890.5"), u"12345678901234567891"},
      {"Date", u"%d", Date{2.525}, u"3"},
      {"large", u"%d", 1e20, u"100000000000000000000"},
      {"infinity", u"%d", std::numeric_limits<double>::infinity(), u"Infinity"},
      {"Long bounds", u"%d", Long{-2147483647 - 1}, u"-2147483648"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Printf(u"[" + c.conversion + u"]", {c.value}), u"[" + c.expected + u"]");
  }
}

// A value that has no text drops its conversion and the template text before it.
TEST(sPrintf, ValuesWithoutText) {
  auto collection = Collection::Create();
  collection->Add(Long{1});
  const struct {
    const char* what;
    Variant value;
  } kCases[] = {
      {"Null", Null},
      {"an array", SafeArray::Of({Long{1}})},
      {"an object without a default value", ObjectRef(collection)},
      {"Nothing", nullptr},
      {"an Error value", ErrorValue{5}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Printf(u"a%db|c%sd|e", {c.value, c.value}), u"d|e");
    EXPECT_EQ(Printf(u"x%dy%d", {Long{1}, c.value}), u"x1");
  }
}

TEST(sPrintf, LongTemplates) {
  String text(50000, u'.');
  text += u"%05d";
  text += String(50000, u'-');
  text += u"%s";
  const String result = Printf(text, {Long{42}, String(u"end")});
  EXPECT_EQ(result.size(), 100000u + 5 + 3);
  EXPECT_EQ(result.substr(50000, 5), u"00042");
  EXPECT_EQ(result.substr(result.size() - 3), u"end");

  // Many conversions, far past an Integer count.
  String many;
  std::vector<Variant> values;
  String expected;
  for (int i = 0; i < 40000; ++i) {
    many += u"%d,";
    values.emplace_back(Long{i % 10});
    expected += static_cast<char16_t>(u'0' + i % 10);
    expected += u',';
  }
  EXPECT_EQ(Printf(many, values), expected);
}

// Through dispatch the values are the further arguments; through the slot order the caller
// passes the array, whatever its bounds.
TEST(sPrintf, LateBound) {
  auto strings = CreateObject(u"ZtStrings");
  EXPECT_EQ(strings->Invoke(u"sPrintf", {String(u"%d-%s"), Long{5}, String(u"x")}), Variant(String(u"5-x")));
  EXPECT_EQ(strings->Invoke(u"sPrintf", {String(u"plain")}), Variant(String(u"plain")));
  EXPECT_EQ(strings->Invoke(u"sPrintf", {String(u"%d")}), Variant(String()));

  constexpr std::size_t kSlot = 8;
  const struct {
    const char* what;
    Variant values;
    String expected;
  } kCases[] = {
      {"lower bound 0", SafeArray::Of({Long{1}, Long{2}}, 0), u"1-2"},
      {"lower bound 1", SafeArray::Of({Long{1}, Long{2}}, 1), u"1-2"},
      {"lower bound -5", SafeArray::Of({Long{1}, Long{2}}, -5), u"1-2"},
      {"holding Null", SafeArray::Of({Null, Long{2}}, 0), u"-2"},
      {"holding an array", SafeArray::Of({SafeArray::Of({Long{1}}), Long{2}}, 0), u"-2"},
      {"too short", SafeArray::Of({Long{1}}, 0), u""},
      {"unallocated", SafeArray(), u""},
      {"two dimensions", SafeArray(VarType::Long, {{0, 1}, {0, 2}}), u"0-0"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    std::vector<Variant> args = {String(u"%d-%d"), c.values};
    EXPECT_EQ(strings->InvokeSlot(kSlot, args), Variant(c.expected));
  }
}

}  // namespace
}  // namespace ztl
