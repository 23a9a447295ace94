// `ztl serve`: whole sessions of JSON-RPC lines fed on standard input, the responses read back.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run_ztl.hpp"

namespace {

using Json = nlohmann::json;
using ztl_cli_test::Lines;
using ztl_cli_test::RunZtl;

std::string Request(int id, const std::string& method, const Json& params) {
  return Json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump();
}

std::string Notification(const std::string& method, const Json& params) {
  return Json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump();
}

// Runs one session; every response must be one JSON line.
std::vector<Json> Session(const std::vector<std::string>& requests, int* status = nullptr) {
  std::string input;
  for (const std::string& r : requests) input += r + "\n";
  const auto run = RunZtl({"serve"}, input);
  if (status != nullptr) *status = run.status;
  EXPECT_EQ(run.status, 0);
  std::vector<Json> responses;
  for (const std::string& line : Lines(run.out)) {
    Json response = Json::parse(line, nullptr, false);
    EXPECT_FALSE(response.is_discarded()) << line;
    responses.push_back(response);
  }
  return responses;
}

Json Tagged(const std::string& type, const Json& value) { return Json{{"type", type}, {"value", value}}; }

constexpr int kIsPrime = 0x6003000C;

TEST(Serve, SessionCreatesInvokesDescribesAndReleases) {
  auto r = Session({
      Request(1, "create", {{"class", "ZtNumeric"}}),
      Request(2, "invoke", {{"object", 1}, {"member", "IsPrime"}, {"args", {97}}}),
      Request(3, "invoke", {{"object", 1}, {"member", kIsPrime}, {"args", {91}}}),
      Request(4, "invoke", {{"object", 1}, {"member", "factorial"}, {"kind", "method"}, {"args", {"10"}}}),
      Request(5, "create", {{"class", "ZTLData.ZtArrays"}}),
      Request(6, "invoke", {{"object", 2}, {"member", "Sort"},
                            {"args", {{{"type", "Array"}, {"of", "Long"}, {"bounds", {{1, 3}}}, {"items", {3, 1, 2}}}}}}),
      Request(7, "describe", {{"class", "ZtNumeric"}}),
      Request(8, "release", {{"object", 1}}),
      Request(9, "release", {{"object", 1}}),
      Request(10, "invoke", {{"object", 1}, {"member", "IsPrime"}, {"args", {7}}}),
  });
  ASSERT_EQ(r.size(), 10u);
  for (std::size_t i = 0; i < r.size(); ++i) {
    EXPECT_EQ(r[i]["jsonrpc"], "2.0");
    EXPECT_EQ(r[i]["id"], static_cast<int>(i + 1));
  }
  EXPECT_EQ(r[0]["result"], (Json{{"object", 1}}));
  EXPECT_EQ(r[1]["result"], (Json{{"result", Tagged("Boolean", true)}, {"byref", {Tagged("Long", 97)}}}));
  EXPECT_EQ(r[2]["result"]["result"], Tagged("Boolean", false));
  // A text argument converts to the Long parameter; byref shows the argument as it was passed.
  EXPECT_EQ(r[3]["result"], (Json{{"result", Tagged("Long", 3628800)}, {"byref", {Tagged("String", "10")}}}));
  EXPECT_EQ(r[4]["result"], (Json{{"object", 2}}));

  // Sort: the array comes back by reference, still an array of three Longs with its bounds.
  const Json& sorted = r[5]["result"]["byref"][0];
  EXPECT_EQ(r[5]["result"]["result"], Tagged("Empty", nullptr));
  EXPECT_EQ(sorted["type"], "Array");
  EXPECT_EQ(sorted["of"], "Long");
  EXPECT_EQ(sorted["bounds"], (Json{{1, 3}}));
  ASSERT_EQ(sorted["items"].size(), 3u);
  for (const Json& item : sorted["items"]) EXPECT_EQ(item["type"], "Long");

  const Json& described = r[6]["result"];
  EXPECT_EQ(described["class"], "ZtNumeric");
  EXPECT_EQ(described["progid"], "ZTLData.ZtNumeric");
  ASSERT_EQ(described["members"].size(), 20u);
  EXPECT_EQ(described["members"][12],
            (Json{{"name", "IsPrime"},
                  {"dispid", kIsPrime},
                  {"kind", "method"},
                  {"params", {{{"name", "lngNumber"}, {"type", "Long"}, {"byref", false}, {"optional", false},
                               {"default", nullptr}, {"paramarray", false}}}},
                  {"result", "Boolean"},
                  {"help", "Determines if a number is prime"}}));
  EXPECT_EQ(described["members"][9]["params"][1]["default"], 9);
  EXPECT_EQ(described["members"][9]["params"][1]["optional"], true);
  EXPECT_EQ(described["members"][19]["help"], nullptr);

  EXPECT_EQ(r[7]["result"], Json::object());
  EXPECT_EQ(r[8]["error"]["code"], -32602);  // released already
  EXPECT_EQ(r[9]["error"]["code"], -32602);
}

TEST(Serve, DescribeShowsDefaultsParamArraysAndProperties) {
  auto r = Session({Request(1, "describe", {{"class", "ztstrings"}}), Request(2, "describe", {{"class", "ZtBits"}})});
  ASSERT_EQ(r.size(), 2u);
  const Json& strings = r[0]["result"]["members"];
  EXPECT_EQ(r[0]["result"]["class"], "ZtStrings");
  EXPECT_EQ(strings[0]["params"][1]["default"], " ");
  EXPECT_EQ(strings[7]["params"][1]["paramarray"], true);
  EXPECT_EQ(strings[6]["params"][2]["byref"], true);
  EXPECT_EQ(strings[6]["params"][2]["type"], "Collection");
  EXPECT_EQ(strings[15]["params"][4]["type"], "ztlEllipseText");
  const Json& bits = r[1]["result"]["members"];
  ASSERT_EQ(bits.size(), 9u);
  EXPECT_EQ(bits[0]["dispid"], -552);
  EXPECT_EQ(bits[0]["result"], nullptr);
  EXPECT_EQ(bits[1]["kind"], "get");
  EXPECT_EQ(bits[2]["kind"], "let");
  EXPECT_EQ(bits[3]["params"][1]["default"], true);
  EXPECT_EQ(bits[6]["params"][1]["name"], "value");
}

TEST(Serve, ValuesReachTheCallAsWritten) {
  // Dimensions leaves its by-reference array argument as it is, so byref shows each argument
  // as the server read it, written back in the tagged form.
  const Json inner_in{{"type", "Array"}, {"of", "Long"}, {"bounds", {{0, 0}}}, {"items", {9}}};
  const Json inner_out{{"type", "Array"}, {"of", "Long"}, {"bounds", {{0, 0}}}, {"items", {Tagged("Long", 9)}}};
  const struct {
    Json in;
    Json out;
  } kCases[] = {
      {5, Tagged("Long", 5)},
      {-2147483648LL, Tagged("Long", -2147483648LL)},
      {2147483648LL, Tagged("Double", 2147483648.0)},
      {2.5, Tagged("Double", 2.5)},
      {"h\xC3\xA9llo \xF0\x9F\x98\x80", Tagged("String", "h\xC3\xA9llo \xF0\x9F\x98\x80")},
      {true, Tagged("Boolean", true)},
      {nullptr, Tagged("Null", nullptr)},
      {Json{{"type", "Empty"}}, Tagged("Empty", nullptr)},
      {Tagged("Integer", -32768), Tagged("Integer", -32768)},
      {Tagged("Byte", 255), Tagged("Byte", 255)},
      {Tagged("Single", 0.1), Tagged("Single", 0.1)},
      {Tagged("Double", "Infinity"), Tagged("Double", "Infinity")},
      {Tagged("Double", "-Infinity"), Tagged("Double", "-Infinity")},
      {Tagged("Double", "NaN"), Tagged("Double", "NaN")},
      {Tagged("Currency", "-12.5"), Tagged("Currency", "-12.5")},
      {Tagged("Currency", "922337203685477.5807"), Tagged("Currency", "922337203685477.5807")},
      {Tagged("Decimal", "79228162514264337593543950335"), Tagged("Decimal", "79228162514264337593543950335")},
      {Tagged("Date", 36526.25), Tagged("Date", 36526.25)},
      {Tagged("Error", 5), Tagged("Error", 5)},
      {Tagged("String", "5"), Tagged("String", "5")},
      {Json{{"type", "Object"}, {"object", nullptr}}, Json{{"type", "Object"}, {"object", nullptr}}},
      {Json{{"type", "Array"}, {"of", "Variant"}, {"bounds", {{0, 1}, {-1, 0}}}, {"items", {1, "a", nullptr, 2.5}}},
       Json{{"type", "Array"},
            {"of", "Variant"},
            {"bounds", {{0, 1}, {-1, 0}}},
            {"items", {Tagged("Long", 1), Tagged("String", "a"), Tagged("Null", nullptr), Tagged("Double", 2.5)}}}},
      // A typed array converts its items to the element type.
      {Json{{"type", "Array"}, {"of", "Integer"}, {"bounds", {{1, 2}}}, {"items", {"7", 2.5}}},
       Json{{"type", "Array"}, {"of", "Integer"}, {"bounds", {{1, 2}}},
            {"items", {Tagged("Integer", 7), Tagged("Integer", 2)}}}},
      {Json{{"type", "Array"}, {"of", "String"}, {"bounds", Json::array()}, {"items", Json::array()}},
       Json{{"type", "Array"}, {"of", "String"}, {"bounds", Json::array()}, {"items", Json::array()}}},
      // An array inside an array of Variants.
      {Json{{"type", "Array"}, {"bounds", {{0, 0}}}, {"items", Json::array({inner_in})}},
       Json{{"type", "Array"}, {"of", "Variant"}, {"bounds", {{0, 0}}}, {"items", Json::array({inner_out})}}},
  };
  std::vector<std::string> requests{Request(0, "create", {{"class", "ZtArrays"}})};
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    requests.push_back(Request(static_cast<int>(i) + 1, "invoke",
                               {{"object", 1}, {"member", "Dimensions"}, {"args", {kCases[i].in}}}));
  }
  auto r = Session(requests);
  ASSERT_EQ(r.size(), std::size(kCases) + 1);
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    SCOPED_TRACE(kCases[i].in.dump());
    EXPECT_EQ(r[i + 1]["result"]["byref"], Json::array({kCases[i].out})) << r[i + 1].dump();
  }
}

