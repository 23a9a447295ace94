// Device contexts from the command line: `ztl call --font NAME:SIZE` with an @hdc argument,
// and the deviceContext and release methods of `ztl serve`.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run_ztl.hpp"

namespace {

using Json = nlohmann::json;
using ztl_cli_test::Lines;
using ztl_cli_test::RunCall;
using ztl_cli_test::RunZtl;

const std::string kPath = "C:\\Program Files\\App\\file.txt";

TEST(CallFont, SuppliesTheDeviceContext) {
  const struct {
    std::vector<std::string> args;
    std::string out;
  } kCases[] = {
      // One pixel a character: 21 * 0.97 rounds to 20 characters.
      {{"--font", "fixed-pitch:1", "ZtStrings.EllipseText", kPath, "21", "10", "@hdc", "16384"},
       "C:\\Progr...\\file.txt\n"},
      {{"--font=fixed-pitch:2", "ZtStrings.EllipseText", "abcdefghij", "15", "10", "@hdc", "-32768"}, "abcd...\n"},
      // The option may come after the operation; NAME may hold colons of its own.
      {{"ZtStrings.EllipseText", "abcdefghij", "100", "10", "@hdc", "-32768", "--font", "DejaVu Sans:bold:12"},
       "abcdefghij\n"},
      {{"--json", "--font", "fixed-pitch:1", "ZtStrings.EllipseText", "abcdefghij", "7", "10", "@hdc", "-32768"},
       "{\"type\":\"String\",\"value\":\"abcd...\"}\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const auto run = RunCall(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(CallFont, RealFontKeepsTheFileName) {
  const auto run = RunCall({"--font", "DejaVu Sans:12", "ZtStrings.EllipseText", kPath, "100", "10", "@hdc", "16384"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0], kPath);
  EXPECT_NE(lines[0].find("...\\file.txt"), std::string::npos) << lines[0];
}

TEST(CallFont, Errors) {
  const struct {
    std::vector<std::string> args;
    std::string message;  // a part of the one line on standard error
  } kCases[] = {
      {{"--font", "No Such Family:12", "ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384"}, "unknown font 'No Such Family'"},
      {{"--font", "fixed-pitch", "ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384"}, "--font needs NAME:SIZE"},
      {{"--font", "fixed-pitch:0", "ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384"}, "--font needs NAME:SIZE"},
      {{"--font", "fixed-pitch:1001", "ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384"}, "--font needs NAME:SIZE"},
      {{"--font", ":12", "ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384"}, "--font needs NAME:SIZE"},
      {{"--font", "fixed-pitch:12x", "ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384"}, "--font needs NAME:SIZE"},
      {{"ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384", "--font"}, "--font needs NAME:SIZE"},
      {{"--font", "fixed-pitch:12", "ZtStrings.EllipseText", "a", "1", "1", "0", "16384"}, "ARG written @hdc"},
      {{"ZtStrings.EllipseText", "a", "1", "1", "@hdc", "16384"}, "(error 13)"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const auto run = RunCall(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  }
}

std::string Request(int id, const std::string& method, const Json& params) {
  return Json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump();
}

std::vector<Json> Session(const std::vector<std::string>& requests) {
  std::string input;
  for (const std::string& r : requests) input += r + "\n";
  const auto run = RunZtl({"serve"}, input);
  EXPECT_EQ(run.status, 0);
  std::vector<Json> responses;
  for (const std::string& line : Lines(run.out)) responses.push_back(Json::parse(line, nullptr, false));
  return responses;
}

TEST(ServeDeviceContext, CreateUseAndRelease) {
  auto r = Session({
      Request(1, "deviceContext", {{"font", "fixed-pitch"}, {"size", 1}}),
      Request(2, "create", {{"class", "ZtStrings"}}),
      Request(3, "invoke", {{"object", 1}, {"member", "EllipseText"}, {"args", {kPath, 21, 10, 1, 16384}}}),
      Request(4, "deviceContext", {{"font", "DejaVu Sans"}, {"size", 12}}),
      Request(5, "invoke", {{"object", 1}, {"member", "EllipseText"}, {"args", {kPath, 100, 10, 2, 16384}}}),
      Request(6, "release", {{"hdc", 1}}),
      Request(7, "release", {{"hdc", 1}}),
      // A released device context is unknown: the text comes back unchanged.
      Request(8, "invoke", {{"object", 1}, {"member", "EllipseText"}, {"args", {kPath, 21, 10, 1, 16384}}}),
      Request(9, "release", {{"hdc", 2}}),
  });
  ASSERT_EQ(r.size(), 9u);
  EXPECT_EQ(r[0]["result"], (Json{{"hdc", 1}}));
  EXPECT_EQ(r[2]["result"]["result"], (Json{{"type", "String"}, {"value", "C:\\Progr...\\file.txt"}}));
  EXPECT_EQ(r[3]["result"], (Json{{"hdc", 2}}));
  const std::string fitted = r[4]["result"]["result"]["value"];
  EXPECT_NE(fitted.find("...\\file.txt"), std::string::npos) << fitted;
  EXPECT_EQ(r[5]["result"], Json::object());
  EXPECT_EQ(r[6]["error"]["code"], -32602);
  EXPECT_EQ(r[6]["error"]["message"], "Invalid params: unknown device context 1");
  EXPECT_EQ(r[7]["result"]["result"]["value"], kPath);
  EXPECT_EQ(r[8]["result"], Json::object());
}

TEST(ServeDeviceContext, InvalidParams) {
  const struct {
    std::string method;
    Json params;
    std::string message;
  } kCases[] = {
      {"deviceContext", {{"font", "No Such Family"}, {"size", 12}}, "Invalid params: unknown font \"No Such Family\""},
      {"deviceContext", {{"size", 12}}, "Invalid params: \"font\" is required"},
      {"deviceContext", {{"font", 5}, {"size", 12}}, "Invalid params: \"font\" must be a string, not 5"},
      {"deviceContext", {{"font", "fixed-pitch"}}, "Invalid params: \"size\" is required"},
      {"deviceContext", {{"font", "fixed-pitch"}, {"size", 0}}, "Invalid params: \"size\" must be a whole number"},
      {"deviceContext", {{"font", "fixed-pitch"}, {"size", 1001}}, "Invalid params: \"size\" must be a whole number"},
      {"deviceContext", {{"font", "fixed-pitch"}, {"size", 12.5}}, "Invalid params: \"size\" must be a whole number"},
      {"deviceContext", {{"font", "fixed-pitch"}, {"size", "12"}}, "Invalid params: \"size\" must be a whole number"},
      {"deviceContext", {{"font", "fixed-pitch"}, {"size", 18446744073709551615ULL}}, "Invalid params: \"size\" must be a whole number"},
      {"release", {{"hdc", "1"}}, "Invalid params: \"hdc\" must be a device context handle"},
      {"release", {{"hdc", 99}}, "Invalid params: unknown device context 99"},
      {"release", {{"hdc", 4294967297LL}}, "Invalid params: unknown device context 4294967297"},
  };
  std::vector<std::string> requests;
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    requests.push_back(Request(static_cast<int>(i + 1), kCases[i].method, kCases[i].params));
  }
  auto r = Session(requests);
  ASSERT_EQ(r.size(), std::size(kCases));
  for (std::size_t i = 0; i < r.size(); ++i) {
    SCOPED_TRACE(kCases[i].params.dump());
    EXPECT_EQ(r[i]["error"]["code"], -32602);
    const std::string message = r[i]["error"]["message"];
    EXPECT_EQ(message.rfind(kCases[i].message, 0), 0u) << message;
  }
}

}  // namespace
