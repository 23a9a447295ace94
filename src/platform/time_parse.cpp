// The strict time parser: "h:m" or "h:m:s" and nothing else. Each small reader takes the
// position to start at and the end, and returns the position after what it read, or null
// when the text there is not what it reads.

#include "time_parse.hpp"

namespace ztl::platform {

namespace {

using Pos = const char16_t*;

constexpr double kSecondsPerDay = 86400;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A number of one or two decimal digits, not followed by a further digit.
Pos ReadPart(Pos p, Pos end, int& value) {
  value = 0;
  int count = 0;
  while (p != end && IsDigit(*p) && count < 2) {
    value = value * 10 + (*p++ - u'0');
    ++count;
  }
  if (count == 0 || (p != end && IsDigit(*p))) return nullptr;
  return p;
}

struct Clock {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// h:m or h:m:s.
Pos ReadClock(Pos p, Pos end, Clock& clock) {
  p = ReadPart(p, end, clock.hour);
  if (p == nullptr || p == end || *p != u':') return nullptr;
  p = ReadPart(p + 1, end, clock.minute);
  if (p == nullptr) return nullptr;
  clock.second = 0;
  if (p != end && *p == u':') p = ReadPart(p + 1, end, clock.second);
  return p;
}

}  // namespace

std::optional<double> ParseTime(std::u16string_view text) {
  const Pos begin = text.data();
  const Pos end = begin + text.size();
  Clock clock;
  const Pos after = ReadClock(begin, end, clock);
  if (after != end || clock.hour > 23 || clock.minute > 59 || clock.second > 59) return std::nullopt;
  return (clock.hour * 3600 + clock.minute * 60 + clock.second) / kSecondsPerDay;
}

}  // namespace ztl::platform
