// Date patterns, the platform's general date text and ISO 8601, all from one rounded split
// of the Date: the time of day to the nearest second, carried into the next day at 24:00.

#include "date_format.hpp"

#include "ztldata/platform/date_text.hpp"

#include <cmath>
#include <cstdio>

#include "calendar.hpp"
#include "locale_names.hpp"

namespace ztl::platform {

namespace {

constexpr long long kSecondsPerDay = 86400;

struct Moment {
  DateParts date;
  long long seconds = 0;  // of the day, 0..86399
};

// The date and its time to the nearest second. A time that rounds to 24:00 is the start of
// the next day, except on the last day of the range, which keeps 23:59:59.
Outcome<Moment> Round(Date value) noexcept {
  Moment m;
  ZTL_TRY(parts, SplitDate(value));
  m.date = parts;
  m.seconds = std::llround(m.date.time * kSecondsPerDay);
  if (m.seconds == kSecondsPerDay) {
    if (m.date.day_number < kLastDayNumber) {
      // The next day exists: this one is not the last of the range.
      m.date = *JoinDate(m.date.day_number + 1, 0).and_then(SplitDate);
      m.seconds = 0;
    } else {
      m.seconds = kSecondsPerDay - 1;
    }
  }
  return m;
}

void Append(String& out, std::u16string_view text) { out.append(text); }

void AppendNumber(String& out, long long n, int width) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, n);
  for (const char* p = buffer; *p != '\0'; ++p) out += static_cast<char16_t>(*p);
}

int DayOfYear(const DateParts& d) {
  return static_cast<int>(d.day_number - DayNumberOf(d.year, 1, 1)) + 1;
}

bool HasDayNumberToken(std::u16string_view pattern) {
  for (std::size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    if (c == u'"') {
      const std::size_t close = pattern.find(u'"', i + 1);
      i = close == std::u16string_view::npos ? pattern.size() : close + 1;
    } else if (c == u'\\') {
      i += 2;
    } else if (c == u'd' || c == u'D') {
      std::size_t run = 0;
      while (i < pattern.size() && (pattern[i] | 0x20) == u'd' && run < 4) ++i, ++run;
      if (run <= 2) return true;
    } else {
      ++i;
    }
  }
  return false;
}

}  // namespace

Outcome<String> FormatDate(Date date, std::u16string_view pattern, int first_day_of_week) {
  ZTL_TRY(m, Round(date));
  const DateParts& d = m.date;
  const std::shared_ptr<const LocaleNames> names = CurrentLocaleNames();
  const int first = first_day_of_week >= 1 && first_day_of_week <= 7 ? first_day_of_week : names->first_day_of_week;
  const bool in_date = HasDayNumberToken(pattern);

  String out;
  for (std::size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    if (c == u'"') {
      const std::size_t close = pattern.find(u'"', i + 1);
      const std::size_t stop = close == std::u16string_view::npos ? pattern.size() : close;
      Append(out, pattern.substr(i + 1, stop - i - 1));
      i = stop + 1;
      continue;
    }
    if (c == u'\\') {
      if (i + 1 < pattern.size()) out += pattern[i + 1];
      i += 2;
      continue;
    }
    const char16_t letter = static_cast<char16_t>(c | 0x20);
    if (letter != u'd' && letter != u'm' && letter != u'y' && letter != u'w') {
      out += c;
      ++i;
      continue;
    }
    const std::size_t longest = letter == u'w' ? 1 : 4;
    std::size_t run = 0;
    while (i < pattern.size() && (pattern[i] | 0x20) == letter && run < longest) ++i, ++run;
    switch (letter) {
      case u'd':
        if (run <= 2) {
          AppendNumber(out, d.day, static_cast<int>(run));
        } else {
          Append(out, (run == 3 ? names->weekday_abbrevs : names->weekdays)[d.weekday - 1]);
        }
        break;
      case u'm':
        if (run <= 2) {
          AppendNumber(out, d.month, static_cast<int>(run));
        } else if (run == 3) {
          Append(out, (in_date ? names->month_abbrevs_in_date : names->month_abbrevs)[d.month - 1]);
        } else {
          Append(out, (in_date ? names->months_in_date : names->months)[d.month - 1]);
        }
        break;
      case u'y':
        if (run == 1) {
          AppendNumber(out, DayOfYear(d), 1);
        } else if (run == 4) {
          AppendNumber(out, d.year, 4);
        } else {
          AppendNumber(out, d.year % 100, 2);
          if (run == 3) AppendNumber(out, DayOfYear(d), 1);  // yyy is yy then y
        }
        break;
      case u'w':
        AppendNumber(out, (d.weekday - first + 7) % 7 + 1, 1);
        break;
      default:
        break;
    }
  }
  return out;
}

Outcome<String> DateText(Date date) {
  ZTL_TRY(m, Round(date));
  const DateParts& d = m.date;
  String out;
  if (d.day_number != 0) {
    AppendNumber(out, d.month, 1);
    out += u'/';
    AppendNumber(out, d.day, 1);
    out += u'/';
    AppendNumber(out, d.year, 1);
    if (m.seconds == 0) return out;
    out += u' ';
  }
  const long long hour = m.seconds / 3600;
  AppendNumber(out, hour % 12 == 0 ? 12 : hour % 12, 1);
  out += u':';
  AppendNumber(out, m.seconds / 60 % 60, 2);
  out += u':';
  AppendNumber(out, m.seconds % 60, 2);
  Append(out, hour < 12 ? u" AM" : u" PM");
  return out;
}

Outcome<String> IsoDateText(Date date) {
  ZTL_TRY(m, Round(date));
  const DateParts& d = m.date;
  String out;
  AppendNumber(out, d.year, 4);
  out += u'-';
  AppendNumber(out, d.month, 2);
  out += u'-';
  AppendNumber(out, d.day, 2);
  if (m.seconds != 0) {
    out += u'T';
    AppendNumber(out, m.seconds / 3600, 2);
    out += u':';
    AppendNumber(out, m.seconds / 60 % 60, 2);
    out += u':';
    AppendNumber(out, m.seconds % 60, 2);
  }
  return out;
}

}  // namespace ztl::platform

namespace ztl {

// The public form of IsoDateText (ztldata/platform/date_text.hpp).
Outcome<String> IsoDateText(Date date) { return platform::IsoDateText(date); }

}  // namespace ztl
