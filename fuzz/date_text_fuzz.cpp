// Date and time text: any text ends. A Date read from text lies in 100-01-01..9999-12-31,
// and its text, as the library writes it, reads back to the same Date; so does the text of
// any Date to the second, in the platform's form and in ISO 8601. Str2Time agrees with a
// plain reading of its rules and is always a time of day.

#include <cmath>
#include <string>

#include "harness.hpp"
#include "platform/date_text_reader.hpp"
#include "ztldata/ztldata.hpp"

namespace {

constexpr long long kFirstDay = -657434;  // 100-01-01
constexpr long long kLastDay = 2958465;   // 9999-12-31
constexpr int kYear = 2024;               // the year of a date written without one

// Seconds on a straight time line from a Date, whose fraction counts forward from the start
// of its day even before 1899-12-30 (-1.25 is 1899-12-29 06:00), rounded to the second.
long long Seconds(ztl::Date date) {
  const double day = std::trunc(date.value);
  return static_cast<long long>(day) * 86400 + std::llround(std::fabs(date.value - day) * 86400);
}

ztl::Date FromSeconds(long long seconds) {
  const long long day = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  const double time = static_cast<double>(seconds - day * 86400) / 86400;
  return ztl::Date{day >= 0 ? day + time : day - time};
}

bool InRange(ztl::Date date) {
  return std::isfinite(date.value) && date.value > kFirstDay - 1 && date.value < kLastDay + 1;
}

// The text of a Date as the platform writes it, read back.
void CheckWritten(ztl::Date date) {
  const ztl::Outcome<ztl::String> text = ztl::ToString(ztl::Variant(date));
  fuzz::Check(bool(text), "no text for a Date in range");
  const ztl::Outcome<ztl::Variant> read = ztl::ReadValue(*text, ztl::VarType::Date);
  fuzz::Check(read && read->If<ztl::Date>() && Seconds(*read->If<ztl::Date>()) == Seconds(date),
              "the text of a Date reads as another Date");
  const ztl::Outcome<ztl::String> iso = ztl::IsoDateText(date);
  fuzz::Check(bool(iso), "no ISO text for a Date in range");
  const std::optional<ztl::Date> from_iso = ztl::platform::ParseDateText(*iso, kYear);
  fuzz::Check(from_iso && Seconds(*from_iso) == Seconds(date), "the ISO text of a Date reads as another Date");
}

// Str2Time's rules: only digits, "." and ":" ("." counts as ":"), shaped by the length, then
// h:m or h:m:s of one or two digits each; the seconds of the day, or -1 for unusable text.
long long TimeReference(ztl::String t) {
  for (char16_t& c : t) {
    if (c == u'.') c = u':';
    if (c != u':' && (c < u'0' || c > u'9')) return -1;
  }
  const bool colon = t.find(u':') != ztl::String::npos;
  if (t.size() == 1) t = u"0" + t + u":00";
  else if (t.size() == 2) t += u":00";
  else if (t.size() == 3 && !colon) t = t.substr(0, 1) + u":" + t.substr(1);
  else if (t.size() == 4 && !colon) t = t.substr(0, 2) + u":" + t.substr(2);
  else if (t.size() == 5) t = t.substr(0, 2) + u":" + t.substr(3);
  long long parts[3] = {0, 0, 0};
  std::size_t count = 0;
  for (std::size_t at = 0;; ++count) {
    const std::size_t end = std::min(t.find(u':', at), t.size());
    if (count == 3 || end == at || end - at > 2) return -1;
    for (std::size_t i = at; i < end; ++i) parts[count] = parts[count] * 10 + (t[i] - u'0');
    if (end == t.size()) break;
    at = end + 1;
  }
  ++count;
  if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return -1;
  return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ztl::ZtDate dates;
  const auto mode = fuzz::Take<std::uint8_t>(data, size);
  const auto when = fuzz::Take<std::uint64_t>(data, size);
  // One character per byte reaches every text the readers know; two bytes per character
  // reach the rest of UTF-16.
  const ztl::String text = mode & 1 ? fuzz::Utf16(data, size)
                                    : ztl::AnsiBytesToString(std::string(reinterpret_cast<const char*>(data), size));

  if (const std::optional<ztl::Date> parsed = ztl::platform::ParseDateText(text, kYear)) {
    fuzz::Check(InRange(*parsed), "ParseDateText gave a Date out of range");
  }
  const ztl::Outcome<ztl::Variant> read = ztl::ReadValue(text, ztl::VarType::Date);
  if (read) {
    fuzz::Check(read->If<ztl::Date>() && InRange(*read->If<ztl::Date>()), "ReadValue gave no Date in range");
    CheckWritten(*read->If<ztl::Date>());
  } else {
    fuzz::Check(read.error() == ztl::kTypeMismatch || read.error() == ztl::kOverflow, "ReadValue failed otherwise");
  }

  // Any second of the range.
  const long long span = (kLastDay - kFirstDay + 1) * 86400;
  CheckWritten(FromSeconds(kFirstDay * 86400 + static_cast<long long>(when % static_cast<std::uint64_t>(span))));

  const ztl::Date time = dates.Str2Time(text);
  fuzz::Check(time.value >= 0 && time.value < 1, "Str2Time is no time of day");
  const long long expected = TimeReference(text);
  fuzz::Check(Seconds(time) == (expected < 0 ? 0 : expected), "Str2Time differs from its rules");
  return 0;
}
