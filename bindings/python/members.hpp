// Late-bound calls from Python: one call of a library member with positional and keyword
// arguments, and the descriptors the package's classes hold for the members (an operation
// callable as a method, a property read and written as an attribute), so that `n.IsEven(4)`
// finds its member once, when the class is made, and converts its arguments in C++.
#pragma once

#include <pybind11/pybind11.h>

#include <cstddef>

#include "values.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/frame/typelib.hpp"

namespace ztl::python {

// Calls `member` of `object`: nargs positional arguments, then one value for each name in
// kwnames (a tuple, or null), matched to the parameters by name without regard to case.
// Parameters left out are passed as missing, so optional ones take their defaults. Raises
// ztldata.Error for a failed call and TypeError for misuse of the arguments.
// A method given more than 4096 characters of text (or bytes) and array elements in all, and
// no object, runs with the GIL released; calls on one object never overlap.
py::object CallMember(Object& object, const MemberInfo& member, PyObject* const* args, std::size_t nargs,
                      PyObject* kwnames);

// Returns, with the GIL held, once no other thread's call runs on any of the container's
// components (waiting with the GIL released), so the container may read or end them.
void AwaitComponents(const Container& form);

// Creates the descriptor types (once, when the module loads).
void AddDescriptorTypes(py::module_& module);

// (name, descriptor) for each member of a class in slot order, a property once: an operation
// for a method, a property for a property without required parameters, None for an indexed
// property (the package gives those item access).
py::list Descriptors(const ClassInfo& info);

}  // namespace ztl::python
