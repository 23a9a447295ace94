"""ztldata for Python: the library's sixteen classes as late-bound objects.

    >>> import ztldata
    >>> n = ztldata.CreateObject("ZTLData.ZtNumeric")
    >>> n.Num2Letter(1234)
    'one thousand two hundred thirty-four'

Utility classes come from CreateObject; components are placed in a Container. Operations are
attributes, properties read and write as attributes, indexed properties take item access
(bits.Bit[5] = True). Values convert both ways: str, bool, int, float, datetime, Decimal,
lists (updated in place when passed by reference), ztldata.Array, ztldata.Collection, and the
typed wrappers Integer, Byte, Single, Currency, Long and Double for exact kinds. The byte
operations (CRC-32, run-length coding, the ciphers, RSA, EBCDIC) take and give bytes. Errors of
the call itself raise ztldata.Error, as the class of its number that is also Python's built-in
exception (a type mismatch is a TypeMismatchError and a TypeError); the operations themselves
never raise. A call with a large input (over 4096 characters, bytes or array elements) releases
the GIL while it works; calls on one object from several threads take turns.
"""

import operator as _operator

from . import _ztldata as _core
from ._arrays import Array
from ._objects import (FIXED_PITCH_FONT, Collection, Container, CreateObject, DeviceContext, Object, _classes,
                       _get_other, _rebind, _set_other, _signature, _wrap)
from ._values import (ArgumentCountError, Byte, Currency, Date, DivisionByZeroError, Double, Empty, Error,
                      ErrorValue, Integer, ItemError, ItemIndexError, ItemKeyError, Long, MemberError, Missing, Null,
                      OutOfRangeError, Ref, Single, TypeMismatchError)

__version__ = _core.version
"""The library's version."""
TYPELIB_VERSION = _core.typelib_version
"""The version of the type library the classes are described by ("1.4")."""

__all__ = [
    "CreateObject", "Container", "Collection", "DeviceContext", "Object", "Array", "Ref",
    "Error", "MemberError", "TypeMismatchError", "ArgumentCountError", "OutOfRangeError", "DivisionByZeroError",
    "ItemError", "ItemIndexError", "ItemKeyError", "ErrorValue", "Empty", "Null",
    "Missing", "Integer", "Byte", "Long", "Single", "Double", "Currency", "Date",
    "VarType", "Randomize", "classes", "describe", "FIXED_PITCH_FONT", "TYPELIB_VERSION",
]

# The classes are the package's, wherever their code lives (help(), pickles).
for _public in (Array, Collection, Container, DeviceContext, Object, Byte, Currency, Date, Double, Error,
                ErrorValue, Integer, ItemError, ItemIndexError, ItemKeyError, Long, MemberError, Ref, Single,
                TypeMismatchError, ArgumentCountError, OutOfRangeError, DivisionByZeroError):
    _public.__module__ = __name__
del _public

# The library's classes (ztldata.ZtNumeric ...): what CreateObject and Place give, holding the
# members, for isinstance(), help() and the type stubs.
globals().update(_classes)
__all__ += list(_classes)

# ---- the library -----------------------------------------------------------------------------


def VarType(value):
    """The type code a value has as a Variant: 0 Empty, 1 Null, 2 Integer, 3 Long, 4 Single,
    5 Double, 6 Currency, 7 Date, 8 String, 9 Object, 10 Error, 11 Boolean, 14 Decimal,
    17 Byte, and 8192 + the element type for an array (8204 for a list)."""
    return _core.to_variant_type(value)


def Randomize(seed=None):
    """Seeds the library's random generator: with a number, for a reproducible sequence;
    without, from the clock."""
    if seed is None:
        _core.randomize()
    else:
        _core.seed(_operator.index(seed))


def classes():
    """The sixteen classes as (name, "utility" or "component") pairs."""
    return _core.classes()


def describe(class_name):
    """The members of a class in slot order: (name, kind, dispid, result type, help,
    [(parameter, type, by reference, optional, default, parameter array), ...])."""
    members = _core.describe(class_name)
    if members is None:
        raise Error(429, "ActiveX component can't create object: no class %r" % (class_name,))
    return members


def about():
    """The text the components' About box shows."""
    return _core.about_text()


# The type library's enumerations as module constants (ztlStackLIFO, ztlEllipsePath ...).
for _enum_name, _constants in _core.enumerations():
    for _constant, _value in _constants:
        globals()[_constant] = _value
        __all__.append(_constant)
del _enum_name, _constants, _constant, _value

_core.register_types({
    "Empty": Empty, "Null": Null, "Missing": Missing, "Integer": Integer, "Byte": Byte,
    "Single": Single, "Currency": Currency, "Long": Long, "Double": Double, "Date": Date,
    "ErrorValue": ErrorValue, "Array": Array, "Ref": Ref, "DeviceContext": DeviceContext, "Error": Error,
    "MemberError": MemberError, "_wrap": _wrap, "_rebind": _rebind, "_get_other": _get_other,
    "_set_other": _set_other, "_signature": _signature,
})
