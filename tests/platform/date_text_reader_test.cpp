// The date text reader against the platform's vectors (US English), form by form, the texts
// it rejects, and the texts the library writes (general date text, ISO 8601) read back.

#include "platform/date_text_reader.hpp"

#include <gtest/gtest.h>

#include "../support/text.hpp"

#include <cmath>
#include <ctime>
#include <optional>
#include <random>
#include <string>

#include "platform/calendar.hpp"
#include "platform/date_format.hpp"

namespace ztl::platform {
namespace {

using testing_support::Narrow;

// h:m:s as the fraction of the day the reader gives.
double Hms(int h, int m, int s) { return (h * 3600 + m * 60 + s) / 86400.0; }
double Day(int y, int m, int d) { return static_cast<double>(DayNumberOf(y, m, d)); }

// The year the two-part dates of these tables fall in; 2024 for the leap-day cases.
constexpr int kThisYear = 2023;

struct Case {
  const char16_t* text;
  std::optional<double> expected;  // empty: no date
};

void ExpectReadings(const Case* begin, const Case* end, int this_year = kThisYear) {
  for (const Case* c = begin; c != end; ++c) {
    SCOPED_TRACE(Narrow(c->text));
    const std::optional<Date> got = ParseDateText(c->text, this_year);
    EXPECT_EQ(got.has_value(), c->expected.has_value());
    if (got && c->expected) {
      EXPECT_NEAR(got->value, *c->expected, 1e-9);
    }
  }
}

TEST(ParseDateText, Times) {
  const Case kCases[] = {
      // A time alone is on day 0; "." works like ":".
      {u"1 am", Hms(1, 0, 0)},
      {u"11 PM", Hms(23, 0, 0)},
      {u"0.1", Hms(0, 1, 0)},
      {u"0.40", Hms(0, 40, 0)},
      {u"2.5", Hms(2, 5, 0)},
      {u"0:1", Hms(0, 1, 0)},
      {u"3:5", Hms(3, 5, 0)},
      {u"9:30", Hms(9, 30, 0)},
      {u"0.1.0", Hms(0, 1, 0)},
      {u"1.5.2", Hms(1, 5, 2)},
      {u"12:30:15", Hms(12, 30, 15)},
      // Day-half markers, two letters or one, any case, a blank before them or none.
      {u"00:00 AM", 0},
      {u"00:00 a", 0},
      {u"12:59 AM", Hms(0, 59, 0)},
      {u"12:59 A", Hms(0, 59, 0)},
      {u"00:00 pm", Hms(12, 0, 0)},
      {u"00:00 p", Hms(12, 0, 0)},
      {u"12:59 pm", Hms(12, 59, 0)},
      {u"12:59 p", Hms(12, 59, 0)},
      {u"12:59pm", Hms(12, 59, 0)},
      {u"12 a", 0},
      {u"13:00 AM", Hms(13, 0, 0)},  // from hour 13 on the marker changes nothing
      {u"13:00 PM", Hms(13, 0, 0)},
      // Out of range (more in RejectedTexts), not a time, or no time on the platform.
      {u"1:2:60", std::nullopt},
      {u"0.0", std::nullopt},
      {u"1:2 AMX", std::nullopt},
      {u"1:2 a.m.", std::nullopt},
      {u"123:4", std::nullopt},
  };
  ExpectReadings(std::begin(kCases), std::end(kCases));
}

TEST(ParseDateText, DatesOfThreeNumbers) {
  const Case kCases[] = {
      // M/d/y with blanks, "/" or "-"; else y/M/d; else d/M/y.
      {u"1 2 1970", 25570},
      {u"1/2/1970", 25570},
      {u"1-2-1970", 25570},
      {u"01/02/03", 37623},
      {u"1 2 3", 37623},
      {u"2 14 3", 37666},
      {u"2 3 14", 41673},
      {u"14 2 3", 41673},  // no month 14: y/M/d before d/M/y
      {u"1970-1-13", 25581},
      {u"99-12-31", 36525},
      {u"13-1-1970", 25581},
      {u"13/1/2001", Day(2001, 1, 13)},
      {u"31 12 49", 18263},
      // Two-digit years: 0..29 are 2000..2029, 30..99 are 1930..1999; more digits as written.
      {u"1 1 0", 36526},
      {u"1 2 29", 47120},
      {u"12 31 29", 47483},
      {u"1 1 30", 10959},
      {u"1 2 30", 10960},
      {u"1 2 31", 11325},
      {u"32 2 3", 11722},
      {u"2 3 32", 11722},
      {u"1 1 50", 18264},
      {u"12 31 99", 36525},
      {u"1 1 100", -657434},
      {u"0100-01-01", -657434},
      {u"12/31/9999", 2958465},
      {u"2/29/2000", 36585},
      // No real date in any order, a part of too many digits, separators that differ.
      {u"2/29/2001", std::nullopt},
      {u"0/1/2001", std::nullopt},
      {u"2000-02-30", std::nullopt},
      {u"1/1/099", std::nullopt},  // a three-digit year is itself, below the range
      {u"0099-12-31", std::nullopt},
      {u"1/1/10000", std::nullopt},
      {u"001/2/1970", std::nullopt},
      {u"1/2-1970", std::nullopt},
      {u"1 2/1970", std::nullopt},
      {u"1 / 2 / 1970", std::nullopt},
      {u"1 2, 1970", std::nullopt},  // a "," only in a date with a month name
  };
  ExpectReadings(std::begin(kCases), std::end(kCases));
}

TEST(ParseDateText, DatesWithMonthNames) {
  const Case kCases[] = {
      {u"2 January, 1970", 25570},
      {u"2 January 1970", 25570},
      {u"2 Jan 1970", 25570},
      {u"2/Jan/1970", 25570},
      {u"2-Jan-1970", 25570},
      {u"January 2, 1970", 25570},
      {u"Jan 2 1970", 25570},
      {u"jAN 2 70", 25570},
      {u"2 jan, 70", 25570},
      {u"sep 30 2000", Day(2000, 9, 30)},
      {u"May 1 2000", Day(2000, 5, 1)},
      {u"December 31, 9999", 2958465},
      {u"29 Feb 2000", 36585},
      {u"29 Feb 2001", std::nullopt},  // the day must exist
      {u"Jan 32 1970", std::nullopt},
      {u"1970 Jan 2", std::nullopt},   // the year comes last
      {u"2 1970 Jan", std::nullopt},
      {u"Jan Feb 2", std::nullopt},
      {u"Sept 1 2000", std::nullopt},  // full names or three letters only
      {u"Janu 2 1970", std::nullopt},
      {u"January, 2 1970", std::nullopt},
      {u"2, January 1970", std::nullopt},
      {u"2-Jan 1970", std::nullopt},
      {u"Friday, January 2, 1970", std::nullopt},
      {u"2Jan1970", std::nullopt},
      {u"Janvier 2 1970", std::nullopt},
  };
  ExpectReadings(std::begin(kCases), std::end(kCases));
}

TEST(ParseDateText, DatesOfTheCurrentYear) {
  const Case kCases[] = {
      // Two numbers: M/d, else d/M, else a year and a month (the first of the month).
      {u"1 2", Day(2023, 1, 2)},
      {u"2 1", Day(2023, 2, 1)},
      {u"1/1", Day(2023, 1, 1)},
      {u"14 1", Day(2023, 1, 14)},
      {u"1 14", Day(2023, 1, 14)},
      {u"30 2", 10990},
      {u"2 30", 10990},
      {u"2 1999", Day(1999, 2, 1)},
      {u"32 49", std::nullopt},
      {u"0 49", std::nullopt},
      // A month name and its day, or else its year.
      {u"Jan 2", Day(2023, 1, 2)},
      {u"2 Jan", Day(2023, 1, 2)},
      {u"Jan 35", 12785},
      {u"35 Jan", 12785},
      {u"Jan-35", 12785},
      {u"35-Jan", 12785},
      {u"Jan/35", 12785},
      {u"35/Jan", 12785},
      {u"January 1970", 25569},
      {u"Feb 29", Day(2029, 2, 1)},  // no February 29 in 2023
      {u"Jan, 2", std::nullopt},
  };
  ExpectReadings(std::begin(kCases), std::end(kCases));
  const Case kLeapYear[] = {{u"Feb 29", Day(2024, 2, 29)}, {u"2/29", Day(2024, 2, 29)}};
  ExpectReadings(std::begin(kLeapYear), std::end(kLeapYear), 2024);
}

TEST(ParseDateText, DatesAndTimes) {
  const Case kCases[] = {
      // A date and a time apart by blanks, either one first.
      {u"6/30/2011 01:20:34", 40724.05594907407},
      {u"6/30/2011 01:20:34 AM", 40724.05594907407},
      {u"6/30/2011 01:20:34 PM", 40724.55594907407},
      {u"6/30/2011\u30001:20:34", 40724.05594907407},  // an ideographic space
      {u"6/30/2011\t1:20:34", 40724.05594907407},
      {u"2013-05-14 02:04:12", 41408.08625},
      {u"2013-05-14  2:04", 41408 + Hms(2, 4, 0)},
      {u"1.2 3 4 5", 38415.04305555556},
      {u"1 2 3 4.5", 37623.17013888889},
      {u"1.2.3 4 5 6", 38812.04309027778},
      {u"1 2 3 4.5.6", 37623.17020833334},
      {u"3 am 1 2", Day(2023, 1, 2) + Hms(3, 0, 0)},
      {u"1 2 3 am", Day(2023, 1, 2) + Hms(3, 0, 0)},
      {u"1.2 3 4", Day(2023, 3, 4) + Hms(1, 2, 0)},
      {u"3 4 1.2", Day(2023, 3, 4) + Hms(1, 2, 0)},
      {u"1.2.3 4 5", Day(2023, 4, 5) + Hms(1, 2, 3)},
      {u"January 2, 1970 6:30 PM", 25570 + Hms(18, 30, 0)},
      {u"6:30 PM 2-Jan-1970", 25570 + Hms(18, 30, 0)},
      {u"1/2/1970 9AM", 25570 + Hms(9, 0, 0)},
      // ISO 8601: "T" between date and time; blanks around the whole.
      {u"2013-05-14T02:04:12", 41408.08625},
      {u"2000-01-31t06:00:00", 36556.25},
      {u" 2000-01-01 ", 36526},
      {u"\u3000 2000-01-01\t", 36526},
      {u"1899-12-30 06:00", 0.25},
      {u"1899-12-29 06:00", -1.25},  // negative dates count their time forward
      // Fractions of a second, two dates or two times, a time inside a date.
      {u"2013-05-14 02:04:12.017", std::nullopt},
      {u"2013-05-14T", std::nullopt},
      {u"2013-05-14 T02:04", std::nullopt},
      {u"2013-05-1402:04", std::nullopt},
      {u"1/1/2000T06:00", std::nullopt},  // "T" only after a yyyy-mm-dd date
      {u"1/2/1970, 9:00", std::nullopt},
      {u"1/2/1970\u00A09:00", std::nullopt},  // a no-break space is no blank here
      {u"1/2/1970 9:00 10:00", std::nullopt},
      {u"1/2/1970 3/4/1970", std::nullopt},
      {u"02.01.1970 00:00:00", std::nullopt},
  };
  ExpectReadings(std::begin(kCases), std::end(kCases));
}

TEST(ParseDateText, RejectedTexts) {
  // The platform's list of texts that are no date, by the count of their parts.
  const char* const kTexts[] = {
      "True", "False", "0.", ".0", "-1.1", "1.1-", "1;2;3", "1*2*3", "1@2@3", "1#2#3", "(1:2)",
      "<1:2>", "1|2|3", "0", "1", "0.60", "24.00", "0:60", "24:00", "1 2 am", "1 am 2",
      "1.5 2", "1 5.2", "2 32 3", "1 2 am 3",
      "1 2.3 4", "1.2.3 4", "1 2.3.4", "1.2 3.4", "1.2.3.4", "1 2 3 4",
      "1 am 2 3.4", "1 2 am 3.4", "1.2 3 am 4", "1.2 3 4 am",
      "1.2.3.4.5", "1.2.3.4 5", "1.2.3 4.5", "1.2 3.4.5", "1.2 3.4 5", "1.2 3 4.5",
      "1 2.3.4.5", "1 2.3.4 5", "1 2.3 4.5", "1 2.3 4 5", "1 2 3.4 5", "1 2 3 4 5",
      "1.2.3 4 am 5", "1.2.3 4 5 am", "1.2 3 am 4 5", "1.2 3 4 am 5", "1.2 3 4 5 am",
      "1 am 2 3.4.5", "1 2 am 3.4.5", "1 am 2 3 4.5", "1 2 am 3 4.5", "1 2 3 am 4.5",
      "1.2.3.4.5.6", "1.2.3.4.5 6", "1.2.3.4 5.6", "1.2.3.4 5 6", "1.2.3 4.5.6",
      "1.2.3 4.5 6", "1.2.3 4 5.6", "1.2 3.4.5.6", "1.2 3.4.5 6", "1.2 3.4 5.6",
      "1.2 3.4 5 6", "1.2 3 4.5.6", "1.2 3 4.5 6", "1.2 3 4 5.6", "1.2 3 4 5 6",
      "1 2.3.4.5.6", "1 2.3.4.5 6", "1 2.3.4 5.6", "1 2.3.4 5 6", "1 2.3 4.5.6",
      "1 2 3.4 5.6", "1 2 3.4 5 6", "1 2 3 4.5 6", "1 2 3 4 5.6", "1 2 3 4 5 6",
      "1 2 am 3 4.5.6", "1 2 3 am 4.5.6",
      // And more that are no date: a dotted date, a day count, nothing at all.
      "02.01.1970", "45000", "45000.5", "", "   ", "1/2/1970 12:00:00 AM PM",
  };
  for (const char* text : kTexts) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseDateText(testing_support::Wide(text), kThisYear).has_value());
  }
  // Digits other than ASCII ones, and a text far longer than any date.
  EXPECT_FALSE(ParseDateText(u"\u0661/\u0662/1970", kThisYear).has_value());
  EXPECT_FALSE(ParseDateText(String(100000, u'1'), kThisYear).has_value());
}

// Without a year given, a date without one falls in the current year of the local clock.
TEST(ParseDateText, CurrentYearFromTheClock) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ASSERT_NE(localtime_r(&now, &local), nullptr);
  const std::optional<Date> got = ParseDateText(u"Jan 2");
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->value, Day(local.tm_year + 1900, 1, 2));
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
      SCOPED_TRACE(Narrow(*text));
      const std::optional<Date> back = ParseDateText(*text);
      ASSERT_TRUE(back.has_value());
      const Outcome<DateParts> a = SplitDate(*date), b = SplitDate(*back);
      ASSERT_TRUE(a.ok() && b.ok());
      ASSERT_EQ(b->day_number, a->day_number);
      ASSERT_EQ(std::llround(b->time * 86400), second);
    }
  }
}

}  // namespace
}  // namespace ztl::platform
