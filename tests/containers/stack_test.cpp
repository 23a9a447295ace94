// ZtStack: the documented sequences, and generated sequences of every operation in both
// strategies against a std::deque model.

#include "ztldata/containers/stack.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <sstream>
#include <string>

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {
namespace {

std::string Text(const Variant& v) {
  if (v.IsNull()) return "Null";
  if (v.IsEmpty()) return "Empty";
  const String s = ToString(v).value_or(u"?");
  return std::string(s.begin(), s.end());
}

// Runs a script of steps separated by blanks and returns what the reading steps gave:
//   +n  Push n (+N pushes Null)    -  Pop     ?  Peek     c  Clear
//   sn  Strategy = n               S  Strategy (as "Sn")
//   #   Size (as "#n")             e  IsEmpty (as T or F)
std::string RunScript(ZtStack& stack, const std::string& script) {
  std::istringstream steps(script);
  std::string step, out;
  const auto record = [&](const std::string& s) { out += (out.empty() ? "" : " ") + s; };
  while (steps >> step) {
    switch (step[0]) {
      case '+':
        stack.Push(step == "+N" ? Variant(Null) : Variant(Long{std::stoi(step.substr(1))}));
        break;
      case '-': record(Text(stack.Pop())); break;
      case '?': record(Text(stack.Peek())); break;
      case 'c': stack.Clear(); break;
      case 's': stack.Strategy(static_cast<ztlStackStrategy>(std::stoi(step.substr(1)))); break;
      case 'S': record("S" + std::to_string(stack.Strategy())); break;
      case '#': record("#" + std::to_string(stack.Size())); break;
      case 'e': record(stack.IsEmpty() ? "T" : "F"); break;
      default: ADD_FAILURE() << "unknown step " << step;
    }
  }
  return out;
}

TEST(Stack, DocumentedSequences) {
  const struct {
    const char* name;
    const char* script;
    const char* expected;
  } kCases[] = {
      {"a new stack is empty with strategy 0", "e # S", "T #0 S0"},
      {"strategy 0 hands out the newest first", "+1 +2 +3 ? - - - -", "3 3 2 1 Null"},
      {"strategy 1 hands out the oldest first", "s1 +1 +2 +3 ? - - - -", "1 1 2 3 Null"},
      {"changing the strategy moves no item", "+1 +2 +3 - s1 - # ?", "3 1 #1 2"},
      {"popping an empty stack gives Null and keeps size 0", "- ? #", "Null Null #0"},
      {"a pushed Null pops as Null; only IsEmpty tells", "+N e # - e #", "F #1 Null T #0"},
      {"strategies other than 0 and 1 are ignored", "s1 s2 S s-1 S s7 S s0 S", "S1 S1 S1 S0"},
      {"clearing an empty stack does nothing", "c e #", "T #0"},
      {"clearing removes every item", "+1 +2 +3 c e # -", "T #0 Null"},
      {"peek leaves the item in place", "+5 ? ? #", "5 5 #1"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ZtStack stack;
    EXPECT_EQ(RunScript(stack, c.script), c.expected);
  }
}

TEST(Push, ReturnsItsArgumentAndKeepsObjects) {
  ZtStack stack;
  auto collection = Collection::Create();
  const Variant object = ObjectRef(collection);
  const Variant values[] = {object, Variant(u"text"), Variant(2.5), Variant(), Variant(Null),
                            SafeArray::Of({Long{1}, u"two"}, -3)};
  for (const Variant& v : values) EXPECT_EQ(stack.Push(v), v);  // objects compare by identity
  stack.Strategy(ztlStackLIFO);
  EXPECT_EQ(stack.Peek(), object);
  const Variant popped = stack.Pop();
  ASSERT_TRUE(popped.IsObject());
  EXPECT_EQ(*popped.If<ObjectRef>(), collection);  // the same object, not a copy
  for (std::size_t i = 1; i < std::size(values); ++i) EXPECT_EQ(stack.Pop(), values[i]);
  EXPECT_TRUE(stack.IsEmpty());
}

TEST(Strategy, ReportsOnlyAcceptedChanges) {
  Container form;
  auto stack = std::static_pointer_cast<ZtStack>(form.Place(u"ZtStack"));
  ASSERT_NE(stack, nullptr);
  const std::size_t before = form.Changes().size();
  stack->Strategy(static_cast<ztlStackStrategy>(2));
  stack->Strategy(static_cast<ztlStackStrategy>(-1));
  EXPECT_EQ(form.Changes().size(), before);
  stack->Strategy(ztlStackLIFO);
  ASSERT_EQ(form.Changes().size(), before + 1);
  EXPECT_EQ(form.Changes().back(), std::make_pair(String(u"ZtStack1"), String(u"Strategy")));
}

// Every operation, chosen at random, against a deque whose back is the newest item.
TEST(Stack, MatchesDequeModelOverGeneratedSequences) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    ZtStack stack;
    std::deque<Variant> model;
    Long strategy = 0;
    if (seed % 2 == 0) {  // half the runs start as a queue
      stack.Strategy(ztlStackLIFO);
      strategy = 1;
    }
    const auto end = [&]() -> Variant& { return strategy == 0 ? model.back() : model.front(); };
    for (int step = 0; step < 3000; ++step) {
      const unsigned op = random() % 100;
      if (op < 45) {
        const Variant item = random() % 10 == 0 ? Variant(Null) : random() % 3 == 0
                                                                     ? Variant(String(random() % 5, u'x'))
                                                                     : Variant(static_cast<Long>(random()));
        ASSERT_EQ(stack.Push(item), item);
        model.push_back(item);
      } else if (op < 80) {
        const Variant expected = model.empty() ? Variant(Null) : end();
        if (!model.empty()) strategy == 0 ? model.pop_back() : model.pop_front();
        ASSERT_EQ(stack.Pop(), expected) << "pop at step " << step;
      } else if (op < 93) {
        ASSERT_EQ(stack.Peek(), model.empty() ? Variant(Null) : end()) << "peek at step " << step;
      } else if (op < 99) {
        const Long value = static_cast<Long>(random() % 5) - 1;  // -1 .. 3
        stack.Strategy(static_cast<ztlStackStrategy>(value));
        if (value == 0 || value == 1) strategy = value;
      } else {
        stack.Clear();
        model.clear();
      }
      ASSERT_EQ(stack.Size(), static_cast<Long>(model.size()));
      ASSERT_EQ(stack.IsEmpty(), model.empty());
      ASSERT_EQ(stack.Strategy(), strategy);
    }
  }
}

}  // namespace
}  // namespace ztl
