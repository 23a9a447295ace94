// Writing Dates as text: the date patterns of the value-formatting service (weekday and
// month names of the user's locale, weekday numbers), the platform's general date text (what
// CStr gives) and ISO 8601. Number patterns are a separate service. Reading date texts is in
// date_text_reader.hpp.
#pragma once

#include <string_view>

#include "ztldata/base/outcome.hpp"

namespace ztl::platform {

// The first day of the week taken from the locale, for FormatDate.
inline constexpr int kLocaleFirstDay = 0;

// A Date written with a pattern of these tokens; every other character is copied, as is
// text in double quotes and the character after a backslash:
//   d, dd      the day of the month (1, 01)        m, mm      the month (1, 01)
//   ddd, dddd  the weekday name, abbreviated, full mmm, mmmm  the month name, abbreviated, full
//   y          the day of the year (1..366)         yy, yyyy   the year (00, 2000)
//   w          the weekday, 1..7, counted from first_day_of_week
// Letters may be upper case. A run of more than four equal letters starts a new token after
// the fourth; each w is a token of its own (no week of the year). Names come
// from the user's locale (month names in their form after a day when the pattern has a d
// or dd); first_day_of_week is 1 (Sunday) .. 7 (Saturday), or kLocaleFirstDay for the
// locale's. The time of day counts to the nearest second (23:59:59.6 is the next day).
// Fails with invalid procedure call (5) for NaN and Dates outside 100-01-01..9999-12-31.
Outcome<String> FormatDate(Date date, std::u16string_view pattern, int first_day_of_week = kLocaleFirstDay);

// The platform's text of a Date, US English: "12/30/1900 6:00:00 AM"; the date alone at
// midnight ("12/31/1903"), the time alone on day 0 ("12:00:00 AM" for 0). The time counts to
// the nearest second. Fails with invalid procedure call (5) for NaN and Dates outside the range.
Outcome<String> DateText(Date date);

// ISO 8601, "2000-01-31T06:00:00", the time left out at midnight ("2000-01-31"); to the
// nearest second. Fails with invalid procedure call (5) for NaN and Dates outside the range.
Outcome<String> IsoDateText(Date date);

}  // namespace ztl::platform