TEST(Serve, CollectionsAndObjectsGetIds) {
  auto item = [](const Json& value, const Json& key) { return Json{{"value", value}, {"key", key}}; };
  const Json collection{{"type", "Collection"}, {"items", Json::array({item(1, "one"), item("x", nullptr)})}};
  const Json by_id{{"type", "Collection"}, {"object", 2}};
  const Json as_object{{"type", "Object"}, {"object", 2}};
  const Json unknown_object{{"type", "Object"}, {"object", 99}};
  const Json same_keys{{"type", "Collection"}, {"items", Json::array({item(1, "K"), item(2, "k")})}};
  // Search reads its array and key and changes neither.
  auto search = [](int id, const Json& args) {
    return Request(id, "invoke", {{"object", 1}, {"member", "Search"}, {"args", args}});
  };
  auto r = Session({
      Request(1, "create", {{"class", "ZtArrays"}}),
      search(2, Json::array({collection, 1})),
      // The same collection again, by its id; and as a plain object reference.
      search(3, Json::array({by_id, as_object})),
      search(4, Json::array({unknown_object, 1})),
      search(5, Json::array({same_keys, 1})),
  });
  ASSERT_EQ(r.size(), 5u);
  const Json written{{"type", "Collection"},
                     {"object", 2},
                     {"items", Json::array({item(Tagged("Long", 1), "one"), item(Tagged("String", "x"), nullptr)})}};
  EXPECT_EQ(r[1]["result"]["byref"], Json::array({written, Tagged("Long", 1)}));
  EXPECT_EQ(r[2]["result"]["byref"], Json::array({written, written}));
  EXPECT_EQ(r[3]["error"]["code"], -32602);  // no object 99
  EXPECT_EQ(r[4]["error"]["code"], -32602);  // keys are unique without regard to case
}

