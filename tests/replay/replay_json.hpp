// The vector corpus for the C++ runners: cases read from tests/vectors, values in the JSON form
// `ztl serve` reads and writes, and the comparison of a call's outcome with its case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "json_value.hpp"

namespace ztl::replay {

using cli::Json;

struct Case {
  std::string where;  // "file.jsonl:line"
  Json json;
};

// Every case of every *.jsonl file in a folder (files in name order; '#' lines and blank lines
// skipped). Throws on a file that cannot be read or a line that is not JSON.
std::vector<Case> ReadCases(const std::filesystem::path& folder);

// The calls of a case: its "steps", or the case itself.
std::vector<Json> Steps(const Json& c);

// The corpus value decoded as a host reads it. Throws for one that is no value.
Variant Decode(const Json& value, cli::ObjectTable& table);

// A value in the tagged form a host writes. One nested too deeply to write is its problem's
// message, a JSON string, which no tagged value is: the comparison then reports it.
Json Encode(const Variant& value, cli::ObjectTable& table);

// Counts cases and collects mismatches; Finish prints them and gives the exit status.
class Report {
 public:
  void Case() { ++cases_; }
  void Fail(std::string text) { failures_.push_back(std::move(text)); }
  // Compares one call with its step: `error` (a failure), else `result` and the arguments after
  // the call (`byref`, tagged; null where the host cannot show them).
  void Check(const std::string& where, std::size_t index, const Json& step,
             std::optional<int> error, const Json& result, const Json& byref);
  int Finish() const;

 private:
  std::size_t cases_ = 0;
  std::vector<std::string> failures_;
};

// The main() of a runner: `name FOLDER`, the cases run by `run`; 2 for a bad command line or a
// corpus that cannot be read.
int RunnerMain(int argc, char** argv, const char* name, int (*run)(const char* folder));

}  // namespace ztl::replay
