// RandomBetween and the process-wide random generator it draws from.

#include "platform/random.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <thread>
#include <vector>

#include "ztldata/platform/random.hpp"

namespace ztl {
namespace {

// ---- RandomBetween -----------------------------------------------------------------------

TEST(RandomBetween, Ranges) {
  const struct {
    Long low, high;
    Long min, max;  // every draw lies in min..max
    std::size_t distinct;  // how many different values many draws show
  } kCases[] = {
      {5, 5, 5, 5, 1},
      {1, 6, 1, 6, 6},
      {10, 9, 10, 10, 1},  // a count of 0 gives lngLow
      {10, 5, 6, 10, 4},   // a negative count: 10 - 4r, so 10 only for r = 0
      {-3, 3, -3, 3, 7},
      {INT_MIN, INT_MIN, INT_MIN, INT_MIN, 1},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1},
      {INT_MAX - 2, INT_MAX, INT_MAX - 2, INT_MAX, 3},
      {INT_MIN, INT_MIN + 2, INT_MIN, INT_MIN + 2, 3},
  };
  SeedRandom(1);
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high);
    std::set<Long> seen;
    for (int i = 0; i < 2000; ++i) {
      const Long r = platform::RandomBetween(c.low, c.high);
      ASSERT_GE(r, c.min);
      ASSERT_LE(r, c.max);
      seen.insert(r);
    }
    EXPECT_EQ(seen.size(), c.distinct);
  }
}

TEST(RandomBetween, CountOutsideTheLongRangeGivesZero) {
  const struct {
    Long low, high;
  } kCases[] = {
      {INT_MIN, INT_MAX},  // the count 2^32 overflows
      {0, INT_MAX},        // high - low fits, + 1 does not
      {-1, INT_MAX},       // high - low overflows
      {INT_MAX, INT_MIN},  // a negative count below the Long range
      {INT_MAX, -2},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high);
    // The generator advances even though the result is 0.
    SeedRandom(7);
    const Single first = platform::NextRandom();
    const Single second = platform::NextRandom();
    SeedRandom(7);
    EXPECT_EQ(platform::RandomBetween(c.low, c.high), 0);
    EXPECT_EQ(platform::NextRandom(), second);
    SeedRandom(7);
    EXPECT_EQ(platform::NextRandom(), first);
  }
}

TEST(RandomBetween, LargestCountsStayInRange) {
  SeedRandom(3);
  for (int i = 0; i < 2000; ++i) {
    const Long r = platform::RandomBetween(1, INT_MAX);  // count INT_MAX
    ASSERT_GE(r, 1);
    const Long s = platform::RandomBetween(INT_MIN + 1, 0);
    ASSERT_LE(s, 0);
    ASSERT_GE(s, INT_MIN + 1);
  }
}

// Every result is floor(r * n + lngLow) for the draw r the call consumed.
TEST(RandomBetween, FloorOfTheScaledDraw) {
  const struct {
    Long low, high;
  } kCases[] = {{0, 9}, {-1000000000, 1000000000}, {100, -100}, {7, 1 << 24}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high);
    SeedRandom(11);
    std::vector<Single> draws(500);
    for (Single& r : draws) r = platform::NextRandom();
    SeedRandom(11);
    const double n = static_cast<double>(c.high) - c.low + 1;
    for (Single r : draws) {
      ASSERT_EQ(platform::RandomBetween(c.low, c.high), static_cast<Long>(std::floor(r * n + c.low)));
    }
  }
}

// ---- The generator -----------------------------------------------------------------------

TEST(Random, SameSeedSameSequence) {
  auto sequence = [](std::uint64_t seed) {
    SeedRandom(seed);
    std::vector<Single> v(1000);
    for (Single& r : v) r = platform::NextRandom();
    return v;
  };
  EXPECT_EQ(sequence(42), sequence(42));
  EXPECT_EQ(sequence(0), sequence(0));
  EXPECT_NE(sequence(42), sequence(43));
  EXPECT_NE(sequence(0), sequence(1));
}

TEST(Random, ReseedFromClockLeavesTheSeededSequence) {
  SeedRandom(5);
  std::vector<Single> seeded(8), reseeded(8);
  for (Single& r : seeded) r = platform::NextRandom();
  SeedRandom(5);
  RandomizeFromClock();
  for (Single& r : reseeded) r = platform::NextRandom();
  EXPECT_NE(seeded, reseeded);
}

// Values are k / 2^24 for whole k in 0..2^24-1, spread evenly over [0, 1).
TEST(Random, ValuesAreEvenSteps) {
  SeedRandom(9);
  constexpr int kDraws = 200000;
  constexpr int kBuckets = 16;
  int buckets[kBuckets] = {};
  double sum = 0;
  for (int i = 0; i < kDraws; ++i) {
    const Single r = platform::NextRandom();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    const double k = static_cast<double>(r) * 16777216.0;
    ASSERT_EQ(k, std::floor(k));
    sum += r;
    ++buckets[static_cast<int>(r * kBuckets)];
  }
  EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
  for (int b : buckets) EXPECT_NEAR(b, kDraws / kBuckets, kDraws / kBuckets / 10);
}

// Concurrent requests each take one step of the sequence: after the same seed, the draws of
// several threads together are exactly the draws of one thread.
TEST(Random, ThreadsShareOneSequence) {
  constexpr int kThreads = 4;
  constexpr int kEach = 20000;
  SeedRandom(13);
  std::vector<Single> sequential(kThreads * kEach);
  for (Single& r : sequential) r = platform::NextRandom();

  SeedRandom(13);
  std::vector<std::vector<Single>> drawn(kThreads, std::vector<Single>(kEach));
  std::vector<std::thread> threads;
  for (auto& mine : drawn) {
    threads.emplace_back([&mine] {
      for (Single& r : mine) r = platform::NextRandom();
    });
  }
  for (std::thread& t : threads) t.join();

  std::vector<Single> together;
  for (const auto& mine : drawn) together.insert(together.end(), mine.begin(), mine.end());
  std::sort(together.begin(), together.end());
  std::sort(sequential.begin(), sequential.end());
  EXPECT_EQ(together, sequential);
}

}  // namespace
}  // namespace ztl