TEST(Serve, ContainersPlaceComponents) {
  auto r = Session({
      Request(1, "container", Json::object()),
      Request(2, "place", {{"container", 1}, {"class", "ZtStack"}, {"name", "Stack"}}),
      Request(3, "place", {{"container", 1}, {"class", "ZtStack"}, {"name", "stack"}}),
      Request(4, "invoke", {{"object", 2}, {"member", "Enabled"}, {"kind", "let"}, {"args", {false}}}),
      Request(5, "invoke", {{"object", 2}, {"member", -514}, {"kind", "get"}}),
      Request(6, "place", {{"container", 1}, {"class", "ZtNumeric"}}),
      Request(7, "create", {{"class", "ZtStack"}}),
      Request(8, "release", {{"container", 1}}),
      Request(9, "invoke", {{"object", 2}, {"member", "Size"}, {"kind", "get"}}),
      Request(10, "place", {{"container", 1}, {"class", "ZtStack"}}),
  });
  ASSERT_EQ(r.size(), 10u);
  EXPECT_EQ(r[0]["result"], (Json{{"container", 1}}));
  EXPECT_EQ(r[1]["result"], (Json{{"object", 2}}));
  EXPECT_EQ(r[2]["error"]["code"], -32602);  // the name is taken (names ignore case)
  EXPECT_EQ(r[3]["result"]["result"], Tagged("Empty", nullptr));
  EXPECT_EQ(r[4]["result"]["result"], Tagged("Boolean", false));
  EXPECT_EQ(r[5]["error"]["code"], -32602);  // a utility class is created, not placed
  EXPECT_EQ(r[6]["error"]["code"], -32602);  // a component is placed, not created
  EXPECT_EQ(r[7]["result"], Json::object());
  EXPECT_EQ(r[8]["error"]["code"], -32602);  // released with its container
  EXPECT_EQ(r[9]["error"]["code"], -32602);
}

