// Late-bound calls from Python, and the types that make them quick: the handle every library
// object's wrapper derives from, and the descriptors its class holds for the members (found
// once, when the class is made), called through the vectorcall protocol.

#include "members.hpp"

#include <structmember.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::python {

namespace {

// ---- what some members take beyond the usual conversions ----------------------------------

// A by-reference parameter the operation changes in place: a tuple, which cannot take the
// change, is refused.
constexpr unsigned kInPlace = 4;

struct Special {
  std::string_view class_name, member;
  unsigned traits;
};
// The CRC registers and polynomials, 32-bit patterns that Python writes as unsigned ints, and the
// operations that change an array or variable passed to them. Which operations take bytes the
// type library says (CarriesBytes).
constexpr Special kSpecial[] = {
    {"ZtCRC32", "InitCRC32", kAcceptUnsigned}, {"ZtCRC32", "AddCRC32", kAcceptUnsigned},
    {"ZtCRC32", "GetCRC32", kAcceptUnsigned},  {"ZtArrays", "Sort", kInPlace},
    {"ZtArrays", "Shuffle", kInPlace},         {"ZtData", "Inter", kInPlace},
};

unsigned TraitsOf(const ClassInfo* info, const MemberInfo& member) {
  if (!info || member.kind != MemberKind::Method) return 0;
  unsigned traits = CarriesBytes(*info, member) ? unsigned{kAcceptBytes} : 0u;
  for (const Special& s : kSpecial) {
    if (s.class_name == info->name && s.member == member.name) traits |= s.traits;
  }
  return traits;
}

// ---- calls without the GIL ----------------------------------------------------------------

// A method whose arguments carry more than this much input (characters of text, one per byte
// for bytes, plus array elements) runs with the GIL released, so other Python threads go on
// meanwhile; a smaller call would spend more on releasing than it lets others gain.
constexpr std::size_t kReleaseAbove = 4096;

// The input the arguments carry, or none when one holds an object: another thread may reach
// that object's state while the GIL is released, so such a call keeps it.
std::optional<std::size_t> InputSize(std::span<const Variant> args) {
  std::size_t size = 0;
  std::vector<std::span<const Variant>> arrays;  // arrays nest: a list, not recursion
  for (std::span<const Variant> values = args;;) {
    for (const Variant& value : values) {
      if (value.IsObject()) return std::nullopt;
      if (const String* text = value.If<String>()) size += text->size();
      if (const SafeArray* array = value.If<SafeArray>()) {
        size += array->Size();
        arrays.push_back(array->Elements());
      }
    }
    if (arrays.empty()) return size;
    values = arrays.back();
    arrays.pop_back();
  }
}

// Library objects are not thread-safe, so calls on one object must not overlap. A call that
// releases the GIL first marks its object busy here, and holds the mark's mutex while the
// operation runs; a second such call waits for the mutex. The table is read and changed only
// with the GIL held, so a call that keeps the GIL runs at once on an object no such call has
// marked (nothing else can be running on it), and otherwise takes and leaves the mutex, with
// the GIL released, until none has. The mutex is never held while the GIL is taken, and a mark
// goes with its last user, so the table holds only objects in use.
struct Busy {
  std::mutex running;
  std::size_t users = 0;    // the threads that refer to the mark
  std::size_t callers = 0;  // of them, the calls that run (or wait to run) without the GIL
};

std::unordered_map<const Object*, std::unique_ptr<Busy>>& BusyObjects() {
  // Never destroyed: a thread may still end a call while the interpreter shuts down.
  static auto* busy = new std::unordered_map<const Object*, std::unique_ptr<Busy>>();
  return *busy;
}

bool IsBusy(const Object& object) {
  const auto& table = BusyObjects();
  if (table.empty()) return false;  // no call runs without the GIL: the usual case
  const auto found = table.find(&object);
  return found != table.end() && found->second->callers > 0;
}

// For its lifetime: the GIL released and the object's mutex held, by a call that runs an
// operation meanwhile (`call`) or one that only waits its turn.
class Exclusive {
 public:
  Exclusive(Object& object, bool call) : keep_(object.weak_from_this().lock()), object_(&object), call_(call) {
    auto& table = BusyObjects();
    auto found = table.find(&object);
    if (found == table.end()) found = table.emplace(&object, std::make_unique<Busy>()).first;
    busy_ = found->second.get();
    ++busy_->users;
    busy_->callers += call_ ? 1 : 0;
    thread_ = PyEval_SaveThread();
    busy_->running.lock();
  }
  ~Exclusive() {
    busy_->running.unlock();
    PyEval_RestoreThread(thread_);
    busy_->callers -= call_ ? 1 : 0;
    if (--busy_->users == 0) BusyObjects().erase(object_);
  }
  Exclusive(const Exclusive&) = delete;
  Exclusive& operator=(const Exclusive&) = delete;

