// ZtArrays, ZtCollections and ZtData beyond the vector corpus: arrays a JSON host cannot write
// (allocated without elements, objects with a default value), sorting, searching and shuffling
// over generated data against plain vectors, and Purge of a date against the clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "../frame/test_values.hpp"
#include "../support/scoped_state.hpp"
#include "frame/variant_ops.hpp"
#include "platform/random_generator.hpp"
#include "ztldata/collections/arrays.hpp"
#include "ztldata/collections/collections.hpp"
#include "ztldata/collections/data.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/random.hpp"

namespace ztl {
namespace {

using testing_values::Obj;
using Values = std::vector<Variant>;

// A one-dimensional array of `type` (its items already of that type), the first at `lower`.
Variant Arr(const Values& items, Long lower = 0, VarType type = VarType::Variant) {
  if (type == VarType::Variant) return SafeArray::Of(items, lower);
  SafeArray a(type, {{lower, static_cast<Long>(items.size())}});
  std::copy(items.begin(), items.end(), a.Elements().begin());
  return a;
}
Values Elements(const Variant& array) {
  const auto elements = array.If<SafeArray>()->Elements();
  return Values(elements.begin(), elements.end());
}
Values Items(const Collection& c) { return Values(c.begin(), c.end()); }

// "Long 7", "String ab", "Null ?", "Object 0x..." : kind and value in one text.
std::string Describe(const Variant& v) {
  if (const ObjectRef* o = v.If<ObjectRef>()) return "Object " + std::to_string(reinterpret_cast<std::uintptr_t>(o->get()));
  std::string out = std::string(VarTypeName(v.Type())) + " ";
  for (char16_t c : ToString(v).value_or(u"?")) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// The values (with the keys of a collection) as sorted texts: equal for two permutations.
std::vector<std::string> Bag(const Values& items, const Collection* keys = nullptr) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const String* key = keys ? keys->Key(static_cast<Long>(i) + 1) : nullptr;
    out.push_back(Describe(items[i]) + "=" + (key ? std::string(key->begin(), key->end()) : "-"));
  }
  std::sort(out.begin(), out.end());
  return out;
}

// In order under CompareVariants, with the Nulls and NaNs (which sort after everything,
// themselves included) last.
bool InOrder(const Values& items) {
  auto last = [](const Variant& v) { return v.IsNull() || (v.If<Double>() && std::isnan(*v.If<Double>())); };
  std::size_t n = items.size();
  while (n > 0 && last(items[n - 1])) --n;
  return std::none_of(items.begin(), items.begin() + n, last) &&
         std::is_sorted(items.begin(), items.begin() + n, [](auto& a, auto& b) { return CompareVariants(b, a) > 0; });
}

// A value of `type` (of mixed kinds for Variant, Empty and Null among them) from small ranges,
// so that equal values recur.
Variant RandomValue(std::mt19937& rng, VarType type = VarType::Variant) {
  const int v = static_cast<int>(rng() % 7) - 3;
  const String text(1 + rng() % 2, static_cast<char16_t>(u'a' + rng() % 3));
  if (type == VarType::Double) return rng() % 20 == 0 ? std::nan("") : v + 0.5;
  const Variant kinds[] = {Long(v * 1000 + static_cast<int>(rng() % 10) * 2), text, Integer(v), v + 0.5, v < 0,
                           Date{40000.0 + v}, Variant(), Null};
  return kinds[type == VarType::Long ? 0 : type == VarType::String ? 1 : rng() % 8];
}

TEST(ZtArrays, ArraysWithoutElementsAndObjects) {
  ZtArrays a;
  for (const Long lower : {0, 5}) {  // (0 to -1) and (5 to 4)
    Variant array = Arr({}, lower);
    EXPECT_EQ(a.Dimensions(array), 1);
    EXPECT_TRUE(a.IsEmpty(array));
    for (const Variant& m : {a.GetMax(array), a.GetMin(array), a.GetSum(array), a.GetMed(array)}) EXPECT_TRUE(m.IsNull());
    EXPECT_EQ(a.BinarySearch(array, Long{0}), lower - 1);
    a.Sort(array), a.Shuffle(array);
    EXPECT_EQ(array, Arr({}, lower));
  }
  Variant empty_dimension = SafeArray(VarType::Long, {{0, 2}, {0, 0}});
  EXPECT_TRUE(a.IsEmpty(empty_dimension));
  // An object is measured by its default value and kept as itself.
  const Variant ten = Obj(Variant(Long{10}));
  Variant array = Arr({Long{3}, ten});
  EXPECT_EQ(a.GetMax(array), ten);
  EXPECT_EQ(a.GetSum(array), Variant(Long{13}));
  EXPECT_EQ(a.Search(array, Long{10}), 1);
}

TEST(ZtArrays, SortOrdersAndPermutesGeneratedArraysOfEveryType) {
  std::mt19937 rng(2026);
  ZtArrays a;
  const auto seeded = testing_support::ScopedSeed(1);
  for (const VarType type : {VarType::Variant, VarType::Long, VarType::Double, VarType::String}) {
    for (int round = 0; round < 200; ++round) {
      Values items(rng() % (round < 180 ? 40 : 1500));
      for (Variant& v : items) v = RandomValue(rng, type);
      const Long lower = static_cast<Long>(rng() % 5) - 2;
      Variant array = Arr(items, lower, type);
      a.Sort(array);
      const Values sorted = Elements(array);
      ASSERT_EQ(Bag(items), Bag(sorted)) << round;
      ASSERT_TRUE(InOrder(sorted)) << round;
      for (const Variant& v : type == VarType::Long ? sorted : Values()) {  // found, or one equal to it
        const Long at = a.BinarySearch(array, v) - lower;
        ASSERT_GE(at, 0);
        ASSERT_LT(at, static_cast<Long>(items.size()));
        ASSERT_EQ(sorted[at], v);
        ASSERT_EQ(a.BinarySearch(array, *v.If<Long>() + 1), lower - 1);  // between the values: never there
      }
    }
  }
  // Many equal or incomparable elements make every partition lopsided; the sort still ends
  // promptly.
  const int n = 20000;
  std::vector<Values> cases = {Values(n, Long{7}), {}, Values(n, Null), Values(n / 10)};
  for (int i = 0; i < n; ++i) cases[1].push_back(i % 3 == 0);
  cases[2][n / 2] = Long{1};
  for (Variant& v : cases[3]) v = Obj(std::nullopt);  // objects without a default value
  for (const Values& items : cases) {
    Variant array = Arr(items);
    a.Sort(array);
    ASSERT_EQ(Bag(items), Bag(Elements(array)));
    if (!items[0].IsObject()) {
      EXPECT_TRUE(InOrder(Elements(array)));
    }
  }
}

TEST(ZtCollections, MatchesTheItemsOverGeneratedRuns) {
  ZtCollections z;
  const testing_support::Restore clock([] { RandomizeFromClock(); });  // the loop seeds
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    SeedRandom(seed);
    auto c = Collection::Create();
    bool sorted = true;
    for (int step = 0; step < 600; ++step) {
      const unsigned op = rng() % 100;
      const Variant value = op % 4 == 0 ? RandomValue(rng) : Variant(Long(rng() % 30));
      const Values items = Items(*c);
      const Long n = c->Count();
      const auto equal = std::find_if(items.begin(), items.end(), [&](auto& v) { return CompareVariants(v, value) == 0; });
      if (op < 30) {  // half the items have keys
        const String key = u"key" + String(1, static_cast<char16_t>(u'a' + step % 26)) + String(step / 26, u'z');
        ASSERT_TRUE(rng() % 2 ? c->Add(value, key) : c->Add(value));
        sorted = n == 0;
      } else if (op < 50) {  // the first equal item, or 0
        ASSERT_EQ(z.Search(c, value), equal == items.end() ? 0 : equal - items.begin() + 1) << Describe(value);
      } else if (op < 65 && n > 0) {  // by key in any case, or by position
        const Long p = 1 + static_cast<Long>(rng() % n);
        if (const String* key = c->Key(p)) { ASSERT_EQ(z.SearchByKey(c, u"KEY" + key->substr(3)), *c->Item(p)); }
        ASSERT_EQ(z.SearchByKey(c, p), *c->Item(p));
        ASSERT_TRUE(z.SearchByKey(c, n + 1).IsEmpty());
      } else if (op < 90) {  // every item keeps its key
        const auto before = Bag(items, c.get());
        op < 80 ? z.Sort(c) : z.Shuffle(c);
        ASSERT_EQ(Bag(Items(*c), c.get()), before);
        if (op < 80) {
          ASSERT_TRUE(InOrder(Items(*c)));
        }
        sorted = op < 80 || n < 2;
      } else if (sorted && value.If<Long>()) {  // an equal item, or 0 when there is none
        const Long found = z.BinarySearch(c, value);
        if (found) {
          ASSERT_EQ(CompareVariants(*c->Item(found), value), 0) << Describe(value);
        } else {
          ASSERT_TRUE(equal == items.end()) << "none found, yet one is equal: " << Describe(value);
        }
      }
    }
  }
}

