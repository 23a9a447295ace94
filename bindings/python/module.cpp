// The compiled core of the ztldata Python package (_ztldata): library objects as handles,
// late-bound calls with positional and keyword arguments, collections, containers, device
// contexts and the type library's description. The package's __init__.py builds the Python
// API on top of it.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "values.hpp"
#include "ztldata/frame/about.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/frame/typelib.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::python {

namespace {

std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

bool SameName(std::string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(b[i])) return false;
  }
  return true;
}

MemberKind KindOf(int kind) {
  switch (kind) {
    case 0: return MemberKind::Method;
    case 1: return MemberKind::PropertyGet;
    case 2: return MemberKind::PropertyLet;
    default: throw py::value_error("ztldata: a member kind is 0 (method), 1 (get) or 2 (let)");
  }
}

const char* KindText(MemberKind kind) {
  switch (kind) {
    case MemberKind::Method: return "method";
    case MemberKind::PropertyGet: return "get";
    case MemberKind::PropertyLet: return "let";
  }
  return "method";
}

std::string ClassTitle(const Object& object) {
  const ClassInfo* info = object.Class();
  return info ? std::string(info->name) : std::string("the object");
}

// ---- handles ------------------------------------------------------------------------------

Handle& Checked(Handle& handle) {
  if (!handle.object) throw py::type_error("ztldata: the handle holds no object");
  return handle;
}

py::object Lookup(Handle& self, const py::str& name) {
  const ClassInfo* info = Checked(self).object->Class();
  if (!info) return py::none();
  const MemberInfo* member = FindMember(*info, TextOf(name), MemberKind::Method);
  if (!member) return py::none();
  std::size_t required = 0;
  for (const ParamInfo& p : member->params) required += p.optional || p.paramarray ? 0 : 1;
  return py::make_tuple(static_cast<int>(member->kind), required, std::string(member->name));
}

py::object DefaultText(const ParamInfo& p) {
  if (!p.optional) return py::none();
  if (p.default_value.is_text) return TextObject(p.default_value.text);
  return py::int_(p.default_value.number);
}

py::list Members(const ClassInfo& info) {
  py::list members;
  for (const MemberInfo& m : info.members) {
    py::list params;
    for (const ParamInfo& p : m.params) {
      params.append(py::make_tuple(std::string(p.name), std::string(TypeName(p.type)), p.byref, p.optional,
                                   DefaultText(p), p.paramarray));
    }
    members.append(py::make_tuple(std::string(m.name), KindText(m.kind), m.dispid,
                                  m.result == Type::Void ? py::object(py::none()) : py::str(std::string(TypeName(m.result))),
                                  m.help ? py::object(py::str(m.help)) : py::object(py::none()), params));
  }
  return members;
}

// One late-bound call: positional arguments, then keyword arguments by parameter name;
// parameters left out are passed as missing, so optional ones take their defaults.
py::object Invoke(Handle& self, const py::str& name, int kind_code, const py::tuple& args, const py::object& kwargs) {
  Object& object = *Checked(self).object;
  const MemberKind kind = KindOf(kind_code);
  const ClassInfo* info = object.Class();
  const String member_name = TextOf(name);
  const MemberInfo* member = info ? FindMember(*info, member_name, kind) : nullptr;
  if (!member) {
    RaiseError(kNoSuchMember,
               ClassTitle(object) + " has no " + (kind == MemberKind::PropertyLet ? "settable property " : "member ") +
                   "'" + Utf8(member_name) + "' (" + ErrorText(kNoSuchMember) + ")",
               true);
  }
  const std::span<const ParamInfo> params = member->params;
  const bool has_array = !params.empty() && params.back().paramarray;
  const std::size_t fixed = params.size() - (has_array ? 1 : 0);

  // Strong references: converting an argument may run Python code.
  std::vector<py::object> given;
  for (py::handle arg : args) given.push_back(py::reinterpret_borrow<py::object>(arg));
  if (!kwargs.is_none()) {
    if (!PyDict_Check(kwargs.ptr())) throw py::type_error("ztldata: keyword arguments must be a dict");
    for (auto [key, value] : py::reinterpret_borrow<py::dict>(kwargs)) {
      if (!PyUnicode_Check(key.ptr())) throw py::type_error("keywords must be strings");
      const String key_text = TextOf(key);
      std::size_t index = fixed;
      for (std::size_t i = 0; i < fixed; ++i) {
        if (SameName(params[i].name, key_text)) index = i;
      }
      if (index == fixed) {
        throw py::type_error(std::string(member->name) + "() got an unexpected keyword argument '" + Utf8(key_text) +
                             "'");
      }
      if (index < given.size() && given[index]) {
        throw py::type_error(std::string(member->name) + "() got multiple values for argument '" +
                             std::string(params[index].name) + "'");
      }
      if (given.size() <= index) given.resize(index + 1);
      given[index] = py::reinterpret_borrow<py::object>(value);
    }
  }

  std::vector<Variant> values;
  values.reserve(given.size());
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (!given[i]) {
      values.push_back(Variant::Missing());
      continue;
    }
    values.push_back(ToVariant(given[i], i < fixed ? params[i].type : Type::Variant));
  }

  Variant result;
  std::string message;
  if (const Status call = Call(object, *member, values, result, CallForm::Dispatch, &message); !call) {
    RaiseError(call.error(), message.empty() ? std::string(ErrorText(call.error())) : message);
  }

  for (std::size_t i = 0; i < fixed && i < given.size(); ++i) {
    if (params[i].byref && given[i]) WriteBack(given[i], values[i]);
  }
  if (member->result == Type::Void) return py::none();
  return FromVariant(result);
}

