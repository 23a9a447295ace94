// ZtStack and ZtToken beyond the vector corpus (generated sequences against a deque model, the
// exact default delimiter set, generated texts against a reference split), and ZtStack, ZtBits
// and ZtToken in a container: what they hold when placed anew, what they restore from saved
// properties (converting what converts, keeping the rest), and that a saved form loads back.

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <tuple>

#include "ztldata/containers/bits.hpp"
#include "ztldata/containers/stack.hpp"
#include "ztldata/containers/token.hpp"
#include "ztldata/frame/collection.hpp"

namespace ztl {
namespace {

// A deque whose back is the newest item; strategy 0 hands out the back, 1 the front.
TEST(ZtStack, MatchesDequeModelOverGeneratedSequences) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    ZtStack stack;
    std::deque<Variant> model;
    Long strategy = 0;
    for (int step = 0; step < 3000; ++step) {
      const unsigned op = random() % 100, kind = random() % 10;
      const Variant end = model.empty() ? Variant(Null) : strategy == 0 ? model.back() : model.front();
      if (op < 45) {  // objects come back as themselves, not copies
        const Variant item = kind == 0 ? Variant(Null) : kind == 1 ? Variant(ObjectRef(Collection::Create()))
                             : kind < 5 ? Variant(String(random() % 5, u'x')) : Variant(static_cast<Long>(random()));
        ASSERT_EQ(stack.Push(item), model.emplace_back(item));
      } else if (op < 80) {
        if (!model.empty()) strategy == 0 ? model.pop_back() : model.pop_front();
        ASSERT_EQ(stack.Pop(), end) << "pop at step " << step;
      } else if (op < 93) {
        ASSERT_EQ(stack.Peek(), end) << "peek at step " << step;
      } else if (op < 99) {
        const Long value = static_cast<Long>(kind % 5) - 1;  // -1 .. 3: only 0 and 1 are taken
        stack.Strategy(static_cast<ztlStackStrategy>(value));
        if (value == 0 || value == 1) strategy = value;
      } else {
        stack.Clear(), model.clear();
      }
      ASSERT_EQ(stack.Size(), static_cast<Long>(model.size())) << "step " << step;
      ASSERT_EQ(stack.IsEmpty(), model.empty()) << "step " << step;
      ASSERT_EQ(stack.Strategy(), strategy) << "step " << step;
    }
  }
}

// The default delimiters: blanks and punctuation, the diaeresis and soft hyphen, the quotation
// mark, four control characters and Windows-1252 codes 138 and 141.
const String kDefaultSet = u" ,;:.?\u00A8\u00AD!()&/+*-%[]{}'\"\t\n\r\x1A\u0160\u008D";

TEST(ZtToken, DefaultSetIsExactlyItsTwentyNineCharacters) {
  ZtToken token;
  for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
    token.Create(String{u'a', static_cast<char16_t>(c), u'b'});
    ASSERT_EQ(token.Count(), kDefaultSet.find(static_cast<char16_t>(c)) != String::npos ? 2 : 1) << std::hex << c;
  }
}

// Against a split that searches the rest of the text for each delimiter in turn and keeps the
// text before the nearest one.
TEST(ZtToken, MatchesTheSearchOverGeneratedTexts) {
  // Letters, default delimiters, characters beyond Latin-1 and a surrogate pair's halves.
  const String alphabet = u"abcXYZ ,;-'\"\t\u00A8\u00AD\u0160\u008D\u0161\u20AC\xD83D\xDE00\uFFFF";
  std::mt19937 random(20261206);
  ZtToken token;
  for (int round = 0; round < 3000; ++round) {
    String text(random() % 40, u' '), delimiters(random() % 3 == 0 ? 0 : random() % 5, u' ');
    for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
    for (char16_t& c : delimiters) c = alphabet[random() % alphabet.size()];
    token.Create(text, delimiters);  // replaces the tokens of the round before
    std::vector<String> tokens, expected;
    for (Long i = 1; i <= token.Count(); ++i) tokens.push_back(token.GetToken(i));
    for (String rest = text; !rest.empty();) {
      std::size_t pos = rest.size();
      for (const char16_t d : delimiters.empty() ? kDefaultSet : delimiters) pos = std::min(pos, rest.find(d));
      if (pos > 0) expected.push_back(rest.substr(0, pos));
      rest = pos + 1 >= rest.size() ? String() : rest.substr(pos + 1);
    }
    ASSERT_EQ(tokens, expected) << "round " << round;
  }
}

// The saved properties the tests compare: Enabled, TabStop and Strategy (-1 when no ZtStack).
using State = std::tuple<bool, bool, Long>;
State StateOf(const Component& c) {
  const auto* stack = dynamic_cast<const ZtStack*>(&c);
  return {c.Enabled(), c.TabStop(), stack ? static_cast<Long>(stack->Strategy()) : -1};
}

// Sets Enabled and, on a ZtStack, Strategy, as a user would in the designer.
void Set(Component& c, bool enabled, Long strategy) {
  c.Enabled(enabled);
  if (auto* stack = dynamic_cast<ZtStack*>(&c)) stack->Strategy(static_cast<ztlStackStrategy>(strategy));
}

TEST(InitProperties, NewComponentsReportTheirProperties) {
  Container form;
  for (const std::u16string_view cls : {u"ZtStack", u"ZtBits", u"ZtToken"})
    EXPECT_EQ(StateOf(*form.Place(cls)), State(true, false, cls == u"ZtStack" ? 0 : -1));
  EXPECT_EQ(form.Changes(), (std::vector<std::pair<String, String>>{{u"ZtStack1", u"Enabled"}, {u"ZtStack1", u"Strategy"},
                                                                    {u"ZtBits1", u"Enabled"}, {u"ZtToken1", u"Enabled"}}));
}

