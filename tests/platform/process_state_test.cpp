// The process-wide state: the random generator (reproducible from a seed, even steps of 2^-24
// spread evenly, one sequence shared by threads; RandomBetween against a plain model of the draw
// it consumes) and the locale changed while others read it. Where the locale's name comes from
// and its data are vectors (tests/vectors/values/locale.jsonl, date_format.jsonl).

#include "platform/locale_names.hpp"
#include "platform/random_generator.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <thread>
#include <utility>
#include <vector>

#include "../support/scoped_state.hpp"
#include "ztldata/platform/locale.hpp"
#include "ztldata/platform/random.hpp"

namespace ztl {
namespace {

// Every test here seeds the generator; the tests after them start from the clock again.
class Random : public testing::Test {
 protected:
  void TearDown() override { RandomizeFromClock(); }
};
using RandomBetween = Random;

std::vector<Single> Draws(std::uint64_t seed, std::size_t count) {
  SeedRandom(seed);
  std::vector<Single> v(count);
  for (Single& r : v) r = platform::NextRandom();
  return v;
}

// floor(r * (high - low + 1) + low) for the draw r, and 0 where high - low, the count or the
// result leaves the Long range; each call consumes one draw, whatever it gives.
TEST_F(RandomBetween, AgreesWithTheModel) {
  const std::pair<Long, Long> kCases[] = {
      {5, 5}, {1, 6}, {10, 9}, {10, 5}, {-3, 3}, {0, 9}, {-1000000000, 1000000000}, {100, -100}, {7, 1 << 24},
      {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX - 2, INT_MAX}, {INT_MIN, INT_MIN + 2}, {1, INT_MAX},
      {INT_MIN + 1, 0}, {INT_MIN, INT_MAX}, {0, INT_MAX}, {-1, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MAX, -2}};
  const auto in_range = [](double x) { return x >= INT_MIN && x <= INT_MAX; };
  for (const auto& [low, high] : kCases) {
    const std::vector<Single> draws = Draws(11, 2000);
    SeedRandom(11);
    const double n = static_cast<double>(high) - low + 1;
    for (Single r : draws) {
      const double x = std::floor(r * n + low);
      const Long expected = in_range(n - 1) && in_range(n) && in_range(x) ? static_cast<Long>(x) : 0;
      ASSERT_EQ(platform::RandomBetween(low, high), expected) << low << ".." << high << " r " << r;
    }
  }
}

// The same seed gives the same sequence, another seed or a reseed from the clock another one.
TEST_F(Random, SeedsGiveTheirOwnSequences) {
  for (std::uint64_t seed : {0, 42}) {
    EXPECT_EQ(Draws(seed, 1000), Draws(seed, 1000));
    EXPECT_NE(Draws(seed, 1000), Draws(seed + 1, 1000));
  }
  const std::vector<Single> seeded = Draws(5, 8);
  SeedRandom(5);
  RandomizeFromClock();
  std::vector<Single> reseeded(seeded.size());
  for (Single& r : reseeded) r = platform::NextRandom();
  EXPECT_NE(seeded, reseeded);
}

// Values are k / 2^24 for whole k in 0..2^24-1, spread evenly over [0, 1).
TEST_F(Random, ValuesAreEvenSteps) {
  constexpr int kBuckets = 16;
  const std::vector<Single> draws = Draws(9, 200000);
  int buckets[kBuckets] = {};
  double sum = 0;
  for (Single r : draws) {
    const double k = static_cast<double>(r) * 16777216.0;
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 1);
    ASSERT_EQ(k, std::floor(k)) << r;
    sum += r;
    ++buckets[static_cast<int>(r * kBuckets)];
  }
  EXPECT_NEAR(sum / draws.size(), 0.5, 0.01);
  for (int b : buckets) EXPECT_NEAR(b, draws.size() / kBuckets, draws.size() / kBuckets / 10);
}

// Concurrent requests each take one step: after the same seed, the draws of several threads
// together are exactly the draws of one thread.
TEST_F(Random, ThreadsShareOneSequence) {
  constexpr int kThreads = 4, kEach = 20000;
  std::vector<Single> sequential = Draws(13, kThreads * kEach), together(kThreads * kEach);
  SeedRandom(13);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&together, t] {
      for (int i = 0; i < kEach; ++i) together[t * kEach + i] = platform::NextRandom();
    });
  }
  for (std::thread& t : threads) t.join();
  std::sort(together.begin(), together.end());
  std::sort(sequential.begin(), sequential.end());
  EXPECT_EQ(together, sequential);
}

// Each reader sees the whole data of one locale or of the other, never a mixture.
TEST(Locale, ChangingItWhileOthersReadIsSafe) {
  const testing_support::Restore environment_locale([] { SetLocale(""); });
  std::vector<std::thread> readers;
  std::atomic<int> mixed{0};
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        const auto names = platform::CurrentLocaleNames();
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
}  // namespace ztl
