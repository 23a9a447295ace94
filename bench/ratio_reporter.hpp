// A console reporter that, after the usual table, prints each benchmark's time as a ratio to
// its anchor, so the numbers mean something on any machine. The ratios use CPU time, which
// other work on a busy machine disturbs less than the wall clock.
//
// Example:
//   RatioReporter reporter("BM_Floor");                         // everything against one anchor
//   RatioReporter reporter({{"BM_Ours/1000", "BM_Std/1000"}});  // chosen pairs
//   benchmark::RunSpecifiedBenchmarks(&reporter);
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Every benchmark is compared with `anchor`.
  explicit RatioReporter(std::string anchor, std::string title = "ratio to the floor")
      : anchor_(std::move(anchor)), title_(std::move(title)) {}
  // Each benchmark of a pair is compared with the other benchmark of that pair.
  explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs,
                         std::string title = "ratio to the anchor")
      : pairs_(std::move(pairs)), title_(std::move(title)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      times_[r.benchmark_name()] = {r.GetAdjustedCPUTime(), benchmark::GetTimeUnitMultiplier(r.time_unit),
                                    benchmark::GetTimeUnitString(r.time_unit)};
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::vector<std::pair<std::string, std::string>> rows = pairs_;
    if (rows.empty()) {
      for (const auto& [name, time] : times_) rows.emplace_back(name, anchor_);
    }
    std::printf("\n%-44s %-32s %12s %8s\n", title_.c_str(), "anchor", "time", "ratio");
    for (const auto& [name, anchor] : rows) {
      const auto ours = times_.find(name), theirs = times_.find(anchor);
      if (ours == times_.end() || theirs == times_.end() || theirs->second.Seconds() <= 0) continue;
      std::printf("%-44s %-32s %9.2f %-2s %8.2f\n", name.c_str(), anchor.c_str(), ours->second.value,
                  ours->second.unit, ours->second.Seconds() / theirs->second.Seconds());
    }
  }

 private:
  struct Time {
    double value;       // in `unit`
    double per_second;  // units per second
    const char* unit;
    double Seconds() const { return value / per_second; }
  };
  std::string anchor_;
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::string title_;
  std::map<std::string, Time> times_;
};