 private:
  ObjectRef keep_;  // a handle may drop the object meanwhile
  const Object* object_;
  bool call_;
  Busy* busy_ = nullptr;
  PyThreadState* thread_ = nullptr;
};

// Returns, with the GIL held, once no other thread's call runs on the object. When it had to
// wait it returns the object too, for the caller to hold through its own call: a handle may
// have dropped it meanwhile.
ObjectRef AwaitIdle(Object& object) {
  ObjectRef kept;
  while (IsBusy(object)) {
    if (!kept) kept = object.weak_from_this().lock();
    const Exclusive wait(object, false);
  }
  return kept;
}

// ---- one call -----------------------------------------------------------------------------

// The arguments of one call, as pointers (null for one left out), in place for most calls.
class Given {
 public:
  explicit Given(std::size_t size) : size_(size) {
    if (size > kInline) heap_.resize(size);
  }
  PyObject*& operator[](std::size_t i) { return size_ > kInline ? heap_[i] : inline_[i]; }

 private:
  static constexpr std::size_t kInline = 8;
  std::array<PyObject*, kInline> inline_{};
  std::vector<PyObject*> heap_;
  std::size_t size_;
};

// The Variants of one call, made one after the other; in place for most calls, so a call
// makes and ends only the Variants it passes.
class Values {
 public:
  explicit Values(std::size_t capacity)
      : data_(capacity > kInline ? static_cast<Variant*>(::operator new(capacity * sizeof(Variant)))
                                 : reinterpret_cast<Variant*>(inline_)),
        heap_(capacity > kInline) {}
  ~Values() {
    std::destroy_n(data_, size_);
    if (heap_) ::operator delete(data_);
  }
  Values(const Values&) = delete;
  Values& operator=(const Values&) = delete;

  void Push(Variant value) {
    new (data_ + size_) Variant(std::move(value));
    ++size_;
  }
  std::span<Variant> Span() { return {data_, size_}; }

