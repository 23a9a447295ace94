// ZtDate: the documented cases and sound behaviours of each operation, every day from
// 100-01-01 to 9999-12-31 against a day-by-day walk of the calendar, the names in English,
// German and French, and Str2Time over every short text against a reference parser.

#include "ztldata/dates/date.hpp"

#include <gtest/gtest.h>

#include "../support/civil_walk.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ztldata/frame/object.hpp"
#include "ztldata/platform/locale.hpp"

namespace ztl {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A Date of a civil day number at a time of day; negative Dates count their time forward.
Date At(long long day_number, double time = 0) {
  return Date{day_number < 0 ? static_cast<double>(day_number) - time : static_cast<double>(day_number) + time};
}

// Hours, minutes and seconds as a time of day.
Date Hms(int h, int m, int s) { return Date{(h * 3600 + m * 60 + s) / 86400.0}; }

using Walk = testing_support::CivilWalk;

// Dates by their civil day number, as the cases below write them.
constexpr long long k2000_01_01 = 36526;
constexpr long long k2001_01_01 = 36892;

// Every test names its locale.
class ZtDateTest : public testing::Test {
 protected:
  void SetUp() override { SetLocale("en_US"); }
  void TearDown() override { SetLocale(""); }
  ZtDate d;
};

TEST_F(ZtDateTest, LastDay) {
  const struct {
    Date date;
    Date expected;
  } kCases[] = {
      {At(36566), At(36585)},                                  // 2000-02-10: 2000-02-29
      {At(42), At(60)},                                        // 1900-02-10: 1900-02-28
      {At(37256, 15.5 / 24), At(37256, 15.5 / 24)},            // 2001-12-31 15:30 stays
      {At(k2001_01_01 + 14), At(k2001_01_01 + 30)},            // January 15: January 31
      {At(k2001_01_01 + 30), At(k2001_01_01 + 30)},            // January 31: January 31
      {At(-20, 0.25), At(1, 0.25)},                            // 1899-12-10 06:00: 12-31 06:00
      {At(-657434), At(-657404)},                              // 100-01-01: 100-01-31
      // December 9999 has no next month; its last day is the last day of the range.
      {At(2958450, 0.75), At(2958465, 0.75)},
      {At(2958465), At(2958465)},
      {At(2958419), At(2958434)},                              // 9999-11-15: 9999-11-30
      // Outside the range and not a number: 0.
      {Date{2958466}, Date{0}},
      {Date{-657435}, Date{0}},
      {Date{kNaN}, Date{0}},
      {Date{kInf}, Date{0}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.date.value);
    EXPECT_EQ(d.LastDay(c.date).value, c.expected.value);
  }
}

TEST_F(ZtDateTest, FirstDay) {
  const struct {
    Date date;
    Date expected;
  } kCases[] = {
      {At(36967, 8.0 / 24), At(36951, 8.0 / 24)},  // 2001-03-17 08:00: 2001-03-01 08:00
      {At(36951), At(36951)},
      {At(-657434, 0.5), At(-657434, 0.5)},
      // 1899-12-31 06:00 is 1.25; its first day, 1899-12-01 06:00, is -29.25. Subtracting
      // 30 from the serial would give -28.75, 1899-12-02 18:00.
      {At(1, 0.25), At(-29, 0.25)},
      {At(0, 0.25), At(-29, 0.25)},
      {Date{kNaN}, Date{0}},
      {Date{1e10}, Date{0}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.date.value);
    EXPECT_EQ(d.FirstDay(c.date).value, c.expected.value);
  }
}

TEST_F(ZtDateTest, IsLeap) {
  const struct {
    long long day_number;
    bool expected;
  } kCases[] = {
      {k2000_01_01, true},           // 2000
      {2, false},                    // 1900
      {k2000_01_01 + 1461, true},    // 2004
      {k2001_01_01, false},          // 2001
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.day_number);
    EXPECT_EQ(d.IsLeap(At(c.day_number)), c.expected);
  }
  EXPECT_FALSE(d.IsLeap(Date{kNaN}));
  EXPECT_FALSE(d.IsLeap(Date{-1e9}));
}

TEST_F(ZtDateTest, GregorianToJulian) {
  const struct {
    Date date;
    Integer expected;
  } kCases[] = {
      {At(36951), 60},             // 2001-03-01
      {At(36586), 61},             // 2000-03-01
      {At(36891), 366},            // 2000-12-31
      {At(36891, 0.99), 366},      // the time is ignored
      {At(-657434, 0.5), 1},
      {Date{kNaN}, 0},
      {Date{2958466}, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.date.value);
    EXPECT_EQ(d.GregorianToJulian(c.date), c.expected);
  }
}

