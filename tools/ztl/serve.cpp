// The serve loop and its methods: create, container, place, save, load, paint, invoke,
// release, describe, randomize and deviceContext. A request that cannot be done is refused
// with a Problem, which becomes its JSON-RPC error response. Only what nothing expects (running
// out of memory) is an exception, which the serve loop answers for the line, and goes on.

#include "serve.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <vector>

#include "commands.hpp"
#include "describe.hpp"
#include "help.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/platform/file_access.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::cli {

namespace {

// JSON-RPC error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kCallError = -32000;  // an error the call reported; "data" is its error number

Problem RpcError(int code, std::string message) { return Problem(std::move(message), code); }
Problem BadRequest(const std::string& detail) { return RpcError(kInvalidRequest, "Invalid Request: " + detail); }
Problem BadParams(const std::string& detail) { return RpcError(kInvalidParams, "Invalid params: " + detail); }

// A response line. `id` is JSON text: the request's id exactly as the client wrote it, so that
// a number no Double holds (12345678901234567890123) comes back unchanged.
std::string Response(std::string_view id, std::string_view member, const Json& body) {
  return "{\"jsonrpc\":\"2.0\",\"id\":" + std::string(id) + ",\"" + std::string(member) + "\":" + Dump(body) + "}";
}

std::string ErrorResponse(std::string_view id, const Problem& error) {
  Json body{{"code", error.code}, {"message", error.message}};
  if (error.data) body["data"] = *error.data;
  return Response(id, "error", body);
}

// A required id parameter ("object" or "container").
Checked<ObjectId> IdParam(const Json& params, const char* name) {
  auto field = params.find(name);
  if (field == params.end()) return BadParams(std::string("\"") + name + "\" is required");
  if (!field->is_number_integer()) {
    return BadParams(std::string("\"") + name + "\" must be an id, not " + Excerpt(*field));
  }
  return field->get<ObjectId>();
}

// A required text parameter.
Checked<std::string> TextParam(const Json& params, const char* name) {
  auto field = params.find(name);
  if (field == params.end()) return BadParams(std::string("\"") + name + "\" is required");
  if (!field->is_string()) return BadParams(std::string("\"") + name + "\" must be a string, not " + Excerpt(*field));
  return field->get<std::string>();
}

// The class a "class" parameter names. A pointer, never null, to the library's own record.
Checked<const ClassInfo*> ClassParam(const Json& params) {
  const Checked<std::string> name = TextParam(params, "class");
  if (!name) return name.problem();
  const ClassInfo* info = FindClass(Utf8ToUtf16(*name));
  if (info == nullptr) return BadParams("unknown class \"" + Shortened(*name) + "\"");
  return info;
}

// deviceContext {"font": NAME, "size": PIXELS} -> {"hdc": N}: a font at a pixel size, for the
// hDC argument of EllipseText. The handle lives until "release" {"hdc": N} or the end of the
// server.
constexpr long long kMaxPixelSize = 1000;

Checked<Json> NewDeviceContext(const Json& params) {
  const Checked<std::string> font = TextParam(params, "font");
  if (!font) return font.problem();
  auto size = params.find("size");
  if (size == params.end()) return BadParams("\"size\" is required");
  if (!size->is_number_integer() || size->get<long long>() < 1 || size->get<long long>() > kMaxPixelSize ||
      (size->is_number_unsigned() && size->get<unsigned long long>() > kMaxPixelSize)) {
    return BadParams("\"size\" must be a whole number of pixels from 1 to 1000, not " + Excerpt(*size));
  }
  const Long hdc = CreateDeviceContext(*font, static_cast<Long>(size->get<long long>()));
  if (hdc == 0) {
    return BadParams("unknown font \"" + Shortened(*font) + "\" (no installed font of that family, and not \"" +
                     std::string(kFixedPitchFont) + "\")");
  }
  return Json{{"hdc", hdc}};
}

// release {"hdc": N}; `field` is the "hdc" parameter.
Checked<Json> ReleaseDeviceContext(const Json& field) {
  if (!field.is_number_integer()) return BadParams("\"hdc\" must be a device context handle, not " + Excerpt(field));
  const bool in_range = field.is_number_unsigned()
                            ? field.get<unsigned long long>() <= INT32_MAX
                            : field.get<long long>() >= INT32_MIN && field.get<long long>() <= INT32_MAX;
  if (!in_range || !DeleteDeviceContext(static_cast<Long>(field.get<long long>()))) {
    return BadParams("unknown device context " + Excerpt(field));
  }
  return Json::object();
}

// The member an "invoke" names: a name, or a dispatch id: a number, or text as `ztl describe`
// writes it ("0x60030007"). The key views the request's text.
Checked<MemberKey> MemberParam(const Json& params) {
  auto field = params.find("member");
  if (field == params.end()) return BadParams("\"member\" is required");
  if (field->is_string()) return MemberKey::Text(field->get_ref<const std::string&>());
  if (!field->is_number_integer()) {
    return BadParams("\"member\" must be a name or a dispatch id, not " + Excerpt(*field));
  }
  const auto dispid = field->get<long long>();
  if (dispid < INT32_MIN || dispid > UINT32_MAX) {
    return BadParams("\"member\" " + Excerpt(*field) + " is no dispatch id");
  }
  return MemberKey::Id(static_cast<DispId>(static_cast<std::uint32_t>(dispid)));
}

// The "kind" of an "invoke": a method unless it says "get" or "let".
Checked<MemberKind> KindParam(const Json& params) {
  auto field = params.find("kind");
  if (field == params.end() || field->is_null()) return MemberKind::Method;
  const std::string text = field->is_string() ? field->get<std::string>() : std::string();
  if (text == "method") return MemberKind::Method;
  if (text == "get") return MemberKind::PropertyGet;
  if (text == "let") return MemberKind::PropertyLet;
  return BadParams("\"kind\" must be \"method\", \"get\" or \"let\", not " + Excerpt(*field));
}

// The tagged JSON of a value a call gave, or the internal error of one nested too deeply.
Checked<Json> ResultJson(const Variant& value, ObjectTable& table) {
  Checked<Json> json = WriteJson(value, table);
  if (!json) {
    std::cerr << "ztl serve: internal error: " << json.problem().message << '\n';
    return RpcError(kInternalError, "Internal error: " + json.problem().message);
  }
  return json;
}

}  // namespace

