// The component frame: property bags, saving and loading forms, painting, the about box.

#include "ztldata/frame/component.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "frame/form_document.hpp"
#include "ztldata/frame/about.hpp"

namespace ztl {
namespace {

TEST(PropertyBag, DefaultsAreLeftOutOnlyByAnOmittingBag) {
  PropertyBag omitting;
  PropertyBag keeping(false);
  for (PropertyBag* bag : {&omitting, &keeping}) {
    bag->WriteProperty(u"Enabled", true, Variant(true));
    bag->WriteProperty(u"Strategy", Long{1}, Variant(Long{0}));
    bag->WriteProperty(u"PublicKey", Long{0});  // no default: always written
  }
  EXPECT_EQ(omitting.Entries().size(), 2u);
  EXPECT_EQ(keeping.Entries().size(), 3u);
  for (const PropertyBag* bag : {&omitting, &keeping}) {
    EXPECT_EQ(bag->ReadProperty(u"enabled", true), Variant(true));  // keys ignore case
    EXPECT_EQ(bag->ReadProperty(u"STRATEGY", Long{0}), Variant(Long{1}));
    EXPECT_EQ(bag->ReadProperty(u"Missing", u"fallback"), Variant(u"fallback"));
  }
  // Writing the default again removes an earlier value from an omitting bag.
  omitting.WriteProperty(u"Strategy", Long{0}, Variant(Long{0}));
  EXPECT_EQ(omitting.ReadProperty(u"Strategy", Long{0}), Variant(Long{0}));
  EXPECT_EQ(omitting.Entries().size(), 1u);
}

TEST(FormDocument, EveryKindReadsBackAsWritten) {
  SavedComponent c{u"ZTLData.ZtRLE", u"Odd name \"1\"", PropertyBag(false)};
  const Variant kValues[] = {
      Variant(),           Null,           true,
      false,               Byte{255},      Integer{-32768},
      Long{-2147483647 - 1}, Single{0.1f},  0.1,
      -0.0,                1e308,          std::numeric_limits<double>::infinity(),
      Date{-657434.25},    Currency{-9223372036854775807LL}, ErrorValue{13},
      String(u"line\nbreak \\ \"quoted\" \t tab \x01 \xD800 lone \xDC00 \xD83D\xDE00 \x20AC \xFFFF"),
      String(),
  };
  for (std::size_t i = 0; i < std::size(kValues); ++i) {
    const std::string key = "Key" + std::to_string(i);
    c.bag.WriteProperty(String(key.begin(), key.end()), kValues[i]);
  }
  const std::string text = WriteForm({c});
  const ParsedForm back = ReadForm(text);
  EXPECT_TRUE(back.problems.empty()) << back.problems.front();
  ASSERT_EQ(back.components.size(), 1u);
  EXPECT_EQ(back.components[0].class_name, c.class_name);
  EXPECT_EQ(back.components[0].name, c.name);
  ASSERT_EQ(back.components[0].bag.Entries().size(), std::size(kValues));
  for (std::size_t i = 0; i < std::size(kValues); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back.components[0].bag.Entries()[i].second, kValues[i]);
  }
}

TEST(Form, SaveAndLoadKeepTheSavedProperties) {
  for (const bool keep_defaults : {false, true}) {
    SCOPED_TRACE(keep_defaults);
    Container form;
    form.Place(u"ZtRLE")->Enabled(false);
    form.Place(u"ZtCRC32", u"Checksum");
    const std::string text = form.Save(keep_defaults);
    EXPECT_EQ(text.find("Enabled = Boolean True") != std::string::npos, keep_defaults) << text;
    std::vector<std::string> problems;
    const auto loaded = Container::Load(text, &problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(loaded->Components().size(), 2u);
    EXPECT_FALSE(loaded->Find(u"ZtRLE1")->Enabled());
    EXPECT_TRUE(loaded->Find(u"checksum")->Enabled());
    EXPECT_FALSE(loaded->Find(u"Checksum")->TabStop());
    EXPECT_EQ(loaded->Save(keep_defaults), text);
  }
}

TEST(Form, ADamagedDocumentLoadsWhatItCan) {
  const struct {
    const char* situation;
    std::string document;
    std::size_t loaded;
    std::size_t problems;
    bool first_enabled;
  } kCases[] = {
      {"well formed", "ZTLData form 1\nBegin ZTLData.ZtRLE A\n  Enabled = Boolean False\nEnd\n", 1, 0, false},
      {"no header", "Begin ZtRLE A\nEnd\n", 1, 1, true},
      {"a value of the wrong type fails only its step",
       "ZTLData form 1\nBegin ZtRLE A\n  Enabled = String \"maybe\"\nEnd\n", 1, 0, true},
      {"an unknown key is ignored", "ZTLData form 1\nBegin ZtRLE A\n  Colour = Long 5\nEnd\n", 1, 0, true},
      {"an unreadable value", "ZTLData form 1\nBegin ZtRLE A\n  Enabled = Boolean Perhaps\nEnd\n", 1, 1, true},
      {"an unknown class", "ZTLData form 1\nBegin ZTLData.ZtNope A\nEnd\nBegin ZtRLE B\nEnd\n", 1, 1, true},
      {"a utility class is no component", "ZTLData form 1\nBegin ZtNumeric A\nEnd\n", 0, 1, true},
      {"a name used twice", "ZTLData form 1\nBegin ZtRLE A\nEnd\nBegin ZtCRC32 a\nEnd\n", 1, 1, true},
      {"no End", "ZTLData form 1\nBegin ZtRLE A\n  Enabled = Boolean False\n", 1, 1, false},
      {"End without Begin", "ZTLData form 1\nEnd\nBegin ZtRLE A\nEnd\n", 1, 1, true},
      {"a property outside a block", "ZTLData form 1\nEnabled = Boolean False\n", 0, 1, true},
      {"garbage", std::string("\x00\xFF\xFE garbage\n=\n\"\"\"\nBegin\n", 21), 0, 5, true},
      {"empty", "", 0, 0, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.situation);
    std::vector<std::string> problems;
    const auto form = Container::Load(c.document, &problems);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Components().size(), c.loaded);
    EXPECT_EQ(problems.size(), c.problems) << (problems.empty() ? "" : problems.front());
    if (c.loaded > 0) {
      EXPECT_EQ(form->Components()[0].second->Enabled(), c.first_enabled);
    }
  }
}

TEST(Form, NotificationsFollowTheLifecycle) {
  Container form;
  form.Place(u"ZtRLE", u"A");  // InitProperties sets Enabled through its let
  ASSERT_EQ(form.Changes().size(), 1u);
  EXPECT_EQ(form.Changes()[0], (std::pair<String, String>{u"A", u"Enabled"}));
  const auto loaded = Container::Load(form.Save());  // ReadProperties does too
  ASSERT_EQ(loaded->Changes().size(), 1u);
  EXPECT_TRUE(loaded->Release(u"a"));
  EXPECT_FALSE(loaded->Release(u"a"));
  EXPECT_EQ(loaded->Find(u"A"), nullptr);
}

TEST(Form, PaintArrivesOnlyInDesignMode) {
  Container form;
  ComponentRef c = form.Place(u"ZtBits");
  c->Resize(2000, 100);
  EXPECT_FALSE(form.Paint(*c));
  EXPECT_EQ(c->Width(), 2000);
  form.SetDesignMode(true);
  EXPECT_TRUE(form.PaintAll());
  EXPECT_EQ(c->Width(), 525);
  EXPECT_EQ(c->Height(), 525);
}

TEST(About, OneServicePerThreadAndAReplaceableDisplay) {
  std::string shown;
  SetAboutDisplay([&](std::string_view text) { shown += text; });
  Container form;
  ComponentRef c = form.Place(u"ZtToken");
  EXPECT_TRUE(c->Invoke(u"About").ok());
  EXPECT_EQ(shown, AboutText());
  EXPECT_EQ(AboutServicesOnThisThread(), 1);
  int other_thread_before = -1;
  int other_thread_after = -1;
  std::thread([&] {
    other_thread_before = AboutServicesOnThisThread();
    c->About();
    other_thread_after = AboutServicesOnThisThread();
  }).join();
  EXPECT_EQ(other_thread_before, 0);
  EXPECT_EQ(other_thread_after, 1);
  SetAboutDisplay(nullptr);
}

}  // namespace
}  // namespace ztl
