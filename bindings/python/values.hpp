// Python values <-> Variants for the ztldata Python module, and the Python classes the
// conversion builds (typed wrappers, Date, Array, objects) as the package registers them.
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
  py::object array, ref, object, device_context;
  py::object error, member_error;
  py::object wrap;  // wrap(handle) -> the Python object for a library object
  py::object decimal, date_only;  // decimal.Decimal, datetime.date (datetime derives from it)
};
// Null until the package registered its classes.
const PythonTypes* Types() noexcept;
void RegisterTypes(const py::dict& names);

// Raises ztldata.Error (or ztldata.MemberError, which is also an AttributeError) with the
// platform's error number and a message.
[[noreturn]] void RaiseError(Long number, const std::string& message, bool member = false);
// The same with the error class given and the message a Python text.
[[noreturn]] void Raise(const py::object& type, Long number, const py::object& message);

// A library object as Python holds it: a shared reference, compared by identity.
struct Handle {
  ObjectRef object;
};

// Python text <-> String, keeping lone surrogates as the code units they are.
String TextOf(py::handle text);
py::object TextObject(std::u16string_view text);

// A Python value as a Variant for a parameter of the given type: None is Nothing for an
// object parameter and Empty otherwise. Raises TypeError for a value with no Variant
// counterpart and ztldata.Error for one outside every range.
Variant ToVariant(py::handle value, Type parameter = Type::Variant);

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
