// Dates written as text: the date patterns with the platform's vectors (US English), names of
// other locales, the general date text CStr gives, and ISO 8601.

#include "platform/date_format.hpp"

#include <gtest/gtest.h>

#include "../support/text.hpp"

#include <limits>
#include <string>

#include "ztldata/platform/locale.hpp"

namespace ztl::platform {
namespace {

using testing_support::Narrow;
using testing_support::Wide;

// A text as ASCII, or the error number ("error 5").
std::string Shown(const Outcome<String>& text) {
  return text ? Narrow(*text) : "error " + std::to_string(text.error());
}

// Every test here names its locale.
class DateFormat : public testing::Test {
 protected:
  void SetUp() override { SetLocale("en_US"); }
  void TearDown() override { SetLocale(""); }
};

TEST_F(DateFormat, PatternsUsEnglish) {
  const struct {
    double date;
    const char* pattern;
    const char* expected;
  } kCases[] = {
      // 2.525 is Monday 1900-01-01 12:36.
      {2.525, "ddd", "Mon"},
      {2.525, "dddd", "Monday"},
      {2.525, "mmm", "Jan"},
      {2.525, "mmmm", "January"},
      {2.525, "d", "1"},
      {2.525, "dd", "01"},
      {2.525, "y", "1"},
      {2.525, "yy", "00"},
      {2.525, "yyy", "001"},
      {2.525, "yyyy", "1900"},
      {2.525, "DDDD", "Monday"},
      {40531, "dddd", "Sunday"},
      {40531, "ddd", "Sun"},
      {33996, "dddd, mmm d yyyy", "Wednesday, Jan 27 1993"},
      {33996, "m/d/yy", "1/27/93"},
      {33996, "mm-dd-yyyy", "01-27-1993"},
      {36585, "y", "60"},                          // 2000-02-29
      {36891, "y", "366"},                         // 2000-12-31
      {-657434, "yyyy-mm-dd", "0100-01-01"},
      {33996, "\"dd\" d", "dd 27"},                // quoted text is copied
      {33996, "\\d d", "d 27"},                    // so is a character after a backslash
      {33996, "ddddd", "Wednesday27"},             // a fifth d starts a new token
      {33996, "[w]", "[4]"},
      {0.99999999, "d", "31"},                     // 23:59:59.999 rounds into the next day
      {-0.5, "dddd", "Saturday"},                  // noon of day 0
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.date << " " << c.pattern);
    EXPECT_EQ(Shown(FormatDate(Date{c.date}, Wide(c.pattern))), c.expected);
  }
}

TEST_F(DateFormat, WeekdayNumberFromTheFirstDayOfTheWeek) {
  // Day 0 is a Saturday: 7 when the week starts on Sunday, down to 1 when it starts on
  // Saturday.
  for (int first = 1; first <= 7; ++first) {
    SCOPED_TRACE(first);
    EXPECT_EQ(FormatDate(Date{0}, u"w", first), Wide(std::to_string(8 - first)));
  }
  EXPECT_EQ(FormatDate(Date{0}, u"w"), u"7");  // United States: Sunday first
  SetLocale("de_DE");
  EXPECT_EQ(FormatDate(Date{0}, u"w"), u"6");  // Germany: Monday first
  EXPECT_EQ(FormatDate(Date{0}, u"w", 1), u"7");
}

TEST_F(DateFormat, NamesOfTheLocale) {
  const struct {
    const char* locale;
    const char* pattern;
    std::u16string expected;
  } kCases[] = {
      {"de_DE", "dddd", u"Montag"},
      {"de_DE", "ddd", u"Mo"},
      {"de_DE", "mmmm", u"Januar"},
      {"fr_FR", "dddd", u"lundi"},
      {"fr_FR", "mmm", u"janv."},
      // A month after a day of the month takes the form the language uses there.
      {"ru_RU", "mmmm", u"\u044F\u043D\u0432\u0430\u0440\u044C"},
      {"ru_RU", "d mmmm", u"1 \u044F\u043D\u0432\u0430\u0440\u044F"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.locale << " " << c.pattern);
    SetLocale(c.locale);
    EXPECT_EQ(FormatDate(Date{2.525}, Wide(c.pattern)), c.expected);
  }
}

TEST_F(DateFormat, GeneralDateText) {
  const struct {
    double date;
    const char* expected;
  } kCases[] = {
      {0, "12:00:00 AM"},             // day 0: the time alone, even at midnight
      {0.5, "12:00:00 PM"},
      {-0.25, "6:00:00 AM"},          // the same moment as 0.25
      {0.75, "6:00:00 PM"},
      {365.25, "12/30/1900 6:00:00 AM"},
      {1461, "12/31/1903"},           // midnight: the date alone
      {-657434, "1/1/100"},
      {2958465, "12/31/9999"},
      {-1.25, "12/29/1899 6:00:00 AM"},
      {40724.55594907407, "6/30/2011 1:20:34 PM"},
      {36526 + 45015 / 86400.0, "1/1/2000 12:30:15 PM"},
      {0.99999999, "12/31/1899"},     // rounds to midnight of the next day
      {-1.999999999, "12:00:00 AM"},  // rounds to the start of day 0
      {2958465.999999999, "12/31/9999 11:59:59 PM"},  // no day after the last
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.date);
    EXPECT_EQ(Shown(DateText(Date{c.date})), c.expected);
  }
}

TEST_F(DateFormat, IsoText) {
  const struct {
    double date;
    const char* expected;
  } kCases[] = {
      {36526, "2000-01-01"},
      {36526.25, "2000-01-01T06:00:00"},
      {0, "1899-12-30"},
      {0.5, "1899-12-30T12:00:00"},
      {-1.25, "1899-12-29T06:00:00"},
      {-657434, "0100-01-01"},
      {2958465.5, "9999-12-31T12:00:00"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.date);
    EXPECT_EQ(Shown(IsoDateText(Date{c.date})), c.expected);
  }
}

TEST_F(DateFormat, OutsideTheRangeFails) {
  for (double value : {-657435.0, 2958466.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(FormatDate(Date{value}, u"dddd").error(), kInvalidProcedureCall);
    EXPECT_EQ(DateText(Date{value}).error(), kInvalidProcedureCall);
    EXPECT_EQ(IsoDateText(Date{value}).error(), kInvalidProcedureCall);
  }
}

}  // namespace
}  // namespace ztl::platform