TEST_F(ZtDateTest, JulianToGregorian) {
  const struct {
    Integer year;
    Integer days;
    double expected;
  } kCases[] = {
      {2001, 60, 36951},             // 2001-03-01
      {2000, 60, 36585},             // 2000-02-29
      {2001, 1, 36892},
      {2001, 365, 37256},            // 2001-12-31
      {2001, 0, 36891},              // 2000-12-31
      {2001, -1, 36890},
      // Beyond the year's days: on into the following years.
      {2001, 366, 37257},            // 2002-01-01
      {2001, 400, 37291},            // 2002-02-04
      {2000, 32767, 36526 + 32766},
      {1999, -32768, 36161 - 32769},
      // Years below 100 are two-digit years.
      {0, 1, 36526},                 // 2000-01-01
      {29, 60, 47178},               // 2029-03-01
      {30, 1, 10959},                // 1930-01-01
      {99, 365, 36525},              // 1999-12-31
      {4, 60, 38046},                // 2004-02-29
      // Outside the range: 0.
      {100, 0, 0},
      {9999, 366, 0},
      {10000, 1, 0},
      {-1, 1, 0},
      {-32768, -32768, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.year << ", " << c.days);
    EXPECT_EQ(d.JulianToGregorian(c.year, c.days).value, c.expected);
  }
}

TEST_F(ZtDateTest, EveryDayOfTheRange) {
  for (Walk w; !w.Done(); w.Next()) {
    const double time = static_cast<double>((w.day_number * 5) & 15) / 16;
    const Date date = At(w.day_number, time);
    const Integer ordinal = d.GregorianToJulian(date);
    const Date first = d.FirstDay(date);
    const Date last = d.LastDay(date);
    const bool ok = ordinal == w.ordinal &&
                    d.JulianToGregorian(static_cast<Integer>(w.year), ordinal).value == At(w.day_number).value &&
                    first.value == At(w.day_number - (w.day - 1), time).value &&
                    last.value == At(w.day_number + (Walk::Length(w.year, w.month) - w.day), time).value &&
                    d.IsLeap(date) == Walk::Leap(w.year);
    if (!ok) {
      FAIL() << w.year << "-" << w.month << "-" << w.day << " at " << time << ": ordinal " << ordinal << ", first "
             << first.value << ", last " << last.value;
    }
  }
}

