// ZtData: cleared values by kind and the exchange of two variables.

#include "ztldata/collections/data.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "values.hpp"

namespace ztl {
namespace {

using collections_test::Arr;
using collections_test::Describe;
using collections_test::Obj;

TEST(Purge, ClearedValueByKind) {
  const struct {
    const char* what;
    Variant value, expected;
  } kCases[] = {
      {"Empty", Variant(), Variant()},
      {"Null", Null, Null},
      {"Integer", Integer{-4}, Integer{0}},
      {"Long", Long{123456}, Integer{0}},
      {"Single", Single{2.5f}, Integer{0}},
      {"Double 3.5 gives the Integer 0", 3.5, Integer{0}},
      {"Currency", Currency{12345}, Integer{0}},
      {"Decimal", Decimal{5, 0, 1, false}, Integer{0}},
      {"Byte", Byte{7}, Integer{0}},
      {"a text gives as many spaces", u"abc", u"   "},
      {"the empty text", u"", u""},
      {"True", true, false},
      {"an object gives Nothing", Obj(Variant(Long{1})), nullptr},
      {"Nothing", nullptr, nullptr},
      {"an Error value", ErrorValue{5}, Variant()},
      {"an array", Arr({1, 2}), Variant()},
      {"an array of Longs", SafeArray(VarType::Long, {{0, 2}}), Variant()},
  };
  ZtData d;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const Variant got = d.Purge(c.value);
    EXPECT_EQ(got, c.expected) << Describe(got);
    EXPECT_EQ(got.Type(), c.expected.Type());
  }
}

TEST(Purge, ADateGivesNow) {
  // The current local time as a day count; compare with the clock, allowing a day either way
  // for the time zone and a little for the call.
  ZtData d;
  const Variant now = d.Purge(Date{1.5});
  ASSERT_NE(now.If<Date>(), nullptr);
  const double days_since_1970 =
      std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() / 86400;
  EXPECT_NEAR(now.If<Date>()->value, days_since_1970 + 25569, 1.01);
  // Whole seconds: the fraction times 86400 is (almost) whole.
  const double seconds = (now.If<Date>()->value - std::floor(now.If<Date>()->value)) * 86400;
  EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
}

TEST(Inter, ExchangesKindsAndValues) {
  const Variant object = Obj(Variant(Long{1}));
  const struct {
    Variant first, second;
  } kCases[] = {
      {Long{1}, u"x"},
      {Null, Variant()},
      {object, Arr({1, 2, 3})},
      {3.5, 3.5},
  };
  ZtData d;
  for (const auto& c : kCases) {
    SCOPED_TRACE(Describe(c.first) + " / " + Describe(c.second));
    Variant a = c.first, b = c.second;
    d.Inter(a, b);
    EXPECT_EQ(a, c.second);
    EXPECT_EQ(b, c.first);
  }
  // Late-bound, the exchange reaches the caller's variables.
  const ObjectRef data = CreateObject(u"ZtData");
  std::vector<Variant> args{Long{1}, u"x"};
  ASSERT_TRUE(data->Invoke(u"Inter", args).ok());
  EXPECT_EQ(args, (std::vector<Variant>{u"x", Long{1}}));
  // The same object on both sides is the same object afterwards.
  Variant same = object;
  d.Inter(same, same);
  EXPECT_EQ(same, object);
}

}  // namespace
}  // namespace ztl