// ---- methods -------------------------------------------------------------------------------

Checked<Json> Server::Create(const Json& params) {
  const Checked<const ClassInfo*> info = ClassParam(params);
  if (!info) return info.problem();
  const std::string name((*info)->name);
  if ((*info)->kind == ClassKind::Component) {
    return BadParams(name + " is a component: place it in a container (\"container\", then \"place\")");
  }
  ObjectRef object = CreateObject(Utf8ToUtf16(name));
  if (!object) return BadParams("cannot create an object of class " + name);
  return Json{{"object", objects_.Register(object)}};
}

// The server's containers are forms in a designer: they receive Paint.
Checked<Json> Server::NewContainer(const Json&) {
  const ObjectId id = objects_.NewId();
  containers_.emplace(id, std::make_unique<Container>(true));
  return Json{{"container", id}};
}

Checked<Container*> Server::ContainerParam(const Json& params) {
  const Checked<ObjectId> id = IdParam(params, "container");
  if (!id) return id.problem();
  auto found = containers_.find(*id);
  if (found == containers_.end()) return BadParams("unknown container " + std::to_string(*id));
  return found->second.get();
}

Checked<Json> Server::Place(const Json& params) {
  const Checked<ObjectId> id = IdParam(params, "container");
  if (!id) return id.problem();
  const Checked<Container*> form = ContainerParam(params);
  if (!form) return form.problem();
  const Checked<const ClassInfo*> info = ClassParam(params);
  if (!info) return info.problem();
  const std::string class_name((*info)->name);
  if ((*info)->kind != ClassKind::Component) {
    return BadParams(class_name + " is a utility class: create it with \"create\"");
  }
  String name;
  if (auto field = params.find("name"); field != params.end() && !field->is_null()) {
    if (!field->is_string()) return BadParams("\"name\" must be a string, not " + Excerpt(*field));
    name = Utf8ToUtf16(field->get_ref<const std::string&>());
  }
  ComponentRef component = (*form)->Place(Utf8ToUtf16(class_name), name);
  if (!component) {
    return BadParams(name.empty() ? "cannot place a " + class_name + " in container " + std::to_string(*id)
                                  : "the name \"" + Shortened(Utf16ToUtf8(name)) + "\" is already used in container " +
                                        std::to_string(*id));
  }
  return Json{{"object", objects_.Register(component)}};
}