TEST(Serve, FormsSaveLoadAndPaint) {
  auto r = Session({
      Request(1, "container", Json::object()),
      Request(2, "place", {{"container", 1}, {"class", "ZtRLE"}, {"name", "Coder"}}),
      Request(3, "invoke", {{"object", 2}, {"member", "Enabled"}, {"kind", "let"}, {"args", {false}}}),
      Request(4, "save", {{"container", 1}}),
  });
  ASSERT_EQ(r.size(), 4u);
  const std::string data = r[3]["result"]["data"];
  EXPECT_NE(data.find("Begin ZTLData.ZtRLE Coder"), std::string::npos) << data;
  EXPECT_NE(data.find("Enabled = Boolean False"), std::string::npos) << data;
  r = Session({
      Request(1, "load", {{"data", data + "Begin ZtNope X\nEnd\n"}}),
      Request(2, "invoke", {{"object", 1}, {"member", "Enabled"}, {"kind", "get"}}),
      Request(3, "paint", {{"object", 1}}),
  });
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0]["result"]["objects"], Json({{"Coder", 1}}));
  EXPECT_EQ(r[0]["result"]["container"], 2);
  EXPECT_EQ(r[0]["result"]["problems"].size(), 1u);
  EXPECT_EQ(r[1]["result"]["result"], Tagged("Boolean", false));
  EXPECT_EQ(r[2]["result"], Json::object());
}

