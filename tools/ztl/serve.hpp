// `ztl serve`: a JSON-RPC 2.0 server over lines of text, the way any language drives the
// library. Server handles one line; Serve runs the loop from a file descriptor to a stream.
#pragma once

#include <cstddef>
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
  // The response to one request of a line, whose id the line writes as `id_text`.
  std::optional<std::string> HandleRequest(const Json& request, const RequestLine& line,
                                           std::string_view id_text);
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

// The longest request line read by default: far above any request a program sends in earnest
// (an 8 MB argument, say), yet a bound on what one line can make the server hold.
inline constexpr std::size_t kDefaultMaxLine = std::size_t{64} << 20;

// Reads requests from the file descriptor `in` until its end and writes each response line to
// `out`, flushed. A line longer than `max_line` bytes is read to its end without being kept,
// and answered with an error. Returns the exit status: 0, or 2 after reporting that `in` could
// not be read (a directory). A response that cannot be written ends the loop; the caller
// reports the write error.
int Serve(int in, std::ostream& out, std::size_t max_line = kDefaultMaxLine);

}  // namespace ztl::cli