Checked<Json> Server::Invoke(const Json& params) {
  const Checked<ObjectId> id = IdParam(params, "object");
  if (!id) return id.problem();
  ObjectRef object = objects_.Find(*id);
  if (!object) return BadParams("unknown object " + std::to_string(*id));
  const Checked<MemberKind> kind = KindParam(params);
  if (!kind) return kind.problem();

  std::vector<Variant> args;
  if (auto field = params.find("args"); field != params.end() && !field->is_null()) {
    if (!field->is_array()) return BadParams("\"args\" must be an array, not " + Excerpt(*field));
    for (std::size_t i = 0; i < field->size(); ++i) {
      Checked<Variant> arg = FromJson((*field)[i], objects_);
      if (!arg) return BadParams("argument " + std::to_string(i + 1) + ": " + arg.problem().message);
      args.push_back(*std::move(arg));
    }
  }
  const Checked<MemberKey> key = MemberParam(params);
  if (!key) return key.problem();

  CallFailure failure;
  const MemberInfo* member = ResolveMember(*object, *key, *kind, &failure);
  Variant result;
  if (member == nullptr || !Call(*object, *member, args, result, CallForm::Dispatch, &failure)) {
    return Problem(failure.message.empty() ? std::string(ErrorText(failure.number)) : failure.message, kCallError,
                   failure.number);
  }

  // One entry per argument: its value after the call where the call can have changed it (a
  // by-reference parameter, or an object, which the call shares and may change in place, as
  // ZtCollections.Sort sorts a Collection), null for any other: a by-value argument is as the
  // client sent it, and writing it back would only make the answer as large again.
  Json byref = Json::array();
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool by_reference = i < member->params.size() && member->params[i].byref;
    if (!by_reference && !args[i].IsObject()) {
      byref.push_back(nullptr);
      continue;
    }
    Checked<Json> after = ResultJson(args[i], objects_);
    if (!after) return after;
    byref.push_back(*std::move(after));
  }
  Checked<Json> written = ResultJson(result, objects_);
  if (!written) return written;
  return Json{{"result", *std::move(written)}, {"byref", std::move(byref)}};
}

Checked<Json> Server::Release(const Json& params) {
  if (auto hdc = params.find("hdc"); hdc != params.end()) return ReleaseDeviceContext(*hdc);
  if (params.contains("container")) {
    const Checked<ObjectId> id = IdParam(params, "container");
    if (!id) return id.problem();
    auto found = containers_.find(*id);
    if (found == containers_.end()) return BadParams("unknown container " + std::to_string(*id));
    // The components go with their form.
    for (const auto& placed : found->second->Components()) objects_.Release(placed.second.get());
    containers_.erase(found);
    return Json::object();
  }
  const Checked<ObjectId> id = IdParam(params, "object");
  if (!id) return id.problem();
  if (!objects_.Release(*id)) return BadParams("unknown object " + std::to_string(*id));
  return Json::object();
}

Checked<Json> Server::Describe(const Json& params) {
  const Checked<const ClassInfo*> info = ClassParam(params);
  if (!info) return info.problem();
  return DescribeJson(**info);
}

Checked<Json> Server::Randomize(const Json& params) {
  auto seed = params.find("seed");
  if (seed == params.end() || !seed->is_number_integer()) return BadParams("\"seed\" must be a whole number");
  SeedRandom(seed->is_number_unsigned() ? seed->get<std::uint64_t>()
                                        : static_cast<std::uint64_t>(seed->get<std::int64_t>()));
  return Json::object();
}

Checked<Json> Server::Save(const Json& params) {
  const Checked<Container*> form = ContainerParam(params);
  if (!form) return form.problem();
  return Json{{"data", (*form)->Save()}};
}

Checked<Json> Server::Load(const Json& params) {
  const Checked<std::string> data = TextParam(params, "data");
  if (!data) return data.problem();
  std::vector<std::string> problems;
  std::unique_ptr<Container> form = Container::Load(*data, &problems, true);
  // Every component once, in order, in "components"; "objects" maps the names that UTF-8 writes
  // exactly (a name with a lone surrogate would be written as U+FFFD and could take another's
  // place, so it is only in the list).
  Json objects = Json::object(), components = Json::array();
  for (const auto& [name, component] : form->Components()) {
    const std::string text = Utf16ToUtf8(name);
    const ObjectId object = objects_.Register(component);
    if (Utf8ToUtf16(text) == name) objects[text] = object;
    components.push_back(Json{{"name", text}, {"object", object}});
  }
  const ObjectId id = objects_.NewId();
  containers_.emplace(id, std::move(form));
  return Json{{"container", id}, {"objects", std::move(objects)}, {"components", std::move(components)},
              {"problems", problems}};
}

