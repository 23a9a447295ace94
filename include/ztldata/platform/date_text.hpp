// A Date as ISO 8601 text, for hosts that hand dates to other programs. The platform's own
// text of a value ("1/31/2000 6:00:00 AM") is ToString in ztldata/frame/convert.hpp.
//
// Example:
//   ztl::IsoDateText(ztl::Date{36556.25}).value_or(u"")   // u"2000-01-31T06:00:00"
//   ztl::IsoDateText(ztl::Date{36556}).value_or(u"")      // u"2000-01-31"
#pragma once

#include "ztldata/base/outcome.hpp"
#include "ztldata/base/types.hpp"

namespace ztl {

// "2000-01-31T06:00:00", to the nearest second; the time is left out at midnight.
// Fails with invalid procedure call (5) for NaN and Dates outside 100-01-01..9999-12-31.
Outcome<String> IsoDateText(Date date);

}  // namespace ztl