TEST(Container, ChangesHoldEachPropertyOnceAndForgetReleasedComponents) {
  Container form;
  auto stack = std::static_pointer_cast<ZtStack>(form.Place(u"ZtStack"));
  form.Place(u"ZtBits");
  for (int i = 0; i < 1000; ++i) stack->Strategy(static_cast<ztlStackStrategy>(i & 1));
  EXPECT_EQ(form.Changes().size(), 3u);
  form.Release(u"ZtStack1");
  EXPECT_EQ(form.Changes(), (std::vector<std::pair<String, String>>{{u"ZtBits1", u"Enabled"}}));
}

TEST(ReadProperties, RestoresWhatConvertsAndKeepsTheRest) {
  // What is restored into a component of a class with Enabled and Strategy set beforehand.
  const struct {
    const char* name; std::u16string_view cls; bool enabled_before; Long strategy_before;
    std::vector<std::pair<String, Variant>> saved; bool enabled; Long strategy;
  } kCases[] = {
      {"a missing Enabled loads as True", u"ZtStack", false, 1, {}, true, 0},
      {"a missing Strategy loads as 0", u"ZtStack", true, 1, {{u"Enabled", true}}, true, 0},
      {"Strategy 1", u"ZtStack", true, 0, {{u"Strategy", Long{1}}}, true, 1},
      {"Strategy 7 is ignored after Initialize", u"ZtStack", true, 0, {{u"Strategy", Long{7}}}, true, 0},
      {"Strategy 7 is ignored", u"ZtStack", true, 1, {{u"Strategy", Long{7}}}, true, 1},
      {"Strategy as text", u"ZtStack", true, 0, {{u"Strategy", u" 1 "}}, true, 1},
      {"Strategy that is no number", u"ZtStack", true, 1, {{u"Strategy", u"abc"}}, true, 1},
      {"Strategy 0.5 rounds to 0", u"ZtStack", true, 1, {{u"Strategy", 0.5}}, true, 0},
      {"Strategy True is -1, ignored", u"ZtStack", true, 0, {{u"Strategy", true}}, true, 0},
      {"keys ignore case", u"ZtStack", true, 0, {{u"STRATEGY", Long{1}}, {u"enabled", false}}, false, 1},
      {"a bad Enabled still reads Strategy", u"ZtStack", true, 0, {{u"Enabled", u"abc"}, {u"Strategy", Long{1}}}, true, 1},
      {"Enabled 0", u"ZtBits", true, -1, {{u"Enabled", Long{0}}}, false, -1},
      {"Enabled as text", u"ZtBits", false, -1, {{u"Enabled", u"True"}}, true, -1},
      {"Enabled that is no Boolean keeps False", u"ZtToken", false, -1, {{u"Enabled", u"abc"}}, false, -1},
      {"Enabled that is no Boolean keeps True", u"ZtToken", true, -1, {{u"Enabled", u"abc"}}, true, -1},
      {"Enabled Null", u"ZtBits", false, -1, {{u"Enabled", Null}}, false, -1},
      {"unknown keys are ignored, bits kept", u"ZtBits", true, -1, {{u"Strategy", Long{1}}, {u"Size", Long{5}}}, true, -1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Container form;
    const ComponentRef component = form.Place(c.cls);
    Set(*component, c.enabled_before, c.strategy_before);
    component->TabStop(true);
    if (auto* bits = dynamic_cast<ZtBits*>(component.get())) bits->Bit(3, true);
    PropertyBag bag;
    for (const auto& [key, value] : c.saved) bag.Restore(key, value);
    component->ReadProperties(bag);
    EXPECT_EQ(StateOf(*component), State(c.enabled, false, c.strategy));
    if (auto* bits = dynamic_cast<ZtBits*>(component.get())) {
      EXPECT_EQ(bits->Size(), 1024);
      EXPECT_TRUE(bits->Bit(3));
    }
  }
}

// Every combination of saved properties comes back from a saved form, defaults omitted or kept.
TEST(Form, SavedAndLoadedKeepsEveryComponent) {
  for (const bool keep_defaults : {false, true}) {
    SCOPED_TRACE(keep_defaults);
    Container form;
    for (const bool enabled : {false, true}) {
      for (const Long strategy : {0, 1}) Set(*form.Place(u"ZtStack"), enabled, strategy);
      for (const char16_t* cls : {u"ZtBits", u"ZtToken"}) Set(*form.Place(cls), enabled, -1);
    }
    std::vector<std::string> problems;
    const auto loaded = Container::Load(form.Save(keep_defaults), &problems);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(loaded->Components().size(), 8u);
    for (const auto& [name, component] : form.Components()) {
      const ComponentRef back = loaded->Find(name);
      ASSERT_TRUE(back);
      ASSERT_EQ(back->Class(), component->Class());
      EXPECT_EQ(StateOf(*back), StateOf(*component)) << std::string(name.begin(), name.end());
    }
    // Components at their defaults save nothing unless defaults are kept.
    Container plain;
    for (const char16_t* cls : {u"ZtStack", u"ZtBits", u"ZtToken"}) plain.Place(cls);
    const std::string saved = plain.Save(keep_defaults);
    EXPECT_EQ(saved.find("Enabled = Boolean True") != std::string::npos, keep_defaults) << saved;
    EXPECT_EQ(saved.find("Strategy = Long 0") != std::string::npos, keep_defaults) << saved;
  }
}

}  // namespace
}  // namespace ztl
