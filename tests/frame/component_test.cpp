// The component frame: property bags, saved forms (every value kind round trips, damaged
// documents load what they can), the lifecycle's notifications, painting, the about box, and
// the components' pictures.

#include "ztldata/frame/component.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "../support/scoped_state.hpp"
#include "frame/form_document.hpp"
#include "ztldata/frame/about.hpp"
#include "ztldata/frame/resources.hpp"

namespace ztl {
namespace {

// Writing the default again removes an earlier value from a bag that leaves defaults out; a
// value without a default is always written. (Defaults in saved forms: lifecycle_test.cpp.)
TEST(PropertyBag, WritingTheDefaultAgainRemovesTheValue) {
  PropertyBag omitting;
  omitting.WriteProperty(u"Strategy", Long{1}, Variant(Long{0}));
  EXPECT_EQ(omitting.ReadProperty(u"STRATEGY", Long{0}), Variant(Long{1}));  // keys ignore case
  omitting.WriteProperty(u"Strategy", Long{0}, Variant(Long{0}));
  EXPECT_TRUE(omitting.Entries().empty());
  omitting.WriteProperty(u"PublicKey", Long{0});
  EXPECT_EQ(omitting.Entries().size(), 1u);
}

TEST(Form, EveryKindReadsBackAsWrittenAndSavedFormsRoundTrip) {
  SavedComponent c{u"ZTLData.ZtRLE", u"Odd name \"1\"", PropertyBag(false)};
  const Variant kValues[] = {
      Variant(), Null, true, false, Byte{255}, Integer{-32768}, Long{-2147483647 - 1}, Single{0.1f}, 0.1, -0.0,
      1e308, std::numeric_limits<double>::infinity(), Date{-657434.25}, Currency{-9223372036854775807LL},
      Decimal{150, 0, 2, false}, Decimal{0, 0, 3, true}, ErrorValue{13}, String(),
      String(u"line\nbreak \\ \"quoted\" \t tab \x01 \xD800 lone \xDC00 \xD83D\xDE00 \x20AC \xFFFF"),
  };
  for (std::size_t i = 0; i < std::size(kValues); ++i) {
    c.bag.WriteProperty(u"Key" + String(1, static_cast<char16_t>(u'A' + i)), kValues[i]);
  }
  for (const char16_t* word : {u"End", u"bEGIN"}) c.bag.WriteProperty(word, Long{1});  // not block lines
  const ParsedForm back = ReadForm(WriteForm({c}));
  EXPECT_TRUE(back.problems.empty()) << back.problems.front();
  ASSERT_EQ(back.components.size(), 1u);
  EXPECT_EQ(std::pair(back.components[0].class_name, back.components[0].name), std::pair(c.class_name, c.name));
  EXPECT_EQ(back.components[0].bag.Entries(), c.bag.Entries());
  EXPECT_TRUE(std::signbit(*back.components[0].bag.Entries()[9].second.If<double>()));  // -0.0 == 0.0
  // A container saves, with or without defaults, what loads back and saves the same again.
  for (const bool keep_defaults : {false, true}) {
    Container form;
    form.Place(u"ZtRLE")->Enabled(false);
    form.Place(u"ZtCRC32", u"Checksum");
    const std::string text = form.Save(keep_defaults);
    EXPECT_EQ(Container::Load(text)->Save(keep_defaults), text);
  }
}

TEST(Form, ADamagedDocumentLoadsWhatItCan) {
  const std::string kHead = "ZTLData form 1\n";
  // A document, the components it loads, the problems it reports, whether the first is enabled.
  const std::tuple<std::string, std::size_t, std::size_t, bool> kCases[] = {
      {kHead + "Begin ZTLData.ZtRLE A\n  Enabled = Boolean False\nEnd\n", 1, 0, false},
      {"Begin ZtRLE A\nEnd\n", 1, 1, true},                                        // no header
      {kHead + "Begin ZtRLE A\n  Enabled = String \"maybe\"\nEnd\n", 1, 0, true},  // fails only its step
      {kHead + "Begin ZtRLE A\n  Colour = Long 5\nEnd\n", 1, 0, true},             // an unknown key
      {kHead + "Begin ZtRLE A\n  Enabled = Boolean Perhaps\nEnd\n", 1, 1, true},
      {kHead + "Begin ZTLData.ZtNope A\nEnd\nBegin ZtRLE B\nEnd\n", 1, 1, true},
      {kHead + "Begin ZtNumeric A\nEnd\n", 0, 1, true},                          // no component
      {kHead + "Begin ZtRLE A\nEnd\nBegin ZtCRC32 a\nEnd\n", 1, 1, true},        // a name used twice
      {kHead + "Begin ZtRLE A\n  Enabled = Boolean False\n", 1, 1, false},       // no End
      {kHead + "End\nBegin ZtRLE A\nEnd\n", 1, 1, true},
      {kHead + "Enabled = Boolean False\n", 0, 1, true},
      {std::string("\x00\xFF\xFE garbage\n=\n\"\"\"\nBegin\n", 21), 0, 5, true},
      {"", 0, 0, true},
  };
  for (const auto& [document, loaded, problem_count, first_enabled] : kCases) {
    std::vector<std::string> problems;
    const auto form = Container::Load(document, &problems);
    ASSERT_EQ(form->Components().size(), loaded) << document;
    EXPECT_EQ(problems.size(), problem_count) << document;
    if (loaded > 0) {
      EXPECT_EQ(form->Components()[0].second->Enabled(), first_enabled) << document;
    }
  }
}

TEST(Form, NotificationsReleasePaintAndTheAboutBox) {
  std::string shown;  // declared first: the display that writes to it goes away before it does
  const auto display = testing_support::ScopedAboutDisplay([&](std::string_view text) { shown += text; });
  Container form;
  const ComponentRef c = form.Place(u"ZtBits", u"A");
  const auto loaded = Container::Load(form.Save());  // ReadProperties sets Enabled through its let
  EXPECT_EQ(loaded->Changes(), (std::vector<std::pair<String, String>>{{u"A", u"Enabled"}}));
  // Paint arrives only in design mode, and sets the size.
  c->Resize(2000, 100);
  EXPECT_FALSE(form.Paint(*c));
  form.SetDesignMode(true);
  EXPECT_EQ(c->Width(), 2000);
  EXPECT_TRUE(form.PaintAll());
  EXPECT_EQ(c->Width() * c->Height(), 525 * 525);
  // The about box shows through a replaceable display, from one service per thread.
  EXPECT_TRUE(c->Invoke(u"About").ok());
  EXPECT_EQ(shown, AboutText());
  int n[2] = {-1, -1};  // in another thread: before and after its own About
  std::thread([&] { n[0] = AboutServicesOnThisThread(); c->About(); n[1] = AboutServicesOnThisThread(); }).join();
  EXPECT_EQ(AboutServicesOnThisThread(), 1);
  EXPECT_EQ(n[0], 0) << "another thread, before its About";
  EXPECT_EQ(n[1], 1) << "another thread, after its About";
}

// Each toolbox bitmap and design-time picture is the file under resources/ it was made from,
// byte for byte, found under its component's name (in any case) and resource id.
TEST(Resources, EveryComponentHasItsOwnPicturesByteForByte) {
  const auto file = [](const std::string& name) {
    std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "../../resources" / name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  };
  const std::string kComponents[] = {"ZtRSA", "ZtCRC32", "ZtEncryption", "ZtRLE", "ZtToken", "ZtStack", "ZtBits"};
  Container form;
  for (int id = 30000; const std::string& component : kComponents) {
    const String name = u"ztldata." + String(component.begin(), component.end());
    const auto gif = DesignPicture(name);
    EXPECT_EQ(ToolboxBitmapId(name), id) << component;
    EXPECT_TRUE(std::ranges::equal(ToolboxBitmap(id++), file(component + ".bmp"))) << component;
    EXPECT_TRUE(std::ranges::equal(gif, file(component + ".gif"))) << component;
    EXPECT_EQ(form.Place(name)->Picture().data(), gif.data());
  }
  EXPECT_EQ(ToolboxBitmapId(u"ZtNumeric"), 0);
  EXPECT_TRUE(DesignPicture(u"ZtNumeric").empty());
  EXPECT_TRUE(ToolboxBitmap(29999).empty());
}

}  // namespace
}  // namespace ztl
