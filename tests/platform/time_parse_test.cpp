// The strict time parser and the date text reader, with the platform's vectors, and the
// texts the library writes (general date text, ISO 8601) read back to the same second.

#include "platform/time_parse.hpp"

#include <gtest/gtest.h>

#include "../support/text.hpp"

#include <cmath>
#include <optional>
#include <random>
#include <string>

#include "platform/calendar.hpp"
#include "platform/date_format.hpp"

namespace ztl::platform {
namespace {

using testing_support::Wide;

// h:m:s as the fraction of the day the parsers give.
double Hms(int h, int m, int s) { return (h * 3600 + m * 60 + s) / 86400.0; }

TEST(ParseTime, HoursMinutesAndSeconds) {
  const struct {
    const char* text;
    std::optional<double> expected;
  } kCases[] = {
      {"9:5", Hms(9, 5, 0)},
      {"09:05", Hms(9, 5, 0)},
      {"0:0", 0},
      {"23:59:59", Hms(23, 59, 59)},
      {"12:30:15", Hms(12, 30, 15)},
      {"1:2:3", Hms(1, 2, 3)},
      {"00:00:00", 0},
      // Out of range.
      {"24:00", std::nullopt},
      {"0:60", std::nullopt},
      {"12:61", std::nullopt},
      {"1:2:60", std::nullopt},
      // Not the form.
      {"", std::nullopt},
      {"9", std::nullopt},
      {"930", std::nullopt},
      {"123:4", std::nullopt},
      {"1:234", std::nullopt},
      {":5", std::nullopt},
      {"5:", std::nullopt},
      {"5:6:", std::nullopt},
      {"5:6:7:8", std::nullopt},
      {"5::6", std::nullopt},
      {" 5:6", std::nullopt},
      {"5:6 ", std::nullopt},
      {"5.6", std::nullopt},  // Str2Time turns "." into ":" itself
      {"1:2 AM", std::nullopt},
      {"-1:30", std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    const std::optional<double> got = ParseTime(Wide(c.text));
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
      EXPECT_EQ(*got, *c.expected);
    }
  }
}

TEST(ParseTime, DigitsOtherThanAsciiAreNoDigits) {
  EXPECT_FALSE(ParseTime(u"\u0661:\u0662"));  // Arabic-Indic digits
  EXPECT_FALSE(ParseTime(u"\uFF11:\uFF12"));  // full-width digits
}

TEST(ParseDateText, PlatformVectors) {
  const struct {
    const char* text;
    std::optional<double> expected;
  } kCases[] = {
      // Times alone are on day 0; "." works like ":".
      {"1 am", Hms(1, 0, 0)},
      {"0.1", Hms(0, 1, 0)},
      {"2.5", Hms(2, 5, 0)},
      {"3:5", Hms(3, 5, 0)},
      {"9:30", Hms(9, 30, 0)},
      {"12:30:15", Hms(12, 30, 15)},
      {"12:59 AM", Hms(0, 59, 0)},
      {"12:59 pm", Hms(12, 59, 0)},
      {"12:59pm", Hms(12, 59, 0)},
      {"13:00 AM", Hms(13, 0, 0)},  // from hour 13 on AM/PM is ignored
      {"00:00 pm", Hms(12, 0, 0)},
      {"11 PM", Hms(23, 0, 0)},
      {"0:60", std::nullopt},
      {"24:00", std::nullopt},
      {"1", std::nullopt},
      {"0", std::nullopt},
      {"45000", std::nullopt},      // a day count is no date
      {"45000.5", std::nullopt},
      {"True", std::nullopt},
      {"1;2;3", std::nullopt},
      {"(1:2)", std::nullopt},
      {"1:2 AMX", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      // US dates, two-digit years by the window 0..29 / 30..99.
      {"6/30/2011 01:20:34 PM", 40724 + Hms(13, 20, 34)},
      {"1/1/100", -657434},
      {"12/31/9999", 2958465},
      {"12/31/99", 36525},
      {"1/1/50", 18264},
      {"12/31/29", 47483},
      {"1/1/0", 36526},
      {"2/29/2000", 36585},
      {"2/29/2001", std::nullopt},
      {"13/1/2001", std::nullopt},
      {"0/1/2001", std::nullopt},
      {"1/1/099", std::nullopt},   // a three-digit year is itself, below the range
      {"1/1/10000", std::nullopt},
      {"1/1", std::nullopt},
      {"02.01.1970", std::nullopt},  // dotted dates are not US English
      // ISO dates, with a time apart by blanks or "T".
      {"2013-05-14 02:04:12", 41408.08625},
      {"2013-05-14T02:04:12", 41408.08625},
      {"2013-05-14  2:04", 41408 + Hms(2, 4, 0)},
      {"2000-01-31T06:00:00", 36556.25},
      {" 2000-01-01 ", 36526},
      {"0100-01-01", -657434},
      {"1899-12-30 06:00", 0.25},
      {"1899-12-29 06:00", -1.25},  // negative dates count their time forward
      {"2013-05-14 02:04:12.017", std::nullopt},  // no fractions of a second
      {"2013-05-14T", std::nullopt},
      {"2013-05-1402:04", std::nullopt},
      {"0099-12-31", std::nullopt},
      {"99-12-31", std::nullopt},
      {"2000-1-1", 36526},
      {"2000-02-30", std::nullopt},
      {"1/1/2000T06:00", std::nullopt},  // "T" only after an ISO date
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    const std::optional<Date> got = ParseDateText(Wide(c.text));
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
      EXPECT_NEAR(got->value, *c.expected, 1e-9);
    }
  }
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
      SCOPED_TRACE(std::string(text->begin(), text->end()));
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
