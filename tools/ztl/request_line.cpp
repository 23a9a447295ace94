// Reading a serve line: the parser's verdict, and the second reading with markers.

#include "request_line.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "ztldata/platform/utf8.hpp"

namespace ztl::cli {

namespace {

// A marker: text that no request holds, "\0ztl-unreadable-N\0" once read.
constexpr std::string_view kMarkerStart("\0ztl-unreadable-", 16);

// Marker `n` as it is written inside a JSON string.
std::string MarkerText(std::size_t n) { return "\\u0000ztl-unreadable-" + std::to_string(n) + "\\u0000"; }

// Why the parser refused a line: where it stopped (the byte after the token it was reading),
// that token, and the exception (101 a syntax error, 406 a number out of range ...).
struct Refusal {
  std::size_t position = 0;
  std::string token;
  int id = 0;
  std::string message;
};

// Takes every value and keeps only the parser's refusal.
class RefusalSax final : public nlohmann::json_sax<Json> {
 public:
  std::optional<Refusal> refusal;

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string& token, const Json::exception& error) override {
    refusal = Refusal{position, token, error.id, error.what()};
    return false;
  }
};

std::optional<Refusal> Refuse(std::string_view text) {
  RefusalSax sax;
  Json::sax_parse(text, &sax);
  return sax.refusal;
}

// The parser's words without its prefixes: "[json.exception.parse_error.101] parse error at
// line 1, column 2: syntax error ..." is "syntax error ...".
std::string Detail(const Refusal& refusal) {
  std::string text = refusal.message;
  if (text.starts_with("[json.exception.")) text.erase(0, text.find("] ") + 2);
  if (text.starts_with("parse error at line ")) text.erase(0, text.find(": ") + 2);
  return text;
}

// The line with each run of bytes that are no UTF-8 replaced by a marker.
std::string MarkBadUtf8(std::string_view line, std::vector<std::string>& problems) {
  std::string text;
  for (std::size_t i = 0; i < line.size();) {
    if (const std::size_t length = Utf8SequenceLength(line, i); length > 0) {
      text.append(line.substr(i, length));
      i += length;
      continue;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(line[i]));
    problems.push_back("the text is not valid UTF-8 (byte " + std::string(hex) + " at byte " +
                       std::to_string(i + 1) + " of the line)");
    text += MarkerText(problems.size() - 1);
    while (i < line.size() && Utf8SequenceLength(line, i) == 0) ++i;
  }
  return text;
}

// Replaces the number the parser could not hold by a marker string; false when the refusal
// is of another kind.
bool MarkNumber(const Refusal& refusal, std::string& text, std::vector<std::string>& problems) {
  constexpr int kNumberOutOfRange = 406;
  const std::string& token = refusal.token;
  if (refusal.id != kNumberOutOfRange || token.size() > refusal.position) return false;
  const std::size_t start = refusal.position - token.size();
  if (text.compare(start, token.size(), token) != 0) return false;
  problems.push_back("the number " + Shortened(token) + " is beyond the range of a Double");
  text.replace(start, token.size(), "\"" + MarkerText(problems.size() - 1) + "\"");
  return true;
}

// The number of the first marker in a text, or nothing (also for a marker's start that a
// client wrote itself, without a number).
std::optional<std::size_t> MarkerIn(const std::string& text) {
  const std::size_t at = text.find(kMarkerStart);
  if (at == std::string::npos) return std::nullopt;
  std::size_t number = 0;
  const char* digits = text.data() + at + kMarkerStart.size();
  if (std::from_chars(digits, text.data() + text.size(), number).ec != std::errc()) return std::nullopt;
  return number;
}

// Every marker a value holds, in strings and keys, to check the second reading.
std::size_t CountMarkers(const Json& value) {
  auto in_text = [](const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find(kMarkerStart); at != std::string::npos; at = text.find(kMarkerStart, at + 1)) {
      ++count;
    }
    return count;
  };
  if (value.is_string()) return in_text(value.get_ref<const std::string&>());
  std::size_t count = 0;
  if (value.is_object()) {
    for (const auto& [key, item] : value.items()) count += in_text(key) + CountMarkers(item);
  } else if (value.is_array()) {
    for (const Json& item : value) count += CountMarkers(item);
  }
  return count;
}

// Whether a key token (quotes included) is "id", however it is escaped.
bool IsIdKey(std::string_view token) {
  if (token == "\"id\"") return true;
  if (token.find('\\') == std::string_view::npos) return false;
  const Json key = Json::parse(token, nullptr, false);
  return key.is_string() && key == "id";
}

