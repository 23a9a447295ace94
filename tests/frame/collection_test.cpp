// The host's collection: adding at every place, lookup by position and by key (keys ignore
// case), removal, exchange, the errors it reports, its late-bound members, and a long random
// run against a plain reference model.

#include <gtest/gtest.h>

#include "../support/text.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/typelib.hpp"

namespace ztl {
namespace {

using testing_support::Narrow;

// The items in order, "value" or "value=key", joined by spaces; items are texts or Longs.
std::string Summary(const Collection& c) {
  std::string out;
  for (Long p = 1; p <= c.Count(); ++p) {
    if (!out.empty()) out += ' ';
    const Variant& item = *c.Item(p);
    if (const String* s = item.If<String>()) out += Narrow(*s);
    else if (const Long* l = item.If<Long>()) out += std::to_string(*l);
    else out += "?";
    if (const String* key = c.Key(p)) {
      out += '=';
      out += Narrow(*key);
    }
  }
  return out;
}

// A collection of a=ka, b, c=kc.
CollectionRef ThreeItems() {
  auto c = Collection::Create();
  c->Add(u"a", u"ka");
  c->Add(u"b");
  c->Add(u"c", u"kc");
  return c;
}

const Variant kNone = Variant::Missing();

TEST(CollectionAdd, AtEveryPlace) {
  const struct {
    const char* what;
    Variant key, before, after;
    Long code;
    const char* summary;
  } kCases[] = {
      {"at the end", u"kd", kNone, kNone, 0, "a=ka b c=kc d=kd"},
      {"without a key", kNone, kNone, kNone, 0, "a=ka b c=kc d"},
      {"before position 1", kNone, Long{1}, kNone, 0, "d a=ka b c=kc"},
      {"before the last", kNone, Long{3}, kNone, 0, "a=ka b d c=kc"},
      {"after the last", kNone, kNone, Long{3}, 0, "a=ka b c=kc d"},
      {"after position 1", u"kd", kNone, Long{1}, 0, "a=ka d=kd b c=kc"},
      {"before a key, any case", kNone, u"KC", kNone, 0, "a=ka b d c=kc"},
      {"after a key", kNone, kNone, u"ka", 0, "a=ka d b c=kc"},
      {"a position as a Double rounds half to even", kNone, 2.5, kNone, 0, "a=ka d b c=kc"},
      {"a position as text is a key", kNone, u"1", kNone, kInvalidProcedureCall, "a=ka b c=kc"},
      {"the key is used", u"KA", kNone, kNone, kKeyInUse, "a=ka b c=kc"},
      {"before and after", kNone, Long{1}, Long{2}, kInvalidProcedureCall, "a=ka b c=kc"},
      {"before position 0", kNone, Long{0}, kNone, kInvalidProcedureCall, "a=ka b c=kc"},
      {"after position 4", kNone, kNone, Long{4}, kInvalidProcedureCall, "a=ka b c=kc"},
      {"before a missing key", kNone, u"kb", kNone, kInvalidProcedureCall, "a=ka b c=kc"},
      {"a key that is no text", Long{5}, kNone, kNone, kTypeMismatch, "a=ka b c=kc"},
      {"an index that is Null", kNone, Null, kNone, kTypeMismatch, "a=ka b c=kc"},
      {"an index beyond the Long range", kNone, 1e20, kNone, kOverflow, "a=ka b c=kc"},
      {"an empty key is a key", u"", kNone, kNone, 0, "a=ka b c=kc d="},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    CollectionRef items = ThreeItems();
    EXPECT_EQ(items->Add(u"d", c.key, c.before, c.after).error(), c.code);
    EXPECT_EQ(Summary(*items), c.summary);
  }
}

TEST(CollectionAdd, SimpleFormRefusesAUsedKey) {
  auto c = Collection::Create();
  EXPECT_TRUE(c->Add(Long{1}, u"k"));
  EXPECT_FALSE(c->Add(Long{2}, u"K"));
  EXPECT_TRUE(c->Add(Long{3}));
  EXPECT_EQ(Summary(*c), "1=k 3");
}

TEST(CollectionKeys, CompareWithoutRegardToCase) {
  const struct {
    std::u16string_view first, second;
    bool same;
  } kCases[] = {
      {u"abc", u"ABC", true},
      {u"Key1", u"kEY1", true},
      {u"\u00C4rger", u"\u00E4RGER", true},  // Latin-1 letters: Ä and ä
      {u"\u00FF", u"\u0178", true},          // ÿ and Ÿ (outside Latin-1)
      {u"\u00DE", u"\u00FE", true},          // Þ and þ
      {u"\u00D7", u"\u00F7", false},         // × and ÷ are no case pair
      {u"\u03A3", u"\u03C2", true},          // Σ and final ς
      {u"\U00010400", u"\U00010428", true},  // a pair outside the first plane
      {u"\u00DF", u"SS", false},             // ß does not become two letters
      {u"e", u"\u00E9", false},              // accents count
      {u"a ", u"a", false},
      {u"\xD800", u"\xD800", true},          // a lone surrogate is kept as it is
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Narrow(String(c.first)) + " / " + Narrow(String(c.second)));
    auto items = Collection::Create();
    ASSERT_TRUE(items->Add(u"first", String(c.first)));
    EXPECT_EQ(items->Add(u"second", String(c.second)), !c.same);
    const Variant* found = items->Item(String(c.second));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, Variant(c.same ? u"first" : u"second"));
    // The key reads back as it was given.
    EXPECT_EQ(*items->Key(1), String(c.first));
  }
}

