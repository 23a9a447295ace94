// ZtDate: the interface table of the class and its thirteen operations, written as the steps
// they take on the platform's calendar, locale names and time parser (src/platform).

#include "ztldata/dates/date.hpp"

#include <array>
#include <optional>
#include <string_view>

#include "frame/classes.hpp"
#include "frame/convert.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "platform/calendar.hpp"
#include "platform/date_format.hpp"
#include "platform/time_parse.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kDate[] = {In("datDate", Type::Date)};
constexpr ParamInfo kYearDays[] = {In("intYear", Type::Integer), In("intDays", Type::Integer)};
constexpr ParamInfo kTwoDates[] = {In("datDate1", Type::Date), In("datDate2", Type::Date)};
constexpr ParamInfo kTime[] = {In("strTime", Type::String)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtDate::LastDay>("LastDay", 0x60030000, kDate, Type::Date, "Gets a date with the last day of the month"),
    Method<&ZtDate::FirstDay>("FirstDay", 0x60030001, kDate, Type::Date,
                              "Gets a date with the first day of the month"),
    Method<&ZtDate::IsLeap>("IsLeap", 0x60030002, kDate, Type::Boolean, "Determines if a year is leap"),
    Method<&ZtDate::GregorianToJulian>("GregorianToJulian", 0x60030003, kDate, Type::Integer,
                                       "Converts from Gregorian date to Julian date"),
    Method<&ZtDate::JulianToGregorian>("JulianToGregorian", 0x60030004, kYearDays, Type::Date,
                                       "Converts a Julian date to Gregorian date"),
    Method<&ZtDate::GetWeekDayName>("GetWeekDayName", 0x60030005, kDate, Type::String,
                                    "Gets the weekday name of a date"),
    Method<&ZtDate::GetWeekDayAbbrev>("GetWeekDayAbbrev", 0x60030006, kDate, Type::String,
                                      "Gets the short weekday name of a date"),
    Method<&ZtDate::GetWeekDayNumber>("GetWeekDayNumber", 0x60030007, kDate, Type::Integer,
                                      "Gets the weekday number of a date"),
    Method<&ZtDate::GetMonthName>("GetMonthName", 0x60030008, kDate, Type::String, "Gets the month name of a date"),
    Method<&ZtDate::GetMonthAbbrev>("GetMonthAbbrev", 0x60030009, kDate, Type::String,
                                    "Gets the short month name of a date"),
    Method<&ZtDate::GetMax>("GetMax", 0x6003000A, kTwoDates, Type::Date, "Gets the max date"),
    Method<&ZtDate::GetMin>("GetMin", 0x6003000B, kTwoDates, Type::Date, "Gets the min date"),
    Method<&ZtDate::Str2Time>("Str2Time", 0x6003000C, kTime, Type::Date, "Converts a string to time"),
};

// The characters a time text may hold; "." stands for ":".
constexpr std::u16string_view kTimeCharacters = u"1234567890.:";

// Month lengths from January, for a leap year or another; each operation builds its own.
using MonthLengths = std::array<int, 12>;

MonthLengths LengthsOf(bool leap) {
  return {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
}

// The Date a step gives, or 0 when it fails. The result is held as its plain day count
// across the step: GCC 12 at -O2 drops the initial value of a small struct that a step
// which then throws would have overwritten.
template <class Step>
Date DateOf(Step&& step) noexcept {
  double value = 0;
  Attempt([&] { value = step().value; });
  return Date{value};
}

// The date written with a pattern of the value-formatting service; "" when it fails.
String Formatted(Date date, std::u16string_view pattern) {
  String result;
  Attempt([&] { result = platform::FormatDate(date, pattern); });
  return result;
}

}  // namespace

const ClassInfo kZtDateClass = {
    "ZtDate", "_ZtDate", "", ClassKind::Utility,
    ids::kZtDateClass, ids::kZtDateInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtDate>()); },
};

const ClassInfo* ZtDate::Class() const noexcept { return &kZtDateClass; }

// ---- month boundaries --------------------------------------------------------------------

