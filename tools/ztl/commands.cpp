// `ztl list`, `ztl describe` and `ztl call`: the type library and single calls from a shell.

#include "commands.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "describe.hpp"
#include "help.hpp"
#include "json_value.hpp"
#include "output.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/platform/date_text.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::cli {

int UsageError(std::string_view message) {
  // Messages quote what the user typed; a line end or another control character in it is
  // written as an escape, so that every error stays one line.
  std::string line = "ztl: ";
  for (const char c : message) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 0x20 && code != 0x7F) {
      line += c;
    } else if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else if (c == '\t') {
      line += "\\t";
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      line += {'\\', 'x', kHex[code >> 4], kHex[code & 15]};
    }
  }
  std::cerr << line << '\n';
  return kExitError;
}

namespace {

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

int PrintHelp(std::string_view text) {
  std::cout << text;
  return kExitOk;
}

// The class named on the command line, or null after reporting the error.
const ClassInfo* ClassArgument(std::string_view name) {
  const ClassInfo* info = FindClass(Utf8ToUtf16(name));
  if (info == nullptr) UsageError("unknown class '" + std::string(name) + "' (see 'ztl list')");
  return info;
}

}  // namespace

// ---- list, describe ------------------------------------------------------------------------

int RunList(std::span<const std::string_view> args) {
  if (!args.empty() && IsHelp(args[0])) return PrintHelp(kListHelp);
  if (!args.empty()) return UsageError("'list' takes no arguments (see 'ztl list --help')");
  std::cout << ListText();
  return kExitOk;
}

int RunDescribe(std::span<const std::string_view> args) {
  if (!args.empty() && IsHelp(args[0])) return PrintHelp(kDescribeHelp);
  if (args.size() != 1) return UsageError("usage: ztl describe CLASS (see 'ztl list' for the classes)");
  const ClassInfo* info = ClassArgument(args[0]);
  if (info == nullptr) return kExitError;
  std::cout << DescribeText(*info);
  return kExitOk;
}

// ---- call ----------------------------------------------------------------------------------

namespace {

constexpr int kMaxTextDepth = 64;

// The platform's text of a value; every scalar has one.
std::string TextOf(const Variant& v) { return Utf16ToUtf8(ToString(v).value_or(String())); }

void AppendText(const Variant& v, std::string& out, int depth = 0);

// A collection shows its items; any other object only whether it is there.
void AppendObject(const ObjectRef& object, std::string& out, int depth) {
  const auto* collection = dynamic_cast<const Collection*>(object.get());
  if (collection != nullptr && depth < kMaxTextDepth) {
    for (Long pos = 1; pos <= collection->Count(); ++pos) {
      if (const Variant* item = collection->Item(pos)) AppendText(*item, out, depth + 1);
    }
    return;
  }
  out += object ? "Object\n" : "Nothing\n";
}

// The text of a value as `call` prints it, one line per scalar (see `ztl call --help`).
void AppendText(const Variant& v, std::string& out, int depth) {
  auto line = [&out](const std::string& text) { out += text + "\n"; };
  v.Visit(Overloaded{
      [&](EmptyValue) { line(""); },
      [&](NullValue) { line("Null"); },
      [&](ErrorValue e) { line("Error " + std::to_string(e.code)); },
      [&](const String& s) { line(Utf16ToUtf8(s)); },
      // ISO 8601, which any tool reads; a Date outside the calendar prints as its day count.
      [&](Date d) {
        const Outcome<String> iso = IsoDateText(d);
        line(iso ? Utf16ToUtf8(*iso) : TextOf(Variant(d.value)));
      },
      [&](const SafeArray& array) {
        for (const Variant& item : array.Elements()) AppendText(item, out, depth + 1);
      },
      [&](const ObjectRef& object) { AppendObject(object, out, depth); },
      [&](const auto&) { line(TextOf(v)); },  // Booleans and numbers
  });
}

struct CallOptions {
  bool json = false;
  bool byref = false;
  std::optional<std::uint64_t> seed;
  std::optional<std::string_view> font;  // --font NAME:SIZE, as written
  std::optional<std::string_view> target;
  std::vector<std::string_view> args;
};

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
  std::uint64_t seed = 0;
  const char* end = text.data() + text.size();
  if (!text.empty() && text[0] == '-') {
    std::int64_t negative = 0;
    auto [p, ec] = std::from_chars(text.data(), end, negative);
    if (ec != std::errc() || p != end) return std::nullopt;
    return static_cast<std::uint64_t>(negative);
  }
  auto [p, ec] = std::from_chars(text.data(), end, seed);
  if (ec != std::errc() || p != end) return std::nullopt;
  return seed;
}

