// The cost of a late-bound call: the same trivial operation (IsEven) called directly, by
// dispatch id and by name (through LateCall, as the hosts call), with the member found once, against the floor of any late-bound design — an indirect call
// through a table of functions that first builds a small vector of two Variants.
// Prints ns per call and each form's ratio to the floor.

#include <benchmark/benchmark.h>

#include <vector>

#include "ratio_reporter.hpp"
#include "ztldata/ztldata.hpp"

namespace {

using ztl::Variant;

ztl::Boolean IsEvenFloor(std::vector<Variant>& args) {
  return (*args[0].If<ztl::Long>() & 1) == 0;
}
using FloorFn = ztl::Boolean (*)(std::vector<Variant>&);
FloorFn volatile kFloorTable[] = {IsEvenFloor, IsEvenFloor};

void BM_Floor(benchmark::State& state) {
  ztl::Long i = 0;
  for (auto _ : state) {
    std::vector<Variant> args{Variant(i++), Variant()};
    benchmark::DoNotOptimize(kFloorTable[1](args));
  }
}
BENCHMARK(BM_Floor);

void BM_IsEvenDirect(benchmark::State& state) {
  ztl::ZtNumeric n;
  ztl::Long i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(n.IsEven(i++));
}
BENCHMARK(BM_IsEvenDirect);

// Finds the member `key` names (a dispatch id or a name) and calls it, as every host does on
// every call: through LateCall, the one late-bound path the hosts share.
void LateBound(benchmark::State& state, ztl::MemberKey key) {
  const ztl::ObjectRef n = ztl::CreateObject(u"ZTLData.ZtNumeric");
  ztl::Long i = 0;
  for (auto _ : state) {
    std::vector<Variant> args{Variant(i++)};
    benchmark::DoNotOptimize(ztl::LateCall(*n, key, ztl::MemberKind::Method, args));
  }
}

void BM_IsEvenByDispId(benchmark::State& state) { LateBound(state, ztl::MemberKey::Id(0x6003000D)); }
BENCHMARK(BM_IsEvenByDispId);

void BM_IsEvenByName(benchmark::State& state) { LateBound(state, ztl::MemberKey::Name(u"IsEven")); }
BENCHMARK(BM_IsEvenByName);

// A text argument converted on the way in (the path a command line or a script takes), the
// member named in UTF-8 as `ztl call`, serve, Python and C name it. The argument is moved into
// the vector, as the hosts build their arguments (an initializer list would copy it).
void BM_IsEvenByNameFromText(benchmark::State& state) {
  const ztl::ObjectRef n = ztl::CreateObject(u"ZTLData.ZtNumeric");
  const ztl::MemberKey key = ztl::MemberKey::Text("IsEven");
  for (auto _ : state) {
    std::vector<Variant> args;
    args.push_back(Variant(u"12345"));
    benchmark::DoNotOptimize(ztl::LateCall(*n, key, ztl::MemberKind::Method, args));
  }
}
BENCHMARK(BM_IsEvenByNameFromText);

// The member found once and called many times, as a host that caches the member does.
void BM_IsEvenResolvedOnce(benchmark::State& state) {
  const ztl::ObjectRef n = ztl::CreateObject(u"ZTLData.ZtNumeric");
  const ztl::MemberInfo* m = ztl::ResolveMember(*n, ztl::MemberKey::Name(u"IsEven"), ztl::MemberKind::Method);
  ztl::Long i = 0;
  Variant result;
  for (auto _ : state) {
    std::vector<Variant> args{Variant(i++)};
    benchmark::DoNotOptimize(ztl::Call(*n, *m, args, result));
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_IsEvenResolvedOnce);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter("BM_Floor");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