 private:
  static constexpr std::size_t kInline = 8;
  alignas(Variant) unsigned char inline_[kInline * sizeof(Variant)];
  Variant* data_;
  bool heap_;
  std::size_t size_ = 0;
};

// The parameter each keyword names (fixed when it names none).
std::vector<std::size_t> KeywordTargets(const MemberInfo& member, std::size_t fixed, PyObject* kwnames) {
  std::vector<std::size_t> targets;
  for (Py_ssize_t k = 0; k < PyTuple_GET_SIZE(kwnames); ++k) {
    const String name = TextOf(PyTuple_GET_ITEM(kwnames, k));
    const std::optional<std::size_t> index = ParameterIndex(member, name);
    if (!index || *index >= fixed) {
      throw py::type_error(std::string(member.name) + "() got an unexpected keyword argument '" + Utf16ToUtf8(name) +
                           "'");
    }
    targets.push_back(*index);
  }
  return targets;
}

// A result of a byte-oriented operation given bytes: its text as bytes; Empty (an empty
// text's RSA code) as no bytes.
py::object BytesResult(const Variant& result) {
  if (const String* text = result.If<String>()) {
    const std::string bytes = StringToAnsiBytes(*text);
    return py::bytes(bytes.data(), bytes.size());
  }
  if (result.IsEmpty()) return py::bytes("", 0);
  return FromVariant(result);
}

void RefuseTuple(const MemberInfo& member, const ParamInfo& param) {
  throw py::type_error(std::string(member.name) + "() changes its argument " + std::string(param.name) +
                       " in place: pass a list (or a ztldata.Array or ztldata.Ref), not a tuple");
}

py::object CallWith(Object& object, const MemberInfo& member, unsigned traits, PyObject* const* args,
                    std::size_t nargs, PyObject* kwnames) {
  const std::span<const ParamInfo> params = member.params;
  const bool has_array = !params.empty() && params.back().paramarray;
  const std::size_t fixed = params.size() - (has_array ? 1 : 0);
  std::vector<std::size_t> targets;
  std::size_t count = nargs;
  if (kwnames && PyTuple_GET_SIZE(kwnames) > 0) {
    targets = KeywordTargets(member, fixed, kwnames);
    for (std::size_t index : targets) count = std::max(count, index + 1);
  }
  // Borrowed: the caller holds the arguments for the length of the call.
  Given given(count);
  for (std::size_t i = 0; i < nargs; ++i) given[i] = args[i];
  for (std::size_t k = 0; k < targets.size(); ++k) {
    if (given[targets[k]]) {
      throw py::type_error(std::string(member.name) + "() got multiple values for argument '" +
                           std::string(params[targets[k]].name) + "'");
    }
    given[targets[k]] = args[nargs + k];
  }

  Values values(count);
  bool bytes_given = false;
  const unsigned accept = traits & (kAcceptBytes | kAcceptUnsigned);
  for (std::size_t i = 0; i < count; ++i) {
    if (!given[i]) {
      values.Push(Variant::Missing());
      continue;
    }
    const Type type = i < fixed ? params[i].type : Type::Variant;
    if ((traits & kInPlace) && i < fixed && params[i].byref && PyTuple_Check(given[i])) RefuseTuple(member, params[i]);
    if ((accept & kAcceptBytes) && type == Type::String && IsBytesLike(given[i])) bytes_given = true;
    values.Push(ToVariant(given[i], type, accept));
  }

  Variant result;
  CallFailure failure;
  const std::span<Variant> passed = values.Span();
  // Only methods: a property's let tells the object's container, which other threads use.
  const bool release = member.kind == MemberKind::Method && InputSize(passed).value_or(0) > kReleaseAbove &&
                       !dynamic_cast<const Collection*>(&object);
  Status call;
  if (release) {
    const Exclusive alone(object, true);
    call = Call(object, member, passed, result, CallForm::Dispatch, &failure);
  } else {
    const ObjectRef kept = AwaitIdle(object);
    call = Call(object, member, passed, result, CallForm::Dispatch, &failure);
  }
  if (!call) {
    RaiseError(failure.number, failure.message.empty() ? std::string(ErrorText(failure.number)) : failure.message);
  }
  for (std::size_t i = 0; i < fixed && i < count; ++i) {
    if (params[i].byref && given[i]) WriteBack(given[i], passed[i]);
  }
  if (member.result == Type::Void) return py::none();
  return bytes_given ? BytesResult(result) : FromVariant(result);
}

// Runs `f`, turning what it throws into the pending Python exception (null result).
template <class F>
PyObject* Guarded(F&& f) noexcept {
  try {
    return f();
  } catch (py::error_already_set& e) {
    e.restore();
  } catch (const py::builtin_exception& e) {
    e.set_error();
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_RuntimeError, e.what());
  }
  return nullptr;
}

std::string SignatureText(const MemberInfo& member) {
  std::string text = std::string(member.name) + "(";
  bool first = true;
  for (const ParamInfo& p : member.params) {
    if (member.kind == MemberKind::PropertyLet && p.name == "value") continue;
    text += first ? "" : ", ";
    first = false;
    if (p.paramarray) {
      text += "*" + std::string(p.name);
      continue;
    }
    text += std::string(p.name) + ": " + std::string(TypeName(p.type)) + (p.byref ? " (by reference)" : "");
    if (p.optional) {
      text += " = " + (p.default_value.is_text ? "'" + Utf16ToUtf8(p.default_value.text) + "'"
                                               : std::to_string(p.default_value.number));
    }
  }
  text += ")";
  if (member.result != Type::Void) text += " -> " + std::string(TypeName(member.result));
  return text;
}

std::string DocOf(const MemberInfo& member) {
  return SignatureText(member) + (member.help ? "\n\n" + std::string(member.help) : std::string());
}

// ---- handles ------------------------------------------------------------------------------

PyTypeObject* handle_type = nullptr;
PyTypeObject* operation_type = nullptr;  // the type of the operations' descriptors

