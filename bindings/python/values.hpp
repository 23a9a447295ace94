// Python values <-> Variants for the ztldata Python module, the handle type that holds a
// library object, and the Python classes the conversion builds (typed wrappers, Date, Array,
// objects) as the package registers them. members.hpp has the late-bound calls.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

#include "ztldata/frame/object.hpp"

namespace ztl::python {

namespace py = pybind11;

// The Python side's classes and sentinels, registered once by the package when it loads.
struct PythonTypes {
  py::object empty, null, missing;
  py::object integer, byte, single, currency, long_, double_, date, error_value;
  py::object array, ref, device_context;
  py::object error, member_error;
  py::object wrap;       // wrap(handle) -> the Python object for a library object
  py::object rebind;     // rebind(wrapper, handle): a wrapper passed by reference follows a new object
  py::object get_other;  // get_other(wrapper, name): an attribute the class does not hold as it is spelt
  py::object set_other;  // set_other(wrapper, name, value): the same for setting one
  py::object signature;  // signature(descriptor) -> its inspect.Signature
  py::object decimal, date_only;  // decimal.Decimal, datetime.date (datetime derives from it)
};
// Null until the package registered its classes.
const PythonTypes* Types() noexcept;
void RegisterTypes(const py::dict& names);

// Raises ztldata.Error (or ztldata.MemberError, which is also an AttributeError) with the
// platform's error number and a message, as the class the package gives that number (a
// TypeMismatchError, also a TypeError, for 13 ...).
[[noreturn]] void RaiseError(Long number, const std::string& message, bool member = false);
// The same with the error class given and the message a Python text.
[[noreturn]] void Raise(const py::object& type, Long number, const py::object& message);

// A library object as Python holds it: an instance of _ztldata.Handle, the base class of
// ztldata.Object, holding a shared reference. Handles compare and hash by the object.
struct HandleObject {
  PyObject_HEAD
  ObjectRef object;
};
// Creates the type (once, when the module loads) and adds it to the module.
void AddHandleType(py::module_& module);
PyTypeObject* HandleType() noexcept;
// The reference a handle (or a subclass's instance) holds; null for another value.
ObjectRef* RefOf(py::handle value) noexcept;
// The object a handle holds; raises TypeError for another value or an empty handle.
Object& ObjectOf(py::handle value);
// A new bare handle holding `object`.
py::object NewHandle(ObjectRef object);

// Python text <-> String, keeping lone surrogates as the code units they are.
String TextOf(py::handle text);
py::object TextObject(std::u16string_view text);

// What a parameter takes beyond the usual conversions.
enum Accept : unsigned {
  kAcceptBytes = 1,     // a String parameter takes bytes-like values through the ANSI code page
  kAcceptUnsigned = 2,  // a Long parameter takes 2^31..2^32-1 as the Long of the same 32 bits
};

// A Python value as a Variant for a parameter of the given type: None is Nothing for an
// object parameter and Empty otherwise. Raises TypeError for a value with no Variant
// counterpart and ztldata.Error for one outside every range.
Variant ToVariant(py::handle value, Type parameter = Type::Variant, unsigned accept = 0);

// True for bytes, bytearray, memoryview and other objects with a buffer.
bool IsBytesLike(py::handle value) noexcept;

// A Variant as a Python value. With `lists`, a one-dimensional array of Variants counting from
// 0 becomes a list (as a list given by reference comes back); otherwise a ztldata.Array.
py::object FromVariant(const Variant& value, bool lists = false);

// A Python value converted by the library's rules to one of the typed wrappers' kinds
// (Integer, Long, Byte, Single, Double, Currency, Date by type code), as a plain int or float
// (a Currency as its scaled int). Raises ztldata.Error 13 or 6 when it does not convert.
py::object Convert(py::handle value, int code);

// The library's text of a Python value as a Variant ("12.5" for Currency("12.50")).
py::object Text(py::handle value);

// After a call: puts the value the operation left in a by-reference argument back into the
// Python object given for it (a list, an Array, a Ref or a Collection), where that is possible.
void WriteBack(py::handle given, const Variant& value);

}  // namespace ztl::python
