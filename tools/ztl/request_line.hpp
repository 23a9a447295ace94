// One input line of `ztl serve` read as JSON, so that every request that can be identified gets
// an answer with its id. The JSON parser refuses a whole line for one number it cannot hold
// (1e400) or for bytes that are no UTF-8; such a line is read again with each of those pieces
// replaced by a marker string, and a request that holds a marker is answered with an error that
// names the piece. A line that holds a NUL byte, or nests deeper than kMaxJsonNesting, is
// refused before anything is built from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json_value.hpp"

namespace ztl::cli {

struct RequestLine {
  Json json;                          // discarded when the line is no JSON
  std::string parse_error;            // then why, and the byte where the parser stopped
  std::vector<std::string> problems;  // what each marker stands for, by its number
  // The id of each request exactly as the line writes it (12345678901234567890123 stays so):
  // one for a line that is one request, one per element of a batch; empty where a request has
  // no scalar id. Views into the line read.
  std::vector<std::string_view> ids;
};

RequestLine ReadRequestLine(std::string_view line);

// What the first marker a value holds (in a string or a key, at any depth) stands for; nothing
// when it holds none.
std::optional<std::string> UnreadablePiece(const Json& value, const RequestLine& line);

}  // namespace ztl::cli
