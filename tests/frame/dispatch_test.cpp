// Late-bound calls: lookup by name, dispatch id and slot, argument conversion, defaults,
// parameter arrays, by-reference write-back and the errors a host sees.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "frame/member_table.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/ztldata.hpp"

namespace ztl {
namespace {

// A class of its own, so the dispatch layer is tested apart from the library's operations.
class Probe : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  String Join(const String& strA, Long lngB, Integer intC = 7, const String& strD = u"d") noexcept {
    return strA + u"|" + Text(lngB) + u"|" + Text(intC) + u"|" + strD;
  }
  void Bump(Variant& vntValue) noexcept { vntValue = Variant(Long{41 + (vntValue.IsEmpty() ? 0 : 1)}); }
  Long CountAll(const String& strHead, std::span<const Variant> Vals) noexcept {
    return static_cast<Long>(strHead.size() + Vals.size() * 100);
  }
  Double Half(Double dblX) noexcept { return dblX / 2; }
  Byte Low(Byte bytX) noexcept { return bytX; }
  Boolean Flag(Boolean blnX) noexcept { return blnX; }
  Long Size(const CollectionRef& cllItems) noexcept { return cllItems ? cllItems->Count() : -1; }
  Long Level() const noexcept { return level_; }
  void Level(Long value) noexcept { level_ = value; }

 private:
  static String Text(long v) {
    const std::string s = std::to_string(v);
    return String(s.begin(), s.end());
  }
  Long level_ = 3;
};

constexpr ParamInfo kJoin[] = {In("strA", Type::String), In("lngB", Type::Long),
                               Optional("intC", Type::Integer, 7), Optional("strD", Type::String, u"d")};
constexpr ParamInfo kBump[] = {ByRef("vntValue", Type::Variant)};
constexpr ParamInfo kCountAll[] = {In("strHead", Type::String), ParamArray("Vals")};
constexpr ParamInfo kHalf[] = {In("dblX", Type::Double)};
constexpr ParamInfo kLow[] = {In("bytX", Type::Byte)};
constexpr ParamInfo kFlag[] = {In("blnX", Type::Boolean)};
constexpr ParamInfo kSize[] = {In("cllItems", Type::Collection)};
constexpr ParamInfo kLevelLet[] = {NewValue(Type::Long)};
constexpr MemberInfo kProbeMembers[] = {
    Method<&Probe::Join>("Join", 0x60030000, kJoin, Type::String, "Joins"),
    Method<&Probe::Bump>("Bump", 0x60030001, kBump, Type::Void),
    Method<&Probe::CountAll>("CountAll", 0x60030002, kCountAll, Type::Long),
    Method<&Probe::Half>("Half", 0x60030003, kHalf, Type::Double),
    Method<&Probe::Low>("Low", 0x60030004, kLow, Type::Byte),
    Method<&Probe::Flag>("Flag", 0x60030005, kFlag, Type::Boolean),
    Method<&Probe::Size>("Size", 0x60030006, kSize, Type::Long),
    PropertyGet<Pick<Long() const noexcept>(&Probe::Level)>("Level", 0x68030000, {}, Type::Long),
    PropertyLet<Pick<void(Long) noexcept>(&Probe::Level)>("Level", 0x68030000, kLevelLet),
};
const ClassInfo kProbeClass = {"Probe", "_Probe", "", ClassKind::Utility, {}, {}, {}, kProbeMembers,
                               [] { return ObjectRef(std::make_shared<Probe>()); }};
const ClassInfo* Probe::Class() const noexcept { return &kProbeClass; }

// Calls a member by name through Call: the result, or the error number.
Outcome<Variant> Try(Object& o, std::u16string_view name, std::vector<Variant> args,
                     MemberKind kind = MemberKind::Method) {
  const MemberInfo* m = FindMember(*o.Class(), name, kind);
  if (!m) return Fail(kNoSuchMember);
  Variant result;
  ZTL_CHECK(Call(o, *m, args, result));
  return result;
}

TEST(Dispatch, ConvertsArgumentsAndFillsDefaults) {
  Probe p;
  const struct {
    std::vector<Variant> args;
    Long error;
    Variant result;
  } kCases[] = {
      {{u"a", Long{1}}, 0, u"a|1|7|d"},
      {{u"a", Long{1}, Integer{2}, u"z"}, 0, u"a|1|2|z"},
      {{u"a", u" 12 "}, 0, u"a|12|7|d"},                        // text read as a number
      {{u"a", 2.5}, 0, u"a|2|7|d"},                             // halves to even
      {{u"a", 3.5}, 0, u"a|4|7|d"},
      {{u"a", true}, 0, u"a|-1|7|d"},                           // True is -1
      {{u"a", Variant()}, 0, u"a|0|7|d"},                       // Empty is 0
      {{Long{5}, Long{1}}, 0, u"5|1|7|d"},                      // number to text
      {{u"a", Long{1}, Variant::Missing(), u"z"}, 0, u"a|1|7|z"},  // left out in the middle
      {{u"a", u"abc"}, kTypeMismatch, {}},
      {{u"a", Null}, kTypeMismatch, {}},
      {{u"a", SafeArray::Of({Long{1}})}, kTypeMismatch, {}},
      {{u"a", 3e9}, kOverflow, {}},
      {{u"a", Long{1}, Long{40000}}, kOverflow, {}},
      {{u"a"}, kArgumentCount, {}},
      {{u"a", Long{1}, Integer{2}, u"z", u"extra"}, kArgumentCount, {}},
      {{Variant::Missing(), Long{1}}, kArgumentNotOptional, {}},  // a required one left out
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.args.size()) + " arguments, expecting " + std::to_string(c.error));
    const Outcome<Variant> o = Try(p, u"join", c.args);
    EXPECT_EQ(o.error(), c.error);
    if (c.error == 0) {
      EXPECT_EQ(o, c.result);
    }
  }
}

