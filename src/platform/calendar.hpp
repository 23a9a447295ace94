// Calendar arithmetic on Dates as the host platform does it: the parts of a Date, adding
// months and days, and building a date from year, month and day with out-of-range parts
// counted onward. Dates run from 100-01-01 to 9999-12-31 in the proleptic Gregorian calendar.
// Writing and reading date texts is in date_format.hpp and date_text_reader.hpp.
#pragma once

#include "ztldata/base/outcome.hpp"

namespace ztl::platform {

// The day numbers (whole days since 1899-12-30) of the first and the last day of the range.
inline constexpr long long kFirstDayNumber = -657434;  // 100-01-01
inline constexpr long long kLastDayNumber = 2958465;   // 9999-12-31

// A Date taken apart. `day_number` is the day the Date falls on, `time` the fraction of that
// day from its start (0 <= time < 1), also for negative Dates: -1.25 is day -1 (1899-12-29)
// at 06:00. `weekday` is 1 for Sunday up to 7 for Saturday.
struct DateParts {
  long long day_number = 0;
  int year = 0;
  int month = 0;
  int day = 0;
  int weekday = 0;
  double time = 0;
};

// The parts of a Date. Fails with invalid procedure call (5) for NaN, the infinities and Dates outside the range.
Outcome<DateParts> SplitDate(Date date) noexcept;

// The Date of a day number and a time of day (0 <= time < 1); the inverse of SplitDate.
// Fails with invalid procedure call (5) when the day lies outside the range.
Outcome<Date> JoinDate(long long day_number, double time) noexcept;

// The date a whole number of months later (earlier for a negative count), at the same time
// of day; a day of the month that the target month lacks becomes its last day
// (January 31 plus one month is February 28 or 29). Fails with invalid procedure call (5) outside the range.
Outcome<Date> AddMonths(Date date, long long months) noexcept;

// The date a whole number of days later (earlier for a negative count), at the same time of
// day, across the day 0 too. Fails with invalid procedure call (5) outside the range.
Outcome<Date> AddDays(Date date, long long days) noexcept;

// The date of year, month and day at 00:00, with the month and the day counted onward from
// the year's January and the month's first day: month 13 is January of the next year, month
// 0 December of the year before, day 0 the last day of the month before, day 32 of January
// February 1. A year 0..29 is 2000..2029 and 30..99 is 1930..1999. Fails with invalid procedure call (5) for a
// negative year and for a result outside the range.
Outcome<Date> MakeDate(long long year, long long month, long long day) noexcept;

// The Gregorian leap-year rule: divisible by 4, and not by 100 unless by 400.
bool IsLeapYear(long long year) noexcept;

// The number of days of a month (1..12) of a year.
int DaysInMonth(long long year, int month) noexcept;

// The day number of a civil date, in the proleptic Gregorian calendar, for any year;
// month 1..12 and day 1..31 (a day beyond the month's end counts on).
long long DayNumberOf(long long year, int month, int day) noexcept;

}  // namespace ztl::platform
