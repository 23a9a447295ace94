// Python values <-> Variants: the scalar kinds, the package's typed wrappers, arrays (lists
// and ztldata.Array), object references, and the write-back of by-reference arguments.

#include "values.hpp"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::python {

namespace {

// Deeper nesting than this (lists in lists, or a list that holds itself) is refused.
constexpr int kMaxDepth = 64;
// The platform's limit on the dimensions of an array.
constexpr std::size_t kMaxDims = 60;

PythonTypes* registered = nullptr;

const PythonTypes& T() {
  if (!registered) throw py::type_error("ztldata: the package did not register its value classes");
  return *registered;
}

bool Is(py::handle value, const py::object& type) {
  const int is = PyObject_IsInstance(value.ptr(), type.ptr());
  if (is < 0) throw py::error_already_set();
  return is == 1;
}

std::string TypeNameOf(py::handle value) { return Py_TYPE(value.ptr())->tp_name; }

// A Python int as a 64-bit number; false when it lies beyond.
bool AsInt64(py::handle value, long long& out) {
  int overflow = 0;
  out = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
  if (out == -1 && PyErr_Occurred()) throw py::error_already_set();
  return overflow == 0;
}

double AsDouble(py::handle value) {
  const double x = PyFloat_AsDouble(value.ptr());
  if (x == -1.0 && PyErr_Occurred()) throw py::error_already_set();
  return x;
}

// A whole number of a typed wrapper, checked against its kind's range.
long long WholeIn(py::handle value, long long low, long long high, const char* kind) {
  long long n = 0;
  if (!AsInt64(value, n) || n < low || n > high) {
    RaiseError(kOverflow, std::string(ErrorText(kOverflow)) + ": " + py::str(value).cast<std::string>() +
                              " is outside the " + kind + " range");
  }
  return n;
}

// A Python int: a Long when it fits, a Double otherwise.
Variant FromInt(py::handle value) {
  long long n = 0;
  if (AsInt64(value, n) && n >= std::numeric_limits<Long>::min() && n <= std::numeric_limits<Long>::max()) {
    return static_cast<Long>(n);
  }
  const double x = PyLong_AsDouble(value.ptr());
  if (x == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    RaiseError(kOverflow, std::string(ErrorText(kOverflow)) + ": the integer is too large even for a Double");
  }
  return x;
}

Variant FromDecimal(py::handle value) {
  // str() writes an exponent where the digits would be many, so the text stays short; the
  // scale it shows is kept (Decimal('1.50') stays 1.50).
  const String text = TextOf(py::str(value));
  const Outcome<Decimal> d = ScaledTextToDecimal(text);
  if (!d) {
    RaiseError(d.error(), std::string(ErrorText(d.error())) + ": decimal " + Utf16ToUtf8(text) +
                              " does not fit a Decimal");
  }
  return *d;
}

VarType ElementType(py::handle code) {
  long long n = -1;
  if (!PyLong_Check(code.ptr()) || !AsInt64(code, n)) n = -1;
  switch (n) {
    case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 10: case 11: case 12: case 14: case 17:
      return static_cast<VarType>(n);
    default: throw py::type_error("ztldata.Array: no element type with code " + py::repr(code).cast<std::string>());
  }
}

// A typed wrapper holding a value as it is, base.__new__(cls, value): the wrapper's own
// constructor would convert it again.
py::object Wrapped(const py::object& cls, PyTypeObject* base, const py::object& value) {
  return py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(base)).attr("__new__")(cls, value);
}

Variant ToVariantAt(py::handle value, Type parameter, unsigned accept, int depth);

