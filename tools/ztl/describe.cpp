// Text and JSON descriptions of the classes, drawn from the interface tables.

#include "describe.hpp"

#include <algorithm>

#include "ztldata/frame/object.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::cli {

std::string_view ClassKindText(ClassKind kind) {
  return kind == ClassKind::Component ? "component" : "utility class";
}

std::string_view MemberKindText(MemberKind kind) {
  switch (kind) {
    case MemberKind::PropertyGet: return "property get";
    case MemberKind::PropertyLet: return "property let";
    default: return "method";
  }
}

std::string ProgId(const ClassInfo& info) {
  return std::string(Library().name) + "." + std::string(info.name);
}

namespace {

// A default as the language writes it: True/False for a Boolean, a text in double quotes.
std::string DefaultText(const ParamInfo& p) {
  if (p.default_value.is_text) {
    std::string text = "\"";
    for (char c : Utf16ToUtf8(p.default_value.text)) {
      text += c;
      if (c == '"') text += '"';
    }
    return text + "\"";
  }
  if (p.type == Type::Boolean) return p.default_value.number != 0 ? "True" : "False";
  return std::to_string(p.default_value.number);
}

Json DefaultJson(const ParamInfo& p) {
  if (!p.optional) return nullptr;
  if (p.default_value.is_text) return Utf16ToUtf8(p.default_value.text);
  if (p.type == Type::Boolean) return p.default_value.number != 0;
  return p.default_value.number;
}

std::string ParamText(const ParamInfo& p) {
  std::string text;
  if (p.paramarray) return "ParamArray " + std::string(p.name) + "() As " + std::string(TypeName(p.type));
  if (p.byref) text += "ByRef ";
  text += std::string(p.name) + " As " + std::string(TypeName(p.type));
  if (p.optional) text = "[" + text + " = " + DefaultText(p) + "]";
  return text;
}

std::string_view KindJson(MemberKind kind) {
  switch (kind) {
    case MemberKind::PropertyGet: return "get";
    case MemberKind::PropertyLet: return "let";
    default: return "method";
  }
}

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

std::string SignatureText(const MemberInfo& member) {
  std::string text = std::string(member.name) + "(";
  for (std::size_t i = 0; i < member.params.size(); ++i) {
    if (i > 0) text += ", ";
    text += ParamText(member.params[i]);
  }
  text += ")";
  if (member.result != Type::Void) text += " As " + std::string(TypeName(member.result));
  return text;
}

std::string ListText() {
  std::size_t width = 0;
  for (const ClassInfo* info : Classes()) width = std::max(width, info->name.size());
  std::string text;
  for (const ClassInfo* info : Classes()) {
    text += PadRight(std::string(info->name), width + 2) + PadRight(std::string(ClassKindText(info->kind)), 15) +
            ProgId(*info) + "\n";
  }
  return text;
}

std::string DescribeText(const ClassInfo& info) {
  std::string text = std::string(info.name) + " (" + ProgId(info) + "), " + std::string(ClassKindText(info.kind)) +
                     ", interface " + std::string(info.interface_name);
  if (!info.event_interface.empty()) text += ", events " + std::string(info.event_interface);
  text += "\n";
  const std::size_t slot_width = std::to_string(info.members.size()).size();
  for (std::size_t slot = 0; slot < info.members.size(); ++slot) {
    const MemberInfo& m = info.members[slot];
    std::string number = std::to_string(slot + 1);
    text += "  " + std::string(slot_width - number.size(), ' ') + number + "  " + PadRight(DispIdText(m.dispid), 10) +
            "  " + PadRight(std::string(MemberKindText(m.kind)), 12) + "  " + SignatureText(m);
    if (m.help != nullptr) text += "  \"" + std::string(m.help) + "\"";
    text += "\n";
  }
  return text;
}

Json DescribeJson(const ClassInfo& info) {
  Json members = Json::array();
  for (const MemberInfo& m : info.members) {
    Json params = Json::array();
    for (const ParamInfo& p : m.params) {
      params.push_back(Json{{"name", p.name},
                            {"type", TypeName(p.type)},
                            {"byref", p.byref},
                            {"optional", p.optional},
                            {"default", DefaultJson(p)},
                            {"paramarray", p.paramarray}});
    }
    members.push_back(Json{{"name", m.name},
                           {"dispid", m.dispid},
                           {"kind", KindJson(m.kind)},
                           {"params", std::move(params)},
                           {"result", m.result == Type::Void ? Json(nullptr) : Json(TypeName(m.result))},
                           {"help", m.help ? Json(m.help) : Json(nullptr)}});
  }
  return Json{{"class", info.name}, {"progid", ProgId(info)}, {"members", std::move(members)}};
}

}  // namespace ztl::cli
