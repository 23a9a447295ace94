// Reading times and dates from text as the host platform does: the strict time parser
// behind Str2Time, and the date text reader behind a text passed for a Date. Writing dates
// as text is in date_format.hpp.
#pragma once

#include <optional>
#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl::platform {

// A time of day from "h:m" or "h:m:s", each part one or two decimal digits, hours 0..23,
// minutes and seconds 0..59; nothing else is accepted (no blanks, no "." separator).
// The result is the fraction of the day, 0 <= result < 1.
std::optional<double> ParseTime(std::u16string_view text);

// A Date from a date text, a time text, or a date text and a time text apart by blanks,
// with blanks allowed around the whole:
//   dates  ISO yyyy-mm-dd (four-digit year), or US M/d/y with a year of 1 to 4 digits
//          (1 or 2 digits read as 2000..2029 for 0..29, 1930..1999 for 30..99); the day
//          must exist in its month and the year lie in 100..9999
//   times  h:m or h:m:s with ":" or "." apart, parts of 1 or 2 digits (hours 0..23,
//          minutes and seconds 0..59), or an hour alone when AM/PM follows; an optional
//          AM or PM (any case, blank before it optional): 12 AM is hour 0, PM adds 12
//          to hours 1..11 and makes 0 noon, and is ignored from hour 13 on
// "T" may also stand between an ISO date and its time, as ISO 8601 writes it. A time alone
// is on day 0; a date alone at 00:00. Empty when the text is none of these (a whole number
// such as "45000" included), which a caller reports as a type mismatch.
std::optional<Date> ParseDateText(std::u16string_view text);

}  // namespace ztl::platform
