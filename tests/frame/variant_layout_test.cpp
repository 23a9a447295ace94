// The Variant's own representation: two machine words, every kind surviving copy, move and
// assignment, moved-from values left Empty, texts shared between copies until one is written,
// and a Decimal written in place keeping its kind.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ztldata/frame/object.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {
namespace {

struct Sample {
  const char* name;
  Variant (*make)();
};
void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.name; }

// One object for every sample, so that two makes of the Object sample are equal.
Variant SharedObject() {
  static const ObjectRef object = CreateObject(u"ZTLData.ZtNumeric");
  return object;
}

const Sample kSamples[] = {
    {"Empty", [] { return Variant(); }},
    {"Null", [] { return Variant(Null); }},
    {"Boolean", [] { return Variant(true); }},
    {"Byte", [] { return Variant(Byte{200}); }},
    {"Integer", [] { return Variant(Integer{-12345}); }},
    {"Long", [] { return Variant(Long{-2000000000}); }},
    {"Currency", [] { return Variant(Currency{-922337203685477LL}); }},
    {"Single", [] { return Variant(Single{1.5f}); }},
    {"Double", [] { return Variant(Double{-0.125}); }},
    {"Date", [] { return Variant(Date{45000.75}); }},
    {"Decimal", [] { return Variant(Decimal{~0ULL, ~0U, 28, true}); }},
    {"Error", [] { return Variant::Missing(); }},
    {"ShortString", [] { return Variant(u"ab"); }},
    {"LongString", [] { return Variant(String(100, u'x')); }},
    {"Object", SharedObject},
    {"Nothing", [] { return Variant(nullptr); }},
    {"Array", [] { return Variant(SafeArray::Of({Long{1}, u"two", SafeArray::Of({3.0})})); }},
};

class EveryKind : public testing::TestWithParam<Sample> {};

TEST(VariantLayout, IsTwoWords) { EXPECT_EQ(sizeof(Variant), 16u); }

TEST_P(EveryKind, CopyHoldsTheValue) {
  const Variant v = GetParam().make();
  const Variant copy(v);
  EXPECT_EQ(copy, v);
}

TEST_P(EveryKind, CopyKeepsTheType) {
  const Variant v = GetParam().make();
  const Variant copy(v);
  EXPECT_EQ(copy.Type(), v.Type());
}

TEST_P(EveryKind, MoveHoldsTheValue) {
  Variant source = GetParam().make();
  const Variant moved(std::move(source));
  EXPECT_EQ(moved, GetParam().make());
}

TEST_P(EveryKind, MovedFromIsEmpty) {
  Variant source = GetParam().make();
  const Variant moved(std::move(source));
  EXPECT_TRUE(source.IsEmpty());  // NOLINT(bugprone-use-after-move): the state is defined
}

TEST_P(EveryKind, CopyAssignmentHoldsTheValue) {
  const Variant v = GetParam().make();
  Variant target = u"replaced";
  target = v;
  EXPECT_EQ(target, v);
}

TEST_P(EveryKind, MoveAssignmentHoldsTheValue) {
  Variant source = GetParam().make();
  Variant target = SafeArray::Of({Long{9}});
  target = std::move(source);
  EXPECT_EQ(target, GetParam().make());
}

TEST_P(EveryKind, MoveAssignmentEmptiesTheSource) {
  Variant source = GetParam().make();
  Variant target = Long{9};
  target = std::move(source);
  EXPECT_TRUE(source.IsEmpty());  // NOLINT(bugprone-use-after-move)
}

TEST_P(EveryKind, SelfCopyAssignmentKeepsTheValue) {
  Variant v = GetParam().make();
  const Variant& same = v;
  v = same;
  EXPECT_EQ(v, GetParam().make());
}

TEST_P(EveryKind, SelfMoveAssignmentKeepsTheValue) {
  Variant v = GetParam().make();
  Variant& same = v;
  v = std::move(same);
  EXPECT_EQ(v, GetParam().make());
}

TEST_P(EveryKind, SwapExchangesValues) {
  Variant a = GetParam().make();
  Variant b = u"other";
  swap(a, b);
  EXPECT_EQ(b, GetParam().make());
}

TEST_P(EveryKind, EmptyAllEmptiesEveryValue) {
  std::vector<Variant> values(20, GetParam().make());
  EmptyAll(values);
  for (const Variant& v : values) EXPECT_TRUE(v.IsEmpty());
}

TEST_P(EveryKind, EmptyAllLeavesCopiesMadeBefore) {
  std::vector<Variant> values(20, GetParam().make());
  const std::vector<Variant> copies = values;
  EmptyAll(values);
  for (const Variant& v : copies) EXPECT_EQ(v, GetParam().make());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, testing::ValuesIn(kSamples),
                         [](const testing::TestParamInfo<Sample>& info) { return std::string(info.param.name); });

