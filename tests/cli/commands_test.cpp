// `ztl list`, `ztl describe`, `ztl call` and the help texts, run as a user runs them.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run_ztl.hpp"
#include "ztldata/frame/typelib.hpp"

namespace {

using ztl_cli_test::Lines;
using ztl_cli_test::RunCall;
using ztl_cli_test::RunZtl;

std::string Join(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& a : args) text += (text.empty() ? "" : " ") + a;
  return text;
}

TEST(Help, EveryCommandExplainsItself) {
  const struct {
    std::vector<std::string> args;
    std::string mentions;  // something only that help text says
  } kCases[] = {
      {{"--help"}, "Commands:"},
      {{"-h"}, "Commands:"},
      {{"help"}, "Commands:"},
      {{"help", "call"}, "--seed N"},
      {{"call", "--help"}, "--seed N"},
      {{"call", "-h"}, "--seed N"},
      {{"call", "--json", "--help"}, "--seed N"},
      {{"list", "--help"}, "registered name"},
      {{"describe", "--help"}, "ParamArray"},
      {{"help", "describe"}, "ParamArray"},
      {{"serve", "--help"}, "-32700"},
      {{"help", "serve"}, "-32700"},
      {{"help", "--help"}, "Commands:"},
      {{"help", "-h"}, "Commands:"},
      {{"help", "help"}, "Commands:"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunZtl(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage: ztl", 0), 0u) << run.out;
    EXPECT_NE(run.out.find(c.mentions), std::string::npos);
    EXPECT_EQ(run.err, "");
  }
}

TEST(Help, UsageErrorsExitWithTwoAndOneLine) {
  const struct {
    std::vector<std::string> args;
    std::string says;
  } kCases[] = {
      {{}, "no command given: list, describe, call, serve, crc32, ebcdic, rle, cipher, rsa, resources or help"},
      {{"--version", "extra"}, "takes no arguments"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"help", "frobnicate"}, "no command 'frobnicate'"},
      {{"list", "extra"}, "takes no arguments"},
      {{"serve", "extra"}, "takes no arguments"},
      {{"describe"}, "usage: ztl describe CLASS"},
      {{"describe", "NoSuchClass"}, "unknown class 'NoSuchClass'"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunZtl(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
}

TEST(Help, ListsEveryCommandAndEachHasItsOwnHelp) {
  const auto help = RunZtl({"help"});
  ASSERT_EQ(help.status, 0);
  for (const std::string command :
       {"list", "describe", "call", "serve", "crc32", "ebcdic", "rle", "cipher", "rsa", "resources", "help"}) {
    SCOPED_TRACE(command);
    EXPECT_NE(help.out.find("\n  " + command + " "), std::string::npos) << help.out;
    const auto own = RunZtl({"help", command});
    EXPECT_EQ(own.status, 0) << own.err;
    EXPECT_EQ(own.out.rfind("Usage: ztl " + (command == "help" ? std::string() : command), 0), 0u) << own.out;
  }
}

TEST(Help, VersionNamesTheLibraryAndTheTypeLibrary) {
  const auto run = RunZtl({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "ztl " ZTL_LIBRARY_VERSION " (ZTLData type library 1.4)\n");
}

TEST(List, EveryClassOnceInRegistryOrder) {
  const auto run = RunZtl({"list"});
  ASSERT_EQ(run.status, 0);
  const auto lines = Lines(run.out);
  const auto classes = ztl::Classes();
  ASSERT_EQ(lines.size(), 16u);
  ASSERT_EQ(classes.size(), 16u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ztl::ClassInfo& info = *classes[i];
    SCOPED_TRACE(std::string(info.name));
    EXPECT_EQ(lines[i].rfind(std::string(info.name) + " ", 0), 0u) << lines[i];
    const std::string kind = info.kind == ztl::ClassKind::Component ? " component " : " utility class ";
    EXPECT_NE(lines[i].find(kind), std::string::npos) << lines[i];
    EXPECT_TRUE(lines[i].ends_with(" ZTLData." + std::string(info.name))) << lines[i];
  }
}

TEST(Describe, ShowsIdsKindsParametersAndHelp) {
  const struct {
    const char* cls;
    const char* line;  // a whole line of the output, blanks squeezed out of the comparison
  } kCases[] = {
      {"ZtNumeric", "ZtNumeric (ZTLData.ZtNumeric), utility class, interface _ZtNumeric"},
      {"ZtNumeric", "14 0x6003000D method IsEven(lngNumber As Long) As Boolean \"Determines if a number is even\""},
      {"ZtNumeric",
       "10 0x60030009 method CompressNumber(dblNumber As Double, [intSize As Integer = 9], "
       "[intDecimals As Integer = 0]) As String \"Compress a number into a string\""},
      {"ZtNumeric", "19 0x60030012 method Root(dblNumber As Double, dblRoot As Double) As Double"},
      {"ZtStrings", "1 0x60030000 method Expand(strSource As String, [strChars As String = \" \"]) As String "
                    "\"Expands a text with other text\""},
      {"ZtStrings", "8 0x60030007 method sPrintf(strText As String, ParamArray Vals() As Variant) As String "
                    "\"Transforms a string in a process similar to the C printf function\""},
      {"ZtStrings", "7 0x60030006 method InStrAdv(strBuffer As String, strSearch As String, "
                    "ByRef cllCollection As Collection) As Long "
                    "\"Fills a collection with the positions of the occurrences of a string in other\""},
      {"ZtArrays", "9 0x60030008 method Sort(ByRef aArray As Variant) \"Sorts an array\""},
      {"ZtBits", "ZtBits (ZTLData.ZtBits), component, interface _ZtBits, events __ZtBits"},
      {"ZtBits", "1 -552 method About()"},
      {"ZtBits", "3 -514 property let Enabled(value As Boolean)"},
      {"ZtBits", "4 0x60030007 method Create(lngBitsSize As Long, [blnPreserve As Boolean = True])"},
      {"ZtBits", "7 0x68030000 property let Bit(lngIndex As Long, value As Boolean)"},
      {"ZtStack", "4 0x68030002 property get Strategy() As ztlStackStrategy"},
      {"ztlData.ztcollections", "5 0x60030006 method SearchByKey(cllCollection As Collection, vntKey As Variant) "
                                "As Variant"},
  };
  auto squeeze = [](const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.cls) + ": " + c.line);
    const auto run = RunZtl({"describe", c.cls});
    ASSERT_EQ(run.status, 0);
    bool found = false;
    for (const std::string& line : Lines(run.out)) found = found || squeeze(line) == c.line;
    EXPECT_TRUE(found) << run.out;
  }
}

TEST(Describe, OneLinePerSlotForEveryClass) {
  for (const ztl::ClassInfo* info : ztl::Classes()) {
    SCOPED_TRACE(std::string(info->name));
    const auto run = RunZtl({"describe", std::string(info->name)});
    ASSERT_EQ(run.status, 0);
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), info->members.size() + 1);
    for (std::size_t slot = 0; slot < info->members.size(); ++slot) {
      const std::string expected_start = std::to_string(slot + 1) + "  ";
      const std::string& line = lines[slot + 1];
      EXPECT_EQ(line.substr(line.find_first_not_of(' '), expected_start.size()), expected_start) << line;
      std::string call = " ";
      call.append(info->members[slot].name).append("(");
      EXPECT_NE(line.find(call), std::string::npos) << line;
    }
  }
}

TEST(Call, PrintsTheResultAsText) {
  const struct {
    std::vector<std::string> args;
    std::string out;
  } kCases[] = {
      {{"ZtNumeric.Factorial", "10"}, "3628800\n"},
      {{"ZtNumeric.IsPrime", "97"}, "True\n"},
      {{"ZtNumeric.IsPrime", "91"}, "False\n"},
      // Class and operation names in any case, the registered name, or a dispatch id.
      {{"ztnumeric.isprime", "7"}, "True\n"},
      {{"ZTLData.ZtNumeric.Factorial", "5"}, "120\n"},
      {{"ZtNumeric.0x6003000D", "4"}, "True\n"},
      // Arguments convert as a host's texts do.
      {{"ZtNumeric.Max", "0.1", "0.2"}, "0.2\n"},
      {{"ZtNumeric.Max", "1E20", "1"}, "1E+20\n"},
      {{"ZtNumeric.Max", " 7 ", "-3"}, "7\n"},
      {{"ZtNumeric.Factorial", "-5"}, "0\n"},
      // Options anywhere before "--".
      {{"ZtNumeric.Factorial", "10", "--json"}, "{\"type\":\"Long\",\"value\":3628800}\n"},
      {{"--json", "ZtNumeric.IsPrime", "4"}, "{\"type\":\"Boolean\",\"value\":false}\n"},
      {{"--json", "ZtNumeric.Max", "0.1", "0.2"}, "{\"type\":\"Double\",\"value\":0.2}\n"},
      // A component is placed in a container first.
      {{"ZtStack.Size"}, "0\n"},
      {{"--json", "ZtStack.Enabled"}, "{\"type\":\"Boolean\",\"value\":true}\n"},
      // An argument that reads as JSON null is Null.
      {{"ZtObjects.IsSet", "{\"type\":\"Object\",\"object\":null}"}, "False\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunCall(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
  }
}

TEST(Call, DatesReadAsDateTextsAndPrintAsIso) {
  const struct {
    std::vector<std::string> args;
    std::string out;
  } kCases[] = {
      {{"ZtDate.LastDay", "2000-02-10"}, "2000-02-29\n"},  // midnight: the date alone
      {{"ZtDate.LastDay", "2000-02-10 18:30"}, "2000-02-29T18:30:00\n"},
      {{"ZtDate.LastDay", "2/10/2000 6:30:15 PM"}, "2000-02-29T18:30:15\n"},
      {{"ZtDate.FirstDay", "2000-02-10T06:00:00"}, "2000-02-01T06:00:00\n"},  // reads what it prints
      {{"ZtDate.JulianToGregorian", "2001", "60"}, "2001-03-01\n"},
      {{"ZtDate.JulianToGregorian", "99", "1"}, "1999-01-01\n"},
      {{"ZtDate.JulianToGregorian", "100", "1"}, "0100-01-01\n"},
      {{"ZtDate.Str2Time", "930"}, "1899-12-30T09:30:00\n"},
      {{"ZtDate.Str2Time", "12h30"}, "1899-12-30\n"},  // 0, day 0 at midnight
      {{"ZtDate.GetMax", "2000-01-01", "1999-12-31 23:59:59"}, "2000-01-01\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunCall(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
  // --json keeps the day count.
  const auto json = RunCall({"--json", "ZtDate.LastDay", "2000-02-10 06:00"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"({"type":"Date","value":36585.25})"));
  // A day count or any other text that is no date is a type mismatch.
  for (const char* text : {"36526", "2000-02-30", "tomorrow"}) {
    SCOPED_TRACE(text);
    const auto run = RunCall({"ZtDate.LastDay", text});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.ends_with(" (error 13)\n")) << run.err;
  }
}

TEST(Call, OptionalParametersTakeTheirDefaults) {
  // Leaving an optional parameter out and passing its default give the same result.
  const struct {
    std::vector<std::string> short_form;
    std::vector<std::string> long_form;
  } kCases[] = {
      {{"ZtNumeric.CompressNumber", "12345"}, {"ZtNumeric.CompressNumber", "12345", "9", "0"}},
      {{"ZtNumeric.CompressNumber", "12345", "12"}, {"ZtNumeric.CompressNumber", "12345", "12", "0"}},
      {{"ZtStrings.Expand", "abc"}, {"ZtStrings.Expand", "abc", " "}},
      {{"ZtStrings.Pad", "ab", "5"}, {"ZtStrings.Pad", "ab", "5", "32"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.short_form));
    std::vector<std::string> short_args{"call"}, long_args{"call"};
    short_args.insert(short_args.end(), c.short_form.begin(), c.short_form.end());
    long_args.insert(long_args.end(), c.long_form.begin(), c.long_form.end());
    const auto short_run = RunZtl(short_args);
    const auto long_run = RunZtl(long_args);
    EXPECT_EQ(short_run.status, 0) << short_run.err;
    EXPECT_EQ(long_run.status, 0) << long_run.err;
    EXPECT_EQ(short_run.out, long_run.out);
    EXPECT_EQ(Lines(short_run.out).size(), 1u);
  }
}

TEST(Call, VariantArgumentsReadAsJson) {
  // Dimensions takes its array by reference and leaves it as it is, so --byref shows each
  // argument exactly as the call received it.
  const struct {
    std::string arg;
    std::string value;  // the tagged JSON of the value received
  } kCases[] = {
      {"5", R"({"type":"Long","value":5})"},
      {"-2147483648", R"({"type":"Long","value":-2147483648})"},
      {"3000000000", R"({"type":"Double","value":3000000000.0})"},
      {"1.5", R"({"type":"Double","value":1.5})"},
      {"\"5\"", R"({"type":"String","value":"5"})"},
      {"true", R"({"type":"Boolean","value":true})"},
      {"null", R"({"type":"Null","value":null})"},
      {"abc", R"({"type":"String","value":"abc"})"},
      {"", R"({"type":"String","value":""})"},
      {"5 6", R"({"type":"String","value":"5 6"})"},
      {"[1,2", R"({"type":"String","value":"[1,2"})"},
      {"{\"a\":1}", R"({"type":"String","value":"{\"a\":1}"})"},
      {"1e400", R"({"type":"String","value":"1e400"})"},
      {R"({"type":"Integer","value":5})", R"({"type":"Integer","value":5})"},
      {R"({"type":"String","value":"a\u0000\u001fb"})", R"({"type":"String","value":"a\u0000\u001fb"})"},
      {R"({"type":"Array","of":"Long","bounds":[[1,2]],"items":[7,8]})",
       R"({"type":"Array","of":"Long","bounds":[[1,2]],"items":[{"type":"Long","value":7},{"type":"Long","value":8}]})"},
      {"h\xC3\xA9llo \xF0\x9F\x98\x80", "{\"type\":\"String\",\"value\":\"h\xC3\xA9llo \xF0\x9F\x98\x80\"}"},
      // Bytes that are no UTF-8 each become U+FFFD (a truncated sequence becomes one).
      {"bad \xFF byte", "{\"type\":\"String\",\"value\":\"bad \xEF\xBF\xBD byte\"}"},
      {"\xC0\xAF", "{\"type\":\"String\",\"value\":\"\xEF\xBF\xBD\xEF\xBF\xBD\"}"},
      {"\xED\xA0\x80", "{\"type\":\"String\",\"value\":\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"}"},
      {"\xE2\x82x", "{\"type\":\"String\",\"value\":\"\xEF\xBF\xBDx\"}"},
      {"\xF4\x90\x80\x80", "{\"type\":\"String\",\"value\":\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"}"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.arg);
    const auto run = RunZtl({"call", "--json", "--byref", "ZtArrays.Dimensions", c.arg});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(nlohmann::json::parse(lines[1]), nlohmann::json::parse(c.value)) << lines[1];
  }
}

TEST(Call, TaggedValuesReachParametersOfEveryType) {
  const struct {
    std::vector<std::string> args;
    std::string out;  // the --json result
  } kCases[] = {
      // A String parameter takes any character in the tagged form.
      {{"ZtStrings.Expand", R"({"type":"String","value":"a\u0000b"})", "-"},
       R"({"type":"String","value":"a-\u0000-b"})"},
      {{"ZtStrings.Expand", R"({"type":"String","value":"{\"type\":1}"})", "-"},
       R"({"type":"String","value":"{-\"-t-y-p-e-\"-:-1-}"})"},
      // Any other text for a String parameter is that text, JSON or not.
      {{"ZtStrings.Expand", R"("ab")", "-"}, R"({"type":"String","value":"\"-a-b-\""})"},
      {{"ZtStrings.Expand", "[1]", "-"}, R"({"type":"String","value":"[-1-]"})"},
      {{"ZtStrings.Expand", R"({"a":1})", ""}, R"({"type":"String","value":"{\"a\":1}"})"},
      // Numbers convert from the tagged value as from a text.
      {{"ZtNumeric.ToRoman", R"({"type":"Integer","value":12})"}, R"({"type":"String","value":"XII"})"},
      {{"ZtNumeric.Factorial", R"({"type":"Double","value":5})"}, R"({"type":"Long","value":120})"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    std::vector<std::string> args{"--json"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = RunCall(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out + "\n");
  }
}

TEST(Call, CompressedNumbersComeBackThroughTheTaggedForm) {
  // CompressNumber's text holds control characters and NUL, which no shell argument can carry.
  bool control_seen = false;
  for (const std::string number : {"0", "1", "255", "256", "12345", "-65536", "4294967296", "-2147483648"}) {
    SCOPED_TRACE(number);
    const auto packed = RunCall({"--json", "ZtNumeric.CompressNumber", number});
    ASSERT_EQ(packed.status, 0) << packed.err;
    const std::string tagged = packed.out.substr(0, packed.out.size() - 1);
    control_seen = control_seen || tagged.find("\\u00") != std::string::npos;
    const auto back = RunCall({"ZtNumeric.DecompressNumber", tagged});
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, number + "\n") << tagged;
  }
  EXPECT_TRUE(control_seen);
}

TEST(Call, ValuesThatAreNotValidAreRefusedAsServeRefusesThem) {
  const struct {
    std::vector<std::string> args;
    std::string error;  // the whole line on standard error
  } kCases[] = {
      {{"ZtData.Purge", R"({"type":"Intger","value":5})"}, "argument 1: unknown value type \"Intger\""},
      {{"ZtData.Purge", R"({"type":"Integer","value":70000})"}, "argument 1: Integer value out of range: 70000"},
      {{"ZtArrays.Dimensions", R"({"type":"Array","of":"Long","bounds":[[0,2]],"items":[1,2]})"},
       "argument 1: the bounds make 3 items but 2 are given"},
      {{"ZtNumeric.Factorial", R"({"type":"Long","value":"x"})"},
       "argument 1: Long value must be a whole number, not \"x\""},
      {{"ZtStrings.Expand", R"({"type":"String","value":5})"}, "argument 1: String value must be a JSON string, not 5"},
      {{"ZtObjects.IsSet", R"({"type":"Object","object":1})"}, "argument 1: unknown object id 1"},
      {{"ZtData.Purge", R"({"type":5})"}, "argument 1: a JSON object must be a tagged value with a \"type\""},
      // A plain list for a parameter that takes values: the tagged array it stands for.
      {{"ZtArrays.Sort", "[3,1,2]"},
       "argument 1: a plain JSON list is no value; write an array tagged, as "
       R"({"type":"Array","of":"Variant","bounds":[[0,2]],"items":[3,1,2]}, or the text as '"[3,1,2]"')"},
      {{"ZtStrings.sPrintf", "%s %s", "a", "[]"},
       "argument 3: a plain JSON list is no value; write an array tagged, as "
       R"({"type":"Array","of":"Variant","bounds":[],"items":[]}, or the text as '"[]"')"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunCall(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "ztl: " + c.error + "\n");
  }
}

TEST(Call, ByRefArgumentsPrintAfterTheResult) {
  // Dimensions of a plain value is 0; its by-reference argument follows the result.
  const auto text = RunZtl({"call", "--byref", "ZtArrays.Dimensions", "5"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out, "0\n5\n");
  const auto json = RunZtl({"call", "--byref", "--json", "ZtArrays.Dimensions", "\"x\""});
  EXPECT_EQ(json.out, "{\"type\":\"Integer\",\"value\":0}\n{\"type\":\"String\",\"value\":\"x\"}\n");
}

TEST(Call, ByRefShowsCollectionsTheOperationChanged) {
  // Sort has no result: the sorted collection is all there is to see.
  const auto sorted = RunZtl({"call", "--byref", "ZtCollections.Sort",
                              R"({"type":"Collection","items":[{"value":"pear","key":"p"},{"value":"apple","key":"a"}]})"});
  EXPECT_EQ(sorted.status, 0) << sorted.err;
  EXPECT_EQ(sorted.out, "apple\npear\n");
  const auto split = RunZtl({"call", "--byref", "ZtStrings.InStrAdv", "a,b", ",", R"({"type":"Collection","items":[]})"});
  EXPECT_EQ(split.out, "2\na\nb\n");
}

TEST(Call, SeedMakesRunsReproducible) {
  const auto first = RunZtl({"call", "--seed", "12345", "ZtNumeric.GetRandom", "1", "1000000000"});
  const auto second = RunZtl({"call", "--seed=12345", "ZtNumeric.GetRandom", "1", "1000000000"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, second.out);
  EXPECT_EQ(Lines(first.out).size(), 1u);
}

TEST(Call, DispatchErrorsExitWithTwoAndTheErrorNumber) {
  const struct {
    std::vector<std::string> args;
    int error;
  } kCases[] = {
      {{"ZtNumeric.Factorial", "abc"}, 13},       // no number for a Long
      {{"ZtNumeric.IsPrime", "1.5.5"}, 13},
      {{"ZtNumeric.ToRoman", "70000"}, 6},        // beyond the Integer range
      {{"ZtNumeric.Factorial", "3000000000"}, 6},  // beyond the Long range
      {{"ZtNumeric.Factorial"}, 450},              // too few arguments
      {{"ZtNumeric.Factorial", "1", "2"}, 450},    // too many
      {{"ZtObjects.IsSet", "5"}, 13},              // no object
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunCall(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("ztl: ", 0), 0u) << run.err;
    EXPECT_TRUE(run.err.ends_with(" (error " + std::to_string(c.error) + ")\n")) << run.err;
  }
}

TEST(Call, UsageErrorsExitWithTwoAndOneLine) {
  const struct {
    std::vector<std::string> args;
    std::string says;
  } kCases[] = {
      {{}, "usage: ztl call"},
      {{"ZtNumeric"}, "expected CLASS.OPERATION"},
      {{"ZtNumeric."}, "expected CLASS.OPERATION"},
      {{"NoSuch.Factorial", "1"}, "unknown class 'NoSuch'"},
      {{"ZtNumeric.NoSuch", "1"}, "ZtNumeric has no method or property 'NoSuch'"},
      {{"ZtNumeric.0x70000000", "1"}, "has no method or property"},
      {{"--bogus", "ZtNumeric.Factorial", "1"}, "unknown option '--bogus'"},
      {{"--seed", "ZtNumeric.Factorial", "1"}, "--seed needs a whole number"},
      {{"ZtNumeric.Factorial", "--seed"}, "--seed needs a whole number"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunCall(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
}

TEST(Call, DoubleDashEndsTheOptions) {
  // After "--" an argument that looks like an option is a String argument.
  const auto run = RunZtl({"call", "--json", "--byref", "--", "ZtArrays.Dimensions", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], R"({"type":"String","value":"--json"})");
}

}  // namespace
