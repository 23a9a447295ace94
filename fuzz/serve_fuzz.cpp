// `ztl serve`: any input line gets at most one answer, and that answer is one line of valid
// JSON-RPC 2.0: "jsonrpc" "2.0", an "id", exactly one of "result" and "error" (an error with an
// integer code and a text message); a batch gets an array of at most one such per request; a
// request whose id the plain parser reads is answered with that id, written as the request
// writes it.

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "harness.hpp"
#include "serve.hpp"

namespace {

using Json = nlohmann::ordered_json;

void CheckResponse(const Json& r, const Json* id) {
  fuzz::Check(r.is_object(), "response is no object");
  fuzz::Check(r.value("jsonrpc", Json()) == "2.0", "response without \"jsonrpc\": \"2.0\"");
  fuzz::Check(r.contains("id"), "response without an id");
  fuzz::Check(r.contains("result") != r.contains("error"), "response needs exactly one of result and error");
  if (r.contains("error")) {
    const Json& e = r["error"];
    fuzz::Check(e.is_object() && e.contains("code") && e["code"].is_number_integer(), "error without an integer code");
    fuzz::Check(e.contains("message") && e["message"].is_string(), "error without a text message");
  }
  if (id) fuzz::Check(r["id"] == *id, "response id differs from the request's");
}

// Whether a request could name a file outside the working folder: such lines are skipped,
// so that the run never writes or removes anything but its own scratch files.
bool NamesPath(const Json& value) {
  if (value.is_string()) return value.get_ref<const std::string&>().find_first_of("/\\") != std::string::npos;
  if (!value.is_structured()) return false;
  for (const auto& [key, item] : value.items()) {
    if (key.find_first_of("/\\") != std::string::npos || NamesPath(item)) return true;
  }
  return false;
}

// One input line: at most one answer, one line of valid JSON-RPC.
void ServeLine(ztl::cli::Server& server, std::string_view line) {
  const ztl::cli::RequestLine read = ztl::cli::ReadRequestLine(line);
  if (!read.json.is_discarded() && NamesPath(read.json)) return;

  const std::optional<std::string> answer = server.HandleLine(line);
  if (!answer) return;
  fuzz::Check(answer->find('\n') == std::string::npos, "answer spans more than one line");
  const Json response = Json::parse(*answer, nullptr, false);
  fuzz::Check(!response.is_discarded(), "answer is no JSON");

  if (read.json.is_array() && !read.json.empty()) {
    fuzz::Check(response.is_array() && !response.empty() && response.size() <= read.json.size(), "batch answer is no array of answers");
    for (const Json& one : response) CheckResponse(one, nullptr);
    return;
  }
  // Lines the plain parser refuses (bytes that are no UTF-8, 1e400) are read with markers; the
  // id to expect is the one the plain parser reads, when it reads one.
  const Json plain = read.problems.empty() ? Json() : Json::parse(line, nullptr, false);
  const Json& request = read.problems.empty() ? read.json : plain;
  const Json* id = nullptr;
  if (request.is_object() && request.contains("id") && (request["id"].is_string() || request["id"].is_number_integer()))
    id = &request["id"];
  CheckResponse(response, id);
  // Such an id comes back byte for byte as the line writes it (1.50 stays 1.50).
  if (id != nullptr && !read.ids.empty() && !read.ids[0].empty()) {
    fuzz::Check(answer->starts_with("{\"jsonrpc\":\"2.0\",\"id\":" + std::string(read.ids[0]) + ","),
                "response id is not the request's as written");
  }
}

}  // namespace

// An input is a short session: a fresh server reads up to eight lines, so that later requests
// meet the objects earlier ones made, and nothing outlives the input (a server kept across
// inputs would grow, and every leak check would scan all it holds).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ztl::cli::Server server;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (int lines = 0; lines < 8 && !rest.empty(); ++lines) {
    const std::size_t end = rest.find('\n');
    ServeLine(server, rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return 0;
}