TEST(Serve, ErrorsAnswerAndTheServerGoesOn) {
  const struct {
    std::string line;
    int code;
    Json id;
    Json data;  // the error number of a call error, else null
  } kCases[] = {
      {"this is not json", -32700, nullptr, nullptr},
      {R"({"jsonrpc":"2.0","id":1,"method":"create")", -32700, nullptr, nullptr},
      {R"({"jsonrpc":"2.0","id":1,"method":"frobnicate"})", -32601, 1, nullptr},
      {R"({"jsonrpc":"2.0","id":"s","method":"save","params":{"container":1}})", -32602, "s", nullptr},
      {R"({"jsonrpc":"2.0","id":2,"method":"load","params":{"data":5}})", -32602, 2, nullptr},
      {R"({"jsonrpc":"2.0","id":2,"method":"paint","params":{"object":1}})", -32602, 2, nullptr},
      {R"({"jsonrpc":"2.0","id":2,"method":"deviceContext","params":{"font":"x","size":12}})", -32602, 2, nullptr},
      {R"({"id":3,"method":"describe","params":{"class":"ZtNumeric"}})", -32600, 3, nullptr},
      {R"({"jsonrpc":"2.0","id":3,"method":5})", -32600, 3, nullptr},
      {R"({"jsonrpc":"2.0","id":{},"method":"describe"})", -32600, nullptr, nullptr},
      {R"(42)", -32600, nullptr, nullptr},
      {R"([])", -32600, nullptr, nullptr},
      {R"({"jsonrpc":"2.0","id":4,"method":"describe","params":["ZtNumeric"]})", -32602, 4, nullptr},
      {R"({"jsonrpc":"2.0","id":4,"method":"describe","params":{"class":"NoSuch"}})", -32602, 4, nullptr},
      {R"({"jsonrpc":"2.0","id":4,"method":"describe"})", -32602, 4, nullptr},
      {R"({"jsonrpc":"2.0","id":4,"method":"randomize","params":{"seed":"x"}})", -32602, 4, nullptr},
      {R"({"jsonrpc":"2.0","id":5,"method":"invoke","params":{"object":"1","member":"IsPrime"}})", -32602, 5, nullptr},
      {R"({"jsonrpc":"2.0","id":5,"method":"invoke","params":{"object":1,"member":"IsPrime","kind":"set","args":[1]}})",
       -32602, 5, nullptr},
      {R"({"jsonrpc":"2.0","id":5,"method":"invoke","params":{"object":1,"member":"IsPrime","args":[[1,2]]}})",
       -32602, 5, nullptr},
      {R"({"jsonrpc":"2.0","id":5,"method":"invoke","params":{"object":1,"member":"IsPrime","args":[{"type":"Integer","value":40000}]}})",
       -32602, 5, nullptr},
      {R"({"jsonrpc":"2.0","id":5,"method":"invoke","params":{"object":1,"member":"IsPrime","args":[{"type":"Array","bounds":[[0,9]],"items":[1]}]}})",
       -32602, 5, nullptr},
      // Errors the call reports carry the platform's error number.
      {R"({"jsonrpc":"2.0","id":6,"method":"invoke","params":{"object":1,"member":"IsPrime","args":["abc"]}})",
       -32000, 6, 13},
      {R"({"jsonrpc":"2.0","id":6,"method":"invoke","params":{"object":1,"member":"ToRoman","args":[70000]}})",
       -32000, 6, 6},
      {R"({"jsonrpc":"2.0","id":6,"method":"invoke","params":{"object":1,"member":"IsPrime","args":[]}})",
       -32000, 6, 450},
      {R"({"jsonrpc":"2.0","id":6,"method":"invoke","params":{"object":1,"member":"NoSuch","args":[]}})",
       -32000, 6, 438},
      {R"({"jsonrpc":"2.0","id":6,"method":"invoke","params":{"object":1,"member":"IsPrime","kind":"let","args":[1]}})",
       -32000, 6, 438},
      {R"({"jsonrpc":"2.0","id":6,"method":"invoke","params":{"object":1,"member":"0x70000000","args":[]}})",
       -32000, 6, 438},
      // Valid JSON that the parser cannot hold still gets an answer with its id.
      {R"({"jsonrpc":"2.0","id":7,"method":"invoke","params":{"object":1,"member":"IsPrime","args":[1e400]}})",
       -32602, 7, nullptr},
      {R"({"jsonrpc":"2.0","method":"invoke","params":{"object":1,"member":"Max","args":[-1E+999,2]},"id":"late"})",
       -32602, "late", nullptr},
      {"{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":\"invoke\",\"params\":{\"object\":1,\"member\":\"Trim\",\"args\":[\"a\xFF\"]}}",
       -32602, 7, nullptr},
      {"{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":\"describe\",\"params\":{\"class\xC0\xAF\":\"ZtData\"}}", -32602, 7,
       nullptr},
      // ... unless the id itself is what cannot be read.
      {R"({"jsonrpc":"2.0","id":1e400,"method":"describe","params":{"class":"ZtData"}})", -32600, nullptr, nullptr},
      {"{\"jsonrpc\":\"2.0\",\"id\":\"\xED\xA0\x80\",\"method\":\"describe\",\"params\":{\"class\":\"ZtData\"}}", -32600,
       nullptr, nullptr},
      // Bytes that are no UTF-8 outside a string, or after a backslash, are no JSON at all.
      {"{\"jsonrpc\":\"2.0\",\"id\":7,\xFF\"method\":\"describe\"}", -32700, nullptr, nullptr},
      {"{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":\"describe\",\"params\":{\"class\":\"\\\xFF\"}}", -32700, nullptr, nullptr},
      {R"({"jsonrpc":"2.0","id":7,"method":"describe","params":{"class":1e400)", -32700, nullptr, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    auto r = Session({Request(100, "create", {{"class", "ZtNumeric"}}), c.line,
                            Request(101, "invoke", {{"object", 1}, {"member", "Factorial"}, {"args", {5}}})});
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1]["jsonrpc"], "2.0");
    EXPECT_EQ(r[1]["id"], c.id);
    EXPECT_FALSE(r[1].contains("result"));
    EXPECT_EQ(r[1]["error"]["code"], c.code) << r[1].dump();
    EXPECT_TRUE(r[1]["error"]["message"].is_string());
    if (c.data.is_null()) {
      EXPECT_FALSE(r[1]["error"].contains("data"));
    } else {
      EXPECT_EQ(r[1]["error"]["data"], c.data);
    }
    EXPECT_EQ(r[2]["result"]["result"], Tagged("Long", 120));
  }
}