TEST(Dispatch, ScalarConversions) {
  Probe p;
  EXPECT_EQ(Try(p, u"Half", {u"3"}), Variant(1.5));
  EXPECT_EQ(Try(p, u"Half", {Integer{3}}), Variant(1.5));
  EXPECT_EQ(Try(p, u"Low", {Long{255}}), Variant(Byte{255}));
  EXPECT_EQ(Try(p, u"Low", {Long{256}}).error(), kOverflow);
  EXPECT_EQ(Try(p, u"Low", {Long{-1}}).error(), kOverflow);
  EXPECT_EQ(Try(p, u"Flag", {Long{2}}), Variant(true));
  EXPECT_EQ(Try(p, u"Flag", {u"false"}), Variant(false));
  EXPECT_EQ(Try(p, u"Flag", {u"maybe"}).error(), kTypeMismatch);
}

TEST(Dispatch, ByReferenceArgumentsAreWrittenBack) {
  Probe p;
  std::vector<Variant> args{Variant()};
  Variant result;
  ASSERT_TRUE(Call(p, *FindMember(kProbeClass, u"Bump", MemberKind::Method), args, result).ok());
  EXPECT_EQ(args[0], Variant(Long{41}));
  EXPECT_EQ(p.Invoke(u"Bump", std::span<Variant>(args)), Variant());
  EXPECT_EQ(args[0], Variant(Long{42}));
}

TEST(Dispatch, ParameterArrays) {
  Probe p;
  // Through dispatch the remaining arguments are gathered; through the slot the caller passes
  // the array itself.
  EXPECT_EQ(Try(p, u"CountAll", {u"ab"}), Variant(Long{2}));
  EXPECT_EQ(Try(p, u"CountAll", {u"ab", Long{1}, Null, u"x"}), Variant(Long{302}));
  std::vector<Variant> slot_args{u"ab", SafeArray::Of({Long{1}, Long{2}})};
  EXPECT_EQ(p.InvokeSlot(3, slot_args), Variant(Long{202}));
  std::vector<Variant> not_array{u"ab", Long{1}};
  EXPECT_FALSE(p.InvokeSlot(3, not_array).ok());
}

TEST(Dispatch, CollectionParameters) {
  Probe p;
  auto c = Collection::Create();
  c->Add(Long{1});
  c->Add(Long{2});
  EXPECT_EQ(Try(p, u"Size", {ObjectRef(c)}), Variant(Long{2}));
  EXPECT_EQ(Try(p, u"Size", {nullptr}), Variant(Long{-1}));
  EXPECT_EQ(Try(p, u"Size", {ObjectRef(std::make_shared<Probe>())}).error(), kTypeMismatch);
  EXPECT_EQ(Try(p, u"Size", {Long{1}}).error(), kTypeMismatch);
}

TEST(Dispatch, PropertiesAndLookup) {
  Probe p;
  EXPECT_EQ(Try(p, u"LEVEL", {}, MemberKind::PropertyGet), Variant(Long{3}));
  EXPECT_EQ(Try(p, u"level", {}), Variant(Long{3}));  // a method call reaches a get
  EXPECT_EQ(Try(p, u"Level", {u"9"}, MemberKind::PropertyLet).error(), 0);
  EXPECT_EQ(p.Level(), 9);
  EXPECT_EQ(Try(p, u"Join", {u"a", Long{1}}, MemberKind::PropertyLet).error(), kNoSuchMember);
  EXPECT_EQ(Try(p, u"Nope", {}).error(), kNoSuchMember);
  EXPECT_EQ(FindMember(kProbeClass, 0x68030000, MemberKind::PropertyLet)->kind, MemberKind::PropertyLet);
  EXPECT_EQ(FindMember(kProbeClass, 0x68030000, MemberKind::PropertyGet)->kind, MemberKind::PropertyGet);
  EXPECT_EQ(FindMember(kProbeClass, 0x60030009, MemberKind::Method), nullptr);
}