TEST(CollectionItem, ByPositionOrKey) {
  CollectionRef c = ThreeItems();
  const struct {
    const char* what;
    Variant index;
    Long code;
    Long position;
  } kCases[] = {
      {"a Long", Long{2}, 0, 2},
      {"an Integer", Integer{3}, 0, 3},
      {"a Double rounds half to even", 1.5, 0, 2},
      {"a Boolean True is -1", true, kInvalidProcedureCall, 0},
      {"a key", u"kC", 0, 3},
      {"Empty is position 0", Variant(), kInvalidProcedureCall, 0},
      {"past the end", Long{4}, kInvalidProcedureCall, 0},
      {"a missing key", u"b", kInvalidProcedureCall, 0},
      {"Null", Null, kTypeMismatch, 0},
      {"an array", SafeArray::Of({Long{1}}), kTypeMismatch, 0},
      {"an object without a default value", ObjectRef(Collection::Create()), kTypeMismatch, 0},
  };
  for (const auto& k : kCases) {
    SCOPED_TRACE(k.what);
    const Outcome<Long> position = c->Locate(k.index);
    EXPECT_EQ(position.error(), k.code);
    if (k.code == 0) {
      EXPECT_EQ(position, k.position);
      EXPECT_EQ(c->Item(k.index), c->Item(k.position));
    } else {
      EXPECT_EQ(c->Item(k.index), nullptr);
    }
  }
  EXPECT_EQ(c->Item(Long{0}), nullptr);
  EXPECT_EQ(c->Key(2), nullptr);
  EXPECT_EQ(c->Key(4), nullptr);
}

TEST(CollectionRemove, ByPositionOrKeyKeepsTheOtherKeys) {
  const struct {
    Variant index;
    Long code;
    const char* summary;
  } kCases[] = {
      {Long{1}, 0, "b c=kc"},
      {Long{2}, 0, "a=ka c=kc"},
      {u"KA", 0, "b c=kc"},
      {u"kc", 0, "a=ka b"},
      {Long{0}, kInvalidProcedureCall, "a=ka b c=kc"},
      {u"kb", kInvalidProcedureCall, "a=ka b c=kc"},
  };
  for (const auto& k : kCases) {
    SCOPED_TRACE(k.summary);
    CollectionRef c = ThreeItems();
    EXPECT_EQ(c->Remove(k.index).error(), k.code);
    EXPECT_EQ(Summary(*c), k.summary);
    // Every remaining key still selects its own item, and a removed key is free again.
    for (Long p = 1; p <= c->Count(); ++p) {
      if (const String* key = c->Key(p)) {
        EXPECT_EQ(c->Item(*key), c->Item(p));
      }
    }
    const bool ka_free = Summary(*c).find("=ka") == std::string::npos;
    EXPECT_EQ(c->Add(u"again", u"ka"), ka_free);
  }
}

// ---- late-bound --------------------------------------------------------------------------

