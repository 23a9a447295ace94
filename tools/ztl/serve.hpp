// `ztl serve`: a JSON-RPC 2.0 server over lines of text, the way any language drives the
// library. Server handles one parsed line; Serve runs the loop over two streams.
#pragma once

#include <cstdio>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "json_value.hpp"
#include "request_line.hpp"
#include "ztldata/frame/component.hpp"

namespace ztl::cli {

class Server {
 public:
  // The response line to one input line, or nothing (a notification, a blank line).
  std::optional<std::string> HandleLine(std::string_view line);

 private:
  std::optional<Json> HandleRequest(const Json& request, const RequestLine& line);
  Json Dispatch(const std::string& method, const Json& params);

  Json Create(const Json& params);
  Json NewContainer(const Json& params);
  Json Place(const Json& params);
  Json Invoke(const Json& params);
  Json Release(const Json& params);
  Json Describe(const Json& params);
  Json Randomize(const Json& params);
  Json Save(const Json& params);
  Json Load(const Json& params);
  Json Paint(const Json& params);

  Container& ContainerParam(const Json& params);

  ObjectTable objects_;
  std::map<ObjectId, std::unique_ptr<Container>> containers_;
};

// Reads requests from `in` until its end and writes each response line to `out`, flushed.
// Returns the exit status: 0, or 2 after reporting that `in` could not be read (a directory).
// A response that cannot be written ends the loop; the caller reports the write error.
int Serve(std::FILE* in, std::ostream& out);

}  // namespace ztl::cli
