// ZtDate on every day from 100-01-01 to 9999-12-31 against a day-by-day walk of the calendar, in
// a locale whose week starts on Monday, and what the vectors (tests/vectors/dates.jsonl) cannot
// say: which of two equal dates comes back, and texts beyond any length counter.

#include "ztldata/dates/date.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../support/civil_walk.hpp"
#include "ztldata/platform/locale.hpp"

namespace ztl {
namespace {

using Walk = testing_support::CivilWalk;

// Weekday numbers in a locale whose week starts on Monday: Monday is 1, Sunday 7.
TEST(ZtDate, EveryDayOfTheRange) {
  SetLocale("de_DE");
  ZtDate d;
  for (Walk w; !w.Done(); w.Next()) {
    const long long n = w.day_number;
    const double time = static_cast<double>((n * 5) & 15) / 16;
    const Date date = Walk::At(n, time);
    const Integer ordinal = d.GregorianToJulian(date);
    const Date first = d.FirstDay(date), last = d.LastDay(date);
    const bool ok = ordinal == w.ordinal && d.JulianToGregorian(static_cast<Integer>(w.year), ordinal) == Walk::At(n) &&
                    first == Walk::At(n - (w.day - 1), time) &&
                    last == Walk::At(n + (Walk::Length(w.year, w.month) - w.day), time) &&
                    d.IsLeap(date) == Walk::Leap(w.year) && d.GetWeekDayNumber(date) == (w.weekday + 5) % 7 + 1;
    ASSERT_TRUE(ok) << w.year << "-" << w.month << "-" << w.day << " at " << time << ": ordinal " << ordinal
                    << ", first " << first.value << ", last " << last.value;
  }
  SetLocale("");
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