Date ZtDate::LastDay(Date datDate) noexcept {
  Date d{};
  if (!Attempt([&] { d = platform::AddMonths(datDate, 1); })) {
    // The one valid date without a next month lies in December 9999, whose last day is the
    // last day of the range.
    return DateOf([&] { return platform::JoinDate(platform::kLastDayNumber, platform::SplitDate(datDate).time); });
  }
  return DateOf([&] { return platform::AddDays(d, -platform::SplitDate(d).day); });
}

Date ZtDate::FirstDay(Date datDate) noexcept {
  return DateOf([&] { return platform::AddDays(datDate, -(platform::SplitDate(datDate).day - 1)); });
}

// ---- leap years and day numbers ----------------------------------------------------------

Boolean ZtDate::IsLeap(Date datDate) noexcept {
  Boolean result = false;
  Attempt([&] { result = platform::IsLeapYear(platform::SplitDate(datDate).year); });
  return result;
}

Integer ZtDate::GregorianToJulian(Date datDate) noexcept {
  const MonthLengths lengths = LengthsOf(IsLeap(datDate));
  Integer result = 0;
  Attempt([&] {
    const platform::DateParts d = platform::SplitDate(datDate);
    int total = 0;
    for (int m = 1; m < d.month; ++m) total += lengths[m - 1];
    result = static_cast<Integer>(total + d.day);
  });
  return result;
}

Date ZtDate::JulianToGregorian(Integer intYear, Integer intDays) noexcept {
  const MonthLengths lengths = LengthsOf(platform::IsLeapYear(intYear));
  int m = 1;
  int acc = lengths[0];
  // The search stops at December: days beyond the year count on into the following years
  // when the date is built.
  while (acc < intDays && m < 12) {
    ++m;
    acc += lengths[m - 1];
  }
  const int day = intDays - (acc - lengths[m - 1]);
  return DateOf([&] { return platform::MakeDate(intYear, m, day); });
}

// ---- names ---------------------------------------------------------------------------------

String ZtDate::GetWeekDayName(Date datDate) noexcept { return Formatted(datDate, u"dddd"); }

String ZtDate::GetWeekDayAbbrev(Date datDate) noexcept { return Formatted(datDate, u"ddd"); }

Integer ZtDate::GetWeekDayNumber(Date datDate) noexcept {
  Integer result = 0;
  Attempt([&] { result = ToInteger(Variant(platform::FormatDate(datDate, u"w"))); });
  return result;
}

String ZtDate::GetMonthName(Date datDate) noexcept { return Formatted(datDate, u"mmmm"); }

String ZtDate::GetMonthAbbrev(Date datDate) noexcept { return Formatted(datDate, u"mmm"); }

// ---- comparisons ---------------------------------------------------------------------------

Date ZtDate::GetMax(Date datDate1, Date datDate2) noexcept {
  return datDate1.value > datDate2.value ? datDate1 : datDate2;
}

Date ZtDate::GetMin(Date datDate1, Date datDate2) noexcept {
  return datDate1.value < datDate2.value ? datDate1 : datDate2;
}

// ---- time texts ----------------------------------------------------------------------------

Date ZtDate::Str2Time(const String& strTime) noexcept {
  double result = 0;
  Attempt([&] {
    String s = strTime;
    for (char16_t& c : s) {
      if (kTimeCharacters.find(c) == std::u16string_view::npos) return;
      if (c == u'.') c = u':';
    }
    // Short texts are brought to h:m form by their length.
    const bool has_colon = s.find(u':') != String::npos;
    switch (s.size()) {
      case 0: return;
      case 1: s = u"0" + s + u":00"; break;
      case 2: s += u":00"; break;
      case 3:
        if (!has_colon) s = s.substr(0, 1) + u":" + s.substr(1);
        break;
      case 4:
        if (!has_colon) s = s.substr(0, 2) + u":" + s.substr(2);
        break;
      case 5: s[2] = u':'; break;  // the first two, ":", the last two
      default: break;
    }
    if (std::optional<double> time = platform::ParseTime(s)) result = *time;
  });
  return Date{result};
}

}  // namespace ztl
