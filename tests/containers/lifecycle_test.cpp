// ZtStack, ZtBits and ZtToken in a container: what they hold when placed anew, what they
// restore from saved properties and what they save, through the component base only.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ztldata/containers/bits.hpp"
#include "ztldata/containers/stack.hpp"
#include "ztldata/containers/token.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {
namespace {

// The saved properties of a component that the tests compare: Enabled, TabStop and, for a
// ZtStack, Strategy ("Strategy" is -1 for the others).
struct State {
  bool enabled;
  bool tab_stop;
  Long strategy;
  friend bool operator==(const State&, const State&) = default;
};

State StateOf(const Component& c) {
  const auto* stack = dynamic_cast<const ZtStack*>(&c);
  return {c.Enabled(), c.TabStop(), stack ? static_cast<Long>(stack->Strategy()) : -1};
}

std::ostream& operator<<(std::ostream& out, const State& s) {
  return out << "Enabled " << s.enabled << " TabStop " << s.tab_stop << " Strategy " << s.strategy;
}

// A bag's entries as one line: "Enabled=Boolean:True Strategy=Long:1".
std::string Summary(const PropertyBag& bag) {
  std::string out;
  for (const auto& [key, value] : bag.Entries()) {
    const String text = ToString(value).value_or(u"?");
    if (!out.empty()) out += ' ';
    out += std::string(key.begin(), key.end()) + "=" + std::string(VarTypeName(value.Type())) + ":" +
           std::string(text.begin(), text.end());
  }
  return out;
}

PropertyBag Bag(std::vector<std::pair<String, Variant>> entries) {
  PropertyBag bag;
  for (auto& [key, value] : entries) bag.Restore(key, value);
  return bag;
}

// Sets Enabled and, on a ZtStack, Strategy, as a user would in the designer.
void Set(Component& c, bool enabled, Long strategy) {
  c.Enabled(enabled);
  if (auto* stack = dynamic_cast<ZtStack*>(&c)) stack->Strategy(static_cast<ztlStackStrategy>(strategy));
}

TEST(InitProperties, NewComponents) {
  const struct {
    std::u16string_view cls;
    State state;
    std::vector<String> changes;  // properties reported changed, in order
  } kCases[] = {
      {u"ZtStack", {true, false, 0}, {u"Enabled", u"Strategy"}},
      {u"ZtBits", {true, false, -1}, {u"Enabled"}},
      {u"ZtToken", {true, false, -1}, {u"Enabled"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.cls.begin(), c.cls.end()));
    Container form;
    const ComponentRef placed = form.Place(c.cls);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(StateOf(*placed), c.state);
    std::vector<String> changes;
    for (const auto& [name, property] : form.Changes()) changes.push_back(property);
    EXPECT_EQ(changes, c.changes);
  }
  // The own data start empty, or at 1024 clear bits.
  Container form;
  EXPECT_EQ(std::static_pointer_cast<ZtBits>(form.Place(u"ZtBits"))->Size(), 1024);
  EXPECT_EQ(std::static_pointer_cast<ZtToken>(form.Place(u"ZtToken"))->Count(), 0);
  EXPECT_TRUE(std::static_pointer_cast<ZtStack>(form.Place(u"ZtStack"))->IsEmpty());
}

TEST(ReadProperties, RestoresWhatConvertsAndKeepsTheRest) {
  const struct {
    const char* name;
    std::u16string_view cls;
    bool enabled_before;
    Long strategy_before;
    std::vector<std::pair<String, Variant>> saved;
    bool enabled;
    Long strategy;
  } kCases[] = {
      {"a missing Enabled loads as True", u"ZtStack", false, 1, {}, true, 0},
      {"a missing Strategy loads as 0", u"ZtStack", true, 1, {{u"Enabled", true}}, true, 0},
      {"Strategy 1", u"ZtStack", true, 0, {{u"Strategy", Long{1}}}, true, 1},
      {"Strategy 7 is ignored after Initialize", u"ZtStack", true, 0, {{u"Strategy", Long{7}}}, true, 0},
      {"Strategy 7 is ignored", u"ZtStack", true, 1, {{u"Strategy", Long{7}}}, true, 1},
      {"Strategy -1 is ignored", u"ZtStack", true, 1, {{u"Strategy", Long{-1}}}, true, 1},
      {"Strategy as text", u"ZtStack", true, 0, {{u"Strategy", u" 1 "}}, true, 1},
      {"Strategy that is no number", u"ZtStack", true, 1, {{u"Strategy", u"abc"}}, true, 1},
      {"Strategy Null", u"ZtStack", true, 1, {{u"Strategy", Null}}, true, 1},
      {"Strategy beyond a Long", u"ZtStack", true, 1, {{u"Strategy", 1e10}}, true, 1},
      {"Strategy 0.5 rounds to 0", u"ZtStack", true, 1, {{u"Strategy", 0.5}}, true, 0},
      {"Strategy 1.5 rounds to 2, ignored", u"ZtStack", true, 0, {{u"Strategy", 1.5}}, true, 0},
      {"Strategy True is -1, ignored", u"ZtStack", true, 0, {{u"Strategy", true}}, true, 0},
      {"keys ignore case", u"ZtStack", true, 0, {{u"STRATEGY", Long{1}}, {u"enabled", false}}, false, 1},
      {"a bad Enabled still reads Strategy", u"ZtStack", true, 0,
       {{u"Enabled", u"abc"}, {u"Strategy", Long{1}}}, true, 1},
      {"Enabled False", u"ZtStack", true, 0, {{u"Enabled", false}}, false, 0},
      {"Enabled 0", u"ZtBits", true, -1, {{u"Enabled", Long{0}}}, false, -1},
      {"Enabled as text", u"ZtBits", false, -1, {{u"Enabled", u"True"}}, true, -1},
      {"Enabled that is no Boolean keeps False", u"ZtToken", false, -1, {{u"Enabled", u"abc"}}, false, -1},
      {"Enabled that is no Boolean keeps True", u"ZtToken", true, -1, {{u"Enabled", u"abc"}}, true, -1},
      {"Enabled Null", u"ZtBits", false, -1, {{u"Enabled", Null}}, false, -1},
      {"a missing Enabled on ZtToken", u"ZtToken", false, -1, {}, true, -1},
      {"an unknown key is ignored", u"ZtBits", true, -1, {{u"Strategy", Long{1}}, {u"Size", Long{5}}}, true, -1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Container form;
    const ComponentRef component = form.Place(c.cls);
    ASSERT_NE(component, nullptr);
    Set(*component, c.enabled_before, c.strategy_before);
    component->TabStop(true);
    component->ReadProperties(Bag(c.saved));
    EXPECT_EQ(StateOf(*component), (State{c.enabled, false, c.strategy}));
  }
  // Reading properties leaves the bits alone.
  Container form;
  auto bits = std::static_pointer_cast<ZtBits>(form.Place(u"ZtBits"));
  bits->Bit(3, true);
  bits->ReadProperties(Bag({{u"Size", Long{5}}}));
  EXPECT_EQ(bits->Size(), 1024);
  EXPECT_TRUE(bits->Bit(3));
}

TEST(WriteProperties, KeepsOrOmitsDefaults) {
  const struct {
    std::u16string_view cls;
    bool enabled;
    Long strategy;
    bool keep_defaults;
    const char* saved;
  } kCases[] = {
      {u"ZtStack", true, 0, false, ""},
      {u"ZtStack", true, 0, true, "Enabled=Boolean:True Strategy=Long:0"},
      {u"ZtStack", true, 1, false, "Strategy=Long:1"},
      {u"ZtStack", false, 0, false, "Enabled=Boolean:False"},
      {u"ZtStack", false, 1, false, "Enabled=Boolean:False Strategy=Long:1"},
      {u"ZtStack", false, 1, true, "Enabled=Boolean:False Strategy=Long:1"},
      {u"ZtBits", true, -1, false, ""},
      {u"ZtBits", true, -1, true, "Enabled=Boolean:True"},
      {u"ZtBits", false, -1, false, "Enabled=Boolean:False"},
      {u"ZtToken", true, -1, false, ""},
      {u"ZtToken", true, -1, true, "Enabled=Boolean:True"},
      {u"ZtToken", false, -1, true, "Enabled=Boolean:False"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << std::string(c.cls.begin(), c.cls.end()) << " " << c.enabled << " "
                                    << c.strategy << " " << c.keep_defaults);
    Container form;
    const ComponentRef component = form.Place(c.cls);
    ASSERT_NE(component, nullptr);
    Set(*component, c.enabled, c.strategy);
    PropertyBag bag(!c.keep_defaults);
    component->WriteProperties(bag);
    EXPECT_EQ(Summary(bag), c.saved);

    // Loaded from that bag, a new component has the same saved properties.
    Container reloaded;
    const ComponentRef again = reloaded.Place(c.cls);
    Set(*again, !c.enabled, 1 - std::max<Long>(c.strategy, 0));
    again->ReadProperties(bag);
    EXPECT_EQ(StateOf(*again), StateOf(*component));
  }
}

TEST(Form, SavedAndLoadedKeepsEveryContainerComponent) {
  for (const bool keep_defaults : {false, true}) {
    SCOPED_TRACE(keep_defaults);
    Container form;
    const ComponentRef queue = form.Place(u"ZtStack", u"Queue");
    Set(*queue, false, 1);
    form.Place(u"ZtStack", u"Stack");
    Set(*form.Place(u"ZtBits"), false, -1);
    form.Place(u"ZtToken");
    std::vector<std::string> problems;
    const auto loaded = Container::Load(form.Save(keep_defaults), &problems);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(loaded->Components().size(), 4u);
    for (const auto& [name, component] : form.Components()) {
      SCOPED_TRACE(std::string(name.begin(), name.end()));
      const ComponentRef back = loaded->Find(name);
      ASSERT_NE(back, nullptr);
      EXPECT_EQ(back->Class(), component->Class());
      EXPECT_EQ(StateOf(*back), StateOf(*component));
    }
    // Only the saved properties come back; the bits start afresh.
    EXPECT_EQ(std::static_pointer_cast<ZtBits>(loaded->Find(u"ZtBits1"))->Size(), 1024);
  }
}

}  // namespace
}  // namespace ztl
