// Every member of every interface, called late-bound with hostile arguments: nothing may
// crash or throw, and the only errors are the dispatch layer's own.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ztldata/frame/collection.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/ztldata.hpp"

namespace ztl {
namespace {

std::vector<Variant> HostileValues() {
  auto collection = Collection::Create();
  collection->Add(Long{3});
  collection->Add(u"x", String(u"key"));
  collection->Add(Null);
  SafeArray grid(VarType::Long, {{-2, 3}, {5, 2}});
  return {
      Variant(),
      Null,
      Variant::Missing(),
      ErrorValue{5},
      true,
      Byte{255},
      Integer{-32768},
      Long{-2147483647 - 1},
      Long{2147483647},
      Long{0},
      Long{-1},
      Long{1},
      Long{32},
      Single{-0.0f},
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      std::numeric_limits<double>::quiet_NaN(),
      1e308,
      -1e-308,
      2.5,
      Currency{std::numeric_limits<std::int64_t>::min()},
      Date{2958465.99999},
      Date{-657434},
      Decimal{~0ull, ~0u, 0, true},
      String(),
      String(u"~"),
      String(u"12,5e3"),
      String(70000, u'\xFFFF'),
      String(u"\xD800 lone surrogate"),
      nullptr,
      ObjectRef(collection),
      ObjectRef(CreateObject(u"ZtNumeric")),
      SafeArray(),
      SafeArray(VarType::Double),
      SafeArray::Of({Long{3}, u"b", Null, Variant(), 1.5}, -1),
      grid,
  };
}

bool IsDispatchError(Long code) {
  return code == 0 || code == kTypeMismatch || code == kOverflow || code == kArgumentCount ||
         code == kArgumentNotOptional;
}

// Runs in a folder of its own: hostile values reach file operations as file names.
class ScratchFolder {
 public:
  ScratchFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "ztl-bad-input-XXXXXX").string();
    folder_ = mkdtemp(pattern.data()) ? pattern : std::string();
    if (!folder_.empty()) std::filesystem::current_path(folder_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::filesystem::path previous_;
  std::string folder_;
};

// The objects to call: one of each utility class, and each component placed in a form.
struct Targets {
  ScratchFolder scratch;
  // About is called too: its box shows nowhere while the test runs.
  struct QuietAbout {
    QuietAbout() { SetAboutDisplay([](std::string_view) {}); }
    ~QuietAbout() { SetAboutDisplay(nullptr); }
  } quiet;
  Container form;
  std::vector<ObjectRef> objects;
  Targets() {
    for (const ClassInfo* info : Classes()) {
      const String name(info->name.begin(), info->name.end());
      objects.push_back(info->kind == ClassKind::Utility ? CreateObject(name) : ObjectRef(form.Place(name)));
    }
  }
};

TEST(BadInput, EveryMemberWithEveryHostileValueInEveryPosition) {
  SeedRandom(7);
  Targets targets;
  const std::vector<Variant> hostile = HostileValues();
  for (const ObjectRef& object : targets.objects) {
    ASSERT_NE(object, nullptr);
    for (const MemberInfo& member : object->Class()->members) {
      SCOPED_TRACE(std::string(object->Class()->name) + "." + std::string(member.name));
      const std::size_t arity = member.params.size();
      // Each argument position in turn gets each hostile value; the others get ordinary ones.
      for (std::size_t position = 0; position < std::max<std::size_t>(arity, 1); ++position) {
        for (const Variant& value : hostile) {
          std::vector<Variant> args(arity, Variant(Long{1}));
          if (arity > 0) args[position] = value;
          Variant result;
          std::string message;
          const Long code = Call(*object, member, args, result, CallForm::Dispatch, &message).error();
          ASSERT_TRUE(IsDispatchError(code)) << code << " " << message;
          if (code != 0) {
            EXPECT_FALSE(message.empty());
          }
        }
      }
      // Wrong argument counts.
      for (std::size_t count : {std::size_t{0}, arity + 1, arity + 5}) {
        std::vector<Variant> args(count, Variant(u"7"));
        Variant result;
        const Long code = Call(*object, member, args, result).error();
        ASSERT_TRUE(IsDispatchError(code)) << code;
      }
    }
  }
}

TEST(BadInput, RandomArgumentListsThroughEveryForm) {
  SeedRandom(11);
  Targets targets;
  const std::vector<Variant> hostile = HostileValues();
  std::mt19937 pick(20261206);
  for (int round = 0; round < 3000; ++round) {
    const ObjectRef& object = targets.objects[pick() % targets.objects.size()];
    const auto members = object->Class()->members;
    const MemberInfo& member = members[pick() % members.size()];
    std::vector<Variant> args(pick() % (member.params.size() + 2));
    for (Variant& a : args) a = hostile[pick() % hostile.size()];
    Variant result;
    const CallForm form = pick() % 2 ? CallForm::Dispatch : CallForm::Slot;
    const Long code = Call(*object, member, args, result, form).error();
    ASSERT_TRUE(IsDispatchError(code)) << object->Class()->name << "." << member.name << " " << code;
  }
}

}  // namespace
}  // namespace ztl