SafeArray ArrayOf(py::handle array, int depth) {
  const VarType element = ElementType(array.attr("_of"));
  const py::tuple bounds_given(py::reinterpret_steal<py::object>(PySequence_Tuple(array.attr("_bounds").ptr())));
  if (!bounds_given) throw py::error_already_set();
  const py::tuple items(py::reinterpret_steal<py::object>(PySequence_Tuple(array.attr("_items").ptr())));
  if (!items) throw py::error_already_set();
  if (bounds_given.size() > kMaxDims) throw py::type_error("ztldata.Array: more than 60 dimensions");
  std::vector<ArrayBound> bounds;
  std::size_t total = bounds_given.empty() ? 0 : 1;
  for (py::handle b : bounds_given) {
    const py::tuple pair(py::reinterpret_steal<py::object>(PySequence_Tuple(b.ptr())));
    if (!pair) throw py::error_already_set();
    long long lower = 0, upper = 0;
    if (pair.size() != 2 || !PyLong_Check(pair[0].ptr()) || !PyLong_Check(pair[1].ptr()) ||
        !AsInt64(pair[0], lower) || !AsInt64(pair[1], upper) || lower < std::numeric_limits<Long>::min() ||
        upper > std::numeric_limits<Long>::max() || upper < lower - 1) {
      throw py::type_error("ztldata.Array: each bound must be (lower, upper) within the Long range, upper >= lower - 1");
    }
    const auto count = static_cast<std::size_t>(upper - lower + 1);
    bounds.push_back({static_cast<Long>(lower), static_cast<Long>(count)});
    total = count != 0 && total > items.size() / count + 1 ? items.size() + 1 : total * count;
  }
  if (total != items.size()) throw py::type_error("ztldata.Array: the bounds do not match the number of items");
  SafeArray result = bounds.empty() ? SafeArray(element) : SafeArray(element, std::move(bounds));
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (const Status put = result.Put(i, ToVariantAt(items[i], Type::Variant, 0, depth + 1)); !put) {
      RaiseError(put.error(), std::string(ErrorText(put.error())) + ": array item " + std::to_string(i) +
                                  " cannot be " + std::string(VarTypeName(element)));
    }
  }
  return result;
}

// A Python int: a typed wrapper keeps its kind, a plain int is a Long or a Double.
Variant FromWholeNumber(py::handle value, const PythonTypes& t) {
  if (Is(value, t.integer)) return static_cast<Integer>(WholeIn(value, -32768, 32767, "Integer"));
  if (Is(value, t.byte)) return static_cast<Byte>(WholeIn(value, 0, 255, "Byte"));
  if (Is(value, t.long_)) {
    return static_cast<Long>(WholeIn(value, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max(), "Long"));
  }
  return FromInt(value);
}

// A Python float: a typed wrapper keeps its kind, a plain float is a Double.
Variant FromReal(py::handle value, const PythonTypes& t) {
  if (Is(value, t.single)) {
    const double x = AsDouble(value);
    if (std::isfinite(x) && std::fabs(x) > std::numeric_limits<float>::max()) {
      RaiseError(kOverflow, std::string(ErrorText(kOverflow)) + ": " + py::repr(value).cast<std::string>() +
                                " is outside the Single range");
    }
    return static_cast<Single>(x);
  }
  if (Is(value, t.currency)) {
    const py::object scaled = value.attr("scaled");
    long long n = 0;
    if (!PyLong_Check(scaled.ptr()) || !AsInt64(scaled, n)) {
      RaiseError(kOverflow, std::string(ErrorText(kOverflow)) + ": the Currency is out of range");
    }
    return Currency{n};
  }
  if (Is(value, t.date)) return Date{AsDouble(value)};
  return AsDouble(value);
}

// A list or tuple: an array of Variants from 0.
Variant FromSequence(py::handle value, int depth) {
  // A snapshot: converting an item may run Python code that changes the list.
  const py::tuple items(py::reinterpret_steal<py::object>(PySequence_Tuple(value.ptr())));
  if (!items) throw py::error_already_set();
  std::vector<Variant> elements;
  elements.reserve(items.size());
  for (py::handle item : items) elements.push_back(ToVariantAt(item, Type::Variant, 0, depth + 1));
  return SafeArray::Of(std::move(elements), 0);
}

// What the library has no kind for but reads as one: a file system path (pathlib.Path) as its
// text, for ZtBits' file names, and other whole numbers (a device context, numpy's integers)
// by their index.
std::optional<Variant> FromProtocol(py::handle value) {
  PyObject* p = value.ptr();
  if (PyObject_HasAttrString(p, "__fspath__")) {
    const py::object path = py::reinterpret_steal<py::object>(PyOS_FSPath(p));
    if (!path) throw py::error_already_set();
    if (PyUnicode_Check(path.ptr())) return TextOf(path);
  }
  if (PyIndex_Check(p)) {
    const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(p));
    if (!index) throw py::error_already_set();
    return FromInt(index);
  }
  return std::nullopt;
}

