// ZtDate on every day from 100-01-01 to 9999-12-31 against a day-by-day walk of the calendar, in
// a locale whose week starts on Monday, and what the vectors (tests/vectors/dates.jsonl) cannot
// say: which of two equal dates comes back, and texts beyond any length counter.

#include "ztldata/dates/date.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../support/civil_walk.hpp"
#include "../support/scoped_state.hpp"
#include "ztldata/platform/locale.hpp"

namespace ztl {
namespace {

using Walk = testing_support::CivilWalk;

// Weekday numbers in a locale whose week starts on Monday: Monday is 1, Sunday 7.
TEST(ZtDate, EveryDayOfTheRange) {
  const auto german = testing_support::ScopedLocale("de_DE");
  ZtDate d;
  for (Walk w; !w.Done(); w.Next()) {
    const long long n = w.day_number;
    const double time = static_cast<double>((n * 5) & 15) / 16;
    const Date date = Walk::At(n, time);
    const Integer ordinal = d.GregorianToJulian(date);
    const Date first = d.FirstDay(date), last = d.LastDay(date);
    // Messages are built only on failure, so the walk stays quick.
    ASSERT_EQ(ordinal, w.ordinal) << n;
    ASSERT_EQ(d.JulianToGregorian(static_cast<Integer>(w.year), ordinal), Walk::At(n)) << n;
    ASSERT_EQ(first, Walk::At(n - (w.day - 1), time)) << n << " at " << time;
    ASSERT_EQ(last, Walk::At(n + (Walk::Length(w.year, w.month) - w.day), time)) << n << " at " << time;
    ASSERT_EQ(d.IsLeap(date), Walk::Leap(w.year)) << n;
    ASSERT_EQ(d.GetWeekDayNumber(date), (w.weekday + 5) % 7 + 1) << n;
  }
}

// 0 and -0 compare equal, so the sign tells which argument came back: the second.
TEST(ZtDate, GetMaxAndGetMinGiveTheSecondOnTies) {
  ZtDate d;
  EXPECT_TRUE(std::signbit(d.GetMax(Date{0.0}, Date{-0.0}).value));
  EXPECT_TRUE(std::signbit(d.GetMin(Date{0.0}, Date{-0.0}).value));
  EXPECT_FALSE(std::signbit(d.GetMax(Date{-0.0}, Date{0.0}).value));
  EXPECT_FALSE(std::signbit(d.GetMin(Date{-0.0}, Date{0.0}).value));
}

TEST(ZtDate, Str2TimeBeyondASixteenBitCounter) {
  ZtDate d;
  EXPECT_EQ(d.Str2Time(std::u16string(40000, u'1')).value, 0);
  EXPECT_EQ(d.Str2Time(std::u16string(40000, u':')).value, 0);
  EXPECT_EQ(d.Str2Time(std::u16string(65536 + 3, u'9')).value, 0);
}

}  // namespace
}  // namespace ztl
