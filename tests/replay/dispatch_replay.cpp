// Replays the vector corpus through late-bound C++ dispatch: every case on a fresh object (a
// component placed in a container of its own), every step an Invoke by name or dispatch id.
//
//   replay_dispatch VECTORS_FOLDER
#include <memory>

#include "replay_json.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::replay {

MemberKind KindOf(const Json& step) {
  const std::string kind = step.value("kind", "method");
  return kind == "get" ? MemberKind::PropertyGet : kind == "let" ? MemberKind::PropertyLet : MemberKind::Method;
}

void RunStep(Object& object, const Case& c, std::size_t index, const Json& step, Report& report) {
  cli::ObjectTable table;
  std::vector<Variant> args;
  for (const Json& arg : step.value("args", Json::array())) args.push_back(Decode(arg, table));
  // A member is a name, or a dispatch id: a number, or its text in hexadecimal or decimal.
  const Json& member = step["member"];
  const MemberKey key = member.is_number() ? MemberKey::Id(member.get<DispId>())
                                           : MemberKey::Text(member.get_ref<const std::string&>());
  const Outcome<Variant> outcome = LateCall(object, key, KindOf(step), args);
  Json byref = Json::array();
  for (const Variant& arg : args) byref.push_back(Encode(arg, table));
  if (outcome) {
    report.Check(c.where, index, step, std::nullopt, Encode(*outcome, table), byref);
  } else {
    report.Check(c.where, index, step, outcome.error(), Json(), byref);
  }
}

int Run(const char* folder) {
  Report report;
  for (const Case& c : ReadCases(folder)) {
    report.Case();
    if (c.json.contains("seed")) SeedRandom(c.json["seed"].get<std::uint64_t>());
    const String name = Utf8ToUtf16(c.json["class"].get<std::string>());
    Container box;
    ObjectRef object = CreateObject(name);
    if (!object) object = box.Place(name);
    if (!object) {
      report.Fail(c.where + ": no class " + c.json["class"].get<std::string>());
      continue;
    }
    const std::vector<Json> steps = Steps(c.json);
    for (std::size_t i = 0; i < steps.size(); ++i) RunStep(*object, c, i, steps[i], report);
  }
  return report.Finish();
}

}  // namespace ztl::replay

int main(int argc, char** argv) { return ztl::replay::RunnerMain(argc, argv, "replay_dispatch", ztl::replay::Run); }
