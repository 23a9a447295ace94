// Attempt: a failing step leaves what it would have assigned as it was. Small structs are the
// case an optimiser has got wrong (a dropped store before a throwing call), so they are here.

#include "frame/failure.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ztl {
namespace {

template <class T>
__attribute__((noinline)) T Produce(int fail, T value) {
  if (fail > 0) Fail(kOverflow);
  return value;
}

template <class T>
__attribute__((noinline)) T KeepsDefault(int fail, T value) {
  T result{};
  Attempt([&] { result = Produce(fail, value); });
  return result;
}

TEST(Attempt, AFailedStepLeavesTheResultAsItWas) {
  EXPECT_EQ(KeepsDefault(1, Date{45000.5}).value, 0);
  EXPECT_EQ(KeepsDefault(0, Date{45000.5}).value, 45000.5);
  EXPECT_EQ(KeepsDefault(1, Currency{123}).scaled, 0);
  EXPECT_EQ(KeepsDefault(1, 2.5), 0);
  EXPECT_EQ(KeepsDefault(1, Long{7}), 0);
  EXPECT_EQ(KeepsDefault(1, String(u"text")), u"");
}

TEST(Attempt, ReportsTheErrorNumber) {
  EXPECT_EQ(AttemptCode([] { Fail(kDivisionByZero); }), kDivisionByZero);
  EXPECT_EQ(AttemptCode([] { throw std::bad_alloc(); }), kOutOfMemory);
  EXPECT_EQ(AttemptCode([] {}), 0);
  EXPECT_FALSE(Attempt([] { Fail(kTypeMismatch); }));
}

}  // namespace
}  // namespace ztl
