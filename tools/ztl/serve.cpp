// The serve loop and its methods: create, container, place, save, load, paint, invoke,
// release, describe, randomize and deviceContext. Every failure becomes a JSON-RPC error
// response; nothing escapes a request.

#include "serve.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "commands.hpp"
#include "describe.hpp"
#include "help.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/platform/device_context.hpp"
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

// A request that ends in an error response.
struct RpcError {
  int code;
  std::string message;
  Json data = nullptr;
};

[[noreturn]] void BadParams(const std::string& detail) { throw RpcError{kInvalidParams, "Invalid params: " + detail}; }

Json ErrorResponse(const Json& id, const RpcError& error) {
  Json body{{"code", error.code}, {"message", error.message}};
  if (!error.data.is_null()) body["data"] = error.data;
  return Json{{"jsonrpc", "2.0"}, {"id", id}, {"error", std::move(body)}};
}

// A required id parameter ("object" or "container").
ObjectId IdParam(const Json& params, const char* name) {
  auto field = params.find(name);
  if (field == params.end()) BadParams(std::string("\"") + name + "\" is required");
  if (!field->is_number_integer()) BadParams(std::string("\"") + name + "\" must be an id, not " + field->dump());
  return field->get<ObjectId>();
}

// A required text parameter.
std::string TextParam(const Json& params, const char* name) {
  auto field = params.find(name);
  if (field == params.end()) BadParams(std::string("\"") + name + "\" is required");
  if (!field->is_string()) BadParams(std::string("\"") + name + "\" must be a string, not " + field->dump());
  return field->get<std::string>();
}

const ClassInfo& ClassParam(const Json& params) {
  const std::string name = TextParam(params, "class");
  const ClassInfo* info = FindClass(Utf8ToUtf16(name));
  if (info == nullptr) BadParams("unknown class \"" + name + "\"");
  return *info;
}

// deviceContext {"font": NAME, "size": PIXELS} -> {"hdc": N}: a font at a pixel size, for the
// hDC argument of EllipseText. The handle lives until "release" {"hdc": N} or the end of the
// server.
constexpr long long kMaxPixelSize = 1000;

Json NewDeviceContext(const Json& params) {
  const std::string font = TextParam(params, "font");
  auto size = params.find("size");
  if (size == params.end()) BadParams("\"size\" is required");
  if (!size->is_number_integer() || size->get<long long>() < 1 || size->get<long long>() > kMaxPixelSize ||
      (size->is_number_unsigned() && size->get<unsigned long long>() > kMaxPixelSize)) {
    BadParams("\"size\" must be a whole number of pixels from 1 to 1000, not " + size->dump());
  }
  const Long hdc = CreateDeviceContext(font, static_cast<Long>(size->get<long long>()));
  if (hdc == 0) {
    BadParams("unknown font \"" + font + "\" (no installed font of that family, and not \"" +
              std::string(kFixedPitchFont) + "\")");
  }
  return Json{{"hdc", hdc}};
}

void ReleaseDeviceContext(const Json& params) {
  const Json& field = params.at("hdc");
  if (!field.is_number_integer()) BadParams("\"hdc\" must be a device context handle, not " + field.dump());
  const bool in_range = field.is_number_unsigned()
                            ? field.get<unsigned long long>() <= INT32_MAX
                            : field.get<long long>() >= INT32_MIN && field.get<long long>() <= INT32_MAX;
  if (!in_range || !DeleteDeviceContext(static_cast<Long>(field.get<long long>()))) {
    BadParams("unknown device context " + field.dump());
  }
}

}  // namespace

// ---- methods -------------------------------------------------------------------------------

Json Server::Create(const Json& params) {
  const ClassInfo& info = ClassParam(params);
  if (info.kind == ClassKind::Component) {
    BadParams(std::string(info.name) + " is a component: place it in a container (\"container\", then \"place\")");
  }
  ObjectRef object = CreateObject(Utf8ToUtf16(info.name));
  if (!object) BadParams("cannot create an object of class " + std::string(info.name));
  return Json{{"object", objects_.Register(object)}};
}

// The server's containers are forms in a designer: they receive Paint.
Json Server::NewContainer(const Json&) {
  const ObjectId id = objects_.NewId();
  containers_.emplace(id, std::make_unique<Container>(true));
  return Json{{"container", id}};
}

Container& Server::ContainerParam(const Json& params) {
  const ObjectId id = IdParam(params, "container");
  auto found = containers_.find(id);
  if (found == containers_.end()) BadParams("unknown container " + std::to_string(id));
  return *found->second;
}

Json Server::Place(const Json& params) {
  const ObjectId id = IdParam(params, "container");
  Container& form = ContainerParam(params);
  const ClassInfo& info = ClassParam(params);
  if (info.kind != ClassKind::Component) {
    BadParams(std::string(info.name) + " is a utility class: create it with \"create\"");
  }
  String name;
  if (auto field = params.find("name"); field != params.end() && !field->is_null()) {
    if (!field->is_string()) BadParams("\"name\" must be a string, not " + field->dump());
    name = Utf8ToUtf16(field->get_ref<const std::string&>());
  }
  ComponentRef component = form.Place(Utf8ToUtf16(info.name), name);
  if (!component) {
    BadParams(name.empty() ? "cannot place a " + std::string(info.name) + " in container " + std::to_string(id)
                           : "the name \"" + Utf16ToUtf8(name) + "\" is already used in container " + std::to_string(id));
  }
  return Json{{"object", objects_.Register(component)}};
}

