// The user's locale for dates: weekday and month names, full and abbreviated, and the first
// day of the week, from ICU's locale data. The host picks the locale with SetLocale
// (ztldata/platform/locale.hpp); otherwise it comes from LC_ALL, LC_TIME or LANG.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl::platform {

struct LocaleNames {
  std::string name;  // the locale the data belongs to, "de_DE"
  // Weekdays from Sunday; the names as they stand alone.
  std::array<String, 7> weekdays;
  std::array<String, 7> weekday_abbrevs;
  // Months from January, as they stand alone, and as they read after a day of the month
  // (the same in most languages; a genitive in some, such as Russian).
  std::array<String, 12> months;
  std::array<String, 12> month_abbrevs;
  std::array<String, 12> months_in_date;
  std::array<String, 12> month_abbrevs_in_date;
  int first_day_of_week = 1;  // 1 Sunday .. 7 Saturday
};

// The names of the locale in effect. Thread-safe; the data of the last locale asked for is
// kept, so repeated calls cost a lookup.
std::shared_ptr<const LocaleNames> CurrentLocaleNames();

// The locale a POSIX locale value (or a name given to SetLocale) stands for: the encoding
// and modifier dropped, "-" read as "_"; "en_US" for "", "C" and "POSIX".
// "de_DE.UTF-8@euro" gives "de_DE".
std::string LocaleNameOf(std::string_view value);

// The environment's locale value: LC_ALL, else LC_TIME, else LANG (the first that is set
// and not empty), else "".
std::string EnvironmentLocale();

}  // namespace ztl::platform