TEST(CollectionDispatch, MembersAsTheHostCallsThem) {
  auto c = Collection::Create();
  ASSERT_NE(c->Class(), nullptr);
  EXPECT_EQ(c->Class()->name, "Collection");
  // Hosts make their own collections: the registry neither lists nor creates this class.
  EXPECT_EQ(FindClass(u"Collection"), nullptr);
  for (const ClassInfo* info : Classes()) EXPECT_NE(info, c->Class());

  EXPECT_TRUE(c->Invoke(u"Add", {u"a"}).ok());
  EXPECT_TRUE(c->Invoke(u"add", {u"b", u"kb"}).ok());
  EXPECT_TRUE(c->Invoke(u"Add", {u"z", Variant::Missing(), Long{1}}).ok());       // before position 1
  EXPECT_TRUE(c->Invoke(u"Add", {u"y", u"ky", Variant::Missing(), u"KB"}).ok());  // after the key kb
  EXPECT_EQ(Summary(*c), "z a b=kb y=ky");
  EXPECT_EQ(c->Invoke(u"Count"), Variant(Long{4}));
  std::vector<Variant> by_key{u"KY"};
  EXPECT_EQ(c->Invoke(0, by_key), Variant(u"y"));  // Item is the default member
  EXPECT_EQ(c->Invoke(u"Item", {2.0}), Variant(u"a"));
  EXPECT_TRUE(c->Invoke(u"Remove", {u"kb"}).ok());
  EXPECT_TRUE(c->Invoke(u"Remove", {Long{1}}).ok());
  EXPECT_EQ(Summary(*c), "a y=ky");
  EXPECT_EQ(std::vector<Variant>(c->begin(), c->end()), (std::vector<Variant>{u"a", u"y"}));

  // Misuse changes nothing and fails as the host's collection does.
  const auto error_of = [&](std::u16string_view member, std::initializer_list<Variant> args) {
    return c->Invoke(member, args).error();
  };
  EXPECT_EQ(error_of(u"Add", {u"dup", u"ky"}), 457);
  EXPECT_EQ(error_of(u"Add", {u"x", Variant::Missing(), Long{1}, Long{1}}), 5);
  EXPECT_EQ(error_of(u"Remove", {Long{7}}), 5);
  EXPECT_EQ(error_of(u"Item", {u"nokey"}), 5);
  EXPECT_EQ(Summary(*c), "a y=ky");
  EXPECT_NE(error_of(u"Add", {}), 0);
  EXPECT_NE(error_of(u"Sort", {}), 0);
}

TEST(CollectionDispatch, HostileArgumentsFailOnlyAsTheHostsCollectionDoes) {
  const std::vector<Variant> hostile = {
      Variant(), Null, Variant::Missing(), ErrorValue{5}, true, Long{-2147483647 - 1}, Long{1}, 1e308,
      std::numeric_limits<double>::quiet_NaN(), Currency{std::numeric_limits<std::int64_t>::min()},
      Decimal{~0ull, ~0u, 0, true}, String(), String(u"\uFDD0"), String(70000, u'\xFFFF'), nullptr,
      ObjectRef(Collection::Create()), SafeArray(), SafeArray::Of({Long{1}, u"k"}, -1),
  };
  auto c = ThreeItems();
  for (const MemberInfo& member : c->Class()->members) {
    SCOPED_TRACE(std::string(member.name));
    for (std::size_t position = 0; position < std::max<std::size_t>(member.params.size(), 1); ++position) {
      for (const Variant& value : hostile) {
        std::vector<Variant> args(member.params.size(), Variant(Long{1}));
        if (!args.empty()) args[position] = value;
        Variant result;
        const Long code = Call(*c, member, args, result).error();
        // Dispatch errors, and the collection's own: invalid call, duplicate key, type
        // mismatch, overflow.
        ASSERT_TRUE(code == 0 || code == 449 || code == 5 || code == 457 || code == 13 || code == 6) << code;
        // Whatever happened, positions and keys still agree.
        for (Long p = 1; p <= c->Count(); ++p) {
          if (const String* key = c->Key(p)) {
            ASSERT_EQ(c->Item(*key), c->Item(p));
          }
        }
        if (c->Count() > 50) c = ThreeItems();
      }
    }
  }
}

// ---- a long random run against a plain model ---------------------------------------------

// The model: a list of items with keys, searched from the start; keys fold ASCII and Latin-1
// capitals to small letters, which is all the run uses.
struct Model {
  struct Entry {
    Long value;
    std::optional<String> key;
  };
  std::vector<Entry> entries;