Checked<Json> Server::Paint(const Json& params) {
  const Checked<ObjectId> id = IdParam(params, "object");
  if (!id) return id.problem();
  ObjectRef object = objects_.Find(*id);
  if (!object) return BadParams("unknown object " + std::to_string(*id));
  for (auto& [container_id, form] : containers_) {
    for (const auto& [name, component] : form->Components()) {
      if (component == object) {
        form->Paint(*component);
        return Json::object();
      }
    }
  }
  return BadParams("object " + std::to_string(*id) + " is no component placed in a container");
}

Checked<Json> Server::Dispatch(const std::string& method, const Json& params) {
  if (method == "create") return Create(params);
  if (method == "container") return NewContainer(params);
  if (method == "place") return Place(params);
  if (method == "invoke") return Invoke(params);
  if (method == "release") return Release(params);
  if (method == "describe") return Describe(params);
  if (method == "randomize") return Randomize(params);
  if (method == "save") return Save(params);
  if (method == "load") return Load(params);
  if (method == "paint") return Paint(params);
  if (method == "deviceContext") return NewDeviceContext(params);
  return RpcError(kMethodNotFound, "Method not found");
}

// ---- requests ------------------------------------------------------------------------------

std::optional<std::string> Server::HandleRequest(const Json& request, const RequestLine& line,
                                                 std::string_view id_text) {
  std::string id = "null";
  bool notification = false;
  // The answer once the request has run or been refused; nothing for a notification.
  auto answer = [&](const Checked<Json>& outcome) -> std::optional<std::string> {
    if (notification) return std::nullopt;
    return outcome ? Response(id, "result", *outcome) : ErrorResponse(id, outcome.problem());
  };
  // A request that is no valid request object is answered even without an id.
  if (!request.is_object()) return answer(BadRequest("not a JSON object"));
  auto id_field = request.find("id");
  if (id_field != request.end()) {
    if (!id_field->is_null() && !id_field->is_string() && !id_field->is_number()) {
      return answer(BadRequest("\"id\" must be a number, a string or null"));
    }
    // An id that could not be read cannot be repeated.
    if (auto piece = UnreadablePiece(*id_field, line)) return answer(BadRequest("\"id\" cannot be read: " + *piece));
    id = id_text.empty() ? Dump(*id_field) : std::string(id_text);
  }
  auto version = request.find("jsonrpc");
  if (version == request.end() || *version != "2.0") return answer(BadRequest("\"jsonrpc\" must be \"2.0\""));
  auto method = request.find("method");
  if (method == request.end() || !method->is_string()) return answer(BadRequest("\"method\" must be a string"));
  // From here on a request without an id is a notification: it runs, and nothing answers it.
  notification = id_field == request.end();
  auto params = request.find("params");
  if (params != request.end() && !params->is_object()) {
    return answer(BadParams("\"params\" must be an object of named parameters"));
  }
  if (auto piece = UnreadablePiece(request, line)) return answer(BadParams(*piece));
  const Json no_params = Json::object();
  try {
    return answer(Dispatch(method->get_ref<const std::string&>(), params == request.end() ? no_params : *params));
  } catch (const std::exception& e) {
    // Only a fault gets here (out of memory while building the answer): the request is told,
    // with its id, and the server goes on.
    return answer(RpcError(kInternalError, std::string("Internal error: ") + e.what()));
  }
}

std::optional<std::string> Server::HandleLine(std::string_view text) {
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return std::nullopt;
  const RequestLine line = ReadRequestLine(text);
  const Json& request = line.json;
  if (request.is_discarded()) return ErrorResponse("null", RpcError(kParseError, line.parse_error));
  auto id_text = [&line](std::size_t i) { return i < line.ids.size() ? line.ids[i] : std::string_view(); };
  if (!request.is_array()) return HandleRequest(request, line, id_text(0));
  // A batch: one array of the responses, none at all when every request was a notification.
  if (request.empty()) return ErrorResponse("null", BadRequest("empty batch"));
  std::string responses;
  for (std::size_t i = 0; i < request.size(); ++i) {
    if (std::optional<std::string> response = HandleRequest(request[i], line, id_text(i))) {
      responses += (responses.empty() ? "[" : ",") + *response;
    }
  }
  if (responses.empty()) return std::nullopt;
  return responses + "]";
}

