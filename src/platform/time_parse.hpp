// The strict time parser behind Str2Time. The date text reader behind a text passed for a
// Date is ParseDateText (date_text_reader.hpp); writing dates as text is in date_format.hpp.
#pragma once

#include <optional>
#include <string_view>

namespace ztl::platform {

// A time of day from "h:m" or "h:m:s", each part one or two decimal digits, hours 0..23,
// minutes and seconds 0..59; nothing else is accepted (no blanks, no "." separator).
// The result is the fraction of the day, 0 <= result < 1.
std::optional<double> ParseTime(std::u16string_view text);

}  // namespace ztl::platform