// A bytes-like value as the text of its bytes in the ANSI code page.
String FromBytes(py::handle value) {
  Py_buffer view;
  if (PyObject_GetBuffer(value.ptr(), &view, PyBUF_SIMPLE) != 0) throw py::error_already_set();
  const std::string_view bytes(static_cast<const char*>(view.buf), static_cast<std::size_t>(view.len));
  String text = AnsiBytesToString(bytes);
  PyBuffer_Release(&view);
  return text;
}

// A plain int for a Long parameter that takes 32-bit patterns: 2^31..2^32-1 is the negative
// Long of the same bits (0xEDB88320 for -306674912).
Variant FromBits(py::handle value) {
  long long n = 0;
  if (AsInt64(value, n) && n > std::numeric_limits<Long>::max() && n <= 0xFFFFFFFFLL) {
    return static_cast<Long>(static_cast<std::uint32_t>(n));
  }
  return FromInt(value);
}

// The kinds most arguments are, without looking at the package's classes.
std::optional<Variant> FromPlain(PyObject* p, Type parameter, unsigned accept) {
  if (PyLong_CheckExact(p)) {
    return parameter == Type::Long && (accept & kAcceptUnsigned) ? FromBits(p) : FromInt(p);
  }
  if (PyFloat_CheckExact(p)) return PyFloat_AS_DOUBLE(p);
  if (PyUnicode_CheckExact(p)) return TextOf(p);
  if (PyBool_Check(p)) return p == Py_True;
  if (p == Py_None) {
    if (parameter == Type::Object || parameter == Type::Collection) return Variant(nullptr);
    return Variant();
  }
  if ((accept & kAcceptBytes) && parameter == Type::String && IsBytesLike(p)) return FromBytes(p);
  if (ObjectRef* ref = RefOf(p)) {
    if (!*ref) throw py::type_error("ztldata: the object holds no library object");
    return *ref;
  }
  return std::nullopt;
}

Variant ToVariantAt(py::handle value, Type parameter, unsigned accept, int depth) {
  if (depth > kMaxDepth) {
    RaiseError(kTypeMismatch, std::string(ErrorText(kTypeMismatch)) + ": a value nested more than " +
                                  std::to_string(kMaxDepth) + " levels deep");
  }
  PyObject* p = value.ptr();
  if (std::optional<Variant> plain = FromPlain(p, parameter, accept)) return *std::move(plain);
  const PythonTypes& t = T();
  if (value.is(t.empty)) return Variant();
  if (value.is(t.null)) return Null;
  if (value.is(t.missing)) return Variant::Missing();
  if (PyLong_Check(p)) return FromWholeNumber(value, t);
  if (PyFloat_Check(p)) return FromReal(value, t);
  if (PyUnicode_Check(p)) return TextOf(value);
  if (Is(value, t.decimal)) return FromDecimal(value);
  // ztldata.Date counts the days of a datetime or date.
  if (Is(value, t.date_only)) return Date{AsDouble(t.date(value))};
  if (Is(value, t.array)) return ArrayOf(value, depth);
  if (Is(value, t.ref)) return ToVariantAt(value.attr("value"), parameter, accept, depth + 1);
  if (Is(value, t.error_value)) {
    const py::object code = value.attr("code");
    return ErrorValue{static_cast<std::int32_t>(
        PyLong_Check(code.ptr()) ? WholeIn(code, std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max(), "error code")
                                 : 0)};
  }
  if (PyList_Check(p) || PyTuple_Check(p)) return FromSequence(value, depth);
  if (std::optional<Variant> read = FromProtocol(value)) return *std::move(read);
  if (IsBytesLike(p)) {
    throw py::type_error("ztldata passes bytes only to the byte operations (CRC-32, run-length coding, the "
                         "ciphers, RSA, EBCDIC); give text as str");
  }
  throw py::type_error("ztldata cannot pass a value of type '" + TypeNameOf(value) + "'");
}