Json Server::Invoke(const Json& params) {
  const ObjectId id = IdParam(params, "object");
  ObjectRef object = objects_.Find(id);
  if (!object) BadParams("unknown object " + std::to_string(id));

  MemberKind kind = MemberKind::Method;
  if (auto field = params.find("kind"); field != params.end() && !field->is_null()) {
    const std::string text = field->is_string() ? field->get<std::string>() : std::string();
    if (text == "method") kind = MemberKind::Method;
    else if (text == "get") kind = MemberKind::PropertyGet;
    else if (text == "let") kind = MemberKind::PropertyLet;
    else BadParams("\"kind\" must be \"method\", \"get\" or \"let\", not " + field->dump());
  }

  std::vector<Variant> args;
  if (auto field = params.find("args"); field != params.end() && !field->is_null()) {
    if (!field->is_array()) BadParams("\"args\" must be an array, not " + field->dump());
    for (std::size_t i = 0; i < field->size(); ++i) {
      try {
        args.push_back(FromJson((*field)[i], objects_));
      } catch (const ValueError& e) {
        BadParams("argument " + std::to_string(i + 1) + ": " + e.what());
      }
    }
  }

  auto member_field = params.find("member");
  if (member_field == params.end()) BadParams("\"member\" is required");
  const ClassInfo* info = object->Class();
  const MemberInfo* member = nullptr;
  std::string member_text;
  if (member_field->is_string()) {
    // A name, or a dispatch id written as `ztl describe` writes it ("0x60030007").
    member_text = member_field->get<std::string>();
    const std::optional<DispId> dispid = DispIdFromText(member_text);
    if (info != nullptr) {
      member = dispid ? FindMember(*info, *dispid, kind) : FindMember(*info, Utf8ToUtf16(member_text), kind);
    }
  } else if (member_field->is_number_integer()) {
    const auto dispid = member_field->get<long long>();
    if (dispid < INT32_MIN || dispid > UINT32_MAX) BadParams("\"member\" " + member_field->dump() + " is no dispatch id");
    member_text = DispIdText(static_cast<DispId>(static_cast<std::uint32_t>(dispid)));
    if (info != nullptr) member = FindMember(*info, static_cast<DispId>(static_cast<std::uint32_t>(dispid)), kind);
  } else {
    BadParams("\"member\" must be a name or a dispatch id, not " + member_field->dump());
  }
  if (member == nullptr) {
    const std::string owner = info != nullptr ? std::string(info->name) : "the object";
    throw RpcError{kCallError,
                   owner + " has no " + std::string(MemberKindText(kind)) + " " + member_text + " (" +
                       std::string(ErrorText(kNoSuchMember)) + ")",
                   kNoSuchMember};
  }

  Variant result;
  std::string message;
  if (const Status call = Call(*object, *member, args, result, CallForm::Dispatch, &message); !call) {
    throw RpcError{kCallError, message.empty() ? std::string(ErrorText(call.error())) : message, call.error()};
  }

  Json byref = Json::array();
  for (const Variant& arg : args) byref.push_back(ToJson(arg, objects_));
  return Json{{"result", ToJson(result, objects_)}, {"byref", std::move(byref)}};
}

Json Server::Release(const Json& params) {
  if (params.contains("hdc")) {
    ReleaseDeviceContext(params);
    return Json::object();
  }
  if (params.contains("container")) {
    const ObjectId id = IdParam(params, "container");
    auto found = containers_.find(id);
    if (found == containers_.end()) BadParams("unknown container " + std::to_string(id));
    // The components go with their form.
    for (const auto& placed : found->second->Components()) objects_.Release(placed.second.get());
    containers_.erase(found);
    return Json::object();
  }
  const ObjectId id = IdParam(params, "object");
  if (!objects_.Release(id)) BadParams("unknown object " + std::to_string(id));
  return Json::object();
}

Json Server::Describe(const Json& params) { return DescribeJson(ClassParam(params)); }

Json Server::Randomize(const Json& params) {
  auto seed = params.find("seed");
  if (seed == params.end() || !seed->is_number_integer()) BadParams("\"seed\" must be a whole number");
  SeedRandom(seed->is_number_unsigned() ? seed->get<std::uint64_t>()
                                        : static_cast<std::uint64_t>(seed->get<std::int64_t>()));
  return Json::object();
}

Json Server::Save(const Json& params) { return Json{{"data", ContainerParam(params).Save()}}; }