Collection& CollectionOf(Handle& self) {
  auto* collection = dynamic_cast<Collection*>(Checked(self).object.get());
  if (!collection) throw py::type_error("ztldata: the object is no Collection");
  return *collection;
}

// The items of a collection with their keys, as (key or None, value) pairs.
py::list Entries(Handle& self) {
  const Collection& collection = CollectionOf(self);
  py::list entries;
  for (Long position = 1; position <= collection.Count(); ++position) {
    // Copies first: making Python objects may run Python code (a finalizer) that changes the
    // collection meanwhile.
    const String* key = collection.Key(position);
    const std::optional<String> key_copy = key ? std::optional<String>(*key) : std::nullopt;
    const Variant item = *collection.Item(position);
    py::object key_object = key_copy ? TextObject(*key_copy) : py::object(py::none());
    entries.append(py::make_tuple(key_object, FromVariant(item)));
  }
  return entries;
}

std::string Category(const Handle& self) {
  if (!self.object) return "none";
  if (dynamic_cast<const Collection*>(self.object.get())) return "collection";
  if (dynamic_cast<const Component*>(self.object.get())) return "component";
  const ClassInfo* info = self.object->Class();
  return info ? "utility" : "object";
}

// ---- containers ---------------------------------------------------------------------------

struct ContainerBox {
  std::unique_ptr<Container> form;
};

Container& FormOf(ContainerBox& box) {
  if (!box.form) throw py::type_error("ztldata: the container is gone");
  return *box.form;
}

Handle Place(ContainerBox& box, const py::str& class_name, const py::object& name) {
  Container& form = FormOf(box);
  const String cls = TextOf(class_name);
  const String wanted = name.is_none() ? String() : TextOf(name);
  const ClassInfo* info = FindClass(cls);
  if (!info || info->kind != ClassKind::Component) {
    RaiseError(kNotCreatable, std::string(ErrorText(kNotCreatable)) + ": '" + Utf8(cls) +
                                       (info ? "' is a utility class: create it with ztldata.CreateObject"
                                             : "' is no component of the library"));
  }
  ComponentRef component = form.Place(cls, wanted);
  if (!component) {
    RaiseError(kInvalidProcedureCall, std::string(ErrorText(kInvalidProcedureCall)) + ": the name '" + Utf8(wanted) +
                                          "' is already used in this container");
  }
  return Handle{component};
}

py::object Find(ContainerBox& box, const py::str& name) {
  ComponentRef component = FormOf(box).Find(TextOf(name));
  if (!component) return py::none();
  return py::cast(Handle{component});
}