// The text of each request's "id" in a line the parser read: `count` requests, the line's
// elements when it is a batch. One scan that follows strings and brackets; the id is the last
// "id" member of a request (as the parser keeps the last of duplicate keys), and only a scalar
// id has a text. The bytes and numbers that markers replace change none of this structure, so
// the line as the client wrote it is scanned.
std::vector<std::string_view> IdTexts(std::string_view line, bool batch, std::size_t count) {
  std::vector<std::string_view> ids(count);
  const int request_depth = batch ? 2 : 1;
  int depth = 0;
  std::size_t request = 0;    // which element of a batch
  bool in_object = false;     // at request depth, inside a request object
  bool want_key = false;      // the next string there is a key
  bool id_next = false;       // the next value there is the id's
  for (std::size_t i = 0; i < line.size();) {
    const char c = line[i];
    const bool here = depth == request_depth && in_object;
    if (c == '"') {
      const std::size_t end = JsonStringEnd(line, i);
      const std::string_view token = line.substr(i, end - i);
      if (here && want_key) {
        id_next = IsIdKey(token);
        want_key = false;
      } else if (here && id_next && request < count) {
        ids[request] = token;
        id_next = false;
      }
      i = end;
      continue;
    }
    if (c == '{' || c == '[') {
      if (here) id_next = false;  // an id that is an array or an object has no text
      if (++depth == request_depth) {
        in_object = c == '{';
        want_key = in_object;
      }
    } else if (c == '}' || c == ']') {
      --depth;
    } else if (c == ',') {
      if (here) want_key = true;
      if (batch && depth == 1) ++request;
    } else if (here && id_next && c != ':' && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      // A number, true, false or null: up to the next delimiter.
      const std::size_t end = std::min(line.find_first_of(",}] \t\r\n", i), line.size());
      if (request < count) ids[request] = line.substr(i, end - i);
      id_next = false;
      i = end;
      continue;
    }
    ++i;
  }
  return ids;
}

// Refuses what no JSON reading should meet: a NUL byte (which would end the parser's input
// early, dropping the rest of the line unread) and nesting deeper than kMaxJsonNesting (whose
// values would take memory and recursion without bound). An error message, or nothing.
std::optional<std::string> Unreadable(std::string_view line) {
  if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) {
    return "Parse error at byte " + std::to_string(nul + 1) +
           ": a NUL byte, which JSON text never holds (inside a string it is written \\u0000)";
  }
  if (const std::size_t deep = DeepNestingAt(line); deep != std::string_view::npos) {
    return "Parse error at byte " + std::to_string(deep + 1) + ": arrays and objects nested deeper than " +
           std::to_string(kMaxJsonNesting) + " levels";
  }
  return std::nullopt;
}

}  // namespace

RequestLine ReadRequestLine(std::string_view line) {
  RequestLine read;
  if (std::optional<std::string> refused = Unreadable(line)) {
    read.json = Json(Json::value_t::discarded);
    read.parse_error = std::move(*refused);
    return read;
  }
  read.json = Json::parse(line, nullptr, false);
  if (!read.json.is_discarded()) {
    read.ids = IdTexts(line, read.json.is_array(), read.json.is_array() ? read.json.size() : 1);
    return read;
  }
  std::string text = MarkBadUtf8(line, read.problems);
  for (std::optional<Refusal> refusal = Refuse(text); true; refusal = Refuse(text)) {
    if (!refusal) {
      read.json = Json::parse(text, nullptr, false);
      break;
    }
    if (!MarkNumber(*refusal, text, read.problems)) break;
  }
  // Every marker made must be found where it was put: a bad byte after a backslash, say,
  // is no string content, and the line is no JSON.
  if (!read.json.is_discarded() && CountMarkers(read.json) == read.problems.size()) {
    read.ids = IdTexts(line, read.json.is_array(), read.json.is_array() ? read.json.size() : 1);
    return read;
  }
  read.json = Json(Json::value_t::discarded);
  read.problems.clear();
  const std::optional<Refusal> refusal = Refuse(line);
  read.parse_error = refusal ? "Parse error at byte " + std::to_string(refusal->position) + ": " + Detail(*refusal)
                             : "Parse error";
  return read;
}

std::optional<std::string> UnreadablePiece(const Json& value, const RequestLine& line) {
  if (line.problems.empty()) return std::nullopt;
  std::optional<std::size_t> marker;
  if (value.is_string()) {
    marker = MarkerIn(value.get_ref<const std::string&>());
  } else if (value.is_object()) {
    for (const auto& [key, item] : value.items()) {
      if ((marker = MarkerIn(key))) break;
      if (auto inner = UnreadablePiece(item, line)) return inner;
    }
  } else if (value.is_array()) {
    for (const Json& item : value) {
      if (auto inner = UnreadablePiece(item, line)) return inner;
    }
  }
  if (!marker || *marker >= line.problems.size()) return std::nullopt;
  return line.problems[*marker];
}

}  // namespace ztl::cli
