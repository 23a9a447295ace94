// Sorting, shuffling, searching and summing arrays and collections, each beside its anchor:
// the same job done by the standard library on plain doubles. Prints the ratios at the end:
//   ZtArrays.Sort of 1,000,000 Doubles against std::sort (target: within 3x),
//   ZtCollections.Sort of 100,000 items against ZtArrays.Sort of the same values (within 2x),
//   ZtArrays.Sort of 100,000 object references that cannot be compared (every comparison
//   fails) against ZtArrays.Sort of 100,000 Doubles (within 3x),
//   a failing comparison against a succeeding one, both through the general comparison: a
//   BinarySearch among objects without a default value against one among Longs for an
//   Integer key, each step going the same way (within 2x),
//   and, for Shuffle, Search and GetSum, 1,000,000 elements against 100,000 (10 means linear;
//   a shuffle of a million elements also pays for leaving the processor's caches, as the anchor
//   does) and each against its anchor at both sizes (the same ratio at both means linear).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ratio_reporter.hpp"
#include "ztldata/ztldata.hpp"

namespace {

using ztl::Variant;

std::vector<double> RandomDoubles(std::size_t n) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> uniform(-1e6, 1e6);
  std::vector<double> out(n);
  for (double& x : out) x = uniform(rng);
  return out;
}

Variant VariantArray(const std::vector<double>& values) {
  std::vector<Variant> items(values.begin(), values.end());
  return ztl::SafeArray::Of(std::move(items), 0);
}

// An array of n references to one library object, which has no default value: comparing it
// with anything fails. One object held many times is what a host can send in one request.
Variant ObjectArray(std::size_t n) {
  const Variant object = ztl::CreateObject(u"ZtObjects");
  return ztl::SafeArray::Of(std::vector<Variant>(n, object), 0);
}

ztl::CollectionRef HostCollection(const std::vector<double>& values, bool keyed) {
  auto c = ztl::Collection::Create();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (keyed && i % 2 == 0) {
      const std::string digits = std::to_string(i);
      c->Add(values[i], ztl::String(digits.begin(), digits.end()));
    } else {
      c->Add(values[i]);
    }
  }
  return c;
}

// ---- sorting -------------------------------------------------------------------------------

