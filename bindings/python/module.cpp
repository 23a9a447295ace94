// The compiled core of the ztldata Python package (_ztldata): library objects as handles,
// late-bound calls by name, collections, containers, device contexts and the type library's
// description. members.cpp has the calls and the members' descriptors; the package's
// __init__.py builds the Python API on top of it.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "members.hpp"
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

// ---- objects ------------------------------------------------------------------------------

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

// A late-bound call by name: positional arguments, then keyword arguments by parameter name.
py::object Invoke(const py::handle& self, const py::str& name, int kind_code, const py::tuple& args,
                  const py::object& kwargs) {
  Object& object = ObjectOf(self);
  const MemberKind kind = KindOf(kind_code);
  const String member_name = TextOf(name);
  CallFailure failure;
  const MemberInfo* member = ResolveMember(object, MemberKey::Name(member_name), kind, &failure);
  if (!member) RaiseError(failure.number, failure.message, true);
  // The arguments as a vectorcall passes them: the positional ones, then the keywords' values.
  std::vector<PyObject*> values(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) values[i] = args[i].ptr();
  py::tuple names(0);
  if (!kwargs.is_none()) {
    if (!PyDict_Check(kwargs.ptr())) throw py::type_error("ztldata: keyword arguments must be a dict");
    const py::dict given = py::reinterpret_borrow<py::dict>(kwargs);
    names = py::tuple(given.size());
    std::size_t k = 0;
    for (auto [key, value] : given) {
      if (!PyUnicode_Check(key.ptr())) throw py::type_error("keywords must be strings");
      names[k++] = key;
      values.push_back(value.ptr());
    }
  }
  // The dict may change while the arguments convert: the tuple keeps the values alive.
  const py::tuple held(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) held[i] = py::reinterpret_borrow<py::object>(values[i]);
  return CallMember(object, *member, PySequence_Fast_ITEMS(held.ptr()), args.size(),
                    names.empty() ? nullptr : names.ptr());
}

Collection& CollectionOf(const py::handle& self) {
  auto* collection = dynamic_cast<Collection*>(&ObjectOf(self));
  if (!collection) throw py::type_error("ztldata: the object is no Collection");
  return *collection;
}

