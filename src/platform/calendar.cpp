// Calendar arithmetic on Dates: day numbers to civil dates and back (proleptic Gregorian,
// counted in 400-year eras of 146097 days), months and days added, dates built from parts.
// Every step that would leave 100-01-01..9999-12-31 fails with invalid procedure call (5).

#include "calendar.hpp"

#include <algorithm>
#include <cmath>

#include "ztldata/base/outcome.hpp"

namespace ztl::platform {

namespace {

// The day number of 1970-01-01, where the era arithmetic below counts from.
constexpr long long kUnixEpochDay = 25569;

// Far beyond any part that can still land in the range; larger parts fail without
// risking overflow in the arithmetic.
constexpr long long kPartLimit = 1'000'000'000;

constexpr Failure kOutOfRange = Fail(kInvalidProcedureCall);

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

struct Civil {
  long long year;
  int month;
  int day;
};

// Days since 1970-01-01 to the civil date: eras of 400 years starting on March 1, so that
// the leap day is the last day of its year of the era.
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = FloorDiv(y, 400);
  const long long yoe = y - era * 400;                                  // 0..399
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;  // 0..365
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // 0..146096
  return era * 146097 + doe - 719468;
}

Civil CivilFromDays(long long z) {
  z += 719468;
  const long long era = FloorDiv(z, 146097);
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

bool InRange(long long day_number) { return day_number >= kFirstDayNumber && day_number <= kLastDayNumber; }

}  // namespace

bool IsLeapYear(long long year) noexcept {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(long long year, int month) noexcept {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

long long DayNumberOf(long long year, int month, int day) noexcept {
  return DaysFromCivil(year, month, 1) + day - 1 + kUnixEpochDay;
}

Outcome<DateParts> SplitDate(Date date) noexcept {
  const double x = date.value;
  // Written so that NaN fails too.
  if (!(x > static_cast<double>(kFirstDayNumber - 1) && x < static_cast<double>(kLastDayNumber + 1))) {
    return kOutOfRange;
  }
  const double whole = std::trunc(x);
  DateParts parts;
  parts.day_number = static_cast<long long>(whole);
  parts.time = std::fabs(x - whole);
  const Civil civil = CivilFromDays(parts.day_number - kUnixEpochDay);
  parts.year = static_cast<int>(civil.year);
  parts.month = civil.month;
  parts.day = civil.day;
  // Day 0, 1899-12-30, was a Saturday.
  parts.weekday = static_cast<int>(((parts.day_number % 7) + 13) % 7) + 1;
  return parts;
}

Outcome<Date> JoinDate(long long day_number, double time) noexcept {
  if (!InRange(day_number)) return kOutOfRange;
  const auto whole = static_cast<double>(day_number);
  return Date{day_number < 0 ? whole - time : whole + time};
}

Outcome<Date> AddMonths(Date date, long long months) noexcept {
  ZTL_TRY(parts, SplitDate(date));
  if (months < -kPartLimit || months > kPartLimit) return kOutOfRange;
  const long long index = parts.year * 12LL + (parts.month - 1) + months;
  const long long year = FloorDiv(index, 12);
  const int month = static_cast<int>(index - year * 12) + 1;
  if (year < 100 || year > 9999) return kOutOfRange;
  const int day = std::min(parts.day, DaysInMonth(year, month));
  return JoinDate(DayNumberOf(year, month, day), parts.time);
}

Outcome<Date> AddDays(Date date, long long days) noexcept {
  ZTL_TRY(parts, SplitDate(date));
  if (days < -kPartLimit || days > kPartLimit) return kOutOfRange;
  return JoinDate(parts.day_number + days, parts.time);
}

Outcome<Date> MakeDate(long long year, long long month, long long day) noexcept {
  if (year < 0 || year > kPartLimit) return kOutOfRange;
  if (month < -kPartLimit || month > kPartLimit || day < -kPartLimit || day > kPartLimit) return kOutOfRange;
  if (year < 30) {
    year += 2000;
  } else if (year < 100) {
    year += 1900;
  }
  const long long index = year * 12 + (month - 1);
  const long long y = FloorDiv(index, 12);
  const int m = static_cast<int>(index - y * 12) + 1;
  return JoinDate(DayNumberOf(y, m, 1) + (day - 1), 0);
}

}  // namespace ztl::platform
