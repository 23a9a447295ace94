// Time and date texts read as the host platform reads them. Each small reader takes the
// position to start at and the end, and returns the position after what it read, or null
// when the text there is not what it reads.

#include "time_parse.hpp"

#include "calendar.hpp"

namespace ztl::platform {

namespace {

using Pos = const char16_t*;

constexpr double kSecondsPerDay = 86400;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

Pos SkipBlanks(Pos p, Pos end) {
  while (p != end && IsBlank(*p)) ++p;
  return p;
}

// A number of min_digits..max_digits decimal digits.
Pos ReadNumber(Pos p, Pos end, int min_digits, int max_digits, int& value) {
  value = 0;
  int count = 0;
  while (p != end && IsDigit(*p) && count < max_digits) {
    value = value * 10 + (*p++ - u'0');
    ++count;
  }
  if (count < min_digits || (p != end && IsDigit(*p))) return nullptr;
  return p;
}

Pos ReadChar(Pos p, Pos end, char16_t c) { return p != end && *p == c ? p + 1 : nullptr; }

bool IsTimeSeparator(char16_t c, bool dot_too) { return c == u':' || (dot_too && c == u'.'); }

struct Clock {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// h:m or h:m:s, parts of one or two digits, apart by ":" (or "." as well when dot_too).
Pos ReadClock(Pos p, Pos end, bool dot_too, Clock& clock) {
  p = ReadNumber(p, end, 1, 2, clock.hour);
  if (p == nullptr || p == end || !IsTimeSeparator(*p, dot_too)) return nullptr;
  p = ReadNumber(p + 1, end, 1, 2, clock.minute);
  if (p == nullptr) return nullptr;
  clock.second = 0;
  if (p != end && IsTimeSeparator(*p, dot_too)) p = ReadNumber(p + 1, end, 1, 2, clock.second);
  return p;
}

bool ValidClock(const Clock& clock) { return clock.hour <= 23 && clock.minute <= 59 && clock.second <= 59; }

double DayFraction(const Clock& clock) {
  return (clock.hour * 3600 + clock.minute * 60 + clock.second) / kSecondsPerDay;
}

// "AM" or "PM" in any case; sets pm.
Pos ReadMeridiem(Pos p, Pos end, bool& pm) {
  if (p == end) return nullptr;
  const char16_t first = static_cast<char16_t>(*p | 0x20);
  if (first != u'a' && first != u'p') return nullptr;
  ++p;
  if (p == end || (*p | 0x20) != u'm') return nullptr;
  pm = first == u'p';
  return p + 1;
}

// A time of a date text: a clock with an optional AM/PM, or an hour with AM/PM ("1 am").
Pos ReadTime(Pos p, Pos end, double& fraction) {
  Clock clock;
  Pos after = ReadClock(p, end, true, clock);
  const bool hour_alone = after == nullptr;
  if (hour_alone && (after = ReadNumber(p, end, 1, 2, clock.hour)) == nullptr) return nullptr;
  bool pm = false;
  const Pos meridiem = ReadMeridiem(SkipBlanks(after, end), end, pm);
  if (hour_alone && meridiem == nullptr) return nullptr;
  if (!ValidClock(clock)) return nullptr;
  if (meridiem != nullptr) {
    // From hour 13 on the AM/PM says nothing more.
    if (clock.hour <= 12) {
      if (pm && clock.hour < 12) clock.hour += 12;
      if (!pm && clock.hour == 12) clock.hour = 0;
    }
    after = meridiem;
  }
  fraction = DayFraction(clock);
  return after;
}

bool ValidDate(long long year, int month, int day) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

// yyyy-mm-dd; the month and the day may have one digit.
Pos ReadIsoDate(Pos p, Pos end, long long& day_number) {
  int year = 0, month = 0, day = 0;
  p = ReadNumber(p, end, 4, 4, year);
  if (p == nullptr || (p = ReadChar(p, end, u'-')) == nullptr) return nullptr;
  if ((p = ReadNumber(p, end, 1, 2, month)) == nullptr) return nullptr;
  if ((p = ReadChar(p, end, u'-')) == nullptr) return nullptr;
  if ((p = ReadNumber(p, end, 1, 2, day)) == nullptr) return nullptr;
  if (!ValidDate(year, month, day)) return nullptr;
  day_number = DayNumberOf(year, month, day);
  return p;
}

// M/d/y, the year of one to four digits; one or two digits are a two-digit year.
Pos ReadUsDate(Pos p, Pos end, long long& day_number) {
  int year = 0, month = 0, day = 0;
  if ((p = ReadNumber(p, end, 1, 2, month)) == nullptr) return nullptr;
  if ((p = ReadChar(p, end, u'/')) == nullptr) return nullptr;
  if ((p = ReadNumber(p, end, 1, 2, day)) == nullptr) return nullptr;
  if ((p = ReadChar(p, end, u'/')) == nullptr) return nullptr;
  const Pos year_start = p;
  if ((p = ReadNumber(p, end, 1, 4, year)) == nullptr) return nullptr;
  if (p - year_start <= 2) year += year < 30 ? 2000 : 1900;
  if (!ValidDate(year, month, day)) return nullptr;
  day_number = DayNumberOf(year, month, day);
  return p;
}

}  // namespace

std::optional<double> ParseTime(std::u16string_view text) {
  const Pos begin = text.data();
  const Pos end = begin + text.size();
  Clock clock;
  const Pos after = ReadClock(begin, end, false, clock);
  if (after != end || !ValidClock(clock)) return std::nullopt;
  return DayFraction(clock);
}

std::optional<Date> ParseDateText(std::u16string_view text) {
  const Pos end = text.data() + text.size();
  const Pos begin = SkipBlanks(text.data(), end);
  long long day_number = 0;
  double fraction = 0;
  Pos p = ReadIsoDate(begin, end, day_number);
  const bool iso = p != nullptr;
  if (p == nullptr) p = ReadUsDate(begin, end, day_number);
  if (p != nullptr) {
    // A date, then perhaps its time.
    Pos time = SkipBlanks(p, end);
    if (iso && time == p && time != end && (*time == u'T' || *time == u't')) ++time;
    if (time != end) {
      if (time == p) return std::nullopt;  // the time must stand apart
      p = ReadTime(time, end, fraction);
    }
  } else {
    p = ReadTime(begin, end, fraction);
  }
  if (p == nullptr || SkipBlanks(p, end) != end) return std::nullopt;
  return Date{day_number < 0 ? static_cast<double>(day_number) - fraction
                             : static_cast<double>(day_number) + fraction};
}

}  // namespace ztl::platform