namespace {

// The lines of a file descriptor, read in blocks. A line is handed out as soon as its line end
// arrives, so a client that waits for each answer gets it; at most `max` bytes of a line are
// kept, the rest is read and dropped.
class LineReader {
 public:
  LineReader(int fd, std::size_t max) : fd_(fd), max_(max), block_(std::size_t{1} << 16) {}

  // The next line, without its line end, in `line`; `too_long` when bytes were dropped. False at
  // the end of the input, or on a read error (then error() is its number), with nothing read.
  bool Next(std::string& line, bool& too_long) {
    line.clear();
    too_long = false;
    for (bool any = false;; any = true) {
      if (begin_ == end_ && !Fill()) return any;
      const char* start = block_.data() + begin_;
      const auto* line_end = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
      const std::size_t length = (line_end != nullptr ? line_end : block_.data() + end_) - start;
      const std::size_t room = max_ - line.size();
      line.append(start, std::min(length, room));
      too_long = too_long || length > room;
      begin_ += length;
      if (line_end != nullptr) {
        ++begin_;
        return true;
      }
    }
  }

  int error() const { return error_; }

 private:
  bool Fill() {
    ssize_t n = 0;
    do {
      n = ::read(fd_, block_.data(), block_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) error_ = errno;
    begin_ = 0;
    end_ = n > 0 ? static_cast<std::size_t>(n) : 0;
    return n > 0;
  }

  int fd_;
  std::size_t max_;
  std::vector<char> block_;
  std::size_t begin_ = 0, end_ = 0;
  int error_ = 0;
};

}  // namespace

int Serve(int in, std::ostream& out, std::size_t max_line) {
  Server server;
  LineReader reader(in, max_line);
  const Problem line_too_long =
      BadRequest("the line is longer than " + std::to_string(max_line) + " bytes (--max-line); it was not read");
  std::string line;
  bool too_long = false;
  while (reader.Next(line, too_long)) {
    std::optional<std::string> response;
    try {
      response = too_long ? ErrorResponse("null", line_too_long) : server.HandleLine(line);
    } catch (const std::exception& e) {
      // Out of memory while answering, for instance: the line gets an error, the server goes on.
      std::cerr << "ztl serve: internal error: " << e.what() << '\n';
      response = ErrorResponse("null", RpcError(kInternalError, "Internal error"));
    }
    if (response) out << *response << '\n' << std::flush;
    // No client reads the answers any more: the write error is reported on the way out.
    if (!out) break;
  }
  if (reader.error() != 0) {
    return UsageError(std::string("cannot read standard input: ") + std::strerror(reader.error()));
  }
  return kExitOk;
}

namespace {

// A whole number of bytes, at least 1.
std::optional<std::size_t> ByteCount(std::string_view text) {
  std::size_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n == 0) return std::nullopt;
  return n;
}

}  // namespace

int RunServe(std::span<const std::string_view> args) {
  std::size_t max_line = kDefaultMaxLine;
  std::optional<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kServeHelp;
      return kExitOk;
    }
    // "--name VALUE" or "--name=VALUE"; nothing when `arg` is not that option.
    auto option = [&](std::string_view name) -> std::optional<std::string_view> {
      if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=') {
        return arg.substr(name.size() + 1);
      }
      if (arg != name) return std::nullopt;
      return i + 1 < args.size() ? args[++i] : std::string_view();
    };
    if (const std::optional<std::string_view> value = option("--max-line")) {
      const std::optional<std::size_t> bytes = ByteCount(*value);
      if (!bytes) {
        return UsageError("--max-line needs a whole number of bytes above 0, not '" + std::string(*value) + "'");
      }
      max_line = *bytes;
    } else if (const std::optional<std::string_view> value = option("--files")) {
      if (value->empty()) return UsageError("--files needs a folder");
      files = std::string(*value);
    } else {
      return UsageError("unknown argument '" + std::string(arg) + "' (see 'ztl serve --help')");
    }
  }
  // Files the library opens by name stay inside one folder: a client must not reach every file
  // the server may open. The current folder unless --files names another ("/" for no limit).
  if (!ConfineFiles(files.value_or("."))) {
    return UsageError(files ? "--files needs an existing folder, not '" + *files + "'"
                            : std::string("cannot confine files to the current folder (give --files DIR)"));
  }
  return Serve(STDIN_FILENO, std::cout, max_line);
}

}  // namespace ztl::cli
