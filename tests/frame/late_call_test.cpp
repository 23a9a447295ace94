// The one late-bound call every host makes: the ways a member is named, the failure it gives
// (number and message) and the text forms of a dispatch id.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ztldata/ztldata.hpp"

namespace ztl {
namespace {

const std::string kNoSuch = " (" + std::string(ErrorText(kNoSuchMember)) + ")";

TEST(ParseDispId, ReadsDecimalAndHexadecimalWithin32Bits) {
  const struct {
    const char* text;
    std::optional<DispId> id;
  } kCases[] = {
      {"0x6003000D", 0x6003000D}, {"0x6003000d", 0x6003000D}, {"1610809357", 0x6003000D}, {"-4", -4},
      {"0xFFFFFFFF", -1},         {"4294967296", std::nullopt}, {"0x-5", std::nullopt},   {"0x", std::nullopt},
      {"", std::nullopt},         {"12a", std::nullopt},        {"IsEven", std::nullopt},
  };
  for (const auto& c : kCases) EXPECT_EQ(ParseDispId(c.text), c.id) << c.text;
}

TEST(LateCall, ResolvesEveryFormOfKey) {
  const ObjectRef n = CreateObject(u"ZtNumeric");
  const struct {
    const char* what;
    MemberKey key;
    Outcome<Variant> expected;
  } kCases[] = {
      {"UTF-16 name, any case", MemberKey::Name(u"iSeVeN"), Variant(true)},
      {"UTF-8 name, any case", MemberKey::Name(std::string_view("ISEVEN")), Variant(true)},
      {"hexadecimal text", MemberKey::Text("0x6003000D"), Variant(true)},
      {"decimal text", MemberKey::Text("1610809357"), Variant(true)},
      {"dispatch id", MemberKey::Id(0x6003000D), Variant(true)},
      {"slot (IsPrime)", MemberKey::Slot(13), Variant(false)},
      {"non-ASCII name", MemberKey::Name(std::string_view("IsÉven")), Fail(kNoSuchMember)},
  };
  for (const auto& c : kCases) {
    std::vector<Variant> args{Long{4}};
    EXPECT_EQ(LateCall(*n, c.key, MemberKind::Method, args).error(), c.expected.error()) << c.what;
    if (c.expected) {
      EXPECT_EQ(LateCall(*n, c.key, MemberKind::Method, args), *c.expected) << c.what;
    }
  }
}

TEST(LateCall, FailureCarriesNumberAndMessage) {
  const ObjectRef n = CreateObject(u"ZtNumeric");
  const std::string forty(40, 'x');
  const std::string long_name = forty + "yz";
  const struct {
    MemberKey key;
    MemberKind kind;
    std::size_t count;
    Long number;
    std::string message;
  } kCases[] = {
      {MemberKey::Text("NoSuch"), MemberKind::Method, 1, kNoSuchMember, "ZtNumeric has no method NoSuch" + kNoSuch},
      {MemberKey::Id(0x70000000), MemberKind::Method, 1, kNoSuchMember, "ZtNumeric has no method 0x70000000" + kNoSuch},
      {MemberKey::Slot(99), MemberKind::Method, 1, kNoSuchMember, "ZtNumeric has no slot 99" + kNoSuch},
      {MemberKey::Name(u"IsEven"), MemberKind::PropertyLet, 1, kNoSuchMember,
       "ZtNumeric has no property let IsEven" + kNoSuch},
      {MemberKey::Name(long_name), MemberKind::Method, 1, kNoSuchMember,
       "ZtNumeric has no method " + forty + "..." + kNoSuch},
      {MemberKey::Name(u"Factorial"), MemberKind::Method, 2, kArgumentCount,
       std::string(ErrorText(kArgumentCount)) + ": ZtNumeric.Factorial takes 1 argument(s), got 2"},
  };
  for (const auto& c : kCases) {
    std::vector<Variant> args(c.count, Variant(Long{4}));
    CallFailure failure;
    EXPECT_EQ(LateCall(*n, c.key, c.kind, args, &failure).error(), c.number) << c.message;
    EXPECT_EQ(failure.number, c.number) << c.message;
    EXPECT_EQ(failure.message, c.message);
  }
}

TEST(ParameterIndex, FindsANamedArgumentWithoutRegardToCase) {
  const MemberInfo& factorial = *FindMember(*FindClass(u"ZtNumeric"), u"Factorial", MemberKind::Method);
  EXPECT_EQ(ParameterIndex(factorial, u"LNGNUMBER"), 0u);
  EXPECT_EQ(ParameterIndex(factorial, std::string_view("lngnumber")), 0u);
  EXPECT_EQ(ParameterIndex(factorial, std::string_view("number")), std::nullopt);
}

}  // namespace
}  // namespace ztl
