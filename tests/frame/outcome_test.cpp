// Outcome, the value-or-error-number every step that may fail returns: the rules operations
// build on, and the one list of error numbers with their texts.

#include "ztldata/base/outcome.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ztl {
namespace {

template <class T>
__attribute__((noinline)) Outcome<T> Produce(bool fail, T value) {
  if (fail) return Fail(kOverflow);
  return value;
}

// A failed assignment leaves the target as it was. Small structs are the case an optimiser
// once got wrong (a dropped store), so they are here.
template <class T>
__attribute__((noinline)) T KeepsDefault(bool fail, T value) {
  T result{};
  result = Produce(fail, value).value_or(result);
  return result;
}

TEST(Outcome, AFailedAssignmentKeepsTheOldValue) {
  EXPECT_EQ(KeepsDefault(true, Date{45000.5}).value, 0);
  EXPECT_EQ(KeepsDefault(false, Date{45000.5}).value, 45000.5);
  EXPECT_EQ(KeepsDefault(true, Currency{123}).scaled, 0);
  EXPECT_EQ(KeepsDefault(true, 2.5), 0);
  EXPECT_EQ(KeepsDefault(true, Long{7}), 0);
  EXPECT_EQ(KeepsDefault(true, String(u"text")), u"");
}

Outcome<Long> Half(Long x) {
  if (x % 2 != 0) return Fail(kInvalidProcedureCall);
  return x / 2;
}
Outcome<Long> Quarter(Long x) {
  ZTL_TRY(half, Half(x));
  return Half(half);
}
Status Even(Long x) {
  ZTL_CHECK(Half(x));
  return Done();
}

TEST(Outcome, StepsPassAFailureOn) {
  const struct {
    Long x;
    Long quarter;  // or the error number
    Long even;     // the error number
  } kCases[] = {
      {8, 2, 0},
      {6, kInvalidProcedureCall, 0},  // the second step fails
      {3, kInvalidProcedureCall, kInvalidProcedureCall},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.x);
    const Outcome<Long> quarter = Quarter(c.x);
    EXPECT_EQ(quarter.ok() ? *quarter : quarter.error(), c.quarter);
    EXPECT_EQ(Half(c.x).and_then(Half).error(), quarter.error());
    EXPECT_EQ(Even(c.x).error(), c.even);
  }
  EXPECT_EQ(Half(8).transform([](Long h) { return h + 1; }), 5);
  EXPECT_EQ(Half(3).transform([](Long h) { return h + 1; }), Fail(kInvalidProcedureCall));
}

TEST(Outcome, EqualsItsValueOrItsFailure) {
  EXPECT_EQ(Outcome<Long>(7), 7);
  EXPECT_FALSE(Outcome<Long>(Fail(kOverflow)) == 0);  // a failure equals no value
  EXPECT_EQ(Outcome<Long>(Fail(kOverflow)), Fail(kOverflow));
  EXPECT_FALSE(Outcome<Long>(Fail(kOverflow)) == Fail(kTypeMismatch));
  EXPECT_FALSE(Outcome<Long>(0) == Fail(kOverflow));
  EXPECT_EQ(Outcome<Long>(0).error(), 0);
  EXPECT_EQ(Done().error(), 0);
}

TEST(ErrorText, EveryNumberHasItsText) {
  const Long kNumbers[] = {kInvalidProcedureCall, kOverflow,     kOutOfMemory,   kSubscriptOutOfRange,
                           kDivisionByZero,       kTypeMismatch, kFileNotFound,  kObjectNotSet,
                           kNotCreatable,         kNoSuchMember, kArgumentNotOptional, kArgumentCount,
                           kKeyInUse};
  ASSERT_EQ(Errors().size(), std::size(kNumbers));
  for (const Long number : kNumbers) {
    SCOPED_TRACE(number);
    const std::string text = ErrorText(number);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, "Automation error");
  }
  EXPECT_STREQ(ErrorText(kTypeMismatch), "Type mismatch");
  for (const Long unknown : {0, 1, 999, -13}) EXPECT_STREQ(ErrorText(unknown), "Automation error");
}

}  // namespace
}  // namespace ztl
