// Replays the value vectors (tests/vectors/values) through the typed C++ API: each line names an
// operation, its arguments and its value or failure code.
//
//   replay_values VALUES_FOLDER

#include "replay_json.hpp"
#include "value_ops.hpp"

namespace ztl::replay {

int Run(const char* folder) {
  ValueOps ops;
  AddFrameOps(ops);
  AddPlatformOps(ops);
  Report report;
  for (const Case& c : ReadCases(folder)) {
    report.Case();
    const std::string name = c.json.value("op", "");
    const auto op = ops.find(name);
    if (op == ops.end()) {
      report.Fail(c.where + ": no operation \"" + name + "\"");
      continue;
    }
    cli::ObjectTable table;
    std::vector<Variant> args;
    for (const Json& arg : c.json.value("args", Json::array())) args.push_back(Decode(arg, table));
    const Outcome<Variant> outcome = op->second(args);
    if (outcome) {
      report.Check(c.where, 0, c.json, std::nullopt, Encode(*outcome, table), Json());
    } else {
      report.Check(c.where, 0, c.json, outcome.error(), Json(), Json());
    }
  }
  return report.Finish();
}

}  // namespace ztl::replay

int main(int argc, char** argv) { return ztl::replay::RunnerMain(argc, argv, "replay_values", ztl::replay::Run); }