// Splits the command line into options, the target and the ARGs. Returns an error message,
// or nothing when the line is good.
std::optional<std::string> ParseCallLine(std::span<const std::string_view> args, CallOptions& options) {
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!options_done && arg.starts_with("--")) {
      if (arg == "--") {
        options_done = true;
      } else if (arg == "--json") {
        options.json = true;
      } else if (arg == "--byref") {
        options.byref = true;
      } else if (arg == "--seed" || arg.starts_with("--seed=")) {
        std::string_view value;
        if (arg == "--seed") {
          if (i + 1 == args.size()) return "--seed needs a whole number";
          value = args[++i];
        } else {
          value = arg.substr(7);
        }
        options.seed = ParseSeed(value);
        if (!options.seed) return "--seed needs a whole number, not '" + std::string(value) + "'";
      } else if (arg == "--font" || arg.starts_with("--font=")) {
        if (arg == "--font") {
          if (i + 1 == args.size()) return "--font needs NAME:SIZE, such as 'DejaVu Sans:12'";
          options.font = args[++i];
        } else {
          options.font = arg.substr(7);
        }
      } else {
        return "unknown option '" + std::string(arg) + "' (give '--' before an argument that starts with '--')";
      }
    } else if (!options.target) {
      options.target = arg;
    } else {
      options.args.push_back(arg);
    }
  }
  if (!options.target) return "usage: ztl call CLASS.OPERATION [ARG...] (see 'ztl call --help')";
  return std::nullopt;
}

// The ARG that stands for the device context of --font.
constexpr std::string_view kDeviceContextArg = "@hdc";

// A device context made for --font NAME:SIZE and deleted when the call is done.
class FontOption {
 public:
  FontOption() = default;
  FontOption(const FontOption&) = delete;
  FontOption& operator=(const FontOption&) = delete;
  ~FontOption() {
    if (hdc_ != 0) DeleteDeviceContext(hdc_);
  }

  // Makes the device context; an error message when the option is bad or the font unknown.
  std::optional<std::string> Create(std::string_view option) {
    const std::size_t colon = option.rfind(':');
    const std::string_view name = colon == std::string_view::npos ? std::string_view() : option.substr(0, colon);
    const std::string_view size_text = colon == std::string_view::npos ? std::string_view() : option.substr(colon + 1);
    int size = 0;
    auto [end, ec] = std::from_chars(size_text.data(), size_text.data() + size_text.size(), size);
    if (name.empty() || size_text.empty() || ec != std::errc() || end != size_text.data() + size_text.size() ||
        size < 1 || size > 1000) {
      return "--font needs NAME:SIZE with a size of 1 to 1000 pixels, such as 'DejaVu Sans:12', not '" +
             std::string(option) + "'";
    }
    hdc_ = CreateDeviceContext(name, size);
    if (hdc_ == 0) {
      return "unknown font '" + std::string(name) + "' (no installed font of that family, and not '" +
             std::string(kFixedPitchFont) + "'; 'fc-list : family' lists the families)";
    }
    return std::nullopt;
  }
  Long hdc() const { return hdc_; }

 private:
  Long hdc_ = 0;
};

// The object to call: a new utility object, or a component placed in the given container.
ObjectRef MakeObject(const ClassInfo& info, Container& form) {
  const String name = Utf8ToUtf16(info.name);
  if (info.kind == ClassKind::Component) return form.Place(name);
  return CreateObject(name);
}

// Whether an ARG for this parameter is read as JSON first (see `ztl call --help`).
bool TakesValues(const ParamInfo& p) {
  return p.paramarray || p.type == Type::Variant || p.type == Type::Object || p.type == Type::Collection;
}

// The member CLASS.OPERATION names, with its class in `info`; null after reporting the error.
const MemberInfo* TargetArgument(std::string_view target, const ClassInfo*& info) {
  const std::size_t dot = target.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == target.size()) {
    UsageError("expected CLASS.OPERATION, such as ZtNumeric.IsPrime, not '" + std::string(target) + "'");
    return nullptr;
  }
  info = ClassArgument(target.substr(0, dot));
  if (info == nullptr) return nullptr;
  // A name, or a dispatch id written as a number.
  CallFailure failure;
  const MemberInfo* member = ResolveMember(info, MemberKey::Text(target.substr(dot + 1)), MemberKind::Method, &failure);
  if (member == nullptr) UsageError(failure.message + "; see 'ztl describe " + std::string(info->name) + "'");
  return member;
}

