// Weekday and month names and the first day of the week through ICU, for the locale the host
// named or the environment's. The data of the last locale asked for is kept behind a mutex;
// callers hold a shared pointer, so a change of locale never pulls data from under a call.

#include "locale_names.hpp"

#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>

#include <cstdlib>
#include <mutex>
#include <new>
#include <optional>

#include "ztldata/platform/locale.hpp"

namespace ztl::platform {

namespace {

constexpr std::string_view kDefaultLocale = "en_US";

// The names used when not even the default locale's data can be had.
constexpr std::u16string_view kEnglishWeekdays[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                   u"Thursday", u"Friday", u"Saturday"};
constexpr std::u16string_view kEnglishMonths[] = {u"January", u"February", u"March",     u"April",
                                                 u"May",     u"June",     u"July",      u"August",
                                                 u"September", u"October", u"November", u"December"};

struct State {
  std::mutex mutex;
  std::optional<std::string> chosen;  // the locale SetLocale named
  std::string request;                // the locale the kept data was asked for
  std::shared_ptr<const LocaleNames> names;
};

State& TheState() {
  static State state;
  return state;
}

std::shared_ptr<LocaleNames> BuiltInEnglish() {
  auto names = std::make_shared<LocaleNames>();
  names->name = kDefaultLocale;
  for (int i = 0; i < 7; ++i) {
    names->weekdays[i] = kEnglishWeekdays[i];
    names->weekday_abbrevs[i] = kEnglishWeekdays[i].substr(0, 3);
  }
  for (int i = 0; i < 12; ++i) {
    names->months[i] = names->months_in_date[i] = kEnglishMonths[i];
    names->month_abbrevs[i] = names->month_abbrevs_in_date[i] = kEnglishMonths[i].substr(0, 3);
  }
  names->first_day_of_week = 1;
  return names;
}

template <std::size_t N>
bool Copy(const icu::UnicodeString* from, int32_t count, int32_t first, std::array<String, N>& to) {
  if (from == nullptr || count < first + static_cast<int32_t>(N)) return false;
  for (std::size_t i = 0; i < N; ++i) {
    const icu::UnicodeString& name = from[first + static_cast<int32_t>(i)];
    to[i] = String(name.getBuffer(), name.getBuffer() + name.length());
  }
  return true;
}

// The locale's names from ICU, or null when ICU has no data for its language (ICU would
// otherwise answer with its own default locale, which follows the environment).
std::shared_ptr<LocaleNames> FromIcu(const std::string& request) {
  icu::Locale locale(request.c_str());
  if (locale.isBogus() || *locale.getLanguage() == '\0') return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  locale.setKeywordValue("calendar", "gregorian", status);
  if (U_FAILURE(status)) return nullptr;
  const icu::DateFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return nullptr;
  const icu::Locale actual = symbols.getLocale(ULOC_ACTUAL_LOCALE, status);
  if (U_FAILURE(status) || std::string_view(actual.getLanguage()) != locale.getLanguage()) return nullptr;

  using Symbols = icu::DateFormatSymbols;
  auto names = std::make_shared<LocaleNames>();
  int32_t count = 0;
  const icu::UnicodeString* list = nullptr;
  // ICU counts weekdays from 1 (Sunday); element 0 is empty.
  list = symbols.getWeekdays(count, Symbols::STANDALONE, Symbols::WIDE);
  bool ok = Copy(list, count, 1, names->weekdays);
  list = symbols.getWeekdays(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
  ok = ok && Copy(list, count, 1, names->weekday_abbrevs);
  list = symbols.getMonths(count, Symbols::STANDALONE, Symbols::WIDE);
  ok = ok && Copy(list, count, 0, names->months);
  list = symbols.getMonths(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
  ok = ok && Copy(list, count, 0, names->month_abbrevs);
  list = symbols.getMonths(count, Symbols::FORMAT, Symbols::WIDE);
  ok = ok && Copy(list, count, 0, names->months_in_date);
  list = symbols.getMonths(count, Symbols::FORMAT, Symbols::ABBREVIATED);
  ok = ok && Copy(list, count, 0, names->month_abbrevs_in_date);
  if (!ok) return nullptr;

  std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
  if (U_FAILURE(status) || calendar == nullptr) return nullptr;
  const UCalendarDaysOfWeek first = calendar->getFirstDayOfWeek(status);
  if (U_FAILURE(status)) return nullptr;
  names->first_day_of_week = static_cast<int>(first);  // UCAL_SUNDAY is 1

  names->name = locale.getBaseName();  // without the calendar keyword
  return names;
}

std::shared_ptr<const LocaleNames> Build(const std::string& request) {
  if (auto names = FromIcu(request)) return names;
  if (request != kDefaultLocale) {
    if (auto names = FromIcu(std::string(kDefaultLocale))) return names;
  }
  return BuiltInEnglish();
}

}  // namespace

std::string LocaleNameOf(std::string_view value) {
  std::string name(value.substr(0, value.find_first_of(".@")));
  for (char& c : name) {
    if (c == '-') c = '_';
  }
  if (name.empty() || name == "C" || name == "POSIX") return std::string(kDefaultLocale);
  return name;
}

std::string EnvironmentLocale() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return std::string();
}

std::shared_ptr<const LocaleNames> CurrentLocaleNames() {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  std::string request = LocaleNameOf(state.chosen ? *state.chosen : EnvironmentLocale());
  if (state.names == nullptr || request != state.request) {
    state.names = Build(request);
    state.request = std::move(request);
  }
  return state.names;
}

}  // namespace ztl::platform

namespace ztl {

void SetLocale(std::string_view name) noexcept {
  platform::State& state = platform::TheState();
  try {
    std::lock_guard lock(state.mutex);
    if (name.empty()) {
      state.chosen.reset();
    } else {
      state.chosen = std::string(name);
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: the locale stays as it was.
  }
}

std::string CurrentLocale() { return platform::CurrentLocaleNames()->name; }

}  // namespace ztl