void BM_StdSort(benchmark::State& state) {
  const std::vector<double> input = RandomDoubles(static_cast<std::size_t>(state.range(0)));
  std::vector<double> v;
  for (auto _ : state) {
    state.PauseTiming();
    v = input;
    state.ResumeTiming();
    std::sort(v.begin(), v.end());
    benchmark::DoNotOptimize(v.data());
  }
}
BENCHMARK(BM_StdSort)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ArraysSort(benchmark::State& state) {
  const Variant input = VariantArray(RandomDoubles(static_cast<std::size_t>(state.range(0))));
  ztl::ZtArrays arrays;
  Variant v;
  for (auto _ : state) {
    state.PauseTiming();
    v = input;  // the previous copy goes while the clock is stopped
    state.ResumeTiming();
    arrays.Sort(v);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ArraysSort)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Every comparison fails, so every partition is lopsided and the merge sort finishes the job.
void BM_ArraysSortObjects(benchmark::State& state) {
  const Variant input = ObjectArray(static_cast<std::size_t>(state.range(0)));
  ztl::ZtArrays arrays;
  Variant v;
  for (auto _ : state) {
    state.PauseTiming();
    v = input;
    state.ResumeTiming();
    arrays.Sort(v);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ArraysSortObjects)->Arg(100000)->Unit(benchmark::kMillisecond);

// Without keys, and with keys on half the items (which move with their items).
void BM_CollectionsSort(benchmark::State& state) {
  const std::vector<double> values = RandomDoubles(static_cast<std::size_t>(state.range(0)));
  ztl::ZtCollections collections;
  ztl::CollectionRef c;
  for (auto _ : state) {
    state.PauseTiming();
    c = HostCollection(values, state.range(1) != 0);
    state.ResumeTiming();
    collections.Sort(c);
    benchmark::DoNotOptimize(c.get());
  }
}
BENCHMARK(BM_CollectionsSort)->Args({100000, 1})->Args({100000, 0})->Unit(benchmark::kMillisecond);

// ---- shuffling -----------------------------------------------------------------------------

void BM_StdShuffle(benchmark::State& state) {
  std::vector<double> v = RandomDoubles(static_cast<std::size_t>(state.range(0)));
  std::mt19937 rng(1);
  for (auto _ : state) {
    std::shuffle(v.begin(), v.end(), rng);
    benchmark::DoNotOptimize(v.data());
  }
}
BENCHMARK(BM_StdShuffle)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ArraysShuffle(benchmark::State& state) {
  Variant v = VariantArray(RandomDoubles(static_cast<std::size_t>(state.range(0))));
  ztl::ZtArrays arrays;
  for (auto _ : state) {
    arrays.Shuffle(v);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ArraysShuffle)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_CollectionsShuffle(benchmark::State& state) {
  ztl::CollectionRef c = HostCollection(RandomDoubles(static_cast<std::size_t>(state.range(0))), true);
  ztl::ZtCollections collections;
  for (auto _ : state) {
    collections.Shuffle(c);
    benchmark::DoNotOptimize(c.get());
  }
}
BENCHMARK(BM_CollectionsShuffle)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// ---- searching and summing -----------------------------------------------------------------

void BM_StdFind(benchmark::State& state) {
  const std::vector<double> v = RandomDoubles(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(std::find(v.begin(), v.end(), 7.0));
}
BENCHMARK(BM_StdFind)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A key that is absent, so every element is compared.
void BM_ArraysSearch(benchmark::State& state) {
  Variant v = VariantArray(RandomDoubles(static_cast<std::size_t>(state.range(0))));
  ztl::ZtArrays arrays;
  const Variant key = 7.0;
  for (auto _ : state) benchmark::DoNotOptimize(arrays.Search(v, key));
}
BENCHMARK(BM_ArraysSearch)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One comparison per step, through the general comparison in both: a Long element against an
// Integer key greater than every element, and an object against an object (which fails, and
// counts as "before"). Either way each step goes right, so both take the same steps.
void BM_ArraysBinarySearchNumbers(benchmark::State& state) {
  std::vector<Variant> items;
  for (ztl::Long i = 0; i < state.range(0); ++i) items.push_back(i);
  Variant v = ztl::SafeArray::Of(std::move(items), 0);
  ztl::ZtArrays arrays;
  const Variant key = ztl::Integer{32767};
  for (auto _ : state) benchmark::DoNotOptimize(arrays.BinarySearch(v, key));
}
BENCHMARK(BM_ArraysBinarySearchNumbers)->Arg(1 << 12)->Unit(benchmark::kNanosecond);

void BM_ArraysBinarySearchObjects(benchmark::State& state) {
  Variant v = ObjectArray(static_cast<std::size_t>(state.range(0)));
  ztl::ZtArrays arrays;
  const Variant key = v.If<ztl::SafeArray>()->Elements()[0];
  for (auto _ : state) benchmark::DoNotOptimize(arrays.BinarySearch(v, key));
}
BENCHMARK(BM_ArraysBinarySearchObjects)->Arg(1 << 12)->Unit(benchmark::kNanosecond);

void BM_StdAccumulate(benchmark::State& state) {
  const std::vector<double> v = RandomDoubles(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(std::accumulate(v.begin(), v.end(), 0.0));
}
BENCHMARK(BM_StdAccumulate)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ArraysGetSum(benchmark::State& state) {
  Variant v = VariantArray(RandomDoubles(static_cast<std::size_t>(state.range(0))));
  ztl::ZtArrays arrays;
  for (auto _ : state) benchmark::DoNotOptimize(arrays.GetSum(v));
}
BENCHMARK(BM_ArraysGetSum)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter({
      {"BM_ArraysSort/1000000", "BM_StdSort/1000000"},
      {"BM_ArraysSort/100000", "BM_StdSort/100000"},
      {"BM_CollectionsSort/100000/0", "BM_ArraysSort/100000"},
      {"BM_CollectionsSort/100000/1", "BM_ArraysSort/100000"},
      {"BM_ArraysSortObjects/100000", "BM_ArraysSort/100000"},
      {"BM_ArraysBinarySearchObjects/4096", "BM_ArraysBinarySearchNumbers/4096"},
      {"BM_ArraysShuffle/1000000", "BM_ArraysShuffle/100000"},
      {"BM_CollectionsShuffle/1000000", "BM_CollectionsShuffle/100000"},
      {"BM_ArraysSearch/1000000", "BM_ArraysSearch/100000"},
      {"BM_ArraysGetSum/1000000", "BM_ArraysGetSum/100000"},
      {"BM_ArraysShuffle/100000", "BM_StdShuffle/100000"},
      {"BM_ArraysShuffle/1000000", "BM_StdShuffle/1000000"},
      {"BM_ArraysSearch/100000", "BM_StdFind/100000"},
      {"BM_ArraysSearch/1000000", "BM_StdFind/1000000"},
      {"BM_ArraysGetSum/100000", "BM_StdAccumulate/100000"},
      {"BM_ArraysGetSum/1000000", "BM_StdAccumulate/1000000"},
  });
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