Json Server::Load(const Json& params) {
  const std::string data = TextParam(params, "data");
  std::vector<std::string> problems;
  std::unique_ptr<Container> form = Container::Load(data, &problems, true);
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

Json Server::Paint(const Json& params) {
  const ObjectId id = IdParam(params, "object");
  ObjectRef object = objects_.Find(id);
  if (!object) BadParams("unknown object " + std::to_string(id));
  for (auto& [container_id, form] : containers_) {
    for (const auto& [name, component] : form->Components()) {
      if (component == object) {
        form->Paint(*component);
        return Json::object();
      }
    }
  }
  BadParams("object " + std::to_string(id) + " is no component placed in a container");
}

Json Server::Dispatch(const std::string& method, const Json& params) {
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
  throw RpcError{kMethodNotFound, "Method not found"};
}

// ---- requests ------------------------------------------------------------------------------

std::optional<Json> Server::HandleRequest(const Json& request, const RequestLine& line) {
  Json id = nullptr;
  bool notification = false;
  try {
    // A request that is no valid request object is answered even without an id.
    if (!request.is_object()) throw RpcError{kInvalidRequest, "Invalid Request: not a JSON object"};
    auto id_field = request.find("id");
    if (id_field != request.end()) {
      if (!id_field->is_null() && !id_field->is_string() && !id_field->is_number()) {
        throw RpcError{kInvalidRequest, "Invalid Request: \"id\" must be a number, a string or null"};
      }
      // An id that could not be read cannot be repeated.
      if (auto piece = UnreadablePiece(*id_field, line)) {
        throw RpcError{kInvalidRequest, "Invalid Request: \"id\" cannot be read: " + *piece};
      }
      id = *id_field;
    }
    auto version = request.find("jsonrpc");
    if (version == request.end() || *version != "2.0") {
      throw RpcError{kInvalidRequest, "Invalid Request: \"jsonrpc\" must be \"2.0\""};
    }
    auto method = request.find("method");
    if (method == request.end() || !method->is_string()) {
      throw RpcError{kInvalidRequest, "Invalid Request: \"method\" must be a string"};
    }
    // From here on a request without an id is a notification: it runs, and nothing answers it.
    notification = id_field == request.end();
    const Json no_params = Json::object();
    auto params = request.find("params");
    if (params != request.end() && !params->is_object()) {
      BadParams("\"params\" must be an object of named parameters");
    }
    if (auto piece = UnreadablePiece(request, line)) BadParams(*piece);
    Json result = Dispatch(method->get<std::string>(), params == request.end() ? no_params : *params);
    if (notification) return std::nullopt;
    return Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
  } catch (const RpcError& error) {
    if (notification) return std::nullopt;
    return ErrorResponse(id, error);
  } catch (const std::exception& e) {
    std::cerr << "ztl serve: internal error: " << e.what() << '\n';
    if (notification) return std::nullopt;
    return ErrorResponse(id, RpcError{kInternalError, std::string("Internal error: ") + e.what()});
  }
}

std::optional<std::string> Server::HandleLine(std::string_view text) {
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return std::nullopt;
  const RequestLine line = ReadRequestLine(text);
  const Json& request = line.json;
  if (request.is_discarded()) return Dump(ErrorResponse(nullptr, RpcError{kParseError, line.parse_error}));
  if (!request.is_array()) {
    std::optional<Json> response = HandleRequest(request, line);
    if (!response) return std::nullopt;
    return Dump(*response);
  }
  // A batch: one array of the responses, none at all when every request was a notification.
  if (request.empty()) return Dump(ErrorResponse(nullptr, RpcError{kInvalidRequest, "Invalid Request: empty batch"}));
  Json responses = Json::array();
  for (const Json& one : request) {
    if (std::optional<Json> response = HandleRequest(one, line)) responses.push_back(std::move(*response));
  }
  if (responses.empty()) return std::nullopt;
  return Dump(responses);
}

int Serve(std::FILE* in, std::ostream& out) {
  Server server;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  ssize_t length = 0;
  while ((length = ::getline(&buffer, &capacity, in)) >= 0) {
    std::string_view line(buffer, static_cast<std::size_t>(length));
    if (line.ends_with('\n')) line.remove_suffix(1);
    std::optional<std::string> response;
    try {
      response = server.HandleLine(line);
    } catch (const std::exception& e) {
      // Out of memory while answering, for instance: the line gets an error, the server goes on.
      std::cerr << "ztl serve: internal error: " << e.what() << '\n';
      response = Dump(ErrorResponse(nullptr, RpcError{kInternalError, "Internal error"}));
    }
    if (response) out << *response << '\n' << std::flush;
    // No client reads the answers any more: the write error is reported on the way out.
    if (!out) break;
  }
  const int read_error = length < 0 && std::ferror(in) ? errno : 0;
  std::free(buffer);
  if (read_error != 0) return UsageError(std::string("cannot read standard input: ") + std::strerror(read_error));
  return kExitOk;
}

int RunServe(std::span<const std::string_view> args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kServeHelp;
    return kExitOk;
  }
  if (!args.empty()) return UsageError("'serve' takes no arguments (see 'ztl serve --help')");
  return Serve(stdin, std::cout);
}

}  // namespace ztl::cli
