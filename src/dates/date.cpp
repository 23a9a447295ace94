// ZtDate: the interface table of the class and its thirteen operations, written as the steps
// they take on the platform's calendar, locale names and time parser (src/platform).

#include "ztldata/dates/date.hpp"

#include <array>
#include <optional>
#include <string_view>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "platform/calendar.hpp"
#include "platform/date_format.hpp"
#include "platform/time_parse.hpp"
#include "ztldata/frame/convert.hpp"

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

// The date written with a pattern of the value-formatting service; "" when it fails.
String Formatted(Date date, std::u16string_view pattern) noexcept {
  return GuardedStep(String(), [&] { return platform::FormatDate(date, pattern); });
}

// A time text in the form the time parser reads: "." becomes ":", and texts of one to five
// characters are brought to h:m form by their length. Nothing for an empty text and for one
// with a character other than digits, "." and ":".
std::optional<String> TimeForm(String s) {
  for (char16_t& c : s) {
    if (kTimeCharacters.find(c) == std::u16string_view::npos) return std::nullopt;
    if (c == u'.') c = u':';
  }
  const bool has_colon = s.find(u':') != String::npos;
  switch (s.size()) {
    case 0: return std::nullopt;
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
  return s;
}

}  // namespace

const ClassInfo kZtDateClass = DefineClass<ZtDate, "ZtDate">(
    ClassKind::Utility, {ids::kZtDateClass, ids::kZtDateInterface}, kMembers);

const ClassInfo* ZtDate::Class() const noexcept { return &kZtDateClass; }

// ---- month boundaries --------------------------------------------------------------------

Date ZtDate::LastDay(Date datDate) noexcept {
  const Outcome<Date> next = platform::AddMonths(datDate, 1);
  if (!next) {
    // The one valid date without a next month lies in December 9999, whose last day is the
    // last day of the range.
    return platform::SplitDate(datDate)
        .and_then([](const platform::DateParts& parts) {
          return platform::JoinDate(platform::kLastDayNumber, parts.time);
        })
        .value_or(Date{});
  }
  // Back from the next month by its day of the month: the last day of this one.
  return platform::SplitDate(*next)
      .and_then([&](const platform::DateParts& parts) { return platform::AddDays(*next, -parts.day); })
      .value_or(Date{});
}

Date ZtDate::FirstDay(Date datDate) noexcept {
  return platform::SplitDate(datDate)
      .and_then([&](const platform::DateParts& parts) { return platform::AddDays(datDate, -(parts.day - 1)); })
      .value_or(Date{});
}

// ---- leap years and day numbers ----------------------------------------------------------

Boolean ZtDate::IsLeap(Date datDate) noexcept {
  return platform::SplitDate(datDate)
      .transform([](const platform::DateParts& parts) { return platform::IsLeapYear(parts.year); })
      .value_or(false);
}

Integer ZtDate::GregorianToJulian(Date datDate) noexcept {
  const MonthLengths lengths = LengthsOf(IsLeap(datDate));
  const Outcome<platform::DateParts> parts = platform::SplitDate(datDate);
  if (!parts) return 0;
  int total = 0;
  for (int m = 1; m < parts->month; ++m) total += lengths[m - 1];
  return static_cast<Integer>(total + parts->day);
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
  return platform::MakeDate(intYear, m, day).value_or(Date{});
}

// ---- names ---------------------------------------------------------------------------------

String ZtDate::GetWeekDayName(Date datDate) noexcept { return Formatted(datDate, u"dddd"); }

String ZtDate::GetWeekDayAbbrev(Date datDate) noexcept { return Formatted(datDate, u"ddd"); }

Integer ZtDate::GetWeekDayNumber(Date datDate) noexcept {
  // The weekday's digit read back as a number, as the platform's conversion reads it.
  return GuardedStep(Integer{0}, [&] {
    return platform::FormatDate(datDate, u"w").and_then([](const String& digit) { return ToInteger(Variant(digit)); });
  });
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
  return Guarded(Date{}, [&] {
    const std::optional<String> text = TimeForm(strTime);
    if (!text) return Date{};
    return Date{platform::ParseTime(*text).value_or(0.0)};
  });
}

}  // namespace ztl
