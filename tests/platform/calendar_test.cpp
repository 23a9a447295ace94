// Calendar arithmetic and date patterns on every day of the range against a day-by-day walk of
// the calendar; the texts the library writes read back, the current year from the clock. The
// single cases are vectors (tests/vectors/values/calendar.jsonl, date_format.jsonl, date_text.jsonl).

#include "platform/calendar.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>
#include <random>
#include <tuple>

#include "../support/civil_walk.hpp"
#include "../support/text.hpp"
#include "platform/date_format.hpp"
#include "platform/date_text_reader.hpp"

namespace ztl::platform {
namespace {

using Walk = testing_support::CivilWalk;
using testing_support::Narrow;

// The civil date of parts, compared as one value.
std::tuple<int, int, int> Civil(const DateParts& p) { return {p.year, p.month, p.day}; }

TEST(Calendar, EveryDayAgreesWithTheWalk) {
  for (Walk w; !w.Done(); w.Next()) {
    const double time = static_cast<double>(w.day_number & 7) / 8;
    const Date date = Walk::At(w.day_number, time);
    const Outcome<DateParts> p = SplitDate(date);
    ASSERT_TRUE(p) << w.day_number;
    ASSERT_EQ(Civil(*p), std::tuple(w.year, w.month, w.day)) << w.day_number;
    ASSERT_EQ(p->weekday, w.weekday) << w.day_number;
    ASSERT_EQ(p->day_number, w.day_number);
    ASSERT_EQ(p->time, time) << w.day_number;
    ASSERT_EQ(JoinDate(p->day_number, p->time), date) << w.day_number;
    ASSERT_EQ(DayNumberOf(w.year, w.month, w.day), w.day_number);
    ASSERT_EQ(MakeDate(w.year, w.month, w.day), Date{static_cast<double>(w.day_number)});
    ASSERT_EQ(DaysInMonth(w.year, w.month), Walk::Length(w.year, w.month));
    ASSERT_EQ(IsLeapYear(w.year), Walk::Leap(w.year));
    ASSERT_EQ(AddDays(date, 1) == Walk::At(w.day_number + 1, time), w.day_number < kLastDayNumber) << w.day_number;

    // A month on and a month back: the same day, or the last of a shorter month, at the same time.
    for (int step : {1, -1}) {
      const int month = (w.month + step + 11) % 12 + 1;
      const int year = w.year + (w.month + step - month) / 12;
      const Outcome<Date> moved = AddMonths(date, step);
      ASSERT_EQ(moved.ok(), year >= 100 && year <= 9999) << w.day_number;
      if (!moved) continue;
      const Outcome<DateParts> q = SplitDate(*moved);
      ASSERT_TRUE(q) << w.day_number << " + " << step;
      ASSERT_EQ(Civil(*q), std::tuple(year, month, std::min(w.day, Walk::Length(year, month))))
          << w.day_number << " + " << step;
      ASSERT_EQ(q->time, time) << w.day_number << " + " << step;
    }

    // The date pattern's fields on a sample of days: year, month, day, day of the year, weekday.
    if (w.day_number % 11 == 0) {
      char text[64];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %d %d", w.year, w.month, w.day, w.ordinal, w.weekday);
      ASSERT_EQ(FormatDate(date, u"yyyy-mm-dd y w", 1), testing_support::Wide(text)) << w.day_number;
    }
  }
}

// Without a year given, a date without one falls in the current year of the local clock.
TEST(ParseDateText, CurrentYearFromTheClock) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ASSERT_NE(localtime_r(&now, &local), nullptr);
  const std::optional<Date> got = ParseDateText(u"Jan 2");
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->value, DayNumberOf(local.tm_year + 1900, 1, 2));
  EXPECT_FALSE(ParseDateText(String(100000, u'1')).has_value());
}

TEST(ParseDateText, WrittenTextsReadBack) {
  std::mt19937_64 random(20240501);
  std::uniform_int_distribution<long long> days(kFirstDayNumber, kLastDayNumber);
  std::uniform_int_distribution<int> seconds(0, 86399);
  for (int i = 0; i < 20000; ++i) {
    // Every fourth without a time (written as the date alone); a few around day 0, which is
    // written as the time alone.
    const long long day = i % 10 == 0 ? i % 7 - 3 : days(random);
    const int second = i % 4 == 0 ? 0 : seconds(random);
    const Outcome<Date> date = JoinDate(day, second / 86400.0);
    ASSERT_TRUE(date.ok()) << day;
    for (const Outcome<String>& text : {DateText(*date), IsoDateText(*date)}) {
      ASSERT_TRUE(text.ok()) << day;
      const std::optional<Date> back = ParseDateText(*text);
      const Outcome<DateParts> p = back ? SplitDate(*back) : Fail(kTypeMismatch);
      ASSERT_TRUE(p) << Narrow(*text);
      ASSERT_EQ(p->day_number, day) << Narrow(*text);
      ASSERT_EQ(std::llround(p->time * 86400), second) << Narrow(*text);
    }
  }
}

}  // namespace
}  // namespace ztl::platform
