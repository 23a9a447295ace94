#include "replay_json.hpp"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace ztl::replay {
namespace {

// A corpus value decoded; one that is no value ends the run, as a corpus that cannot be read does.
Variant Decoded(const Json& value, cli::ObjectTable& table) {
  cli::Checked<Variant> decoded = cli::FromJson(value, table);
  if (!decoded) throw std::runtime_error(decoded.problem().message);
  return *std::move(decoded);
}

// The tagged form of a corpus value: decoded, then written back as a host writes results.
Json Tagged(const Json& value) {
  cli::ObjectTable table;
  return Encode(Decoded(value, table), table);
}

// Object ids differ between hosts and runs; only the fact of an object is compared.
void ForgetIds(Json& value) {
  if (value.is_object()) {
    value.erase("object");
    for (auto& [key, item] : value.items()) ForgetIds(item);
  } else if (value.is_array()) {
    for (auto& item : value) ForgetIds(item);
  }
}

bool Same(const Json& expected, const Json& actual) {
  Json e = Tagged(expected), a = actual;
  ForgetIds(e);
  ForgetIds(a);
  return e == a;
}

std::string Show(const Json& value) { return cli::Dump(value); }

}  // namespace

std::vector<Case> ReadCases(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".jsonl") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<Case> cases;
  for (const auto& file : files) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      const auto first = line.find_first_not_of(" \t\r");
      if (first == std::string::npos || line[first] == '#') continue;
      const std::string where = file.filename().string() + ":" + std::to_string(number);
      try {
        cases.push_back({where, Json::parse(line)});
      } catch (const Json::exception& e) {
        throw std::runtime_error(where + ": " + e.what());
      }
    }
  }
  return cases;
}

std::vector<Json> Steps(const Json& c) {
  if (c.contains("steps")) return c["steps"].get<std::vector<Json>>();
  return {c};
}

Variant Decode(const Json& value, cli::ObjectTable& table) { return Decoded(value, table); }

Json Encode(const Variant& value, cli::ObjectTable& table) {
  cli::Checked<Json> json = cli::WriteJson(value, table);
  return json ? *std::move(json) : Json(json.problem().message);
}

void Report::Check(const std::string& where, std::size_t index, const Json& step,
                   std::optional<int> error, const Json& result, const Json& byref) {
  const std::string label = where + " step " + std::to_string(index) + " " +
                            Show(step.contains("member") ? step["member"] : step.value("op", Json()));
  if (step.contains("error")) {
    if (error != step["error"].get<int>()) {
      Fail(label + ": expected error " + Show(step["error"]) + ", got " +
           (error ? "error " + std::to_string(*error) : Show(result)));
    }
    return;
  }
  if (error) {
    Fail(label + ": expected " + Show(step.value("result", Json())) + ", got error " +
         std::to_string(*error));
    return;
  }
  if (step.contains("result") && !Same(step["result"], result)) {
    Fail(label + ": expected " + Show(step["result"]) + ", got " + Show(result));
  }
  if (!step.contains("byref") || byref.is_null()) return;
  const Json& wanted = step["byref"];
  for (std::size_t i = 0; i < byref.size(); ++i) {
    const std::string key = std::to_string(i);
    const Json* want = wanted.is_array() ? (i < wanted.size() ? &wanted[i] : nullptr)
                                         : (wanted.contains(key) ? &wanted[key] : nullptr);
    if (want != nullptr && !byref[i].is_null() && !Same(*want, byref[i])) {
      Fail(label + ": argument " + key + " after the call: expected " + Show(*want) + ", got " +
           Show(byref[i]));
    }
  }
}

int Report::Finish() const {
  for (const auto& failure : failures_) std::cout << failure << '\n';
  std::cout << cases_ << " cases, " << failures_.size() << " failures\n";
  return failures_.empty() && cases_ > 0 ? 0 : 1;
}

int RunnerMain(int argc, char** argv, const char* name, int (*run)(const char* folder)) {
  if (argc != 2) {
    std::cerr << "usage: " << name << " FOLDER\n";
    return 2;
  }
  try {
    return run(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << name << ": " << e.what() << '\n';
    return 2;
  }
}

}  // namespace ztl::replay
