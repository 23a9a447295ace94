// Calendar arithmetic: the parts of Dates, date building with parts counted onward, months
// and days added; every day of the range against a day-by-day walk of the calendar.

#include "platform/calendar.hpp"

#include <gtest/gtest.h>

#include "../support/civil_walk.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace ztl::platform {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using Walk = testing_support::CivilWalk;

// A Date of a day number at a time of day, negative Dates counting their time forward.
Date At(long long day_number, double time) {
  return Date{day_number < 0 ? static_cast<double>(day_number) - time : static_cast<double>(day_number) + time};
}

// The failure number of a step, 0 when it completed, with the Date it gave.
std::pair<Long, double> Result(const Outcome<Date>& step) {
  return {step.error(), step.value_or(Date{}).value};
}

TEST(SplitDate, PartsOfDates) {
  const struct {
    double value;
    int year, month, day, weekday;
    double time;
  } kCases[] = {
      {0, 1899, 12, 30, 7, 0},          // day 0, a Saturday
      {-5.25, 1899, 12, 25, 2, 0.25},   // negative Dates count their time forward
      {-0.25, 1899, 12, 30, 7, 0.25},   // the same moment as 0.25
      {0.25, 1899, 12, 30, 7, 0.25},
      {-1.75, 1899, 12, 29, 6, 0.75},
      {29221, 1980, 1, 1, 3, 0},
      {2.525, 1900, 1, 1, 2, 0.525},
      {40531, 2010, 12, 19, 1, 0},
      {-657434, 100, 1, 1, 6, 0},
      {-657434.5, 100, 1, 1, 6, 0.5},   // noon of the first day still lies in the range
      {2958465.75, 9999, 12, 31, 6, 0.75},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    const Outcome<DateParts> parts = SplitDate(Date{c.value});
    ASSERT_TRUE(parts.ok());
    const DateParts& p = *parts;
    EXPECT_EQ(p.year, c.year);
    EXPECT_EQ(p.month, c.month);
    EXPECT_EQ(p.day, c.day);
    EXPECT_EQ(p.weekday, c.weekday);
    EXPECT_NEAR(p.time, c.time, 1e-9);
    EXPECT_EQ(JoinDate(p.day_number, p.time), Date{c.value == -0.25 ? 0.25 : c.value});
  }
}

TEST(SplitDate, OutsideTheRangeFails) {
  for (double value : {-657435.0, 2958466.0, -1e300, 1e300, kNaN, kInf, -kInf}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(SplitDate(Date{value}).error(), kInvalidProcedureCall);
  }
  EXPECT_EQ(JoinDate(kFirstDayNumber - 1, 0).error(), kInvalidProcedureCall);
  EXPECT_EQ(JoinDate(kLastDayNumber + 1, 0).error(), kInvalidProcedureCall);
}

TEST(SplitDate, EveryDayOfTheRangeAgreesWithTheWalk) {
  for (Walk w; !w.Done(); w.Next()) {
    const double time = static_cast<double>(w.day_number & 7) / 8;
    const Date date = At(w.day_number, time);
    const Outcome<DateParts> parts = SplitDate(date);
    ASSERT_TRUE(parts.ok()) << w.day_number;
    const DateParts& p = *parts;
    if (p.year != w.year || p.month != w.month || p.day != w.day || p.weekday != w.weekday ||
        p.day_number != w.day_number || p.time != time) {
      FAIL() << "day " << w.day_number << ": " << p.year << "-" << p.month << "-" << p.day << " weekday "
             << p.weekday << ", expected " << w.year << "-" << w.month << "-" << w.day << " weekday " << w.weekday;
    }
    ASSERT_EQ(DayNumberOf(w.year, w.month, w.day), w.day_number);
    ASSERT_EQ(MakeDate(w.year, w.month, w.day), Date{static_cast<double>(w.day_number)});
    ASSERT_EQ(JoinDate(p.day_number, p.time), date);
    ASSERT_EQ(DaysInMonth(w.year, w.month), Walk::Length(w.year, w.month));
    ASSERT_EQ(IsLeapYear(w.year), Walk::Leap(w.year));
  }
}