PyObject* HandleNew(PyTypeObject* type, PyObject*, PyObject*) {
  PyObject* self = type->tp_alloc(type, 0);
  if (self) new (&reinterpret_cast<HandleObject*>(self)->object) ObjectRef();
  return self;
}

void HandleDealloc(PyObject* self) {
  PyTypeObject* type = Py_TYPE(self);
  reinterpret_cast<HandleObject*>(self)->object.~ObjectRef();
  type->tp_free(self);
  Py_DECREF(type);
}

bool Private(PyObject* name) {
  return PyUnicode_Check(name) && PyUnicode_GET_LENGTH(name) > 0 && PyUnicode_READ_CHAR(name, 0) == '_';
}

// A name the class does not hold as spelt (names ignore case) goes to the package.
PyObject* HandleGetAttr(PyObject* self, PyObject* name) {
  // The common case first: an operation spelt as the class holds it, on an object without a
  // __dict__ that could hide it, is bound at once, as the generic lookup would bind it.
  if (operation_type && Py_TYPE(self)->tp_dictoffset == 0 && PyUnicode_CheckExact(name)) {
    PyObject* operation = _PyType_Lookup(Py_TYPE(self), name);  // borrowed
    if (operation && Py_IS_TYPE(operation, operation_type)) return PyMethod_New(operation, self);
  }
  PyObject* found = PyObject_GenericGetAttr(self, name);
  if (found || !PyErr_ExceptionMatches(PyExc_AttributeError) || !PyUnicode_Check(name) || Private(name) ||
      !Types()) {
    return found;
  }
  PyErr_Clear();
  return Guarded([&] { return Types()->get_other(py::handle(self), py::handle(name)).release().ptr(); });
}

int HandleSetAttr(PyObject* self, PyObject* name, PyObject* value) {
  if (!value || !PyUnicode_Check(name) || Private(name) || !Types()) return PyObject_GenericSetAttr(self, name, value);
  PyObject* descriptor = _PyType_Lookup(Py_TYPE(self), name);
  if (descriptor && Py_TYPE(descriptor)->tp_descr_set) return PyObject_GenericSetAttr(self, name, value);
  PyObject* done = Guarded([&] {
    return Types()->set_other(py::handle(self), py::handle(name), py::handle(value)).release().ptr();
  });
  Py_XDECREF(done);
  return done ? 0 : -1;
}

PyObject* HandleCompare(PyObject* a, PyObject* b, int op) {
  const ObjectRef* left = RefOf(a);
  const ObjectRef* right = RefOf(b);
  if ((op != Py_EQ && op != Py_NE) || !left || !right) Py_RETURN_NOTIMPLEMENTED;
  return PyBool_FromLong((left->get() == right->get()) == (op == Py_EQ));
}

Py_hash_t HandleHash(PyObject* self) {
  const auto hash = static_cast<Py_hash_t>(std::hash<const void*>()(RefOf(self)->get()));
  return hash == -1 ? -2 : hash;
}

// ---- operations ---------------------------------------------------------------------------

struct OperationObject {
  PyObject_HEAD
  vectorcallfunc vectorcall;
  const ClassInfo* info;
  const MemberInfo* member;
  unsigned traits;
  PyObject* signature;  // made on first use
};

Object& OwnObject(PyObject* self, const ClassInfo* info, std::string_view member) {
  ObjectRef* ref = RefOf(self);
  if (!ref || !*ref || (*ref)->Class() != info) {
    throw py::type_error(std::string(member) + "() of " + std::string(info->name) + " does not apply to a '" +
                         Py_TYPE(self)->tp_name + "' object");
  }
  return **ref;
}

PyObject* OperationCall(PyObject* callable, PyObject* const* args, std::size_t nargsf, PyObject* kwnames) {
  auto* op = reinterpret_cast<OperationObject*>(callable);
  const std::size_t nargs = PyVectorcall_NARGS(nargsf);
  return Guarded([&] {
    if (nargs == 0) throw py::type_error(std::string(op->member->name) + "() needs the object it is called on");
    Object& object = OwnObject(args[0], op->info, op->member->name);
    return CallWith(object, *op->member, op->traits, args + 1, nargs - 1, kwnames).release().ptr();
  });
}