py::object Utf8Text(const std::string& text) {
  const py::object out = py::reinterpret_steal<py::object>(
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace"));
  if (!out) throw py::error_already_set();
  return out;
}

py::tuple Load(const py::str& text, bool design_mode) {
  const String wide = TextOf(text);
  std::vector<std::string> problems;
  std::unique_ptr<Container> form = Container::Load(Utf16ToUtf8(wide), &problems, design_mode);
  py::list problem_list;
  for (const std::string& p : problems) problem_list.append(Utf8Text(p));
  return py::make_tuple(ContainerBox{std::move(form)}, problem_list);
}

py::list Names(ContainerBox& box) {
  std::vector<String> copied;  // first: making Python objects may run Python code
  for (const auto& placed : FormOf(box).Components()) copied.push_back(placed.first);
  py::list names;
  for (const String& name : copied) names.append(TextObject(name));
  return names;
}

// ---- the library --------------------------------------------------------------------------

Handle Create(const py::str& name) {
  const String text = TextOf(name);
  const ClassInfo* info = FindClass(text);
  if (info && info->kind == ClassKind::Component) {
    RaiseError(kNotCreatable, std::string(ErrorText(kNotCreatable)) + ": " + std::string(info->name) +
                                       " is a component: place it in a ztldata.Container");
  }
  ObjectRef object = CreateObject(text);
  if (!object) {
    RaiseError(kNotCreatable, std::string(ErrorText(kNotCreatable)) + ": no class '" + Utf8(text) + "'");
  }
  return Handle{object};
}

py::list ClassList() {
  py::list classes;
  for (const ClassInfo* info : Classes()) {
    classes.append(py::make_tuple(std::string(info->name), info->kind == ClassKind::Component ? "component" : "utility"));
  }
  return classes;
}

py::object Describe(const py::str& name) {
  const ClassInfo* info = FindClass(TextOf(name));
  if (!info) return py::none();
  return Members(*info);
}

py::list EnumerationList() {
  py::list out;
  for (const EnumInfo& e : Enumerations()) {
    py::list constants;
    for (const EnumConstant& c : e.constants) constants.append(py::make_tuple(std::string(c.name), c.value));
    out.append(py::make_tuple(std::string(e.name), constants));
  }
  return out;
}

}  // namespace

}  // namespace ztl::python

PYBIND11_MODULE(_ztldata, m) {
  using namespace ztl::python;
  namespace py = pybind11;
  m.doc() = "The compiled core of the ztldata package; use the package itself (import ztldata).";

  py::class_<Handle>(m, "Handle")
      .def("lookup", &Lookup, py::arg("name"))
      .def("invoke", &Invoke, py::arg("name"), py::arg("kind"), py::arg("args"), py::arg("kwargs") = py::none())
      .def("members", [](Handle& self) {
        const ztl::ClassInfo* info = Checked(self).object->Class();
        return info ? Members(*info) : py::list();
      })
      .def("entries", &Entries)
      .def_property_readonly("class_name", [](const Handle& self) -> py::object {
        const ztl::ClassInfo* info = self.object ? self.object->Class() : nullptr;
        return info ? py::object(py::str(std::string(info->name))) : py::object(py::none());
      })
      .def_property_readonly("category", &Category)
      .def_property_readonly("address", [](const Handle& self) {
        return reinterpret_cast<std::uintptr_t>(self.object.get());
      })
      .def("__eq__", [](const Handle& a, const py::object& b) {
        return py::isinstance<Handle>(b) && a.object == py::cast<const Handle&>(b).object;
      })
      .def("__hash__", [](const Handle& self) { return std::hash<const void*>()(self.object.get()); });

  py::class_<ContainerBox>(m, "ContainerBox")
      .def(py::init([](bool design_mode) { return ContainerBox{std::make_unique<ztl::Container>(design_mode)}; }),
           py::arg("design_mode") = false)
      .def("place", &Place, py::arg("class_name"), py::arg("name") = py::none())
      .def("find", &Find, py::arg("name"))
      .def("save", [](ContainerBox& box) { return Utf8Text(FormOf(box).Save()); })
      .def_static("load", &Load, py::arg("text"), py::arg("design_mode") = false)
      .def("names", &Names)
      .def("release", [](ContainerBox& box, const py::str& name) { return FormOf(box).Release(TextOf(name)); });

  m.def("register_types", &RegisterTypes);
  m.def("create", &Create, py::arg("name"));
  m.def("new_collection", [] { return Handle{ztl::Collection::Create()}; });
  m.def("to_variant_type", [](const py::object& value) { return static_cast<int>(ToVariant(value).Type()); });
  m.def("convert", &Convert, py::arg("value"), py::arg("type"));
  m.def("text", &Text, py::arg("value"));
  m.def("classes", &ClassList);
  m.def("describe", &Describe, py::arg("name"));
  m.def("enumerations", &EnumerationList);
  m.def("about_text", [] { return std::string(ztl::AboutText()); });
  m.def("seed", [](const py::int_& seed) {
    const unsigned long long n = PyLong_AsUnsignedLongLongMask(seed.ptr());
    if (n == static_cast<unsigned long long>(-1) && PyErr_Occurred()) throw py::error_already_set();
    ztl::SeedRandom(n);
  });
  m.def("randomize", [] { ztl::RandomizeFromClock(); });

  m.attr("fixed_pitch_font") = std::string(ztl::kFixedPitchFont);
  m.def("create_device_context", [](const py::str& font, ztl::Long size) {
    return ztl::CreateDeviceContext(ztl::Utf16ToUtf8(TextOf(font)), size);
  });
  m.def("delete_device_context", [](ztl::Long hdc) { return ztl::DeleteDeviceContext(hdc); });
}