// The items of a collection with their keys, as (key or None, value) pairs.
py::list Entries(const py::handle& self) {
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

// Puts `value` in place of the item an index selects, under the same key.
void Replace(const py::handle& self, const py::handle& index, const py::handle& value) {
  Collection& collection = CollectionOf(self);
  Variant item = ToVariant(value);
  const Outcome<Long> position = collection.Locate(ToVariant(index));
  if (!position) RaiseError(position.error(), ErrorText(position.error()));
  const String* key = collection.Key(*position);
  const Variant key_value = key ? Variant(*key) : Variant::Missing();
  // The key is free again once the item is out, so adding it back cannot fail for the key.
  if (const Status removed = collection.Remove(*position); !removed) {
    RaiseError(removed.error(), ErrorText(removed.error()));
  }
  const Variant before = *position <= collection.Count() ? Variant(*position) : Variant::Missing();
  if (const Status added = collection.Add(std::move(item), key_value, before, Variant::Missing()); !added) {
    RaiseError(added.error(), ErrorText(added.error()));
  }
}

std::string Category(const py::handle& self) {
  const ObjectRef* ref = RefOf(self);
  if (!ref || !*ref) return "none";
  if (dynamic_cast<const Collection*>(ref->get())) return "collection";
  if (dynamic_cast<const Component*>(ref->get())) return "component";
  return (*ref)->Class() ? "utility" : "object";
}

// A new instance of `cls` (a subclass of Handle) holding the object of `handle`.
py::object Adopt(const py::object& cls, const py::handle& handle) {
  if (!PyType_Check(cls.ptr()) || !PyType_IsSubtype(reinterpret_cast<PyTypeObject*>(cls.ptr()), HandleType())) {
    throw py::type_error("ztldata: not a class of library objects");
  }
  ObjectOf(handle);  // a handle that holds an object
  const ObjectRef object = *RefOf(handle);
  py::object made = cls.attr("__new__")(cls);
  *RefOf(made) = object;
  return made;
}

// ---- containers ---------------------------------------------------------------------------

struct ContainerBox {
  std::unique_ptr<Container> form;

  explicit ContainerBox(std::unique_ptr<Container> made) : form(std::move(made)) {}
  ContainerBox(ContainerBox&&) noexcept = default;
  // Ending the container ends its components: not while another thread's call runs on one.
  ~ContainerBox() {
    if (!form) return;
    try {
      AwaitComponents(*form);
    } catch (const std::bad_alloc&) {  // no memory to wait with: end them now, as before
    }
  }
};

Container& FormOf(ContainerBox& box) {
  if (!box.form) throw py::type_error("ztldata: the container is gone");
  return *box.form;
}

py::object Place(ContainerBox& box, const py::str& class_name, const py::object& name) {
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
  return NewHandle(component);
}

py::object Find(ContainerBox& box, const py::str& name) {
  ComponentRef component = FormOf(box).Find(TextOf(name));
  if (!component) return py::none();
  return NewHandle(component);
}

py::object Utf8Text(const std::string& text) {
  const py::object out = py::reinterpret_steal<py::object>(
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace"));
  if (!out) throw py::error_already_set();
  return out;
}

// A saved form as the document Container::Load reads: its text, or the UTF-8 bytes of a file
// as they are (the loader copes with any bytes).
std::string DocumentOf(const py::object& text) {
  if (PyUnicode_Check(text.ptr())) return Utf16ToUtf8(TextOf(text));
  if (!IsBytesLike(text)) {
    throw py::type_error(std::string("Container.Load takes the saved form as str or as its UTF-8 bytes, not '") +
                         Py_TYPE(text.ptr())->tp_name + "'");
  }
  Py_buffer view;
  if (PyObject_GetBuffer(text.ptr(), &view, PyBUF_SIMPLE) != 0) throw py::error_already_set();
  const std::unique_ptr<Py_buffer, void (*)(Py_buffer*)> release(&view, PyBuffer_Release);
  return std::string(static_cast<const char*>(view.buf), static_cast<std::size_t>(view.len));
}

py::tuple Load(const py::object& text, bool design_mode) {
  const std::string document = DocumentOf(text);
  std::vector<std::string> problems;
  std::unique_ptr<Container> form = Container::Load(document, &problems, design_mode);
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

py::object Create(const py::str& name) {
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
  return NewHandle(object);
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

// The operations on handles, as module functions (the handle type is the package's base class
// and keeps its namespace free for the library's member names).
void AddObjectFunctions(py::module_& m) {
  m.def("invoke", &Invoke, py::arg("object"), py::arg("name"), py::arg("kind"), py::arg("args"),
        py::arg("kwargs") = py::none());
  m.def("descriptors", [](const py::str& class_name) -> py::object {
    const ClassInfo* info = FindClass(TextOf(class_name));
    return info ? py::object(Descriptors(*info)) : py::object(py::none());
  });
  m.def("entries", &Entries);
  m.def("count", [](const py::handle& self) { return CollectionOf(self).Count(); });
  m.def("replace", &Replace);
  m.def("class_name", [](const py::handle& self) -> py::object {
    const ClassInfo* info = ObjectOf(self).Class();
    return info ? py::object(py::str(std::string(info->name))) : py::object(py::none());
  });
  m.def("category", &Category);
  m.def("address", [](const py::handle& self) { return reinterpret_cast<std::uintptr_t>(&ObjectOf(self)); });
  m.def("adopt", &Adopt);
  m.def("assign", [](const py::handle& target, const py::handle& source) {
    ObjectOf(source);
    ObjectRef* ref = RefOf(target);
    if (!ref) throw py::type_error("ztldata: not a library object");
    *ref = *RefOf(source);
  });
  m.def("new_collection", [] { return NewHandle(Collection::Create()); });
}

}  // namespace

}  // namespace ztl::python

PYBIND11_MODULE(_ztldata, m) {
  using namespace ztl::python;
  namespace py = pybind11;
  m.doc() = "The compiled core of the ztldata package; use the package itself (import ztldata).";

  AddHandleType(m);
  AddDescriptorTypes(m);
  AddObjectFunctions(m);

  py::class_<ContainerBox>(m, "ContainerBox")
      .def(py::init([](bool design_mode) { return ContainerBox{std::make_unique<ztl::Container>(design_mode)}; }),
           py::arg("design_mode") = false)
      .def("place", &Place, py::arg("class_name"), py::arg("name") = py::none())
      .def("find", &Find, py::arg("name"))
      .def("save",
           [](ContainerBox& box) {
             AwaitComponents(FormOf(box));
             return Utf8Text(FormOf(box).Save());
           })
      .def_static("load", &Load, py::arg("text"), py::arg("design_mode") = false)
      .def("names", &Names)
      .def("release", [](ContainerBox& box, const py::str& name) {
        AwaitComponents(FormOf(box));
        return FormOf(box).Release(TextOf(name));
      });

  m.def("register_types", &RegisterTypes);
  m.def("create", &Create, py::arg("name"));
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
  m.attr("version") = ZTL_LIBRARY_VERSION;
  m.attr("typelib_version") = std::to_string(ztl::Library().major) + "." + std::to_string(ztl::Library().minor);

  m.attr("fixed_pitch_font") = std::string(ztl::kFixedPitchFont);
  m.def("create_device_context", [](const py::str& font, ztl::Long size) {
    return ztl::CreateDeviceContext(ztl::Utf16ToUtf8(TextOf(font)), size);
  });
  m.def("delete_device_context", [](ztl::Long hdc) { return ztl::DeleteDeviceContext(hdc); });
}
