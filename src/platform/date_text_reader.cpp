// The date text reader: a tokenizer cuts the text into numbers, words and marks; a grammar
// over the tokens finds the date and the time; rules decide which number of the date is its
// year, its month and its day.
//
// Grammar (B is a run of blanks: space, tab, U+3000):
//   text     = [B] (date [(B | "T") time] | time [B date]) [B]
//   date     = part sep part [sep part]          the separators all alike
//   part     = month | number                    a number that starts no time
//   sep      = B | "/" | "-" | "," [B]           "," only before the year of a named date
//   time     = clock [[B] meridiem] | number [B] meridiem
//   clock    = number (":" | ".") number [(":" | ".") number]
//   month    = "January" .. "December" | "Jan" .. "Dec"     any case
//   meridiem = "AM" | "PM" | "A" | "P"                        any case
// "T" follows only a date of three numbers apart by "-" whose first has four digits, with
// nothing between it and the date or the time.

#include "date_text_reader.hpp"

#include <algorithm>
#include <array>
#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "calendar.hpp"

namespace ztl::platform {

namespace {

// ---- tokens --------------------------------------------------------------------------------

enum class Kind { Number, Month, Meridiem, T, Blank, Slash, Dash, Comma, Colon, Dot };

struct Token {
  Kind kind = Kind::Blank;
  int value = 0;   // a number's value (capped), a month 1..12, a meridiem 1 for PM
  int digits = 0;  // a number's count of digits
};

// No date text has more; a longer one is no date, whatever it holds.
constexpr std::size_t kMaxTokens = 24;
// Far above any part of a date or time, so that long digit runs cannot overflow.
constexpr int kNumberCap = 99999;

constexpr std::array<std::u16string_view, 12> kMonthNames = {
    u"january", u"february", u"march",     u"april",   u"may",      u"june",
    u"july",    u"august",   u"september", u"october", u"november", u"december"};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// A word of ASCII letters as a token: a month name or its first three letters, a day-half
// marker, or the "T" of ISO 8601; empty for any other word.
std::optional<Token> WordToken(std::u16string_view word) {
  std::u16string lower(word);
  for (char16_t& c : lower) c = static_cast<char16_t>(c | 0x20);
  if (lower == u"t") return Token{Kind::T};
  if (lower == u"am" || lower == u"a") return Token{Kind::Meridiem, 0};
  if (lower == u"pm" || lower == u"p") return Token{Kind::Meridiem, 1};
  for (int month = 1; month <= 12; ++month) {
    const std::u16string_view name = kMonthNames[month - 1];
    if (lower == name || lower == name.substr(0, 3)) return Token{Kind::Month, month};
  }
  return std::nullopt;
}

std::optional<Kind> MarkKind(char16_t c) {
  switch (c) {
    case u'/': return Kind::Slash;
    case u'-': return Kind::Dash;
    case u',': return Kind::Comma;
    case u':': return Kind::Colon;
    case u'.': return Kind::Dot;
    default: return std::nullopt;
  }
}

// The tokens of a text, a run of blanks being one; empty when the text holds a character or
// a word that no date text has.
std::optional<std::vector<Token>> Tokenize(std::u16string_view text) {
  std::vector<Token> tokens;
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  while (p != end) {
    if (tokens.size() == kMaxTokens) return std::nullopt;
    const char16_t* const start = p;
    if (IsBlank(*p)) {
      while (p != end && IsBlank(*p)) ++p;
      tokens.push_back({Kind::Blank});
    } else if (IsDigit(*p)) {
      Token number{Kind::Number};
      for (; p != end && IsDigit(*p); ++p, ++number.digits) {
        number.value = std::min(number.value * 10 + (*p - u'0'), kNumberCap);
      }
      tokens.push_back(number);
    } else if (IsLetter(*p)) {
      while (p != end && IsLetter(*p)) ++p;
      std::optional<Token> word = WordToken({start, static_cast<std::size_t>(p - start)});
      if (!word) return std::nullopt;
      tokens.push_back(*word);
    } else {
      std::optional<Kind> mark = MarkKind(*p++);
      if (!mark) return std::nullopt;
      tokens.push_back({*mark});
    }
  }
  return tokens;
}

// ---- the grammar -----------------------------------------------------------------------------
// Each reader takes the position to start at and the end, and returns the position after
// what it read, or null when the tokens there are not what it reads.

using It = const Token*;

bool Is(It p, It end, Kind kind) { return p != end && p->kind == kind; }
It Skip(It p, It end, Kind kind) { return Is(p, end, kind) ? p + 1 : p; }
bool IsTimeMark(It p, It end) { return Is(p, end, Kind::Colon) || Is(p, end, Kind::Dot); }

// A number followed by ":" or "." or by a day-half marker begins a time, not a date.
bool StartsTime(It p, It end) {
  if (!Is(p, end, Kind::Number)) return false;
  return IsTimeMark(p + 1, end) || Is(Skip(p + 1, end, Kind::Blank), end, Kind::Meridiem);
}

// A part of a date: a month name, or a number that begins no time.
bool IsPart(It p, It end) {
  return Is(p, end, Kind::Month) || (Is(p, end, Kind::Number) && !StartsTime(p, end));
}

struct Clock {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// clock = number (":" | ".") number [(":" | ".") number], each of one or two digits.
It ReadClock(It p, It end, Clock& clock) {
  int* const parts[] = {&clock.hour, &clock.minute, &clock.second};
  int count = 0;
  while (true) {
    if (!Is(p, end, Kind::Number) || p->digits > 2) return nullptr;
    *parts[count++] = p++->value;
    if (count == 3 || !IsTimeMark(p, end)) break;
    ++p;
  }
  return count >= 2 ? p : nullptr;
}

// time = clock [[B] meridiem] | number [B] meridiem; the fraction of the day it names.
It ReadTime(It p, It end, double& fraction) {
  Clock clock;
  It after = ReadClock(p, end, clock);
  const bool hour_alone = after == nullptr;
  if (hour_alone) {
    if (!Is(p, end, Kind::Number) || p->digits > 2) return nullptr;
    clock = Clock{p->value, 0, 0};
    after = p + 1;
  }
  const It marker = Skip(after, end, Kind::Blank);
  const bool marked = Is(marker, end, Kind::Meridiem);
  if (hour_alone && !marked) return nullptr;
  if (clock.hour > 23 || clock.minute > 59 || clock.second > 59) return nullptr;
  // 12 AM is midnight and PM moves hours 0..11 to the afternoon; from hour 13 on the
  // marker says nothing more.
  if (marked) {
    const bool pm = marker->value == 1;
    if (pm && clock.hour < 12) clock.hour += 12;
    if (!pm && clock.hour == 12) clock.hour = 0;
    after = marker + 1;
  }
  fraction = (clock.hour * 3600 + clock.minute * 60 + clock.second) / 86400.0;
  return after;
}

// A date as written: its parts in order and how they stand apart.
struct WrittenDate {
  Token parts[3];
  int count = 0;
  Kind separator = Kind::Blank;  // a "," counts as a blank
  bool comma = false;            // a "," stands before the third part
};

// A separator of date parts: its kind, and the position after it (and the blanks after a ",").
It ReadSeparator(It p, It end, Kind& kind, bool& comma) {
  comma = Is(p, end, Kind::Comma);
  if (comma) {
    kind = Kind::Blank;
    return Skip(p + 1, end, Kind::Blank);
  }
  if (!(Is(p, end, Kind::Blank) || Is(p, end, Kind::Slash) || Is(p, end, Kind::Dash))) return nullptr;
  kind = p->kind;
  return p + 1;
}

// date = part sep part [sep part]; ends before a separator that no part follows.
It ReadDate(It p, It end, WrittenDate& date) {
  if (!IsPart(p, end)) return nullptr;
  date.parts[date.count++] = *p++;
  while (date.count < 3) {
    Kind kind = Kind::Blank;
    bool comma = false;
    const It next = ReadSeparator(p, end, kind, comma);
    if (next == nullptr || !IsPart(next, end)) break;
    if (date.count == 2 && kind != date.separator) return nullptr;
    if (comma && date.count == 1) return nullptr;
    date.separator = kind;
    date.comma = comma;
    p = next;
    date.parts[date.count++] = *p++;
  }
  return date.count >= 2 ? p : nullptr;
}

// An ISO 8601 date (yyyy-m-d), which a "T" may join to its time.
bool IsIsoDate(const WrittenDate& date) {
  const Token* const parts = date.parts;
  return date.count == 3 && date.separator == Kind::Dash && parts[0].digits == 4 &&
         std::all_of(parts, parts + 3, [](const Token& t) { return t.kind == Kind::Number; });
}

// ---- which part is the year, the month, the day ------------------------------------------------

struct Ymd {
  int year;
  int month;
  int day;
};

// A part read as a year, a month or a day; 0 (never valid) when it cannot be one. One or two
// digits make a two-digit year: 0..29 are 2000..2029, 30..99 are 1930..1999.
int AsYear(const Token& part) {
  if (part.kind != Kind::Number || part.digits > 4) return 0;
  if (part.digits > 2) return part.value;
  return part.value + (part.value < 30 ? 2000 : 1900);
}
int AsMonth(const Token& part) { return (part.kind == Kind::Month || part.digits <= 2) ? part.value : 0; }
int AsDay(const Token& part) { return part.kind == Kind::Number && part.digits <= 2 ? part.value : 0; }

// The day number of the first candidate that is a real date within 100..9999.
std::optional<long long> FirstRealDate(std::initializer_list<Ymd> candidates) {
  for (const Ymd& c : candidates) {
    if (c.year >= 100 && c.year <= 9999 && c.month >= 1 && c.month <= 12 && c.day >= 1 &&
        c.day <= DaysInMonth(c.year, c.month)) {
      return DayNumberOf(c.year, c.month, c.day);
    }
  }
  return std::nullopt;
}

// The day a written date names: three numbers as M/d/y, y/M/d or d/M/y; a month name with
// its day and year; two parts as a day of `this_year`, or else the first of a month.
std::optional<long long> DayOf(const WrittenDate& date, int this_year) {
  const Token* const begin = date.parts;
  const Token* const end = begin + date.count;
  const auto named = std::count_if(begin, end, [](const Token& t) { return t.kind == Kind::Month; });
  if (named > 1 || (date.comma && named == 0)) return std::nullopt;
  const Token &a = date.parts[0], &b = date.parts[1], &c = date.parts[2];
  if (date.count == 3) {
    if (named == 0) {
      return FirstRealDate({{AsYear(c), AsMonth(a), AsDay(b)},
                            {AsYear(a), AsMonth(b), AsDay(c)},
                            {AsYear(c), AsMonth(b), AsDay(a)}});
    }
    if (c.kind == Kind::Month) return std::nullopt;  // the year comes last
    const Token& name = a.kind == Kind::Month ? a : b;
    const Token& day = a.kind == Kind::Month ? b : a;
    return FirstRealDate({{AsYear(c), name.value, AsDay(day)}});
  }
  if (named == 0) {
    return FirstRealDate({{this_year, AsMonth(a), AsDay(b)},
                          {this_year, AsMonth(b), AsDay(a)},
                          {AsYear(b), AsMonth(a), 1},
                          {AsYear(a), AsMonth(b), 1}});
  }
  const Token& name = a.kind == Kind::Month ? a : b;
  const Token& number = a.kind == Kind::Month ? b : a;
  return FirstRealDate({{this_year, name.value, AsDay(number)}, {AsYear(number), name.value, 1}});
}

// "0.0" (or "00.00"): a time of the dotted form the platform reads no midnight from.
bool IsDottedZero(const std::vector<Token>& tokens) {
  It p = tokens.data();
  It end = p + tokens.size();
  p = Skip(p, end, Kind::Blank);
  if (end != p && end[-1].kind == Kind::Blank) --end;
  return end - p == 3 && p[0].kind == Kind::Number && p[0].value == 0 && p[1].kind == Kind::Dot &&
         p[2].kind == Kind::Number && p[2].value == 0;
}

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 2000;
  return local.tm_year + 1900;
}

}  // namespace

std::optional<Date> ParseDateText(std::u16string_view text) { return ParseDateText(text, CurrentYear()); }

std::optional<Date> ParseDateText(std::u16string_view text, int current_year) {
  const std::optional<std::vector<Token>> tokens = Tokenize(text);
  if (!tokens || IsDottedZero(*tokens)) return std::nullopt;
  const It end = tokens->data() + tokens->size();
  It p = Skip(tokens->data(), end, Kind::Blank);

  WrittenDate date;
  double fraction = 0;
  if (StartsTime(p, end)) {
    // A time, then perhaps a date.
    p = ReadTime(p, end, fraction);
    if (p != nullptr && Is(p, end, Kind::Blank) && IsPart(p + 1, end)) p = ReadDate(p + 1, end, date);
  } else {
    // A date, then perhaps a time, apart by blanks or by the "T" of ISO 8601.
    p = ReadDate(p, end, date);
    const bool joined = p != nullptr && Is(p, end, Kind::T) && IsIsoDate(date);
    const bool apart = p != nullptr && Is(p, end, Kind::Blank) && p + 1 != end;
    if (joined || apart) p = ReadTime(p + 1, end, fraction);
  }
  if (p == nullptr || Skip(p, end, Kind::Blank) != end) return std::nullopt;

  long long day_number = 0;
  if (date.count > 0) {
    const std::optional<long long> day = DayOf(date, current_year);
    if (!day) return std::nullopt;
    day_number = *day;
  }
  // A negative Date counts its time forward from the start of its day.
  return Date{day_number < 0 ? static_cast<double>(day_number) - fraction
                             : static_cast<double>(day_number) + fraction};
}

}  // namespace ztl::platform