py::object ArrayObject(const SafeArray& array, bool lists) {
  const PythonTypes& t = T();
  if (lists && array.Dims() == 1 && array.Bounds()[0].lower == 0 && array.ElementType() == VarType::Variant) {
    py::list items(array.Size());
    for (std::size_t i = 0; i < array.Size(); ++i) items[i] = FromVariant(array.Elements()[i], true);
    return items;
  }
  py::list bounds;
  for (const ArrayBound& b : array.Bounds()) {
    bounds.append(py::make_tuple(b.lower, static_cast<long long>(b.lower) + b.count - 1));
  }
  py::list items(array.Size());
  for (std::size_t i = 0; i < array.Size(); ++i) items[i] = FromVariant(array.Elements()[i], lists);
  return t.array.attr("_from_parts")(static_cast<int>(array.ElementType()), bounds, items);
}

}  // namespace

const PythonTypes* Types() noexcept { return registered; }

void RegisterTypes(const py::dict& names) {
  // Kept for the life of the process: the conversions may run until the interpreter ends.
  auto* types = new PythonTypes;
  auto get = [&](const char* name) -> py::object {
    if (!names.contains(name)) throw py::key_error(std::string("ztldata: missing class ") + name);
    return names[name];
  };
  types->empty = get("Empty");
  types->null = get("Null");
  types->missing = get("Missing");
  types->integer = get("Integer");
  types->byte = get("Byte");
  types->single = get("Single");
  types->currency = get("Currency");
  types->long_ = get("Long");
  types->double_ = get("Double");
  types->date = get("Date");
  types->error_value = get("ErrorValue");
  types->array = get("Array");
  types->ref = get("Ref");
  types->device_context = get("DeviceContext");
  types->error = get("Error");
  types->member_error = get("MemberError");
  types->wrap = get("_wrap");
  types->rebind = get("_rebind");
  types->get_other = get("_get_other");
  types->set_other = get("_set_other");
  types->signature = get("_signature");
  types->decimal = py::module_::import("decimal").attr("Decimal");
  types->date_only = py::module_::import("datetime").attr("date");
  registered = types;
}

void Raise(const py::object& type, Long number, const py::object& message) {
  // Error(number, ...) makes the class of the number (OutOfRangeError for 6 ...): raised as
  // that class, so `except OverflowError` sees it.
  const py::object error = type(number, message);
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

void RaiseError(Long number, const std::string& message, bool member) {
  const PythonTypes& t = T();
  Raise(member ? t.member_error : t.error, number, py::str(message));
}

String TextOf(py::handle text) {
  PyObject* p = text.ptr();
  if (!PyUnicode_Check(p)) throw py::type_error("ztldata: a text must be a str");
  // Python's own UTF-16 codec pairs each code point past U+FFFF; "surrogatepass" keeps a lone
  // surrogate the code unit it is, so TextObject gives the same str back.
  static_assert(std::endian::native == std::endian::little);
  const py::object units =
      py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(p, "utf-16-le", "surrogatepass"));
  if (!units) throw py::error_already_set();
  String out(static_cast<std::size_t>(PyBytes_GET_SIZE(units.ptr())) / 2, u'\0');
  std::memcpy(out.data(), PyBytes_AS_STRING(units.ptr()), out.size() * 2);
  return out;
}

py::object TextObject(std::u16string_view text) {
  int byte_order = -1;  // little-endian, as the code units lie in memory on this platform
  static_assert(std::endian::native == std::endian::little);
  const py::object out = py::reinterpret_steal<py::object>(PyUnicode_DecodeUTF16(
      reinterpret_cast<const char*>(text.data()), static_cast<Py_ssize_t>(text.size() * 2), "surrogatepass",
      &byte_order));
  if (!out) throw py::error_already_set();
  return out;
}

Variant ToVariant(py::handle value, Type parameter, unsigned accept) {
  return ToVariantAt(value, parameter, accept, 0);
}

bool IsBytesLike(py::handle value) noexcept { return PyObject_CheckBuffer(value.ptr()) != 0; }

