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

// After a call: puts the value the operation left in a by-reference argument back into the
// Python object given for it (a list, an Array, a Ref or a Collection), where that is possible.
void WriteBack(py::handle given, const Variant& value);

}  // namespace ztl::python
