// The locale for dates: where its name comes from (the host's choice, LC_ALL, LC_TIME, LANG),
// the fallback to English (United States), and the first day of the week of a few locales.
// Every test names its locale or sets its environment, and restores both.

#include "platform/locale.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ztldata/platform/locale.hpp"

namespace ztl::platform {
namespace {

// Clears LC_ALL, LC_TIME and LANG and the host's choice for the test; restores all after.
class LocaleEnvironment : public testing::Test {
 protected:
  static constexpr const char* kVariables[] = {"LC_ALL", "LC_TIME", "LANG"};

  void SetUp() override {
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
    SetLocale("");
  }
  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i]) {
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
    SetLocale("");
  }

 private:
  std::vector<std::optional<std::string>> saved_;
};

TEST(LocaleNameOf, DropsEncodingAndModifier) {
  const struct {
    const char* value;
    const char* expected;
  } kCases[] = {
      {"de_DE.UTF-8", "de_DE"},
      {"de_DE@euro", "de_DE"},
      {"de_DE.ISO-8859-15@euro", "de_DE"},
      {"en-GB", "en_GB"},
      {"fr", "fr"},
      {"", "en_US"},
      {"C", "en_US"},
      {"C.UTF-8", "en_US"},
      {"POSIX", "en_US"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(LocaleNameOf(c.value), c.expected);
  }
}

TEST_F(LocaleEnvironment, LcAllThenLcTimeThenLang) {
  const struct {
    const char* lc_all;
    const char* lc_time;
    const char* lang;
    const char* expected;
  } kCases[] = {
      {nullptr, nullptr, nullptr, "en_US"},
      {nullptr, nullptr, "fr_FR.UTF-8", "fr_FR"},
      {nullptr, "de_DE.UTF-8", "fr_FR.UTF-8", "de_DE"},
      {"en_GB.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "en_GB"},
      {"", "de_DE.UTF-8", "fr_FR.UTF-8", "de_DE"},  // an empty variable counts as unset
      {nullptr, nullptr, "C", "en_US"},
      {nullptr, nullptr, "POSIX", "en_US"},
      {"xx_YY.UTF-8", nullptr, nullptr, "en_US"},   // a language without data
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << (c.lc_all ? c.lc_all : "-") << " " << (c.lc_time ? c.lc_time : "-") << " "
                                    << (c.lang ? c.lang : "-"));
    const char* values[] = {c.lc_all, c.lc_time, c.lang};
    for (int i = 0; i < 3; ++i) {
      if (values[i]) {
        setenv(kVariables[i], values[i], 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
    EXPECT_EQ(CurrentLocale(), c.expected);
  }
}

TEST_F(LocaleEnvironment, HostChoiceOverridesTheEnvironmentUntilCleared) {
  setenv("LC_ALL", "fr_FR.UTF-8", 1);
  EXPECT_EQ(CurrentLocale(), "fr_FR");
  SetLocale("de_DE");
  EXPECT_EQ(CurrentLocale(), "de_DE");
  SetLocale("en-GB");
  EXPECT_EQ(CurrentLocale(), "en_GB");
  SetLocale("C");
  EXPECT_EQ(CurrentLocale(), "en_US");
  SetLocale("");
  EXPECT_EQ(CurrentLocale(), "fr_FR");
}

// The names of English, German and French are checked through ZtDate's operations.
TEST_F(LocaleEnvironment, MonthsAfterADayMayDiffer) {
  SetLocale("ru_RU");
  const auto names = CurrentLocaleNames();
  EXPECT_EQ(names->name, "ru_RU");
  EXPECT_EQ(names->months[0], u"\u044F\u043D\u0432\u0430\u0440\u044C");          // nominative
  EXPECT_EQ(names->months_in_date[0], u"\u044F\u043D\u0432\u0430\u0440\u044F");  // genitive
}

TEST_F(LocaleEnvironment, FirstDayOfTheWeek) {
  const struct {
    const char* locale;
    int first;
  } kCases[] = {
      {"en_US", 1},  // Sunday
      {"de_DE", 2},  // Monday
      {"fr_FR", 2},
      {"en_GB", 2},
      {"ar_EG", 7},  // Saturday
      {"xx_YY", 1},  // no data: English (United States)
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.locale);
    SetLocale(c.locale);
    EXPECT_EQ(CurrentLocaleNames()->first_day_of_week, c.first);
  }
}

TEST_F(LocaleEnvironment, ChangingTheLocaleWhileOthersReadIsSafe) {
  // Each reader sees the whole data of one locale or of the other, never a mixture.
  std::vector<std::thread> readers;
  std::atomic<int> mixed{0};
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        const auto names = CurrentLocaleNames();
        const bool german = names->name == "de_DE";
        if ((names->weekdays[1] == u"Montag") != german || (names->first_day_of_week == 2) != german) ++mixed;
      }
    });
  }
  for (int i = 0; i < 200; ++i) SetLocale(i % 2 == 0 ? "de_DE" : "en_US");
  for (std::thread& t : readers) t.join();
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace ztl::platform