TEST_F(ZtDateTest, NamesInEnglishGermanAndFrench) {
  // 2024-01-01 (45292) is a Monday; the week from it, and the first day of each month.
  const struct {
    const char* locale;
    std::u16string weekday_names[7];   // from Monday
    std::u16string weekday_abbrevs[7];
    std::u16string month_names[12];
    std::u16string month_abbrevs[3];   // January to March
  } kCases[] = {
      {"en_US",
       {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"},
       {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"},
       {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September",
        u"October", u"November", u"December"},
       {u"Jan", u"Feb", u"Mar"}},
      {"de_DE",
       {u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"},
       {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"},
       {u"Januar", u"Februar", u"M\u00E4rz", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September",
        u"Oktober", u"November", u"Dezember"},
       {u"Jan", u"Feb", u"M\u00E4r"}},
      {"fr_FR",
       {u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi", u"dimanche"},
       {u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam.", u"dim."},
       {u"janvier", u"f\u00E9vrier", u"mars", u"avril", u"mai", u"juin", u"juillet", u"ao\u00FBt", u"septembre",
        u"octobre", u"novembre", u"d\u00E9cembre"},
       {u"janv.", u"f\u00E9vr.", u"mars"}},
  };
  constexpr int kMonthStarts[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};  // 2024, a leap year
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.locale);
    SetLocale(c.locale);
    for (int i = 0; i < 7; ++i) {
      const Date date = At(45292 + i, 0.5);
      EXPECT_EQ(d.GetWeekDayName(date), c.weekday_names[i]);
      EXPECT_EQ(d.GetWeekDayAbbrev(date), c.weekday_abbrevs[i]);
    }
    for (int m = 0; m < 12; ++m) {
      const Date date = At(45292 + kMonthStarts[m] + 14);
      EXPECT_EQ(d.GetMonthName(date), c.month_names[m]);
      if (m < 3) {
        EXPECT_EQ(d.GetMonthAbbrev(date), c.month_abbrevs[m]);
      }
    }
  }
}

TEST_F(ZtDateTest, NamesOfBadDatesAreEmpty) {
  for (double value : {kNaN, kInf, -kInf, 2958466.0, -657435.0, 1e300}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(d.GetWeekDayName(Date{value}), u"");
    EXPECT_EQ(d.GetWeekDayAbbrev(Date{value}), u"");
    EXPECT_EQ(d.GetMonthName(Date{value}), u"");
    EXPECT_EQ(d.GetMonthAbbrev(Date{value}), u"");
    EXPECT_EQ(d.GetWeekDayNumber(Date{value}), 0);
  }
}

TEST_F(ZtDateTest, WeekDayNumberFromTheLocalesFirstDay) {
  // Sunday first in the United States, Monday first in Germany and France.
  const struct {
    const char* locale;
    int first_weekday;  // 1 Sunday .. 7 Saturday
  } kCases[] = {{"en_US", 1}, {"de_DE", 2}, {"fr_FR", 2}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.locale);
    SetLocale(c.locale);
    // Three weeks around day 0, both signs of the serial, and the ends of the range.
    for (long long day : {-10LL, -1LL, 0LL, 1LL, 2LL, 3LL, 4LL, 5LL, 6LL, 7LL, 8LL, 45292LL, -657434LL, 2958465LL}) {
      const int weekday = static_cast<int>(((day % 7) + 13) % 7) + 1;  // day 0 was a Saturday
      const int expected = (weekday - c.first_weekday + 7) % 7 + 1;
      EXPECT_EQ(d.GetWeekDayNumber(At(day, 0.75)), expected) << day;
    }
  }
  SetLocale("en_US");
  EXPECT_EQ(d.GetWeekDayNumber(At(45298)), 1);  // Sunday 2024-01-07
  SetLocale("de_DE");
  EXPECT_EQ(d.GetWeekDayNumber(At(45298)), 7);
}

TEST_F(ZtDateTest, GetMaxAndGetMinGiveTheSecondOnTies) {
  // 0 and -0 compare equal, so the sign tells which argument came back.
  EXPECT_TRUE(std::signbit(d.GetMax(Date{0.0}, Date{-0.0}).value));
  EXPECT_TRUE(std::signbit(d.GetMin(Date{0.0}, Date{-0.0}).value));
  EXPECT_FALSE(std::signbit(d.GetMax(Date{-0.0}, Date{0.0}).value));
  EXPECT_EQ(d.GetMax(Date{36526}, Date{36526}).value, 36526);
  EXPECT_EQ(d.GetMax(Date{1}, Date{2}).value, 2);
  EXPECT_EQ(d.GetMax(Date{2}, Date{1}).value, 2);
  EXPECT_EQ(d.GetMin(Date{1}, Date{2}).value, 1);
  EXPECT_EQ(d.GetMin(Date{2}, Date{1}).value, 1);
  // -0.75 is later than -0.5 by the day count, though the moments are 18:00 and 12:00.
  EXPECT_EQ(d.GetMax(Date{-0.75}, Date{-0.5}).value, -0.5);
  // NaN compares false either way: the second argument comes back.
  EXPECT_EQ(d.GetMax(Date{kNaN}, Date{3}).value, 3);
  EXPECT_TRUE(std::isnan(d.GetMin(Date{3}, Date{kNaN}).value));
}

TEST_F(ZtDateTest, Str2Time) {
  const struct {
    std::u16string text;
    Date expected;
  } kCases[] = {
      {u"9", Hms(9, 0, 0)},
      {u"12", Hms(12, 0, 0)},
      {u"930", Hms(9, 30, 0)},
      {u"9.5", Hms(9, 5, 0)},        // 9:5, left as it is
      {u"0930", Hms(9, 30, 0)},
      {u"1230", Hms(12, 30, 0)},
      {u"12:45", Hms(12, 45, 0)},
      {u"12345", Hms(12, 45, 0)},    // the middle character becomes ":"
      {u"12.30.15", Hms(12, 30, 15)},
      {u"12:30:45", Hms(12, 30, 45)},
      {u"9:05:1", Hms(9, 5, 1)},
      {u"0", Date{0}},
      {u"2359", Hms(23, 59, 0)},
      {u"2400", Date{0}},            // hours 0..23
      {u"1260", Date{0}},            // minutes 0..59
      {u"25:00", Date{0}},
      {u"12:61", Date{0}},
      {u"12h30", Date{0}},           // a character outside "1234567890.:"
      {u"", Date{0}},
      {u" 930", Date{0}},
      {u"-930", Date{0}},
      {u"123456", Date{0}},
      {u"12:30:45:00", Date{0}},
      {u"\u0669\u0663\u0660", Date{0}},         // Arabic-Indic digits are no digits here
      {std::u16string(40000, u'1'), Date{0}},    // beyond a 16-bit position counter
      {std::u16string(40000, u':'), Date{0}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.begin() + std::min<std::size_t>(c.text.size(), 20)));
    EXPECT_EQ(d.Str2Time(c.text).value, c.expected.value);
  }
}

// The time of a text as the reference reads it: the normalisation by length, then hours,
// minutes and optional seconds of one or two digits each.
std::optional<int> ReferenceSeconds(std::string s) {
  for (char& c : s) {
    if (c == '.') c = ':';
  }
  const bool colon = s.find(':') != std::string::npos;
  if (s.empty()) return std::nullopt;
  if (s.size() == 1) s = "0" + s + ":00";
  else if (s.size() == 2) s = s + ":00";
  else if (s.size() == 3 && !colon) s = s.substr(0, 1) + ":" + s.substr(1);
  else if (s.size() == 4 && !colon) s = s.substr(0, 2) + ":" + s.substr(2);
  else if (s.size() == 5) s = s.substr(0, 2) + ":" + s.substr(3);
  // Split at ":" into 2 or 3 fields of 1 or 2 digits.
  std::vector<std::string> fields(1);
  for (char c : s) {
    if (c == ':') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (fields.size() < 2 || fields.size() > 3) return std::nullopt;
  int value[3] = {0, 0, 0};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].empty() || fields[i].size() > 2) return std::nullopt;
    value[i] = std::stoi(fields[i]);
  }
  if (value[0] > 23 || value[1] > 59 || value[2] > 59) return std::nullopt;
  return value[0] * 3600 + value[1] * 60 + value[2];
}