TEST(Serve, MessagesOfProtocolErrors) {
  const struct {
    std::string line;
    std::string message;
  } kCases[] = {
      {R"({"jsonrpc":"2.0","id":1,"method":"frobnicate"})", "Method not found"},
      {R"({"jsonrpc":"2.0","id":2,"method":"deviceContext","params":{}})", "Invalid params: \"font\" is required"},
      // Where the parser stopped, as a byte position in the line.
      {"{", "Parse error at byte 2: syntax error while parsing object key - unexpected end of input; "
            "expected string literal"},
      {R"({"jsonrpc":"2.0","id":3,"method":"describe",})",
       "Parse error at byte 45: syntax error while parsing object key - unexpected '}'; expected string literal"},
      {R"({"jsonrpc":"2.0","id":4,"method":"invoke","params":{"object":1,"args":[1e400]}})",
       "Invalid params: the number 1e400 is beyond the range of a Double"},
      {"{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"describe\",\"params\":{\"class\":\"Zt\xFF\xFE" "Data\"}}",
       "Invalid params: the text is not valid UTF-8 (byte 0xFF at byte 66 of the line)"},
      {R"({"jsonrpc":"2.0","id":-1e999,"method":"describe"})",
       "Invalid Request: \"id\" cannot be read: the number -1e999 is beyond the range of a Double"},
  };
  std::vector<std::string> lines;
  for (const auto& c : kCases) lines.push_back(c.line);
  auto r = Session(lines);
  ASSERT_EQ(r.size(), std::size(kCases));
  for (std::size_t i = 0; i < r.size(); ++i) {
    SCOPED_TRACE(kCases[i].line);
    EXPECT_EQ(r[i]["error"]["message"], kCases[i].message);
  }
}

TEST(Serve, MembersByNameOrDispatchId) {
  const Json kMembers[] = {"IsPrime", "isprime", kIsPrime, "0x6003000C", "0X6003000c", "1610809356"};
  std::vector<std::string> requests{Request(0, "create", {{"class", "ZtNumeric"}})};
  for (std::size_t i = 0; i < std::size(kMembers); ++i) {
    requests.push_back(
        Request(static_cast<int>(i) + 1, "invoke", {{"object", 1}, {"member", kMembers[i]}, {"args", {97}}}));
  }
  auto r = Session(requests);
  ASSERT_EQ(r.size(), std::size(kMembers) + 1);
  for (std::size_t i = 0; i < std::size(kMembers); ++i) {
    SCOPED_TRACE(kMembers[i].dump());
    EXPECT_EQ(r[i + 1]["result"]["result"], Tagged("Boolean", true)) << r[i + 1].dump();
  }
}

