// The platform's services for the value vectors: number text, number and date patterns, date
// texts, calendar arithmetic, the locale's data, code pages, character classes and text
// fitting, each called through its typed function. A service that answers "no value" fails
// with type mismatch (13), as its callers report it.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "../support/scoped_state.hpp"
#include "platform/calendar.hpp"
#include "platform/char_class.hpp"
#include "platform/date_format.hpp"
#include "platform/date_text_reader.hpp"
#include "platform/locale_names.hpp"
#include "platform/number_format.hpp"
#include "platform/number_text.hpp"
#include "platform/oem_codepage.hpp"
#include "platform/text_fit.hpp"
#include "platform/time_parse.hpp"
#include "value_ops.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/locale.hpp"

namespace ztl::replay {
namespace {

using namespace ztl::platform;
using Args = std::vector<Variant>;

// An operation taking `least` to `most` arguments; another count fails as a wrong count.
template <class F>
ValueOp Op(std::size_t least, std::size_t most, F f) {
  return [=](const Args& args) -> Outcome<Variant> {
    if (args.size() < least || args.size() > most) return Fail(kArgumentCount);
    return f(args);
  };
}

double Num(const Variant& v) { return ToDouble(v).value_or(std::nan("")); }
long long Whole(const Variant& v) { return static_cast<long long>(Num(v)); }
Date DateOf(const Variant& v) { return Date{Num(v)}; }
String Text(const Variant& v) { return ToString(v).value_or(u""); }
String Wide(const std::string& s) { return String(s.begin(), s.end()); }
std::string Bytes(const Variant& v) {
  const String s = Text(v);
  return std::string(s.begin(), s.end());
}
// The value of an Outcome or its failure; the value of an optional or type mismatch.
template <class T>
Outcome<Variant> Value(const T& x) {
  if constexpr (requires { x.failure(); }) {
    if (!x) return x.failure();
  } else if (!x) {
    return Fail(kTypeMismatch);
  }
  return Variant(*x);
}

// The locale the environment names with LC_ALL, LC_TIME and LANG (Null: unset), and with a
// host's choice when one is given; the environment restored after.
Outcome<Variant> EnvironmentLocale(const Args& a) {
  using testing_support::ScopedEnv;
  const auto value = [&](int i) { return a[i].IsNull() ? std::nullopt : std::optional(Bytes(a[i])); };
  const auto all = ScopedEnv("LC_ALL", value(0)), lc_time = ScopedEnv("LC_TIME", value(1)),
             lang = ScopedEnv("LANG", value(2));
  const auto chosen = testing_support::ScopedLocale(a.size() > 3 ? Bytes(a[3]) : "");
  return Wide(CurrentLocale());
}

// Drawing flags by name: "calc", "modify", "end", "path", "single".
std::uint32_t Flags(const String& words) {
  std::uint32_t flags = 0;
  for (auto [word, flag] : {std::pair{u"calc", kDrawCalcRect}, {u"modify", kDrawModifyString},
                            {u"end", kDrawEndEllipsis}, {u"path", kDrawPathEllipsis}, {u"single", kDrawSingleLine}}) {
    if (words.find(word) != String::npos) flags |= flag;
  }
  return flags;
}

// The ANSI characters of the codes a class holds, in code order.
String AnsiClass(bool (*in_class)(Byte)) {
  String out;
  for (int code = 0; code < 256; ++code) {
    if (in_class(static_cast<Byte>(code))) out += AnsiChar(static_cast<Byte>(code));
  }
  return out;
}

// The parts of a Date as "year-month-day weekday time".
Outcome<Variant> Parts(Date date) {
  const Outcome<DateParts> p = SplitDate(date);
  if (!p) return p.failure();
  char text[64];
  std::snprintf(text, sizeof text, "%d-%d-%d %d %.15g", p->year, p->month, p->day, p->weekday, p->time);
  return Wide(text);
}

}  // namespace

void AddPlatformOps(ValueOps& ops) {
  using A = const Args&;
  ops["DoubleToText"] = Op(1, 1, [](A a) -> Outcome<Variant> { return DoubleToText(Num(a[0])); });
  ops["SingleToText"] = Op(1, 1, [](A a) -> Outcome<Variant> { return SingleToText(static_cast<float>(Num(a[0]))); });
  ops["ParseNumber"] = Op(1, 1, [](A a) { return Value(ParseNumber(Text(a[0]))); });
  ops["Val"] = Op(1, 1, [](A a) { return Value(Val(Text(a[0]))); });
  ops["FormatNumber"] = Op(2, 2, [](A a) -> Outcome<Variant> { return FormatNumber(Num(a[0]), Text(a[1])); });
  ops["FormatDigits"] = Op(4, 4, [](A a) -> Outcome<Variant> {
    return FormatDigits(Num(a[0]) != 0, Bytes(a[1]), Whole(a[2]), Text(a[3]));
  });

  // Date patterns with a first day of the week (0: the locale's), in a locale (en_US unless named).
  ops["FormatDate"] = Op(2, 4, [](A a) {
    const auto locale = testing_support::ScopedLocale(a.size() > 3 ? Bytes(a[3]) : "en_US");
    return Value(FormatDate(DateOf(a[0]), Text(a[1]), a.size() > 2 ? static_cast<int>(Num(a[2])) : 0));
  });
  ops["DateText"] = Op(1, 1, [](A a) { return Value(DateText(DateOf(a[0]))); });
  ops["IsoDateText"] = Op(1, 1, [](A a) { return Value(IsoDateText(DateOf(a[0]))); });
  ops["EnvironmentLocale"] = Op(3, 4, EnvironmentLocale);
  ops["LocaleNameOf"] = Op(1, 1, [](A a) -> Outcome<Variant> { return Wide(LocaleNameOf(Bytes(a[0]))); });

  // Date texts with a current year (2023 unless given), and the strict time parser.
  ops["ParseDateText"] = Op(1, 2, [](A a) {
    return Value(ParseDateText(Text(a[0]), a.size() > 1 ? static_cast<int>(Num(a[1])) : 2023));
  });
  ops["ParseTime"] = Op(1, 1, [](A a) { return Value(ParseTime(Text(a[0]))); });

  ops["SplitDate"] = Op(1, 1, [](A a) { return Parts(DateOf(a[0])); });
  ops["JoinDate"] = Op(2, 2, [](A a) { return Value(JoinDate(Whole(a[0]), Num(a[1]))); });
  ops["MakeDate"] = Op(3, 3, [](A a) { return Value(MakeDate(Whole(a[0]), Whole(a[1]), Whole(a[2]))); });
  ops["AddMonths"] = Op(2, 2, [](A a) { return Value(AddMonths(DateOf(a[0]), Whole(a[1]))); });
  ops["AddDays"] = Op(2, 2, [](A a) { return Value(AddDays(DateOf(a[0]), Whole(a[1]))); });

  ops["AnsiChar"] = Op(1, 1, [](A a) -> Outcome<Variant> { return String(1, AnsiChar(Byte(Whole(a[0])))); });
  ops["AnsiCode"] = Op(1, 1, [](A a) -> Outcome<Variant> { return Long{AnsiCode(Text(a[0]).at(0))}; });
  ops["AnsiToOem"] = Op(1, 1, [](A a) -> Outcome<Variant> { return Long{AnsiToOem(Byte(Whole(a[0])))}; });
  ops["OemToAnsi"] = Op(1, 1, [](A a) -> Outcome<Variant> { return Long{OemToAnsi(Byte(Whole(a[0])))}; });
  ops["AnsiLetters"] = Op(0, 0, [](A) -> Outcome<Variant> { return AnsiClass(IsAnsiAlpha); });
  ops["AnsiLettersAndDigits"] = Op(0, 0, [](A) -> Outcome<Variant> { return AnsiClass(IsAnsiAlphaNumeric); });
  ops["ProperCase"] = Op(1, 1, [](A a) -> Outcome<Variant> { return ProperCase(Text(a[0])); });

  // Text fitted with every character one unit wide; flags by name.
  ops["FitText"] = Op(3, 3, [](A a) -> Outcome<Variant> {
    return Wide(FitText(Bytes(a[0]), Whole(a[1]), Flags(Text(a[2])), [](unsigned char) -> std::int64_t { return 1; }));
  });
}

}  // namespace ztl::replay
