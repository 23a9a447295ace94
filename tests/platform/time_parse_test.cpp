// The strict time parser behind Str2Time.

#include "platform/time_parse.hpp"

#include <gtest/gtest.h>

#include "../support/text.hpp"

#include <optional>

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

}  // namespace
}  // namespace ztl::platform