TEST(Serve, ABatchAnswersEveryRequestItCanIdentify) {
  // One request of the batch holds a number beyond a Double; the others run.
  const std::string beyond =
      R"({"jsonrpc":"2.0","id":2,"method":"invoke","params":{"object":1,"member":"Max","args":[1e309,1]}})";
  const std::string batch = "[" + Request(1, "create", {{"class", "ZtNumeric"}}) + "," + beyond + "," +
                            Request(3, "invoke", {{"object", 1}, {"member", "Max"}, {"args", {1e308, 1}}}) + "]";
  auto r = Session({batch});
  ASSERT_EQ(r.size(), 1u);
  ASSERT_EQ(r[0].size(), 3u);
  EXPECT_EQ(r[0][0]["result"], (Json{{"object", 1}}));
  EXPECT_EQ(r[0][1]["id"], 2);
  EXPECT_EQ(r[0][1]["error"]["message"], "Invalid params: the number 1e309 is beyond the range of a Double");
  EXPECT_EQ(r[0][2]["result"]["result"], Tagged("Double", 1e308));
}

TEST(Serve, NotificationsGetNoResponse) {
  auto r = Session({
      Notification("create", {{"class", "ZtNumeric"}}),
      Notification("randomize", {{"seed", 1}}),
      Notification("frobnicate", Json::object()),
      Notification("invoke", {{"object", 1}, {"member", "IsPrime"}, {"args", {"abc"}}}),
      "",
      "   ",
      Request(7, "invoke", {{"object", 1}, {"member", "IsPrime"}, {"args", {7}}}),
  });
  // The notification that created object 1 ran; only the request is answered.
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0]["id"], 7);
  EXPECT_EQ(r[0]["result"]["result"], Tagged("Boolean", true));
}

TEST(Serve, BatchesGetOneArrayOfResponses) {
  const Json batch = Json::array({Json::parse(Request(1, "create", {{"class", "ZtNumeric"}})),
                                  Json::parse(Notification("randomize", {{"seed", 1}})),
                                  Json::parse(Request(2, "invoke", {{"object", 1}, {"member", "Factorial"}, {"args", {4}}})),
                                  7});
  const Json only_notifications = Json::array({Json::parse(Notification("randomize", {{"seed", 1}}))});
  auto r = Session({batch.dump(), only_notifications.dump()});
  ASSERT_EQ(r.size(), 1u);
  ASSERT_TRUE(r[0].is_array());
  ASSERT_EQ(r[0].size(), 3u);
  EXPECT_EQ(r[0][0]["result"], (Json{{"object", 1}}));
  EXPECT_EQ(r[0][1]["result"]["result"], Tagged("Long", 24));
  EXPECT_EQ(r[0][2]["error"]["code"], -32600);
}

TEST(Serve, RandomizeMakesSessionsReproducible) {
  const std::vector<std::string> requests{
      Request(1, "create", {{"class", "ZtNumeric"}}),
      Request(2, "randomize", {{"seed", 42}}),
      Request(3, "invoke", {{"object", 1}, {"member", "GetRandom"}, {"args", {1, 1000000000}}}),
      Request(4, "invoke", {{"object", 1}, {"member", "GetRandom"}, {"args", {1, 1000000000}}}),
  };
  auto first = Session(requests);
  auto second = Session(requests);
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(first[1]["result"], Json::object());
  EXPECT_EQ(first, second);
}

TEST(Serve, EndOfInputEndsTheServer) {
  const auto run = RunZtl({"serve"}, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  // A last line without a line end is still answered.
  const auto unterminated = RunZtl({"serve"}, Request(1, "describe", {{"class", "ZtData"}}));
  EXPECT_EQ(unterminated.status, 0);
  EXPECT_EQ(Lines(unterminated.out).size(), 1u);
}

}  // namespace