PyObject* OperationGet(PyObject* self, PyObject* owner, PyObject*) {
  if (!owner || owner == Py_None) return Py_NewRef(self);
  return PyMethod_New(self, owner);
}

void OperationDealloc(PyObject* self) {
  PyTypeObject* type = Py_TYPE(self);
  Py_XDECREF(reinterpret_cast<OperationObject*>(self)->signature);
  type->tp_free(self);
  Py_DECREF(type);
}

PyObject* OperationName(PyObject* self, void*) {
  const std::string_view name = reinterpret_cast<OperationObject*>(self)->member->name;
  return PyUnicode_FromStringAndSize(name.data(), static_cast<Py_ssize_t>(name.size()));
}

PyObject* OperationQualName(PyObject* self, void*) {
  const auto* op = reinterpret_cast<OperationObject*>(self);
  const std::string name = std::string(op->info->name) + "." + std::string(op->member->name);
  return PyUnicode_FromStringAndSize(name.data(), static_cast<Py_ssize_t>(name.size()));
}

PyObject* OperationClassName(PyObject* self, void*) {
  const std::string_view name = reinterpret_cast<OperationObject*>(self)->info->name;
  return PyUnicode_FromStringAndSize(name.data(), static_cast<Py_ssize_t>(name.size()));
}

PyObject* OperationTraits(PyObject* self, void*) {
  return PyLong_FromUnsignedLong(reinterpret_cast<OperationObject*>(self)->traits);
}

PyObject* OperationDoc(PyObject* self, void*) {
  return Guarded([&] { return py::str(DocOf(*reinterpret_cast<OperationObject*>(self)->member)).release().ptr(); });
}

PyObject* OperationSignature(PyObject* self, void*) {
  auto* op = reinterpret_cast<OperationObject*>(self);
  if (!Types()) {
    PyErr_SetString(PyExc_ValueError, "ztldata: the package did not register its classes");
    return nullptr;
  }
  if (!op->signature) {
    op->signature = Guarded([&] { return Types()->signature(py::handle(self)).release().ptr(); });
  }
  return Py_XNewRef(op->signature);
}

PyObject* OperationRepr(PyObject* self) {
  const auto* op = reinterpret_cast<OperationObject*>(self);
  return Guarded([&] {
    return py::str("<ztldata operation " + std::string(op->info->name) + "." + SignatureText(*op->member) + ">")
        .release()
        .ptr();
  });
}

// ---- properties ---------------------------------------------------------------------------

struct PropertyObject {
  PyObject_HEAD
  const ClassInfo* info;
  const MemberInfo* get;  // null for a property that is only set
  const MemberInfo* let;  // null for a read-only property
};

PyTypeObject* property_type = nullptr;

// Raises the failure of a property used the way it cannot be: read when it is only set, or
// set when it is read-only.
[[noreturn]] void Unresolved(const ClassInfo& info, const MemberInfo& member, MemberKind kind) {
  CallFailure failure;
  ResolveMember(&info, MemberKey::Name(member.name), kind, &failure);
  RaiseError(failure.number, failure.message, true);
}

PyObject* PropertyGet(PyObject* self, PyObject* owner, PyObject*) {
  if (!owner || owner == Py_None) return Py_NewRef(self);
  const auto* p = reinterpret_cast<PropertyObject*>(self);
  return Guarded([&] {
    const MemberInfo* member = p->get ? p->get : p->let;
    Object& object = OwnObject(owner, p->info, member->name);
    if (!p->get) Unresolved(*p->info, *member, MemberKind::PropertyGet);
    return CallWith(object, *p->get, 0, nullptr, 0, nullptr).release().ptr();
  });
}

int PropertySet(PyObject* self, PyObject* owner, PyObject* value) {
  const auto* p = reinterpret_cast<PropertyObject*>(self);
  PyObject* done = Guarded([&] {
    const MemberInfo* member = p->let ? p->let : p->get;
    Object& object = OwnObject(owner, p->info, member->name);
    if (!value) throw py::type_error("the property " + std::string(member->name) + " cannot be deleted");
    if (!p->let) Unresolved(*p->info, *member, MemberKind::PropertyLet);
    return CallWith(object, *p->let, 0, &value, 1, nullptr).release().ptr();
  });
  Py_XDECREF(done);
  return done ? 0 : -1;
}

