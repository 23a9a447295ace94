// The process-wide pseudo-random generator: a splitmix64 sequence whose state is one atomic
// counter, so concurrent requests each take their own step without a lock. A value is the
// top 24 bits of the mixed step, k / 2^24 as a Single (exact), 0 <= k < 2^24.

#include "platform/random_generator.hpp"

#include <atomic>
#include <cmath>
#include <limits>
#include <chrono>

#include "ztldata/platform/random.hpp"

namespace ztl::platform {

namespace {

constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15u;        // the golden-ratio increment
constexpr std::uint64_t kInitialState = 0x5A544C4461746131u;  // the state before any seeding

std::atomic<std::uint64_t> g_state{kInitialState};

std::uint64_t Mix(std::uint64_t z) noexcept {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

}  // namespace

Single NextRandom() noexcept {
  const std::uint64_t step = g_state.fetch_add(kGamma, std::memory_order_relaxed) + kGamma;
  const auto k = static_cast<std::uint32_t>(Mix(step) >> 40);  // 24 bits
  return static_cast<Single>(k) * (1.0f / 16777216.0f);
}

Long RandomBetween(Long lngLow, Long lngHigh) noexcept {
  const Single r = NextRandom();  // advances whatever follows
  // The count of values, in Long arithmetic: each of the two steps may overflow, and so may
  // the result stored into a Long. Any of them gives 0.
  constexpr long long kMin = std::numeric_limits<Long>::min(), kMax = std::numeric_limits<Long>::max();
  const long long span = static_cast<long long>(lngHigh) - lngLow;
  if (span < kMin || span > kMax || span + 1 > kMax) return 0;
  const auto n = static_cast<Long>(span + 1);
  // r * n + lngLow in Double, then its floor stored into a Long.
  const Double x = std::floor(static_cast<Double>(r) * n + lngLow);
  if (!(x >= static_cast<Double>(kMin) && x <= static_cast<Double>(kMax))) return 0;
  return static_cast<Long>(x);
}

}  // namespace ztl::platform

namespace ztl {

void SeedRandom(std::uint64_t seed) noexcept {
  platform::g_state.store(platform::Mix(seed), std::memory_order_relaxed);
}

void RandomizeFromClock() noexcept {
  const auto ticks = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  // Mixing in the current state keeps two reseeds within one clock tick apart.
  std::atomic<std::uint64_t>& state = platform::g_state;
  state.store(platform::Mix(ticks ^ platform::Mix(state.load(std::memory_order_relaxed))), std::memory_order_relaxed);
}

}  // namespace ztl
