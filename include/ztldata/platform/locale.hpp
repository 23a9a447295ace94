// Choosing the locale whose weekday and month names and first day of the week the library
// uses (ZtDate's names and weekday numbers). By default it follows the environment:
// LC_ALL, else LC_TIME, else LANG; English (United States) when none is set or it is C or
// POSIX. A host can name a locale for the whole process instead.
//
// Example:
//   ztl::SetLocale("de_DE");
//   ztl::ZtDate().GetMonthName(ztl::Date{36526});   // u"Januar"
//   ztl::SetLocale("");                             // follow the environment again
#pragma once

#include <string>
#include <string_view>

namespace ztl {

// Names the locale for the whole process: "de_DE", "fr", "en-GB", or a POSIX locale value
// such as "de_DE.UTF-8" (the encoding and any "@modifier" are dropped). An empty name
// returns to the environment. Thread-safe; calls already running finish with the locale
// they started with.
// Note: a language without locale data, and "C" or "POSIX", give English (United States).
void SetLocale(std::string_view name) noexcept;

// The locale in effect, as its data names it ("de_DE", "en_US"): the one SetLocale named,
// else the environment's. Thread-safe.
std::string CurrentLocale();

}  // namespace ztl