TEST_F(ZtDateTest, Str2TimeOverEveryShortText) {
  constexpr char kAlphabet[] = "0123456789.:";
  constexpr int kLetters = 12;
  int accepted = 0;
  for (int length = 0; length <= 5; ++length) {
    int count = 1;
    for (int i = 0; i < length; ++i) count *= kLetters;
    for (int n = 0; n < count; ++n) {
      std::string text;
      for (int i = 0, rest = n; i < length; ++i, rest /= kLetters) text += kAlphabet[rest % kLetters];
      const std::optional<int> seconds = ReferenceSeconds(text);
      const double expected = seconds ? *seconds / 86400.0 : 0;
      const double got = d.Str2Time(std::u16string(text.begin(), text.end())).value;
      if (got != expected) FAIL() << "\"" << text << "\": " << got << ", expected " << expected;
      accepted += seconds.has_value();
    }
  }
  // A sanity check on the reference itself: many texts are times, most are not.
  EXPECT_GT(accepted, 10000);
  EXPECT_LT(accepted, 100000);
}

TEST_F(ZtDateTest, LateBoundDatesFromText) {
  ObjectRef date = CreateObject(u"ZTLData.ZtDate");
  ASSERT_TRUE(date);
  // A text for a Date parameter is read as a date text by the dispatch layer.
  EXPECT_EQ(date->Invoke(u"LastDay", {String(u"2000-02-10")}), Variant(Date{36585}));
  EXPECT_EQ(date->Invoke(u"LastDay", {String(u"2/10/2000 6:00 PM")}), Variant(Date{36585.75}));
  EXPECT_EQ(date->Invoke(u"GetWeekDayName", {String(u"2024-01-01")}), Variant(String(u"Monday")));
  EXPECT_EQ(date->Invoke(u"JulianToGregorian", {Long{2001}, Long{60}}), Variant(Date{36951}));
  EXPECT_EQ(date->Invoke(u"Str2Time", {Long{930}}), Variant(Date{9.5 / 24}));
  // A text that is no date, a day count among them, never reaches the operation.
  for (const char16_t* text : {u"36526", u"tomorrow", u"2000-02-30"}) {
    SCOPED_TRACE(std::string(text, text + std::char_traits<char16_t>::length(text)));
    EXPECT_EQ(date->Invoke(u"LastDay", {String(text)}).error(), kTypeMismatch);
  }
}

}  // namespace
}  // namespace ztl
