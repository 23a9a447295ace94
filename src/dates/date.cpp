// ZtDate: the interface table of the class and its operations.

#include "ztldata/dates/date.hpp"

#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

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

}  // namespace

const ClassInfo kZtDateClass = {
    "ZtDate", "_ZtDate", "", ClassKind::Utility,
    ids::kZtDateClass, ids::kZtDateInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtDate>()); },
};

const ClassInfo* ZtDate::Class() const noexcept { return &kZtDateClass; }

// The operations are not built yet: they answer with the default of their result type.
Date ZtDate::LastDay(Date) noexcept { return Date{}; }
Date ZtDate::FirstDay(Date) noexcept { return Date{}; }
Boolean ZtDate::IsLeap(Date) noexcept { return false; }
Integer ZtDate::GregorianToJulian(Date) noexcept { return 0; }
Date ZtDate::JulianToGregorian(Integer, Integer) noexcept { return Date{}; }
String ZtDate::GetWeekDayName(Date) noexcept { return String(); }
String ZtDate::GetWeekDayAbbrev(Date) noexcept { return String(); }
Integer ZtDate::GetWeekDayNumber(Date) noexcept { return 0; }
String ZtDate::GetMonthName(Date) noexcept { return String(); }
String ZtDate::GetMonthAbbrev(Date) noexcept { return String(); }
Date ZtDate::GetMax(Date, Date) noexcept { return Date{}; }
Date ZtDate::GetMin(Date, Date) noexcept { return Date{}; }
Date ZtDate::Str2Time(const String&) noexcept { return Date{}; }

}  // namespace ztl