py::object FromVariant(const Variant& v, bool lists) {
  const PythonTypes& t = T();
  return v.Visit(Overloaded{
      [&](EmptyValue) { return t.empty; },
      [&](NullValue) { return t.null; },
      [](Boolean b) -> py::object { return py::bool_(b); },
      [&](Byte b) { return Wrapped(t.byte, &PyLong_Type, py::int_(b)); },
      [&](Integer i) { return Wrapped(t.integer, &PyLong_Type, py::int_(i)); },
      [](Long l) -> py::object { return py::int_(l); },
      [&](Currency c) { return t.currency.attr("_from_scaled")(c.scaled); },
      [&](Single s) { return Wrapped(t.single, &PyFloat_Type, py::float_(s)); },
      [](Double d) -> py::object { return py::float_(d); },
      [&](Date d) { return Wrapped(t.date, &PyFloat_Type, py::float_(d.value)); },
      [&](const Decimal& d) { return t.decimal(TextObject(DecimalToScaledText(d))); },
      [](const String& s) { return TextObject(s); },
      [&](const ObjectRef& o) { return o ? t.wrap(NewHandle(o)) : py::object(py::none()); },
      [&](ErrorValue e) { return t.error_value(e.code); },
      [&](const SafeArray& a) { return ArrayObject(a, lists); },
  });
}

py::object Convert(py::handle value, int code) {
  const auto type = static_cast<VarType>(code);
  switch (type) {
    case VarType::Integer: case VarType::Long: case VarType::Single: case VarType::Double:
    case VarType::Currency: case VarType::Date: case VarType::Byte:
      break;
    default: throw py::value_error("ztldata: no typed wrapper for type code " + std::to_string(code));
  }
  const Outcome<Variant> converted = ChangeType(ToVariant(value), type);
  if (!converted) {
    const Long number = converted.error();
    const char* format = number == kOverflow ? "{}: {!r} is outside the {} range" : "{}: {!r} cannot be a {}";
    Raise(T().error, number, py::str(format).format(ErrorText(number), value, VarTypeName(type)));
  }
  return converted->Visit(Overloaded{
      [](Integer i) -> py::object { return py::int_(i); },
      [](Long l) -> py::object { return py::int_(l); },
      [](Byte b) -> py::object { return py::int_(b); },
      [](Single s) -> py::object { return py::float_(s); },
      [](Double d) -> py::object { return py::float_(d); },
      [](Date d) -> py::object { return py::float_(d.value); },
      [](Currency c) -> py::object { return py::int_(c.scaled); },
      [](const auto&) -> py::object { return py::none(); },  // no other kind comes out
  });
}

py::object Text(py::handle value) {
  const Variant v = ToVariant(value);
  const Outcome<String> text = ToString(v);
  if (!text) {
    RaiseError(text.error(), std::string(ErrorText(text.error())) + ": a " + std::string(VarTypeName(v.Type())) +
                                 " has no text");
  }
  return TextObject(*text);
}

void WriteBack(py::handle given, const Variant& value) {
  const PythonTypes& t = T();
  if (PyList_Check(given.ptr())) {
    // A list takes the array's items; another kind of value cannot live in a list.
    const SafeArray* array = value.If<SafeArray>();
    if (!array) return;
    py::list items(array->Size());
    for (std::size_t i = 0; i < array->Size(); ++i) items[i] = FromVariant(array->Elements()[i], true);
    if (PyList_SetSlice(given.ptr(), 0, PY_SSIZE_T_MAX, items.ptr()) != 0) throw py::error_already_set();
  } else if (Is(given, t.ref)) {
    given.attr("value") = FromVariant(value, true);
  } else if (Is(given, t.array)) {
    const SafeArray* array = value.If<SafeArray>();
    if (!array) return;
    const py::object fresh = ArrayObject(*array, false);
    given.attr("_assign")(fresh.attr("_of"), fresh.attr("_bounds"), fresh.attr("_items"));
  } else if (RefOf(given)) {
    // The operation may have put another object in the variable: the wrapper follows it.
    const ObjectRef* object = value.If<ObjectRef>();
    if (object && *object && *object != *RefOf(given)) t.rebind(given, NewHandle(*object));
  }
}

}  // namespace ztl::python