TEST(ZtCollections, BinarySearchServesLargeCollections) {
  auto c = Collection::Create();  // past the reach of 16-bit positions
  for (Long i = 0; i < 70000; ++i) c->Add(i * 2);
  ZtCollections z;
  for (Long i : {0, 1, 32766, 32767, 32768, 40000, 69999}) {
    EXPECT_EQ(z.BinarySearch(c, i * 2), i + 1) << i;
    EXPECT_EQ(z.BinarySearch(c, i * 2 + 1), 0) << i << " + 1";
  }
}

// The same exchanges as on an array under the same seed, keys following their items; and
// creating a ZtCollections reseeds the generator.
TEST(ZtCollections, ShufflesAsAnArrayDoesAndCreationReseeds) {
  Values items;
  auto c = Collection::Create();
  for (Long i = 0; i < 30; ++i) items.push_back(i), c->Add(i, String(1, static_cast<char16_t>(u'A' + i)));
  Variant array = Arr(items, 1);
  ZtCollections z;
  SeedRandom(4);
  ZtArrays().Shuffle(array);
  SeedRandom(4);
  z.Shuffle(c);
  ASSERT_EQ(Items(*c), Elements(array));
  for (Long p = 1; p <= 30; ++p) EXPECT_EQ(*c->Key(p), String(1, static_cast<char16_t>(u'A' + *c->Item(p)->If<Long>())));
  SeedRandom(9);
  const Long first = platform::RandomBetween(0, 1 << 30);
  for (const bool late_bound : {false, true}) {
    SeedRandom(9);
    late_bound ? (void)CreateObject(u"ZtCollections") : (void)ZtCollections();
    EXPECT_NE(platform::RandomBetween(0, 1 << 30), first);
  }
}

TEST(ZtData, PurgeOfADateGivesNowInWholeSeconds) {
  // Compared with the clock, allowing a day either way for the time zone.
  const Variant now = ZtData().Purge(Date{1.5});
  ASSERT_NE(now.If<Date>(), nullptr);
  const double day = now.If<Date>()->value, seconds = (day - std::floor(day)) * 86400;
  const std::chrono::duration<double, std::ratio<86400>> unix_days = std::chrono::system_clock::now().time_since_epoch();
  EXPECT_NEAR(day, unix_days.count() + 25569, 1.01);
  EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
}

}  // namespace
}  // namespace ztl