// ---- texts: shared until written -------------------------------------------------------

TEST(VariantText, WritingACopyLeavesTheOriginal) {
  Variant original = u"abc";
  Variant copy = original;
  copy.If<String>()->append(u"d");
  EXPECT_EQ(*std::as_const(original).If<String>(), u"abc");
}

TEST(VariantText, WritingTheOriginalLeavesACopy) {
  Variant original = u"abc";
  const Variant copy = original;
  original.If<String>()->append(u"d");
  EXPECT_EQ(*copy.If<String>(), u"abc");
}

// A pointer handed out before a copy is made still writes only its own Variant's text.
TEST(VariantText, APointerHandedOutNeverReachesALaterCopy) {
  Variant original = u"abc";
  String* text = original.If<String>();
  const Variant copy = original;
  text->append(u"d");
  EXPECT_EQ(*copy.If<String>(), u"abc");
}

TEST(VariantText, APointerHandedOutWritesItsOwnVariant) {
  Variant original = u"abc";
  String* text = original.If<String>();
  const Variant copy = original;
  text->append(u"d");
  EXPECT_EQ(*std::as_const(original).If<String>(), u"abcd");
}

TEST(VariantText, CopiesShareOneText) {
  const Variant original = u"abc";
  const Variant copy = original;
  EXPECT_EQ(copy.If<String>(), original.If<String>());
}

// ---- values written in place --------------------------------------------------------------

TEST(VariantInPlace, ADecimalWrittenInPlaceKeepsTheKind) {
  Variant v = Decimal{};
  *v.If<Decimal>() = Decimal{~0ULL, ~0U, 28, true};
  EXPECT_EQ(v.Type(), VarType::Decimal);
}

TEST(VariantInPlace, ADecimalWrittenInPlaceIsRead) {
  Variant v = Decimal{};
  *v.If<Decimal>() = Decimal{~0ULL, ~0U, 28, true};
  EXPECT_EQ(*v.If<Decimal>(), (Decimal{~0ULL, ~0U, 28, true}));
}

TEST(VariantInPlace, NothingTakesAnObjectInPlace) {
  Variant v = nullptr;
  *v.If<ObjectRef>() = CreateObject(u"ZTLData.ZtNumeric");
  EXPECT_NE(*std::as_const(v).If<ObjectRef>(), nullptr);
}

TEST(VariantInPlace, AnArrayCopyIsItsOwn) {
  const Variant original = SafeArray::Of({Long{1}});
  Variant copy = original;
  copy.If<SafeArray>()->Elements()[0] = Long{2};
  EXPECT_EQ(original.If<SafeArray>()->Elements()[0], Variant(Long{1}));
}

TEST(VariantInPlace, AnObjectCopyIsTheSameObject) {
  const Variant original = CreateObject(u"ZTLData.ZtNumeric");
  const Variant copy = original;
  EXPECT_EQ(copy.If<ObjectRef>()->get(), original.If<ObjectRef>()->get());
}

// ---- text blocks: made and ended on any thread, reused --------------------------------

// n texts "0".."n-1" (the longer ones with characters of their own).
std::vector<Variant> Texts(int n, const std::u16string& tail = u"") {
  std::vector<Variant> texts;
  for (int i = 0; i < n; ++i) {
    const std::string digits = std::to_string(i);
    texts.emplace_back(String(digits.begin(), digits.end()) + tail);
  }
  return texts;
}

// Whether texts[i] reads "i" + tail for every i.
bool HoldsTexts(const std::vector<Variant>& texts, const std::u16string& tail = u"") {
  const std::vector<Variant> expected = Texts(static_cast<int>(texts.size()), tail);
  return texts == expected;
}

TEST(VariantTextBlocks, TextsEndedOnAnotherThreadLeaveBlocksThatHoldNewTexts) {
  std::vector<Variant> made = Texts(20000);
  std::thread([&] { made.clear(); }).join();
  const std::u16string tail = u" and some more characters";
  EXPECT_TRUE(HoldsTexts(Texts(20000, tail), tail));
}

TEST(VariantTextBlocks, TextsMadeOnAnotherThreadEndHere) {
  std::vector<Variant> made;
  std::thread([&] { made = Texts(20000); }).join();
  EXPECT_TRUE(HoldsTexts(made));
}

TEST(VariantTextBlocks, ManyThreadsMakingAndEndingTextsKeepEveryText) {
  std::vector<std::thread> threads;
  std::vector<bool> held(8);
  for (std::size_t t = 0; t < held.size(); ++t) {
    threads.emplace_back([&, t] {
      bool all = true;
      const std::u16string tail = u"-" + std::u16string(t + 1, u'x');
      for (int round = 0; round < 20; ++round) all = all && HoldsTexts(Texts(2000, tail), tail);
      held[t] = all;
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(held, std::vector<bool>(held.size(), true));
}

}  // namespace
}  // namespace ztl
