// Late-bound calls as a C++ host makes them: what the vector corpus cannot say (slot calls,
// messages, the registry and containers), the invariants of the interface tables that the
// describe golden file does not show, every member called with hostile arguments (nothing may
// crash or throw, and the only errors are the dispatch layer's own), Outcome (the
// value-or-error-number every step that may fail returns) with the error texts, and the host's
// collection through its own late-bound members and typed API: the error numbers of Add, Item
// and Remove (the corpus reaches lookups only through ZtCollections.SearchByKey, which turns
// every failure into Empty), and a long random run against a plain model.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../support/scoped_state.hpp"
#include "../support/text.hpp"
#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/ztldata.hpp"

namespace ztl {
namespace {

using testing_support::Wide;

TEST(Interfaces, EveryMemberIsReachableAndEveryIdNamesOneMemberOfAKind) {
  for (const ClassInfo* info : Classes()) {
    SCOPED_TRACE(std::string(info->name));
    EXPECT_EQ(info->event_iid == Guid{}, info->kind == ClassKind::Utility);
    std::set<std::pair<DispId, MemberKind>> seen;
    for (const MemberInfo& m : info->members) {
      EXPECT_TRUE(seen.insert({m.dispid, m.kind}).second) << m.name;
      EXPECT_EQ(FindMember(*info, Wide(std::string(m.name)), m.kind), &m) << m.name;
      EXPECT_EQ(FindMember(*info, m.dispid, m.kind), &m) << m.name;
    }
  }
}

TEST(Dispatch, SlotCallsAndMessages) {
  const ObjectRef n = CreateObject(u"ZTLData.ZtNumeric");
  std::vector<Variant> args{Long{97}};
  EXPECT_EQ(n->InvokeSlot(13, args), Variant(true));
  EXPECT_EQ(n->InvokeSlot(0, args).error(), kNoSuchMember);
  EXPECT_EQ(n->InvokeSlot(21, args).error(), kNoSuchMember);
  // Through its slot a parameter array is passed as the array itself, not gathered.
  std::vector<Variant> not_packed{u"%d", Long{1}};
  EXPECT_EQ(CreateObject(u"ZtStrings")->InvokeSlot(8, not_packed).error(), kTypeMismatch);
  // A failed call leaves the result alone (its message, naming the argument: the command line
  // transcripts).
  const ObjectRef bases = CreateObject(u"ZtBases");
  std::vector<Variant> text{u"abc"};
  Variant result = Long{5};
  EXPECT_EQ(Call(*bases, *FindMember(*bases->Class(), u"LoByte", MemberKind::Method), text, result).error(), kTypeMismatch);
  EXPECT_EQ(result, Variant(Long{5}));
  // An object that is no collection for a Collection parameter.
  EXPECT_EQ(CreateObject(u"ZtCollections")->Invoke(u"Search", {bases, Long{1}}).error(), kTypeMismatch);
}

TEST(Registry, CreatesUtilityClassesOnlyAndContainersPlaceComponents) {
  ASSERT_EQ(Classes().size(), 16u);
  Container form;
  for (const ClassInfo* info : Classes()) {
    const String bare = Wide(std::string(info->name));
    const bool utility = info->kind == ClassKind::Utility;
    for (const ObjectRef& made : {CreateObject(u"ZTLData." + bare), CreateObject(info->clsid)}) {
      EXPECT_EQ(made ? made->Class() : nullptr, utility ? info : nullptr) << info->name;
    }
    const ComponentRef placed = form.Place(bare);
    EXPECT_EQ(placed && placed->Class() == info && !placed->TabStop(), !utility) << info->name;
  }
  for (const char16_t* n : {u"ZTLData.", u"Other.ZtNumeric", u"", u"Collection"}) EXPECT_EQ(CreateObject(n), nullptr);
  EXPECT_EQ(CreateObject(Library().libid), nullptr);
  EXPECT_NE(CreateObject(u"ztldata.ztnumeric"), nullptr);
}

// ---- hostile arguments -------------------------------------------------------------------

std::vector<Variant> HostileValues() {
  auto collection = Collection::Create();
  collection->Add(Long{3});
  collection->Add(u"x", String(u"key"));
  collection->Add(Null);
  SafeArray grid(VarType::Long, {{-2, 3}, {5, 2}});
  return {Variant(), Null, Variant::Missing(), ErrorValue{5}, true, Byte{255}, Integer{-32768},
          Long{-2147483647 - 1}, Long{2147483647}, Long{0}, Long{-1}, Long{1}, Long{32}, Single{-0.0f},
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN(), 1e308, -1e-308, 2.5,
          Currency{std::numeric_limits<std::int64_t>::min()}, Date{2958465.99999}, Date{-657434},
          Decimal{~0ull, ~0u, 0, true}, String(), String(u"~"), String(u"12,5e3"), String(u"\uFDD0"),
          String(70000, u'\xFFFF'), String(u"\xD800 lone surrogate"), nullptr, ObjectRef(collection),
          ObjectRef(CreateObject(u"ZtNumeric")), SafeArray(), SafeArray(VarType::Double),
          SafeArray::Of({Long{3}, u"b", Null, Variant(), 1.5}, -1), grid,
  };
}

// The dispatch layer's errors; the host's collection also raises its own (invalid call,
// duplicate key).
bool IsDispatchError(Long code, const Object& object) {
  if (object.Class()->name == "Collection" && (code == kInvalidProcedureCall || code == kKeyInUse)) return true;
  return code == 0 || code == kTypeMismatch || code == kOverflow || code == kArgumentCount ||
         code == kArgumentNotOptional;
}

// Runs in a folder of its own (hostile values reach file operations as file names), with the
// about box showing nowhere (About is called too).
struct Sandbox {
  std::filesystem::path previous = std::filesystem::current_path();
  std::string folder = (std::filesystem::temp_directory_path() / "ztl-bad-input-XXXXXX").string();
  Sandbox() { std::filesystem::current_path(mkdtemp(folder.data())); SetAboutDisplay([](std::string_view) {}); }
  ~Sandbox() { SetAboutDisplay(nullptr); std::filesystem::current_path(previous); std::filesystem::remove_all(folder); }
};

TEST(BadInput, EveryMemberWithEveryHostileValueInEveryPositionThroughBothForms) {
  Sandbox sandbox;
  const auto seeded = testing_support::ScopedSeed(7);
  // The objects to call: one of each utility class, each component placed in a form, and a
  // host's collection.
  Container form;
  std::vector<ObjectRef> objects;
  for (const ClassInfo* info : Classes()) {
    const String name(info->name.begin(), info->name.end());
    objects.push_back(info->kind == ClassKind::Utility ? CreateObject(name) : ObjectRef(form.Place(name)));
  }
  const CollectionRef collection = Collection::Create();
  for (const char16_t* key : {u"ka", u"kb", u"kc"}) collection->Add(String(key), String(key));
  objects.push_back(collection);
  const std::vector<Variant> hostile = HostileValues();
  std::mt19937 pick(20261206);
  for (const ObjectRef& object : objects) {
    ASSERT_NE(object, nullptr);
    for (const MemberInfo& member : object->Class()->members) {
      SCOPED_TRACE(std::string(object->Class()->name) + "." + std::string(member.name));
      const std::size_t arity = member.params.size();
      // Each argument position in turn gets each hostile value, the others ordinary ones; then
      // argument lists of random hostile values, too short and too long.
      for (std::size_t round = 0; round < std::max<std::size_t>(arity, 1) * hostile.size() + 20; ++round) {
        std::vector<Variant> args(arity, Variant(Long{1}));
        if (round / hostile.size() < arity) {
          args[round / hostile.size()] = hostile[round % hostile.size()];
        } else {
          args.resize(pick() % (arity + 3));
          for (Variant& a : args) a = hostile[pick() % hostile.size()];
        }
        Variant result;
        CallFailure failure;
        const CallForm call_form = round % 2 ? CallForm::Slot : CallForm::Dispatch;
        const Long code = Call(*object, member, args, result, call_form, &failure).error();
        const std::string& message = failure.message;
        ASSERT_TRUE(IsDispatchError(code, *object)) << code << " " << message;
        EXPECT_EQ(code != 0, !message.empty());
        // Whatever a call did, the collection's positions and keys still agree.
        for (Long p = 1; p <= collection->Count(); ++p) {
          if (collection->Key(p)) {
            ASSERT_EQ(collection->Item(*collection->Key(p)), collection->Item(p)) << p;
          }
        }
      }
    }
  }
}

// ---- Outcome -------------------------------------------------------------------------------

template <class T>
__attribute__((noinline)) Outcome<T> Produce(bool fail, T value) {
  if (fail) return Fail(kOverflow);
  return value;
}

// A failed assignment leaves the target as it was. Small structs are the case an optimiser
// once got wrong (a dropped store), so they are here.
template <class T>
__attribute__((noinline)) T Assign(bool fail, T value) {
  T result{};
  result = Produce(fail, value).value_or(result);
  return result;
}

Outcome<Long> Half(Long x) { return x % 2 ? Outcome<Long>(Fail(kInvalidProcedureCall)) : Outcome<Long>(x / 2); }
Outcome<Long> Quarter(Long x) {
  ZTL_TRY(half, Half(x));
  return Half(half);
}
Status Even(Long x) {
  ZTL_CHECK(Half(x));
  return Done();
}

TEST(Outcome, AssignsPassesFailuresOnAndComparesByValueOrFailure) {
  EXPECT_EQ(Assign(true, Date{45000.5}).value, 0);
  EXPECT_EQ(Assign(false, Date{45000.5}).value, 45000.5);
  EXPECT_EQ(Assign(true, Currency{123}).scaled, 0);
  for (const Long x : {8, 6, 3}) {  // both steps pass, the second fails, the first fails
    EXPECT_EQ(Quarter(x).value_or(-1), x == 8 ? 2 : -1);
    EXPECT_EQ(Quarter(x).error(), x == 8 ? 0 : kInvalidProcedureCall);
    EXPECT_EQ(Half(x).and_then(Half).error(), Quarter(x).error());
    EXPECT_EQ(Half(x).transform([](Long h) { return h * 2 + 1; }).value_or(0), x == 3 ? 0 : x + 1);
    EXPECT_EQ(Even(x).error(), x == 3 ? kInvalidProcedureCall : 0);
  }
  EXPECT_FALSE(Outcome<Long>(Fail(kOverflow)) == 0);  // a failure equals no value
  EXPECT_FALSE(Outcome<Long>(Fail(kOverflow)) == Fail(kTypeMismatch));
  EXPECT_FALSE(Outcome<Long>(0) == Fail(kOverflow));
  // Known error numbers have their own text, others a generic one.
  EXPECT_STREQ(ErrorText(kTypeMismatch), "Type mismatch");
  EXPECT_STREQ(ErrorText(kKeyInUse), "This key is already associated with an element of this collection");
  for (const Long unknown : {0, 1, 999, -13}) EXPECT_STREQ(ErrorText(unknown), "Automation error");
}

// ---- The host's collection --------------------------------------------------------------

const Variant kNone = Variant::Missing();

// The items (texts) in order, "value" or "value=key", joined by spaces.
std::string Summary(const Collection& c) {
  std::string out;
  for (Long p = 1; p <= c.Count(); ++p) {
    out += (p > 1 ? " " : "") + testing_support::Narrow(*c.Item(p)->If<String>());
    if (const String* key = c.Key(p)) out += "=" + testing_support::Narrow(*key);
  }
  return out;
}

CollectionRef ThreeItems() {  // a=ka, b, c=kc
  auto c = Collection::Create();
  c->Add(u"a", u"ka");
  c->Add(u"b");
  c->Add(u"c", u"kc");
  return c;
}

TEST(Collection, AddItemAndRemoveAsTheHostCallsThem) {
  // Add's Key, Before and After, the error number, the items after the call.
  const std::tuple<Variant, Variant, Variant, Long, std::string> kAdds[] = {
      {kNone, Long{1}, kNone, 0, "d a=ka b c=kc"},
      {kNone, kNone, u"KA", 0, "a=ka d b c=kc"},
      {u"KA", kNone, kNone, kKeyInUse, "a=ka b c=kc"},
      {kNone, Long{1}, Long{2}, kInvalidProcedureCall, "a=ka b c=kc"},  // before and after
      {Long{5}, kNone, kNone, kTypeMismatch, "a=ka b c=kc"},  // a key that is no text
      {kNone, 1e20, kNone, kOverflow, "a=ka b c=kc"},
  };
  for (const auto& [key, before, after, code, summary] : kAdds) {
    CollectionRef items = ThreeItems();
    EXPECT_EQ(items->Invoke(u"Add", {u"d", key, before, after}).error(), code) << summary;
    EXPECT_EQ(Summary(*items), summary);
  }
  const CollectionRef c = ThreeItems();
  const std::pair<Variant, Long> kItems[] = {
      {Integer{3}, 0}, {u"kC", 0}, {true, kInvalidProcedureCall}, {Variant(), kInvalidProcedureCall},
      {u"b", kInvalidProcedureCall}, {Null, kTypeMismatch}, {SafeArray::Of({Long{1}}), kTypeMismatch},
      {ObjectRef(Collection::Create()), kTypeMismatch},  // an object without a default value
  };
  for (const auto& [index, code] : kItems) {
    EXPECT_EQ(c->Invoke(u"Item", {index}).error(), code);
    EXPECT_EQ(c->Item(index) == nullptr, code != 0);
  }
  std::vector<Variant> by_key{u"KC"};
  EXPECT_EQ(c->Invoke(0, by_key), Variant(u"c"));  // Item is the default member
  EXPECT_EQ(c->Invoke(u"Remove", {u"ka"}), Variant());
  EXPECT_EQ(c->Invoke(u"Remove", {Long{3}}).error(), kInvalidProcedureCall);
  EXPECT_EQ(c->Invoke(u"count"), Variant(Long{2}));
  // The simple form refuses a used key; a lone surrogate is a key kept as it is.
  EXPECT_FALSE(c->Add(u"x", u"KC"));
  EXPECT_TRUE(c->Add(u"d", String(u"\xD800")));
  EXPECT_EQ(*c->Item(String(u"\xD800")), Variant(u"d"));
  EXPECT_EQ(Summary(*c), "b c=kc d=?");
}

// A long random run against a plain model: a list of (value, key) searched from the start, with
// keys that fold ASCII and Latin-1 capitals to small letters, which is all the run uses.
TEST(Collection, AgreesWithAPlainModelOverARandomRun) {
  const String kKeys[] = {u"a", u"A", u"b", u"B", u"\u00E4", u"\u00C4", u"ab", u"aB", u"\u00FEx", u"\u00DEX", u"c"};
  using Entry = std::pair<Long, std::optional<String>>;
  std::vector<Entry> model;
  const auto fold = [](String s) {
    for (char16_t& ch : s) ch += (ch >= u'A' && ch <= u'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) ? 32 : 0;
    return s;
  };
  const auto find = [&](const Variant& index) -> Long {  // the position an index selects, or 0
    if (const Long* p = index.If<Long>()) return *p >= 1 && *p <= static_cast<Long>(model.size()) ? *p : 0;
    const auto at = std::find_if(model.begin(), model.end(), [&](const Entry& e) {
      return e.second && fold(*e.second) == fold(*index.If<String>());
    });
    return at == model.end() ? 0 : static_cast<Long>(at - model.begin() + 1);
  };
  std::mt19937 rng(4711);
  const auto pick_index = [&]() -> Variant {
    if (rng() % 2) return static_cast<Long>(rng() % (model.size() + 2));
    return kKeys[rng() % std::size(kKeys)];
  };
  auto c = Collection::Create();
  for (Long step = 0; step < 20000; ++step) {
    SCOPED_TRACE(step);
    if (const unsigned op = rng() % 10; op < 5) {  // add, at the end or before or after an index
      const std::optional<String> key = rng() % 3 ? std::nullopt : std::optional(kKeys[rng() % std::size(kKeys)]);
      const unsigned where = rng() % 3;
      const Variant index = where ? pick_index() : kNone;
      const Long p = where ? find(index) : static_cast<Long>(model.size()) + 1;
      const bool fails = (key && find(*key)) || p == 0;  // either error is right
      const Variant key_arg = key ? Variant(*key) : kNone;
      ASSERT_EQ(c->Add(step, key_arg, where == 1 ? index : kNone, where == 2 ? index : kNone).ok(), !fails);
      if (!fails) model.insert(model.begin() + (where == 2 ? p : p - 1), {step, key});
    } else if (op < 8) {  // remove
      const Variant index = pick_index();
      const Long p = find(index);
      ASSERT_EQ(c->Remove(index).error(), p ? 0 : kInvalidProcedureCall);
      if (p) model.erase(model.begin() + (p - 1));
    } else if (!model.empty()) {  // exchange
      const Long i = static_cast<Long>(rng() % model.size() + 1), j = static_cast<Long>(rng() % model.size() + 1);
      ASSERT_TRUE(c->Exchange(i, j));
      std::swap(model[i - 1], model[j - 1]);
    }
    ASSERT_EQ(c->Count(), static_cast<Long>(model.size()));
    for (Long p = 1; (step % 50 == 0 || c->Count() < 8) && p <= c->Count(); ++p) {
      ASSERT_EQ(Entry(*c->Item(p)->If<Long>(), c->Key(p) ? std::optional(*c->Key(p)) : std::nullopt), model[p - 1]);
    }
    for (const String& key : kKeys) {
      const Variant* item = c->Item(key);
      ASSERT_EQ(item ? *item : Variant(), find(key) ? Variant(model[find(key) - 1].first) : Variant());
    }
    // Keep the collection small enough for keys to collide and to empty now and then.
    if (model.size() > 40) {
      ASSERT_TRUE(c->Remove(Long{1}).ok());
      model.erase(model.begin());
    }
  }
}

}  // namespace
}  // namespace ztl
