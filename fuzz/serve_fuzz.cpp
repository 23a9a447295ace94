// `ztl serve`: any input line gets at most one answer, and that answer is one line of valid
// JSON-RPC 2.0: "jsonrpc" "2.0", an "id", exactly one of "result" and "error" (an error with an
// integer code and a text message); a batch gets an array of at most one such per request; a
// request whose id the plain parser reads is answered with that id.

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One server for many inputs, so later requests meet objects earlier ones made; renewed now
  // and then to bound its memory.
  static auto server = std::make_unique<ztl::cli::Server>();
  static int served = 0;
  if (++served % 2000 == 0) server = std::make_unique<ztl::cli::Server>();

  std::string_view line(reinterpret_cast<const char*>(data), size);
  line = line.substr(0, line.find('\n'));  // the server reads one line at a time
  const ztl::cli::RequestLine read = ztl::cli::ReadRequestLine(line);
  if (!read.json.is_discarded() && NamesPath(read.json)) return 0;

  const std::optional<std::string> answer = server->HandleLine(line);
  if (!answer) return 0;
  fuzz::Check(answer->find('\n') == std::string::npos, "answer spans more than one line");
  const Json response = Json::parse(*answer, nullptr, false);
  fuzz::Check(!response.is_discarded(), "answer is no JSON");

  if (read.json.is_array() && !read.json.empty()) {
    fuzz::Check(response.is_array() && !response.empty() && response.size() <= read.json.size(), "batch answer is no array of answers");
    for (const Json& one : response) CheckResponse(one, nullptr);
    return 0;
  }
  // Lines the plain parser refuses (bytes that are no UTF-8, 1e400) are read with markers.
  const Json plain = Json::parse(line, nullptr, false);
  const Json* id = nullptr;
  if (plain.is_object() && plain.contains("id") && (plain["id"].is_string() || plain["id"].is_number_integer()))
    id = &plain["id"];
  CheckResponse(response, id);
  return 0;
}
