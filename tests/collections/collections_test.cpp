// ZtCollections: searches, lookup by key, and sorting and shuffling in place with every item
// keeping its key.

#include "ztldata/collections/collections.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "platform/random.hpp"
#include "values.hpp"
#include "ztldata/platform/random.hpp"

namespace ztl {
namespace {

using collections_test::Describe;
using collections_test::InOrder;
using collections_test::IsPermutation;
using collections_test::Items;
using collections_test::MixedValue;
using collections_test::Obj;

CollectionRef Of(std::vector<Variant> items) {
  auto c = Collection::Create();
  for (Variant& v : items) c->Add(std::move(v));
  return c;
}

TEST(CollectionsSearch, FirstEqualItem) {
  const struct {
    const char* what;
    CollectionRef items;
    Variant key;
    Long expected;
  } kCases[] = {
      {"5 in 3, 5, 5", Of({3, 5, 5}), Long{5}, 2},
      {"7 in 3, 5, 5", Of({3, 5, 5}), Long{7}, 0},
      {"numbers of other kinds", Of({3, 5, 5}), 3.0, 1},
      {"text is case-sensitive", Of({u"A", u"a"}), u"a", 2},
      {"Null never matches", Of({Null}), Null, 0},
      {"an item that cannot be compared matches", Of({1, Obj(std::nullopt), 3}), Long{3}, 2},
      {"empty", Of({}), Long{1}, 0},
      {"no collection", nullptr, Long{1}, 0},
  };
  ZtCollections z;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(z.Search(c.items, c.key), c.expected);
  }
}

TEST(CollectionsBinarySearch, FoundOrZero) {
  const struct {
    const char* what;
    CollectionRef items;
    Variant key;
    Long expected;
  } kCases[] = {
      {"5 in 1, 3, 5, 7", Of({1, 3, 5, 7}), Long{5}, 3},
      {"first", Of({1, 3, 5, 7}), Long{1}, 1},
      {"last", Of({1, 3, 5, 7}), Long{7}, 4},
      {"4 is absent", Of({1, 3, 5, 7}), Long{4}, 0},
      {"above all", Of({1, 3, 5, 7}), Long{8}, 0},
      {"one item", Of({u"x"}), u"x", 1},
      {"an empty collection finds nothing", Of({}), Long{0}, 0},
      {"no collection finds nothing", nullptr, Long{0}, 0},
      {"a Null key is never equal", Of({1, 2}), Null, 0},
  };
  ZtCollections z;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(z.BinarySearch(c.items, c.key), c.expected);
  }
}

TEST(CollectionsBinarySearch, ServesLargeCollections) {
  // Past the reach of 16-bit positions.
  auto c = Collection::Create();
  for (Long i = 0; i < 70000; ++i) c->Add(i * 2);
  ZtCollections z;
  for (Long i : {0, 1, 32766, 32767, 32768, 40000, 69999}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(z.BinarySearch(c, i * 2), i + 1);
    EXPECT_EQ(z.BinarySearch(c, i * 2 + 1), 0);
  }
}

TEST(CollectionsSearchByKey, TextIsAKeyNumberAPosition) {
  const Variant object = Obj(Variant(Long{1}));
  auto c = Collection::Create();
  c->Add(u"b", u"k1");
  c->Add(u"a", u"k2");
  c->Add(object, u"obj");
  const struct {
    const char* what;
    Variant key, expected;
  } kCases[] = {
      {"a key", u"k1", u"b"},
      {"a key in another case", u"K2", u"a"},
      {"a position", Long{2}, u"a"},
      {"a position as a Double", 0.6, u"b"},
      {"an object comes back as itself", u"obj", object},
      {"a missing key", u"k3", Variant()},
      {"a position outside", Long{4}, Variant()},
      {"Null", Null, Variant()},
  };
  ZtCollections z;
  for (const auto& k : kCases) {
    SCOPED_TRACE(k.what);
    EXPECT_EQ(z.SearchByKey(c, k.key), k.expected) << Describe(z.SearchByKey(c, k.key));
  }
  EXPECT_EQ(z.SearchByKey(nullptr, u"k1"), Variant());
}

// Every item with its key as "value=key" texts, for comparing before and after.
std::vector<Variant> ItemsWithKeys(const Collection& c) {
  std::vector<Variant> out;
  for (Long p = 1; p <= c.Count(); ++p) {
    const String* key = c.Key(p);
    const std::string value = Describe(*c.Item(p));
    String text = key ? *key : String(u"-");
    text += u'=';
    text.append(value.begin(), value.end());
    out.push_back(std::move(text));
  }
  return out;
}