TEST(MakeDate, PartsCountOnward) {
  const struct {
    long long year, month, day;
    std::optional<double> expected;  // empty: the step fails
  } kCases[] = {
      {1980, 1, 1, 29221},
      {90, 12, 31, 33238},     // a two-digit year
      {1980, 1, 0, 29220},     // day 0 is the last day of the month before
      {1980, 1, -1, 29219},
      {1980, 13, 1, 29587},    // month 13 is January of the next year
      {1980, -1, 1, 29160},    // month -1 is November of the year before
      {1980, 0, 0, 29189},     // 1979-11-30
      {1980, 300, 1, 38322},
      {1980, 1, 300, 29520},
      {1980, 6, 0, 29372},     // 1980-05-31
      {0, 1, 1, 36526},        // 0..29 are 2000..2029
      {29, 12, 31, 47483},
      {30, 1, 1, 10959},       // 30..99 are 1930..1999
      {50, 1, 1, 18264},
      {99, 12, 31, 36525},
      {99, 13, 1, 36526},      // a two-digit year counts on like any other
      {100, 1, 1, -657434},    // from 100 on a year is itself
      {9999, 12, 31, 2958465},
      {100, 1, 0, std::nullopt},
      {9999, 12, 32, std::nullopt},
      {9999, 13, 1, std::nullopt},
      {10000, 1, 1, std::nullopt},
      {10000, 1, -5, 2958460},  // counted back into the range
      {-1, 1, 1, std::nullopt},
      {1980, 1, 1LL << 40, std::nullopt},
      {1LL << 40, 1, 1, std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    const auto [code, value] = Result(MakeDate(c.year, c.month, c.day));
    if (c.expected) {
      EXPECT_EQ(code, 0);
      EXPECT_EQ(value, *c.expected);
    } else {
      EXPECT_EQ(code, kInvalidProcedureCall);
    }
  }
}

TEST(AddMonths, EndOfMonthClampAndTime) {
  const struct {
    double date;
    long long months;
    std::optional<double> expected;
  } kCases[] = {
      {36921, 1, 36950},          // 2001-01-31 -> 2001-02-28
      {36556, 1, 36585},          // 2000-01-31 -> 2000-02-29
      {36981, -1, 36950},         // 2001-03-31 -> 2001-02-28
      {36585, 12, 36950},         // 2000-02-29 -> 2001-02-28
      {36556.75, 1, 36585.75},    // the time of day stays
      {1.25, 1, 32.25},           // 1899-12-31 06:00 -> 1900-01-31 06:00
      {31.25, -1, 0.25},          // 1900-01-30 06:00 -> 1899-12-30 06:00 (day 0)
      {32.25, -1, 1.25},          // 1900-01-31 06:00 -> 1899-12-31 06:00
      {30.25, -1, -1.25},         // 1900-01-29 06:00 -> 1899-12-29 06:00
      {-1.25, 1, 30.25},          // 1899-12-29 06:00 -> 1900-01-29 06:00
      {2958450, 1, std::nullopt}, // 9999-12-16 has no next month
      {-657420, -1, std::nullopt},  // 100-01-15 has no month before
      {36526, 1LL << 40, std::nullopt},
      {kNaN, 1, std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.date << " + " << c.months);
    const auto [code, value] = Result(AddMonths(Date{c.date}, c.months));
    if (c.expected) {
      EXPECT_EQ(code, 0);
      EXPECT_EQ(value, *c.expected);
    } else {
      EXPECT_EQ(code, kInvalidProcedureCall);
    }
  }
}

TEST(AddDays, KeepsTheTimeAcrossDayZero) {
  const struct {
    double date;
    long long days;
    std::optional<double> expected;
  } kCases[] = {
      {1.25, -1, 0.25},
      {0.25, -1, -1.25},   // serial arithmetic would give -0.75, 18:00 of day 0
      {-1.25, 2, 1.25},
      {-5.75, 10, 5.75},
      {36526.5, 31, 36557.5},
      {-657434, -1, std::nullopt},
      {2958465.5, 1, std::nullopt},
      {-657434.5, 0, -657434.5},
      {kInf, 0, std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.date << " + " << c.days);
    const auto [code, value] = Result(AddDays(Date{c.date}, c.days));
    if (c.expected) {
      EXPECT_EQ(code, 0);
      EXPECT_EQ(value, *c.expected);
    } else {
      EXPECT_EQ(code, kInvalidProcedureCall);
    }
  }
}

TEST(AddMonths, EveryDayPlusAndMinusOneMonth) {
  for (Walk w; !w.Done(); w.Next()) {
    const Date date = At(w.day_number, 0.5);
    for (int step : {1, -1}) {
      int year = w.year, month = w.month + step;
      if (month == 13) month = 1, ++year;
      if (month == 0) month = 12, --year;
      const Outcome<Date> out = AddMonths(date, step);
      if (year < 100 || year > 9999) {
        ASSERT_FALSE(out.ok()) << w.day_number;
        continue;
      }
      ASSERT_TRUE(out.ok()) << w.day_number;
      const Outcome<DateParts> parts = SplitDate(*out);
      ASSERT_TRUE(parts.ok()) << w.day_number;
      const DateParts& p = *parts;
      const int day = std::min(w.day, Walk::Length(year, month));
      if (p.year != year || p.month != month || p.day != day || p.time != 0.5) {
        FAIL() << w.year << "-" << w.month << "-" << w.day << " + " << step << " gave " << p.year << "-" << p.month
               << "-" << p.day;
      }
    }
  }
}

}  // namespace
}  // namespace ztl::platform