  static String Fold(const String& s) {
    String out = s;
    for (char16_t& ch : out) {
      if ((ch >= u'A' && ch <= u'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) ch = static_cast<char16_t>(ch + 32);
    }
    return out;
  }
  // The position 1..n an index (a Long or a key) selects, or 0.
  Long Find(const Variant& index) const {
    if (const Long* p = index.If<Long>()) return *p >= 1 && *p <= static_cast<Long>(entries.size()) ? *p : 0;
    const String wanted = Fold(*index.If<String>());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].key && Fold(*entries[i].key) == wanted) return static_cast<Long>(i + 1);
    }
    return 0;
  }
};

TEST(Collection, AgreesWithAPlainModelOverARandomRun) {
  const String kKeys[] = {u"a", u"A", u"b", u"B", u"\u00E4", u"\u00C4", u"ab", u"aB", u"\u00FEx", u"\u00DEX",
                          u"c", u"d"};
  std::mt19937 rng(4711);
  auto c = Collection::Create();
  Model m;
  Long next = 0;
  auto pick_index = [&]() -> Variant {
    if (rng() % 2) return Long(static_cast<Long>(rng() % (m.entries.size() + 2)));
    return kKeys[rng() % std::size(kKeys)];
  };
  for (int step = 0; step < 20000; ++step) {
    SCOPED_TRACE(step);
    const unsigned op = rng() % 10;
    if (op < 5) {  // add, at the end or before or after an index
      const Long value = next++;
      std::optional<String> key;
      if (rng() % 3 == 0) key = kKeys[rng() % std::size(kKeys)];
      const unsigned where = rng() % 3;
      const Variant index = where ? pick_index() : Variant::Missing();
      Long expected = 0;
      Long at = static_cast<Long>(m.entries.size());
      if (key && m.Find(*key)) expected = kKeyInUse;
      if (where) {
        const Long p = m.Find(index);
        if (p == 0) expected = kInvalidProcedureCall;
        else at = where == 1 ? p - 1 : p;
      }
      const Variant key_arg = key ? Variant(*key) : Variant::Missing();
      const Long code = c->Add(value, key_arg, where == 1 ? index : Variant::Missing(),
                               where == 2 ? index : Variant::Missing())
                            .error();
      // Both errors may apply; either one is right.
      if (expected == 0) {
        ASSERT_EQ(code, 0);
        m.entries.insert(m.entries.begin() + at, {value, key});
      } else {
        ASSERT_NE(code, 0);
      }
    } else if (op < 8) {  // remove
      const Variant index = pick_index();
      const Long p = m.Find(index);
      ASSERT_EQ(c->Remove(index).error(), p ? 0 : kInvalidProcedureCall);
      if (p) m.entries.erase(m.entries.begin() + (p - 1));
    } else if (!m.entries.empty()) {  // exchange
      const auto n = m.entries.size();
      const Long i = static_cast<Long>(rng() % n + 1), j = static_cast<Long>(rng() % n + 1);
      ASSERT_TRUE(c->Exchange(i, j));
      std::swap(m.entries[i - 1], m.entries[j - 1]);
    }
    ASSERT_EQ(c->Count(), static_cast<Long>(m.entries.size()));
    if (step % 50 == 0 || c->Count() < 8) {
      for (Long p = 1; p <= c->Count(); ++p) {
        const Model::Entry& e = m.entries[p - 1];
        ASSERT_EQ(*c->Item(p), Variant(e.value));
        ASSERT_EQ(c->Key(p) != nullptr, e.key.has_value());
        if (e.key) {
          ASSERT_EQ(*c->Key(p), *e.key);
        }
      }
      for (const String& key : kKeys) {
        const Long p = m.Find(key);
        const Variant* item = c->Item(key);
        ASSERT_EQ(item != nullptr, p != 0);
        if (p) {
          ASSERT_EQ(*item, Variant(m.entries[p - 1].value));
        }
      }
    }
    // Keep the collection small enough for keys to collide and to empty now and then.
    if (m.entries.size() > 40) {
      ASSERT_TRUE(c->Remove(Long{1}).ok());
      m.entries.erase(m.entries.begin());
    }
  }
}

}  // namespace
}  // namespace ztl
