// ZtArrays: each operation on ordinary and hostile arrays, and the properties of Sort,
// BinarySearch and Shuffle over generated data.

#include "ztldata/collections/arrays.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "platform/random.hpp"
#include "values.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/random.hpp"

namespace ztl {
namespace {

using collections_test::Arr;
using collections_test::Describe;
using collections_test::Elements;
using collections_test::InOrder;
using collections_test::IsPermutation;
using collections_test::MixedValue;
using collections_test::Obj;

const Variant kUnallocated = SafeArray();
const Variant kEmptyArray = Arr({});                                            // (0 to -1)
const Variant kGrid = SafeArray(VarType::Long, {{0, 2}, {0, 2}});               // 2-D (0 to 1, 0 to 1)
const Variant kCube = SafeArray(VarType::Variant, {{1, 1}, {1, 1}, {1, 1}});    // 3-D

TEST(Dimensions, CountsNestingThroughElementOne) {
  const struct {
    const char* what;
    Variant value;
    Integer expected;
  } kCases[] = {
      {"a number", Long{5}, 0},
      {"Empty", Variant(), 0},
      {"an object", Obj(Variant(Long{1})), 0},
      {"(0 to 2)", Arr({1, 2, 3}), 1},
      {"(0 to 0): no element 1", Arr({Arr({1})}), 1},
      {"(0 to 1), element 1 an array (1 to 1)", Arr({Long{0}, Arr({Long{1}}, 1)}), 2},
      {"element 0 an array is not followed", Arr({Arr({1, 2}), Long{1}}), 1},
      {"three levels", Arr({Arr({Long{0}, Arr({1, 2})}, 0)}, 1), 3},
      {"unallocated", kUnallocated, 1},
      {"allocated with no elements", kEmptyArray, 1},
      {"a 2-D array", kGrid, 2},
      {"a 3-D array", kCube, 3},
      {"element 1 a 2-D array", Arr({Long{0}, kGrid}), 3},
  };
  ZtArrays a;
  for (auto c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(a.Dimensions(c.value), c.expected);
  }
}

TEST(IsEmpty, OnlyWithoutElements) {
  const struct {
    const char* what;
    Variant value;
    Boolean expected;
  } kCases[] = {
      {"Empty elements are elements", Arr({Variant(), Variant()}), false},
      {"(5 to 5)", Arr({Long{1}}, 5), false},
      {"a 2-D array", kGrid, false},
      {"unallocated", kUnallocated, true},
      {"(0 to -1)", kEmptyArray, true},
      {"a number", 3.5, true},
      {"a text", u"abc", true},
      {"a 2-D array with an empty dimension", SafeArray(VarType::Long, {{0, 2}, {0, 0}}), true},
  };
  ZtArrays a;
  for (auto c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(a.IsEmpty(c.value), c.expected);
  }
}

TEST(Measures, MaxMinSumMean) {
  const Variant no_default = Obj(std::nullopt);
  const struct {
    const char* what;
    Variant array;
    Variant max, min, sum, mean;
  } kCases[] = {
      {"(0 to 0) holding 7 is measured", Arr({Long{7}}), Long{7}, Long{7}, Long{7}, 7.0},
      {"(1 to 1) holding 7", Arr({Long{7}}, 1), Long{7}, Long{7}, Long{7}, 7.0},
      {"(-3 to 0)", Arr({4, 1, 8, 3}, -3), Long{8}, Long{1}, Long{16}, 4.0},
      {"3, 9, 9", Arr({3, 9, 9}), Long{9}, Long{3}, Long{21}, 7.0},
      {"the mean, not the median", Arr({1, 2, 3, 10}), Long{10}, Long{1}, Long{16}, 4.0},
      {"sums promote", Arr({Integer{32767}, Integer{1}}), Integer{32767}, Integer{1}, Long{32768}, 16384.0},
      {"a Long sum past the range is a Double", Arr({Long{2147483647}, Long{1}}), Long{2147483647}, Long{1},
       2147483648.0, 1073741824.0},
      {"a Double step that overflows is skipped", Arr({1e308, 1e308, 1.0}), 1e308, 1.0, 1e308, 1e308 / 3},
      {"texts join and have no mean", Arr({u"b", u"a", u"c"}), u"c", u"a", u"bac", Variant()},
      {"a number text adds as a number", Arr({u"1", Long{2}}), u"1", Long{2}, 3.0, 1.5},
      {"a text that is no number is skipped in the sum", Arr({1, u"x", 2}), u"x", Long{1}, Long{3}, 1.0},
      {"a Null start is never replaced", Arr({Null, 5}), Null, Null, Null, Null},
      {"a later Null never replaces", Arr({5, Null, 7}), Long{7}, Long{5}, Null, Null},
      {"Booleans add as -1", Arr({true, true}), true, true, Integer{-2}, -1.0},
      {"Empty counts as 0", Arr({Variant(), Long{4}}), Long{4}, Variant(), Long{4}, 2.0},
      {"(0 to -1)", kEmptyArray, Null, Null, Null, Null},
      {"(5 to 4)", Arr({}, 5), Null, Null, Null, Null},
      {"unallocated", kUnallocated, Null, Null, Null, Null},
      {"no array", Long{3}, Null, Null, Null, Null},
      {"2-D: no element can be read", kGrid, Variant(), Variant(), Variant(), 0.0},
  };
  ZtArrays a;
  for (auto c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(a.GetMax(c.array), c.max) << Describe(a.GetMax(c.array));
    EXPECT_EQ(a.GetMin(c.array), c.min) << Describe(a.GetMin(c.array));
    EXPECT_EQ(a.GetSum(c.array), c.sum) << Describe(a.GetSum(c.array));
    EXPECT_EQ(a.GetMed(c.array), c.mean) << Describe(a.GetMed(c.array));
  }
  // A comparison that fails counts as holding: the element that cannot be compared is taken,
  // and every later element replaces it.
  Variant with_object = Arr({Long{1}, no_default});
  EXPECT_EQ(a.GetMax(with_object), no_default);
  EXPECT_EQ(a.GetMin(with_object), no_default);
  with_object = Arr({Long{1}, no_default, Long{0}});
  EXPECT_EQ(a.GetMax(with_object), Variant(Long{0}));
  // An object with a default value is measured by it and kept as the object.
  const Variant ten = Obj(Variant(Long{10}));
  Variant with_value = Arr({Long{3}, ten});
  EXPECT_EQ(a.GetMax(with_value), ten);
  EXPECT_EQ(a.GetSum(with_value), Variant(Long{13}));
}

TEST(Measures, DecimalsAreExact) {
  // Decimals take part exactly: 0.1 + 0.2 is 0.3, not the Double 0.30000000000000004, and a
  // mean keeps 28 places.
  const auto dec = [](std::u16string_view text) { return Variant(*TextToDecimal(text)); };
  const struct {
    const char* what;
    Variant array;
    const char16_t* sum;
    const char16_t* mean;
  } kCases[] = {
      {"tenths", Arr({dec(u"0.1"), dec(u"0.2")}), u"0.3", u"0.15"},
      {"with a Double and a Long", Arr({dec(u"0.1"), dec(u"0.2"), 0.3, Long{1}}), u"1.6", u"0.4"},
      {"a third", Arr({dec(u"1"), dec(u"2"), dec(u"2")}), u"5", u"1.6666666666666666666666666667"},
      // The largest Decimal; its half needs a 30th digit, so it rounds to even.
      {"beyond a Double's digits", Arr({dec(u"79228162514264337593543950334"), dec(u"1")}),
       u"79228162514264337593543950335", u"39614081257132168796771975168"},
  };
  ZtArrays a;
  for (auto c : kCases) {
    SCOPED_TRACE(c.what);
    const Variant sum = a.GetSum(c.array), mean = a.GetMed(c.array);
    ASSERT_EQ(sum.Type(), VarType::Decimal) << Describe(sum);
    ASSERT_EQ(mean.Type(), VarType::Decimal) << Describe(mean);
    EXPECT_EQ(DecimalToText(*sum.If<Decimal>()), c.sum);
    EXPECT_EQ(DecimalToText(*mean.If<Decimal>()), c.mean);
  }
}

TEST(Search, FirstEqualElement) {
  const struct {
    const char* what;
    Variant array, key;
    Long expected;
  } kCases[] = {
      {"a match at index 0 looks like none", Arr({5, 5, 6}), Long{5}, 0},
      {"6", Arr({5, 5, 6}), Long{6}, 2},
      {"absent", Arr({5, 5, 6}), Long{7}, 0},
      {"numbers of other kinds", Arr({5, 5, 6}, 1), 6.0, 3},
      {"text is case-sensitive", Arr({u"A", u"a"}), u"a", 1},
      {"a number is never a text", Arr({u"5", Long{5}}, 1), Long{5}, 2},
      {"Null never matches", Arr({Null, Variant()}, 1), Null, 0},
      {"Empty matches 0", Arr({Long{1}, Long{0}}, 1), Variant(), 2},
      {"an element that cannot be compared matches", Arr({Long{1}, Obj(std::nullopt)}, 1), Long{2}, 2},
      {"a key that cannot be compared matches the first", Arr({1, 2}, 4), Arr({1}), 4},
      {"2-D: the first read fails and counts as a match", SafeArray(VarType::Long, {{3, 2}, {0, 2}}), Long{9}, 3},
      {"unallocated", kUnallocated, Long{0}, 0},
      {"no array", Long{5}, Long{5}, 0},
  };
  ZtArrays a;
  for (auto c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(a.Search(c.array, c.key), c.expected);
  }
}

TEST(BinarySearch, FoundOrLowerBoundMinusOne) {
  const struct {
    const char* what;
    Variant array, key;
    Long expected;
  } kCases[] = {
      {"absent in (0 to 3)", Arr({1, 3, 5, 9}), Long{7}, -1},
      {"first", Arr({1, 3, 5, 9}), Long{1}, 0},
      {"last", Arr({1, 3, 5, 9}), Long{9}, 3},
      {"absent in (1 to 4)", Arr({1, 3, 5, 9}, 1), Long{7}, 0},
      {"below all", Arr({1, 3, 5, 9}, 1), Long{0}, 0},
      {"above all", Arr({1, 3, 5, 9}, 10), Long{10}, 9},
      {"one element, found", Arr({Long{4}}, 7), 4.0, 7},
      {"texts", Arr({u"B", u"a", u"b"}), u"b", 2},
      {"(0 to -1) finds nothing", kEmptyArray, Long{0}, -1},
      {"(5 to 4) finds nothing", Arr({}, 5), Long{0}, 4},
      {"unallocated finds nothing", kUnallocated, Long{0}, -1},
      {"no array finds nothing", Long{0}, Long{0}, -1},
      {"2-D finds nothing", SafeArray(VarType::Long, {{3, 2}, {0, 2}}), Long{0}, 2},
      {"a Null key is never equal", Arr({1, 2, 3}), Null, -1},
      {"a key that cannot be compared is never equal", Arr({1, 2, 3}), Obj(std::nullopt), -1},
      {"the lowest lower bound", SafeArray(VarType::Long, {{std::numeric_limits<Long>::min(), 3}}), Long{5}, 0},
  };
  ZtArrays a;
  for (auto c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(a.BinarySearch(c.array, c.key), c.expected);
  }
}

TEST(BinarySearch, FindsEveryElementOfASortedArray) {
  std::mt19937 rng(99);
  ZtArrays a;
  for (int round = 0; round < 200; ++round) {
    const int n = static_cast<int>(rng() % 60) + 1;
    const Long lower = static_cast<Long>(rng() % 21) - 10;
    std::vector<Variant> items;
    for (int i = 0; i < n; ++i) items.push_back(Long(static_cast<Long>(rng() % 200) * 2));  // even numbers
    Variant array = Arr(items, lower);
    a.Sort(array);
    const std::vector<Variant> sorted = Elements(array);
    for (int i = 0; i < n; ++i) {
      const Long found = a.BinarySearch(array, sorted[i]);
      ASSERT_GE(found, lower);
      ASSERT_LT(found, lower + n);
      ASSERT_EQ(sorted[found - lower], sorted[i]);  // this element, or one equal to it
      // An odd number is never there.
      ASSERT_EQ(a.BinarySearch(array, Long(*sorted[i].If<Long>() + 1)), lower - 1);
    }
  }
}

TEST(Sort, SmallCases) {
  const struct {
    const char* what;
    Variant array;
    std::vector<Variant> expected;
  } kCases[] = {
      {"two", Arr({2, 1}), {1, 2}},
      {"texts in binary order", Arr({u"b", u"a", u"B", u"", u"ab"}), {u"", u"B", u"a", u"ab", u"b"}},
      {"numbers before texts", Arr({u"1", Long{2}, 0.5}), {0.5, Long{2}, u"1"}},
      {"Nulls last", Arr({Null, 3, Null, 1, 2}), {1, 2, 3, Null, Null}},
      {"a typed array keeps its type", SafeArray(VarType::Long, {{1, 3}}), {Long{0}, Long{0}, Long{0}}},
      {"one element", Arr({u"x"}), {u"x"}},
  };
  ZtArrays a;
  for (auto c : kCases) {
    SCOPED_TRACE(c.what);
    a.Sort(c.array);
    EXPECT_EQ(Elements(c.array), c.expected) << Describe(Elements(c.array));
  }
  // What cannot be sorted stays as it is.
  for (Variant same : {kUnallocated, kEmptyArray, kGrid, Variant(u"text"), Variant(Null)}) {
    const Variant before = same;
    a.Sort(same);
    EXPECT_EQ(same, before);
  }
}

TEST(Sort, TwoElementsDrawNoRandomNumber) {
  ZtArrays a;
  SeedRandom(5);
  const Long fresh = platform::RandomBetween(0, 1 << 30);
  SeedRandom(5);
  Variant two = Arr({2, 1});
  a.Sort(two);
  EXPECT_EQ(Elements(two), (std::vector<Variant>{1, 2}));
  EXPECT_EQ(platform::RandomBetween(0, 1 << 30), fresh);
  // Three elements need a pivot.
  SeedRandom(5);
  Variant three = Arr({3, 1, 2});
  a.Sort(three);
  EXPECT_EQ(Elements(three), (std::vector<Variant>{1, 2, 3}));
  EXPECT_NE(platform::RandomBetween(0, 1 << 30), fresh);
}

TEST(Sort, OrdersAndPermutesGeneratedData) {
  std::mt19937 rng(2026);
  ZtArrays a;
  SeedRandom(1);
  for (int round = 0; round < 300; ++round) {
    const int n = static_cast<int>(rng() % (round < 250 ? 40 : 1500));
    std::vector<Variant> items;
    for (int i = 0; i < n; ++i) items.push_back(MixedValue(rng));
    Variant array = Arr(items, static_cast<Long>(rng() % 5) - 2);
    a.Sort(array);
    const std::vector<Variant> sorted = Elements(array);
    ASSERT_TRUE(IsPermutation(items, sorted)) << Describe(items);
    ASSERT_TRUE(InOrder(sorted)) << Describe(sorted);
  }
}

TEST(Sort, ManyEqualOrIncomparableElements) {
  // Each of these makes every partition lopsided; the sort still ends promptly, in order.
  ZtArrays a;
  const int n = 20000;
  const struct {
    const char* what;
    std::vector<Variant> items;
  } kCases[] = {
      {"all equal", std::vector<Variant>(n, Long{7})},
      {"two values", [] {
         std::vector<Variant> v;
         for (int i = 0; i < n; ++i) v.push_back(i % 3 == 0);
         return v;
       }()},
      {"mostly Null", [] {
         std::vector<Variant> v(n, Null);
         v[n / 2] = Long{1};
         return v;
       }()},
      {"objects without a default value", [] {
         std::vector<Variant> v;
         for (int i = 0; i < n / 10; ++i) v.push_back(Obj(std::nullopt));
         return v;
       }()},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    Variant array = Arr(c.items);
    a.Sort(array);
    const std::vector<Variant> sorted = Elements(array);
    ASSERT_TRUE(IsPermutation(c.items, sorted));
    if (!c.items[0].IsObject()) {
      EXPECT_TRUE(InOrder(sorted));
    }
  }
}

TEST(Shuffle, PermutesAndMovesEveryElement) {
  ZtArrays a;
  SeedRandom(3);
  const int n = 12;
  std::vector<Variant> items;
  for (int i = 0; i < n; ++i) items.push_back(Long{i});
  // Over many runs each element lands in every position.
  std::vector<std::vector<int>> seen(n, std::vector<int>(n));
  for (int run = 0; run < 3000; ++run) {
    Variant array = Arr(items, -5);
    a.Shuffle(array);
    const std::vector<Variant> shuffled = Elements(array);
    ASSERT_TRUE(IsPermutation(items, shuffled));
    for (int pos = 0; pos < n; ++pos) ++seen[*shuffled[pos].If<Long>()][pos];
  }
  for (int e = 0; e < n; ++e) {
    for (int pos = 0; pos < n; ++pos) {
      SCOPED_TRACE(testing::Message() << e << " at " << pos);
      EXPECT_GT(seen[e][pos], 150);  // about 250 expected
      EXPECT_LT(seen[e][pos], 350);
    }
  }
  // What has fewer than two elements, or cannot be read, stays as it is.
  for (Variant same : {Arr({u"x"}), kUnallocated, kEmptyArray, kGrid, Variant(Long{4})}) {
    const Variant before = same;
    a.Shuffle(same);
    EXPECT_EQ(same, before);
  }
}

}  // namespace
}  // namespace ztl
