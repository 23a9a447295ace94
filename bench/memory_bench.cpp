// Memory held by arrays of Variants: the growth of the resident set while an array of
// 1,000,000 Longs, and then one of 1,000,000 short texts (each made on its own, as a host
// sends them), is built and held. Reported as counters (bytes in all, bytes per element);
// the times are those of building the arrays.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ztldata/ztldata.hpp"

namespace {

using ztl::Variant;

constexpr std::size_t kItems = 1'000'000;

double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

template <class Make>
void Measure(benchmark::State& state, Make make) {
  for (auto _ : state) {
    const double before = ResidentBytes();
    std::vector<Variant> items;
    items.reserve(kItems);
    for (std::size_t i = 0; i < kItems; ++i) items.push_back(make(i));
    const Variant array = ztl::SafeArray::Of(std::move(items), 0);
    const double grown = ResidentBytes() - before;
    state.counters["rss_bytes"] = grown;
    state.counters["bytes_per_item"] = grown / static_cast<double>(kItems);
    benchmark::DoNotOptimize(array);
  }
}

void BM_RssLongs(benchmark::State& state) {
  Measure(state, [](std::size_t i) { return Variant(static_cast<ztl::Long>(i)); });
}
BENCHMARK(BM_RssLongs)->Iterations(1)->Unit(benchmark::kMillisecond);

// Texts of 1 to 6 characters ("0" .. "999999").
void BM_RssShortStrings(benchmark::State& state) {
  Measure(state, [](std::size_t i) {
    const std::string digits = std::to_string(i);
    return Variant(ztl::String(digits.begin(), digits.end()));
  });
}
BENCHMARK(BM_RssShortStrings)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
