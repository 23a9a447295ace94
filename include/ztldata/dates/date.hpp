// ZtDate: month boundaries, leap years, day numbers within the year, weekday and month names
// of the user's locale, and a lenient parser of short time texts. A stateless utility class.
//
// Example:
//   ztl::ZtDate d;
//   d.JulianToGregorian(2001, 60);   // 2001-03-01
//   d.Str2Time(u"930");              // 09:30 (day part 0)
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtDate : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // The last day of the date's month, keeping the time of day.
  // Note: for every date of December 9999 this is 9999-12-31, the last day of the range.
  // Dates outside 100-01-01..9999-12-31, NaN and infinities give 0 here and below (False,
  // "" for the other results).
  Date LastDay(Date datDate) noexcept;
  // The first day of the date's month, keeping the time of day.
  Date FirstDay(Date datDate) noexcept;
  // Whether the date's year is a Gregorian leap year.
  Boolean IsLeap(Date datDate) noexcept;
  // The day of the year, 1..366; the time of day is ignored.
  Integer GregorianToJulian(Date datDate) noexcept;
  // The date of day number intDays in intYear, at 00:00.
  // Note: days outside the year count on: day 0 is December 31 of the previous year, day 366
  // of a common year January 1 of the next. Years 0..29 are 2000..2029, 30..99 1930..1999.
  Date JulianToGregorian(Integer intYear, Integer intDays) noexcept;
  // The full weekday name in the user's locale ("Monday"). The locale is the one named with
  // SetLocale (ztldata/platform/locale.hpp), else LC_ALL, LC_TIME or LANG, else en_US.
  String GetWeekDayName(Date datDate) noexcept;
  // The abbreviated weekday name in the user's locale ("Mon").
  String GetWeekDayAbbrev(Date datDate) noexcept;
  // The day's position in the week, 1..7, from the locale's first day of the week
  // (1 is Sunday in en_US, Monday in de_DE).
  Integer GetWeekDayNumber(Date datDate) noexcept;
  // The full month name in the user's locale ("January").
  String GetMonthName(Date datDate) noexcept;
  // The abbreviated month name in the user's locale ("Jan").
  String GetMonthAbbrev(Date datDate) noexcept;
  // The later date; equal dates give the second.
  Date GetMax(Date datDate1, Date datDate2) noexcept;
  // The earlier date; equal dates give the second.
  Date GetMin(Date datDate1, Date datDate2) noexcept;
  // A time of day from texts such as "9", "930", "9.30" or "12:30:45".
  // Note: 0 (midnight) for an empty or unusable text, indistinguishable from a real midnight.
  Date Str2Time(const String& strTime) noexcept;
};

}  // namespace ztl
