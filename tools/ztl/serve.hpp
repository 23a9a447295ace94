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

#include "checked.hpp"
#include "json_value.hpp"
#include "request_line.hpp"
#include "ztldata/frame/component.hpp"

namespace ztl::cli {

class Server {
 public:
  // The response line to one input line, or nothing (a notification, a blank line). A bad
  // request is answered; only what nothing expects (std::bad_alloc) is thrown.
  std::optional<std::string> HandleLine(std::string_view line);

 private:
  // The response to one request of a line, whose id the line writes as `id_text`.
  std::optional<std::string> HandleRequest(const Json& request, const RequestLine& line,
                                           std::string_view id_text);
  // Each method gives its result, or the error it is answered with.
  Checked<Json> Dispatch(const std::string& method, const Json& params);

  Checked<Json> Create(const Json& params);
  Checked<Json> NewContainer(const Json& params);
  Checked<Json> Place(const Json& params);
  Checked<Json> Invoke(const Json& params);
  Checked<Json> Release(const Json& params);
  Checked<Json> Describe(const Json& params);
  Checked<Json> Randomize(const Json& params);
  Checked<Json> Save(const Json& params);
  Checked<Json> Load(const Json& params);
  Checked<Json> Paint(const Json& params);

  // The container a "container" parameter names; never null.
  Checked<Container*> ContainerParam(const Json& params);

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