String Digits(int i) {
  const std::string digits = std::to_string(i);
  return String(digits.begin(), digits.end());
}

TEST(CollectionsSort, KeysFollowTheirItems) {
  auto c = Collection::Create();
  c->Add(u"b", u"k1");
  c->Add(u"a", u"k2");
  ZtCollections z;
  z.Sort(c);
  EXPECT_EQ(Items(*c), (std::vector<Variant>{u"a", u"b"}));
  EXPECT_EQ(z.SearchByKey(c, u"k1"), Variant(u"b"));
  EXPECT_EQ(*c->Key(1), u"k2");
  // Nothing to sort.
  z.Sort(nullptr);
  auto one = Of({u"x"});
  z.Sort(one);
  EXPECT_EQ(Items(*one), (std::vector<Variant>{u"x"}));
}

TEST(CollectionsSort, OrdersAndPermutesGeneratedData) {
  std::mt19937 rng(77);
  ZtCollections z;
  SeedRandom(2);
  for (int round = 0; round < 200; ++round) {
    const int n = static_cast<int>(rng() % (round < 180 ? 30 : 1000));
    auto c = Collection::Create();
    std::vector<Variant> values;
    for (int i = 0; i < n; ++i) {
      values.push_back(MixedValue(rng));
      if (rng() % 2) {
        c->Add(values.back(), u"key" + Digits(i));
      } else {
        c->Add(values.back());
      }
    }
    const std::vector<Variant> before = ItemsWithKeys(*c);
    z.Sort(c);
    ASSERT_TRUE(IsPermutation(before, ItemsWithKeys(*c)));
    ASSERT_TRUE(InOrder(Items(*c))) << Describe(Items(*c));
    // Every key still selects the value it was added with.
    for (int i = 0; i < n; ++i) {
      if (const Variant* item = c->Item(u"KEY" + Digits(i))) {
        ASSERT_EQ(*item, values[i]);
      }
    }
  }
}

TEST(CollectionsShuffle, PermutesKeepsKeysAndMovesEveryItem) {
  ZtCollections z;
  SeedRandom(4);
  const int n = 10;
  std::vector<std::vector<int>> seen(n, std::vector<int>(n));
  for (int run = 0; run < 2500; ++run) {
    auto c = Collection::Create();
    for (Long i = 0; i < n; ++i) c->Add(i, u"k" + String(1, static_cast<char16_t>(u'0' + i)));
    z.Shuffle(c);
    ASSERT_EQ(c->Count(), n);
    for (Long p = 1; p <= n; ++p) {
      const Long value = *c->Item(p)->If<Long>();
      ASSERT_EQ(*c->Key(p), u"k" + String(1, static_cast<char16_t>(u'0' + value)));
      ++seen[value][p - 1];
    }
  }
  for (int e = 0; e < n; ++e) {
    for (int pos = 0; pos < n; ++pos) {
      SCOPED_TRACE(testing::Message() << e << " at " << pos);
      EXPECT_GT(seen[e][pos], 150);  // about 250 expected
      EXPECT_LT(seen[e][pos], 350);
    }
  }
  // One item: no exchange, and it keeps its key.
  auto one = Collection::Create();
  one->Add(u"x", u"only");
  z.Shuffle(one);
  EXPECT_EQ(*one->Key(1), u"only");
  z.Shuffle(nullptr);
}

TEST(ZtCollections, CreationReseedsTheGenerator) {
  SeedRandom(9);
  const Long first = platform::RandomBetween(0, 1 << 30);
  SeedRandom(9);
  ZtCollections z;
  EXPECT_NE(platform::RandomBetween(0, 1 << 30), first);
  SeedRandom(9);
  ASSERT_NE(CreateObject(u"ZtCollections"), nullptr);
  EXPECT_NE(platform::RandomBetween(0, 1 << 30), first);
}

TEST(ZtCollections, LateBoundSortOfAHostCollection) {
  const ObjectRef z = CreateObject(u"ZTLData.ZtCollections");
  CollectionRef c = Of({3, 1, 2});
  ASSERT_TRUE(z->Invoke(u"Sort", {ObjectRef(c)}).ok());
  EXPECT_EQ(Items(*c), (std::vector<Variant>{1, 2, 3}));
  EXPECT_EQ(z->Invoke(u"BinarySearch", {ObjectRef(c), Long{2}}), Variant(Long{2}));
  EXPECT_EQ(z->Invoke(u"Sort", {Obj(std::nullopt)}).error(), kTypeMismatch);  // not a collection
}

}  // namespace
}  // namespace ztl