// The values of the ARGs, each read for the parameter it meets; nothing after reporting an
// ARG that reads as a value that is not valid, in the words `ztl serve` uses.
std::optional<std::vector<Variant>> CallArguments(const CallOptions& options, const MemberInfo& member,
                                                  const FontOption& font, ObjectTable& table) {
  std::vector<Variant> values;
  const std::span<const ParamInfo> params = member.params;
  for (std::size_t i = 0; i < options.args.size(); ++i) {
    const ParamInfo* param = i < params.size() ? &params[i]
                             : (!params.empty() && params.back().paramarray ? &params.back() : nullptr);
    if (options.font && options.args[i] == kDeviceContextArg) {
      values.push_back(font.hdc());
      continue;
    }
    Checked<Variant> value = FromArgumentText(options.args[i], param != nullptr && TakesValues(*param), table);
    if (!value) {
      UsageError("argument " + std::to_string(i + 1) + ": " + value.problem().message);
      return std::nullopt;
    }
    values.push_back(*std::move(value));
  }
  return values;
}

// What `call` prints after a call: the result, then with --byref the arguments it changed. A
// problem for a value that nests too deeply to be written as JSON.
Checked<std::string> CallOutput(const CallOptions& options, const MemberInfo& member, const Variant& result,
                                std::span<const Variant> args, ObjectTable& table) {
  std::string out;
  std::optional<Problem> problem;
  auto print = [&](const Variant& v) {
    if (!options.json) {
      AppendText(v, out);
    } else if (Checked<Json> json = WriteJson(v, table)) {
      out += Dump(*json) + "\n";
    } else if (!problem) {
      problem = json.problem();
    }
  };
  if (member.result != Type::Void || options.json) print(result);
  if (options.byref) {
    for (std::size_t i = 0; i < args.size() && i < member.params.size(); ++i) {
      // A collection argument is shared with the operation, which may change it (Sort,
      // InStrAdv), so it is shown like a by-reference one.
      const ParamInfo& param = member.params[i];
      if (param.byref || param.type == Type::Collection) print(args[i]);
    }
  }
  if (problem) return *problem;
  return out;
}

}  // namespace

int RunCall(std::span<const std::string_view> args) {
  if (!args.empty() && IsHelp(args[0])) return PrintHelp(kCallHelp);
  for (std::string_view arg : args) {
    if (arg == "--") break;
    if (arg == "--help") return PrintHelp(kCallHelp);
  }
  CallOptions options;
  if (auto error = ParseCallLine(args, options)) return UsageError(*error);
  const ClassInfo* info = nullptr;
  const MemberInfo* member = TargetArgument(*options.target, info);
  if (member == nullptr) return kExitError;

  if (options.seed) SeedRandom(*options.seed);
  FontOption font;
  if (options.font) {
    if (std::find(options.args.begin(), options.args.end(), kDeviceContextArg) == options.args.end()) {
      return UsageError("--font gives a device context to an ARG written @hdc, and there is none "
                        "(ztl call --font 'DejaVu Sans:12' ZtStrings.EllipseText TEXT WIDTH HEIGHT @hdc STYLE)");
    }
    if (auto error = font.Create(*options.font)) return UsageError(*error);
  }
  Container form;
  ObjectRef object = MakeObject(*info, form);
  if (!object) return UsageError("cannot create an object of class " + std::string(info->name));

  ObjectTable table;
  std::optional<std::vector<Variant>> read = CallArguments(options, *member, font, table);
  if (!read) return kExitError;
  std::vector<Variant>& call_args = *read;
  Variant result;
  CallFailure failure;
  if (!Call(*object, *member, call_args, result, CallForm::Dispatch, &failure)) {
    const std::string message = failure.message.empty() ? "the call failed" : failure.message;
    return UsageError(message + " (error " + std::to_string(failure.number) + ")");
  }
  const Checked<std::string> output = CallOutput(options, *member, result, call_args, table);
  if (!output) {
    std::cerr << "ztl: internal error: " << output.problem().message << '\n';
    return kExitInternalError;
  }
  std::cout << *output << std::flush;
  return kExitOk;
}

}  // namespace ztl::cli