void PropertyDealloc(PyObject* self) {
  PyTypeObject* type = Py_TYPE(self);
  type->tp_free(self);
  Py_DECREF(type);
}

PyObject* PropertyDoc(PyObject* self, void*) {
  const auto* p = reinterpret_cast<PropertyObject*>(self);
  const MemberInfo& member = p->get ? *p->get : *p->let;
  const Type type = p->get ? member.result : member.params.back().type;
  std::string text = std::string(member.name) + ": " + std::string(TypeName(type)) + (p->let ? "" : " (read-only)");
  if (member.help) text += "\n\n" + std::string(member.help);
  return Guarded([&] { return py::str(text).release().ptr(); });
}

PyObject* PropertyName(PyObject* self, void*) {
  const auto* p = reinterpret_cast<PropertyObject*>(self);
  const std::string_view name = (p->get ? p->get : p->let)->name;
  return PyUnicode_FromStringAndSize(name.data(), static_cast<Py_ssize_t>(name.size()));
}

// ---- the types ----------------------------------------------------------------------------

PyGetSetDef kOperationGetSet[] = {
    {"__name__", OperationName, nullptr, nullptr, nullptr},
    {"__qualname__", OperationQualName, nullptr, nullptr, nullptr},
    {"__doc__", OperationDoc, nullptr, nullptr, nullptr},
    {"__signature__", OperationSignature, nullptr, nullptr, nullptr},
    {"_class_name", OperationClassName, nullptr, nullptr, nullptr},
    {"_traits", OperationTraits, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyMemberDef kOperationMembers[] = {
    {"__vectorcalloffset__", T_PYSSIZET, offsetof(OperationObject, vectorcall), READONLY, nullptr},
    {nullptr, 0, 0, 0, nullptr},
};

PyGetSetDef kPropertyGetSet[] = {
    {"__name__", PropertyName, nullptr, nullptr, nullptr},
    {"__doc__", PropertyDoc, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyTypeObject* MakeType(PyType_Spec& layout) {
  PyObject* type = PyType_FromSpec(&layout);
  if (!type) throw py::error_already_set();
  return reinterpret_cast<PyTypeObject*>(type);  // kept for the life of the process
}

py::object NewOperation(const ClassInfo& info, const MemberInfo& member) {
  PyObject* self = operation_type->tp_alloc(operation_type, 0);
  if (!self) throw py::error_already_set();
  auto* op = reinterpret_cast<OperationObject*>(self);
  op->vectorcall = OperationCall;
  op->info = &info;
  op->member = &member;
  op->traits = TraitsOf(&info, member);
  op->signature = nullptr;
  return py::reinterpret_steal<py::object>(self);
}

py::object NewProperty(const ClassInfo& info, const MemberInfo* get, const MemberInfo* let) {
  PyObject* self = property_type->tp_alloc(property_type, 0);
  if (!self) throw py::error_already_set();
  auto* p = reinterpret_cast<PropertyObject*>(self);
  p->info = &info;
  p->get = get;
  p->let = let;
  return py::reinterpret_steal<py::object>(self);
}

std::size_t Required(const MemberInfo& member) {
  std::size_t required = 0;
  for (const ParamInfo& p : member.params) required += p.optional || p.paramarray ? 0 : 1;
  return required;
}

}  // namespace

void AddHandleType(py::module_& module) {
  static PyType_Slot slots[] = {
      {Py_tp_new, reinterpret_cast<void*>(HandleNew)},
      {Py_tp_dealloc, reinterpret_cast<void*>(HandleDealloc)},
      {Py_tp_getattro, reinterpret_cast<void*>(HandleGetAttr)},
      {Py_tp_setattro, reinterpret_cast<void*>(HandleSetAttr)},
      {Py_tp_richcompare, reinterpret_cast<void*>(HandleCompare)},
      {Py_tp_hash, reinterpret_cast<void*>(HandleHash)},
      {Py_tp_doc, const_cast<char*>("A reference to a library object: the base of ztldata.Object.")},
      {0, nullptr},
  };
  static PyType_Spec handle_layout = {"ztldata._ztldata.Handle", sizeof(HandleObject), 0,
                                      Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE, slots};
  handle_type = MakeType(handle_layout);
  module.attr("Handle") = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(handle_type));
}

PyTypeObject* HandleType() noexcept { return handle_type; }

ObjectRef* RefOf(py::handle value) noexcept {
  if (!handle_type || !PyObject_TypeCheck(value.ptr(), handle_type)) return nullptr;
  return &reinterpret_cast<HandleObject*>(value.ptr())->object;
}

Object& ObjectOf(py::handle value) {
  ObjectRef* ref = RefOf(value);
  if (!ref) {
    throw py::type_error("ztldata: a library object was expected, not '" + std::string(Py_TYPE(value.ptr())->tp_name) +
                         "'");
  }
  if (!*ref) throw py::type_error("ztldata: the handle holds no object");
  return **ref;
}

py::object NewHandle(ObjectRef object) {
  py::object handle = py::reinterpret_steal<py::object>(HandleNew(handle_type, nullptr, nullptr));
  if (!handle) throw py::error_already_set();
  reinterpret_cast<HandleObject*>(handle.ptr())->object = std::move(object);
  return handle;
}

void AddDescriptorTypes(py::module_& module) {
  static PyType_Slot operation_slots[] = {
      {Py_tp_dealloc, reinterpret_cast<void*>(OperationDealloc)},
      {Py_tp_descr_get, reinterpret_cast<void*>(OperationGet)},
      {Py_tp_call, reinterpret_cast<void*>(PyVectorcall_Call)},
      {Py_tp_getset, kOperationGetSet},
      {Py_tp_members, kOperationMembers},
      {Py_tp_repr, reinterpret_cast<void*>(OperationRepr)},
      {0, nullptr},
  };
  static PyType_Spec operation_layout = {
      "ztldata._ztldata.Operation", sizeof(OperationObject), 0,
      Py_TPFLAGS_DEFAULT | Py_TPFLAGS_METHOD_DESCRIPTOR | Py_TPFLAGS_HAVE_VECTORCALL |
          Py_TPFLAGS_DISALLOW_INSTANTIATION,
      operation_slots};
  static PyType_Slot property_slots[] = {
      {Py_tp_dealloc, reinterpret_cast<void*>(PropertyDealloc)},
      {Py_tp_descr_get, reinterpret_cast<void*>(PropertyGet)},
      {Py_tp_descr_set, reinterpret_cast<void*>(PropertySet)},
      {Py_tp_getset, kPropertyGetSet},
      {0, nullptr},
  };
  static PyType_Spec property_layout = {"ztldata._ztldata.Property", sizeof(PropertyObject), 0,
                                        Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION, property_slots};
  operation_type = MakeType(operation_layout);
  property_type = MakeType(property_layout);
  module.attr("Operation") = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(operation_type));
  module.attr("Property") = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(property_type));
}