TEST(Dispatch, ErrorsReachCppHostsAsOutcomes) {
  Probe p;
  EXPECT_EQ(p.Invoke(u"Join", {u"a", u"abc"}).error(), kTypeMismatch);
  // Call also names the argument that failed.
  std::vector<Variant> args{u"a", u"abc"};
  Variant result;
  std::string message;
  const MemberInfo& join = *FindMember(kProbeClass, u"Join", MemberKind::Method);
  EXPECT_EQ(Call(p, join, args, result, CallForm::Dispatch, &message).error(), kTypeMismatch);
  EXPECT_NE(message.find("lngB"), std::string::npos) << message;
  EXPECT_FALSE(p.Invoke(u"Missing").ok());
  EXPECT_FALSE(p.InvokeSlot(0, {}).ok());
  EXPECT_FALSE(p.InvokeSlot(10, {}).ok());
}

TEST(Registry, CreatesUtilityClassesOnly) {
  for (const ClassInfo* info : Classes()) {
    SCOPED_TRACE(std::string(info->name));
    const String bare(info->name.begin(), info->name.end());
    const ObjectRef made = CreateObject(u"ZTLData." + bare);
    if (info->kind == ClassKind::Utility) {
      ASSERT_NE(made, nullptr);
      EXPECT_EQ(made->Class(), info);
      EXPECT_NE(CreateObject(bare), nullptr);
      EXPECT_EQ(CreateObject(info->clsid)->Class(), info);
    } else {
      EXPECT_EQ(made, nullptr);
      Container form;
      ComponentRef placed = form.Place(bare);
      ASSERT_NE(placed, nullptr);
      EXPECT_EQ(placed->Class(), info);
      EXPECT_FALSE(placed->TabStop());
    }
  }
  EXPECT_EQ(Classes().size(), 16u);
  EXPECT_EQ(CreateObject(Library().libid), nullptr);
  EXPECT_NE(CreateObject(u"ztldata.ztnumeric"), nullptr);
  EXPECT_EQ(CreateObject(u"ZTLData."), nullptr);
  EXPECT_EQ(CreateObject(u"Other.ZtNumeric"), nullptr);
  EXPECT_EQ(CreateObject(u""), nullptr);
}

TEST(Registry, ThreeWaysToTheSameMember) {
  const ObjectRef n = CreateObject(u"ZTLData.ZtNumeric");
  std::vector<Variant> args{Long{97}};
  EXPECT_EQ(n->Invoke(u"IsPrime", {97}), Variant(true));
  EXPECT_EQ(n->Invoke(0x6003000C, args), Variant(true));
  EXPECT_EQ(n->InvokeSlot(13, args), Variant(true));
  EXPECT_EQ(ZtNumeric{}.IsPrime(97), true);
}

TEST(Registry, SlotsAndDispatchIdsOfCollections) {
  // SearchByKey sits in the last slot although its id is 0x60030006.
  const ClassInfo* info = FindClass(u"ZtCollections");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(FindMember(*info, 0x60030006, MemberKind::Method), &info->members[4]);
  EXPECT_EQ(FindMember(*info, 0x60030000, MemberKind::Method), nullptr);
  EXPECT_EQ(FindMember(*info, 0x60030005, MemberKind::Method), nullptr);
}

TEST(Container, NamesComponentsAndRecordsChanges) {
  Container form;
  ComponentRef a = form.Place(u"ZtStack");
  ComponentRef b = form.Place(u"ZTLData.ZtStack");
  ComponentRef c = form.Place(u"ZtBits", u"Flags");
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(form.Components()[0].first, u"ZtStack1");
  EXPECT_EQ(form.Components()[1].first, u"ZtStack2");
  EXPECT_EQ(form.Find(u"flags"), c);
  EXPECT_EQ(form.Place(u"ZtBits", u"FLAGS"), nullptr);  // the name is taken
  EXPECT_EQ(form.Place(u"ZtNumeric"), nullptr);         // not a component
  const std::size_t before = form.Changes().size();
  c->Enabled(false);
  ASSERT_EQ(form.Changes().size(), before + 1);
  EXPECT_EQ(form.Changes().back(), (std::pair<String, String>{u"Flags", u"Enabled"}));
  EXPECT_FALSE(c->Invoke(u"Enabled", {}, MemberKind::PropertyGet) == Variant(true));
}

}  // namespace
}  // namespace ztl
