// Reading a Date from text as the host platform reads it in US English: a date written with
// numbers or a month name, a time of day, or both. The strict time parser behind Str2Time is
// ParseTime (time_parse.hpp); writing dates as text is in date_format.hpp.
#pragma once

#include <optional>
#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl::platform {

// A Date from a date text, a time text, or both apart by blanks (either one first), with
// blanks allowed around the whole. Blanks are spaces, tabs and ideographic spaces (U+3000).
//   dates  two or three parts apart by blanks, "/" or "-" (the same all through): numbers
//          and at most one English month name, full or in three letters, any case
//          ("January", "jan"). Three numbers are M/d/y, else y/M/d, else d/M/y, whichever
//          makes a real date first ("1-2-1970", "1970-1-13", "13-1-1970"). A month name
//          stands first or second and the year last ("Jan 2 1970", "2-Jan-1970"); a ","
//          may come before that year ("January 2, 1970", "2 January, 1970").
//          Two parts are a day of the current year: M/d, else d/M, or the month name and
//          its day ("1 2", "14 1", "Jan 2"); when no day fits, the number that is no month
//          is a year and the date the first of the month ("2 30" is 1930-02-01, "Jan 35"
//          1935-01-01). A year of one or two digits is 2000..2029 for 0..29 and 1930..1999
//          for 30..99; three or four digits are the year itself, 100..9999. The day must
//          exist in its month.
//   times  h:m or h:m:s with ":" or "." apart, parts of one or two digits (hours 0..23,
//          minutes and seconds 0..59), or an hour alone with AM/PM; then perhaps AM, PM,
//          A or P (any case, a blank before it optional): 12 AM is hour 0, PM adds 12 to
//          hours 0..11, and from hour 13 on the marker changes nothing.
// "T" may also stand between a yyyy-mm-dd date and its time, as ISO 8601 writes it. A time
// alone is on day 0; a date alone at 00:00. Empty when the text is none of these (a whole
// number such as "45000", a dotted date such as "02.01.1970", fractions of a second, a day
// its month lacks, and "0.0", which the platform reads as no time), which a caller reports
// as a type mismatch.
std::optional<Date> ParseDateText(std::u16string_view text);

// The same with the current year given, the year of a date written without one.
std::optional<Date> ParseDateText(std::u16string_view text, int current_year);

}  // namespace ztl::platform