py::object CallMember(Object& object, const MemberInfo& member, PyObject* const* args, std::size_t nargs,
                      PyObject* kwnames) {
  return CallWith(object, member, TraitsOf(object.Class(), member), args, nargs, kwnames);
}

void AwaitComponents(const Container& form) {
  for (;;) {
    const auto& placed = form.Components();
    const auto busy =
        std::find_if(placed.begin(), placed.end(), [](const auto& entry) { return IsBusy(*entry.second); });
    if (busy == placed.end()) return;  // and stays so while this thread holds the GIL
    AwaitIdle(*busy->second);
  }
}

py::list Descriptors(const ClassInfo& info) {
  py::list out;
  std::vector<std::string_view> done;
  for (const MemberInfo& m : info.members) {
    if (std::find(done.begin(), done.end(), m.name) != done.end()) continue;
    done.push_back(m.name);
    if (m.kind == MemberKind::Method) {
      out.append(py::make_tuple(std::string(m.name), NewOperation(info, m)));
      continue;
    }
    const MemberInfo* get = ResolveMember(&info, MemberKey::Name(m.name), MemberKind::PropertyGet);
    const MemberInfo* let = ResolveMember(&info, MemberKey::Name(m.name), MemberKind::PropertyLet);
    const bool indexed = (get && Required(*get) > 0) || (let && let->params.size() > 1);
    out.append(py::make_tuple(std::string(m.name), indexed ? py::object(py::none()) : NewProperty(info, get, let)));
  }
  return out;
}

}  // namespace ztl::python
