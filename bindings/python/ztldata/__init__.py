"""ztldata for Python: the library's sixteen classes as late-bound objects.

    >>> import ztldata
    >>> n = ztldata.CreateObject("ZTLData.ZtNumeric")
    >>> n.Num2Letter(1234)
    'one thousand two hundred thirty-four'

Utility classes come from CreateObject; components are placed in a Container. Operations are
attributes, properties read and write as attributes, indexed properties take item access
(bits.Bit[5] = True). Values convert both ways: str, bool, int, float, datetime, Decimal,
lists (updated in place when passed by reference), ztldata.Array, ztldata.Collection, and the
typed wrappers Integer, Byte, Single, Currency, Long and Double for exact kinds. Errors of the
call itself raise ztldata.Error; the operations themselves never raise.
"""

import datetime as _dt
import decimal as _decimal
import math as _math
import operator as _operator
import struct as _struct
import weakref as _weakref
from collections.abc import Mapping as _Mapping

from . import _ztldata as _core

__all__ = [
    "CreateObject", "Container", "Collection", "DeviceContext", "Object", "Array", "Ref",
    "Error", "MemberError", "ErrorValue", "Empty", "Null", "Missing",
    "Integer", "Byte", "Long", "Single", "Double", "Currency", "Date",
    "VarType", "Randomize", "classes", "describe", "FIXED_PITCH_FONT",
]

# ---- errors ----------------------------------------------------------------------------------


class Error(Exception):
    """An error of a late-bound call: `number` is the platform's error number (13 for a type
    mismatch, 438 for an unknown member, 450 for a wrong number of arguments ...), `message`
    the library's text."""

    def __init__(self, number, message=None):
        self.number = int(number)
        self.message = message if message is not None else "error %d" % self.number
        super().__init__(self.message)

    def __repr__(self):
        return "ztldata.%s(%d, %r)" % (type(self).__name__, self.number, self.message)

    def __reduce__(self):
        return (type(self), (self.number, self.message))


class MemberError(Error, AttributeError):
    """An unknown member (error 438); an AttributeError too, so hasattr() and getattr() with a
    default work as usual."""


def _overflow(value, kind):
    return Error(6, "Overflow: %r is outside the %s range" % (value, kind))


def _mismatch(value, kind):
    return Error(13, "Type mismatch: %r cannot be a %s" % (value, kind))


# ---- sentinels and small values -------------------------------------------------------------


class _Sentinel:
    __slots__ = ("_name",)

    def __init__(self, name):
        self._name = name

    def __repr__(self):
        return "ztldata." + self._name

    def __bool__(self):
        return False

    def __reduce__(self):
        return self._name


Empty = _Sentinel("Empty")
"""The Empty kind: an uninitialised Variant (None passed for a Variant parameter is Empty too)."""
Null = _Sentinel("Null")
"""The Null kind: no valid data."""


class ErrorValue:
    """The Error kind of a Variant: an automation status code."""

    __slots__ = ("code",)

    def __init__(self, code):
        self.code = _operator.index(code)

    def __eq__(self, other):
        return isinstance(other, ErrorValue) and other.code == self.code

    def __hash__(self):
        return hash(("ErrorValue", self.code))

    def __repr__(self):
        return "ztldata.Missing" if self.code == -2147352572 else "ztldata.ErrorValue(%d)" % self.code


Missing = ErrorValue(-2147352572)
"""Passed for an optional parameter, leaves it out (it takes its default)."""


class Ref:
    """A variable passed by reference: an operation that changes its by-reference argument
    (ZtData.Inter, ZtArrays.Sort ...) leaves the new value in `value`."""

    __slots__ = ("value",)

    def __init__(self, value=Empty):
        self.value = value

    def __repr__(self):
        return "ztldata.Ref(%r)" % (self.value,)


# ---- typed wrappers --------------------------------------------------------------------------


def _whole(value, low, high, kind):
    """A whole number for an integral kind: fractions round half to even, as the library does."""
    if isinstance(value, (float, _decimal.Decimal)):
        try:
            n = round(value)
        except (ValueError, OverflowError, ArithmeticError):
            raise _overflow(value, kind) from None
    elif isinstance(value, str):
        try:
            n = round(_decimal.Decimal(value.strip()))
        except (ArithmeticError, ValueError):
            raise _mismatch(value, kind) from None
    else:
        n = _operator.index(value)
    if not low <= n <= high:
        raise _overflow(value, kind)
    return n


def _real(value, kind):
    if isinstance(value, str):
        try:
            return float(value.strip())
        except ValueError:
            raise _mismatch(value, kind) from None
    return float(value)


class _WholeNumber(int):
    __slots__ = ()
    _low = _high = 0

    def __new__(cls, value=0):
        return int.__new__(cls, _whole(value, cls._low, cls._high, cls.__name__))

    def __repr__(self):
        return "ztldata.%s(%d)" % (type(self).__name__, int(self))

    __str__ = int.__repr__


class Integer(_WholeNumber):
    """A 16-bit Integer (-32768..32767)."""
    __slots__ = ()
    _low, _high = -32768, 32767


class Long(_WholeNumber):
    """A 32-bit Long. A plain int is a Long anyway when it fits; a Long outside the range is an
    overflow instead of becoming a Double."""
    __slots__ = ()
    _low, _high = -2147483648, 2147483647


class Byte(_WholeNumber):
    """An unsigned 8-bit Byte (0..255)."""
    __slots__ = ()
    _low, _high = 0, 255


def _to_single(x):
    return _struct.unpack("<f", _struct.pack("<f", x))[0]


class Single(float):
    """A 32-bit Single: the value is rounded to single precision when it is made."""

    __slots__ = ()

    def __new__(cls, value=0.0):
        x = _real(value, "Single")
        try:
            x = _to_single(x)
        except OverflowError:
            raise _overflow(value, "Single") from None
        return float.__new__(cls, x)

    def __repr__(self):
        return "ztldata.Single(%s)" % self._text()

    def __str__(self):
        return self._text()

    def _text(self):
        # The shortest decimal that reads back as the same Single.
        x = float(self)
        if not _math.isfinite(x):
            return repr(x)
        for digits in range(1, 10):
            text = "%.*g" % (digits, x)
            if _to_single(float(text)) == x:
                return repr(float(text))
        return repr(x)


class Double(float):
    """A 64-bit Double; a plain float is a Double anyway."""

    __slots__ = ()

    def __new__(cls, value=0.0):
        return float.__new__(cls, _real(value, "Double"))

    def __repr__(self):
        return "ztldata.Double(%r)" % float(self)

    __str__ = float.__repr__


_CURRENCY_CONTEXT = _decimal.Context(prec=60, rounding=_decimal.ROUND_HALF_EVEN, traps=[_decimal.InvalidOperation])
_CURRENCY_UNIT = _decimal.Decimal("0.0001")


class Currency(float):
    """A Currency: a fixed-point number with four decimals, exact in `scaled` (the value times
    10000, a 64-bit integer). It compares as the nearest float; to_decimal() gives it exactly.
    Made from a float, str, int or Decimal, it rounds half to even at the fourth decimal."""

    __slots__ = ("scaled",)

    def __new__(cls, value=0):
        if isinstance(value, Currency):
            return cls._from_scaled(value.scaled)
        if isinstance(value, str):
            try:
                exact = _decimal.Decimal(value.strip())
            except _decimal.InvalidOperation:
                raise _mismatch(value, "Currency") from None
        elif isinstance(value, (float, _decimal.Decimal)):
            exact = _decimal.Decimal(value)
        else:
            exact = _decimal.Decimal(_operator.index(value))
        if not exact.is_finite():
            raise _overflow(value, "Currency")
        try:
            scaled = int(exact.quantize(_CURRENCY_UNIT, context=_CURRENCY_CONTEXT).scaleb(4, context=_CURRENCY_CONTEXT))
        except _decimal.InvalidOperation:
            raise _overflow(value, "Currency") from None
        if not -(2 ** 63) <= scaled < 2 ** 63:
            raise _overflow(value, "Currency")
        return cls._from_scaled(scaled)

    @classmethod
    def _from_scaled(cls, scaled):
        self = float.__new__(cls, scaled / 10000)
        self.scaled = scaled
        return self

    def to_decimal(self):
        """The exact value as a decimal.Decimal."""
        return _decimal.Decimal(self.scaled).scaleb(-4)

    def __repr__(self):
        return "ztldata.Currency('%s')" % self

    def __str__(self):
        text = "{:f}".format(self.to_decimal())
        return text.rstrip("0").rstrip(".") if "." in text else text

    def __reduce__(self):
        return (Currency, (str(self),))


_EPOCH = _dt.datetime(1899, 12, 30)
_DAY_MICROSECONDS = 86_400_000_000


def _days_of(moment):
    """Days since 1899-12-30 of a datetime or date; the time of day counts forward from the
    start of the day, also before 1899-12-30 (1899-12-29 06:00 is -1.25)."""
    if not isinstance(moment, _dt.datetime):
        moment = _dt.datetime(moment.year, moment.month, moment.day)
    days = (moment.date() - _EPOCH.date()).days
    micros = ((moment.hour * 60 + moment.minute) * 60 + moment.second) * 1_000_000 + moment.microsecond
    fraction = micros / _DAY_MICROSECONDS
    return days + fraction if days >= 0 else days - fraction


class Date(float):
    """A Date: days since 1899-12-30 00:00 with the time of day as the fraction, as the library
    counts them. Date(datetime_or_date), Date(2024, 2, 29) or Date(2024, 2, 29, 12, 30) make
    one, Date(45351.5) from the day count; to_datetime() and date() convert back."""

    __slots__ = ()

    def __new__(cls, value=0.0, *parts):
        if parts:
            value = _dt.datetime(value, *parts)
        if isinstance(value, _dt.date):
            value = _days_of(value)
        return float.__new__(cls, _real(value, "Date"))

    def to_datetime(self):
        """The datetime.datetime of this Date, to the millisecond (a day count holds no finer
        time for every date); Error 6 outside the years 1 to 9999."""
        value = float(self)
        if not _math.isfinite(value):
            raise _overflow(value, "datetime")
        whole = _math.trunc(value)
        micros = round(abs(value - whole) * _DAY_MICROSECONDS / 1000) * 1000
        try:
            return _EPOCH + _dt.timedelta(days=whole, microseconds=micros)
        except OverflowError:
            raise _overflow(value, "datetime") from None

    def date(self):
        """The datetime.date of this Date."""
        return self.to_datetime().date()

    def __repr__(self):
        try:
            moment = self.to_datetime()
        except Error:
            return "ztldata.Date(%r)" % float(self)
        parts = [moment.year, moment.month, moment.day]
        time = [moment.hour, moment.minute, moment.second, moment.microsecond]
        while time and time[-1] == 0:
            time.pop()
        return "ztldata.Date(%s)" % ", ".join(str(p) for p in parts + time)

    def __str__(self):
        try:
            return self.to_datetime().isoformat(sep=" ")
        except Error:
            return repr(float(self))


# ---- arrays ----------------------------------------------------------------------------------

_TYPE_CODES = {
    "Integer": 2, "Long": 3, "Single": 4, "Double": 5, "Currency": 6, "Date": 7, "String": 8,
    "Object": 9, "Error": 10, "Boolean": 11, "Variant": 12, "Decimal": 14, "Byte": 17,
}
_TYPE_NAMES = {code: name for name, code in _TYPE_CODES.items()}


def _element_code(of):
    if isinstance(of, str):
        for name, code in _TYPE_CODES.items():
            if name.lower() == of.lower():
                return code
    elif isinstance(of, int) and not isinstance(of, bool) and of in _TYPE_NAMES:
        return int(of)
    raise TypeError("no array element type %r (one of %s)" % (of, ", ".join(_TYPE_CODES)))


class Array:
    """An array as the library knows it: an element type, one or more dimensions each with its
    own bounds, and the items.

        Array([10, 20, 30], lbound=1)                 # a[1] == 10
        Array([3, 1, 2], of="Long")                   # an array of Long
        Array([[1, 2, 3], [4, 5, 6]], bounds=[(1, 2), (0, 2)])   # a[2, 0] == 4

    Multi-dimensional values nest with the first index outermost. A plain list is a
    one-dimensional array of Variants counting from 0; use Array for other bounds and types.
    Passed by reference, an Array takes the new contents in place.
    """

    __slots__ = ("_of", "_bounds", "_items")

    def __init__(self, values=(), lbound=0, *, of="Variant", bounds=None):
        self._of = _element_code(of)
        if bounds is None:
            items = list(values)
            lower = _operator.index(lbound)
            if not -2147483648 <= lower <= 2147483647 - max(len(items) - 1, 0):
                raise Error(6, "Overflow: the bounds from %d are outside the Long range" % lower)
            self._bounds = [(lower, lower + len(items) - 1)]
            self._items = items
            return
        pairs = [(_operator.index(lower), _operator.index(upper)) for lower, upper in bounds]
        for pair in pairs:
            if not all(-2147483648 <= b <= 2147483647 for b in pair):
                raise Error(6, "Overflow: the bounds %r are outside the Long range" % (pair,))
        shape = [upper - lower + 1 for lower, upper in pairs]
        if any(count < 0 for count in shape):
            raise ValueError("an upper bound lies below its lower bound - 1")
        self._bounds = pairs
        self._items = _flatten(values, shape) if pairs else []
        if not pairs and list(values):
            raise ValueError("an unallocated array (no bounds) has no items")

    @classmethod
    def unallocated(cls, of="Variant"):
        """An array with no dimensions yet (a dynamic array before it is sized)."""
        return cls((), of=of, bounds=[])

    @classmethod
    def _from_parts(cls, of, bounds, items):
        self = object.__new__(cls)
        self._assign(of, bounds, items)
        return self

    def _assign(self, of, bounds, items):
        self._of = of
        self._bounds = [tuple(b) for b in bounds]
        self._items = list(items)

    @property
    def of(self):
        """The element type's name ("Variant", "Long" ...)."""
        return _TYPE_NAMES[self._of]

    @property
    def bounds(self):
        """[(lower, upper), ...], one pair per dimension."""
        return list(self._bounds)

    @property
    def dims(self):
        return len(self._bounds)

    def _offset(self, index):
        index = index if isinstance(index, tuple) else (index,)
        if len(index) != len(self._bounds):
            raise IndexError("the array has %d dimension(s), not %d" % (len(self._bounds), len(index)))
        offset, stride = 0, 1
        for i, (lower, upper) in zip(index, self._bounds):
            i = _operator.index(i)
            if not lower <= i <= upper:
                raise IndexError("index %d outside %d..%d" % (i, lower, upper))
            offset += (i - lower) * stride
            stride *= upper - lower + 1
        return offset

    def __getitem__(self, index):
        return self._items[self._offset(index)]

    def __setitem__(self, index, value):
        self._items[self._offset(index)] = value

    def __len__(self):
        return len(self._items)

    def __iter__(self):
        """The items in storage order (for one dimension, from the lower bound up)."""
        return iter(self._items)

    def tolist(self):
        """The items as a list, nested for several dimensions (first index outermost)."""
        shape = [upper - lower + 1 for lower, upper in self._bounds]
        if len(shape) <= 1:
            return list(self._items)

        # Storage puts the first dimension fastest: its stride is 1.
        strides = [1]
        for count in shape[:-1]:
            strides.append(strides[-1] * count)

        def nest(dim, offset):
            if dim == len(shape):
                return self._items[offset]
            return [nest(dim + 1, offset + k * strides[dim]) for k in range(shape[dim])]

        return nest(0, 0)

    def __eq__(self, other):
        if isinstance(other, Array):
            return (self._of, self._bounds, self._items) == (other._of, other._bounds, other._items)
        if isinstance(other, (list, tuple)):
            return self.dims == 1 and self._items == list(other)
        return NotImplemented

    __hash__ = None

    def __repr__(self):
        of = "" if self._of == 12 else ", of=%r" % self.of
        if self.dims == 1:
            lower = self._bounds[0][0]
            return "ztldata.Array(%r%s%s)" % (self._items, ", lbound=%d" % lower if lower else "", of)
        return "ztldata.Array(%r, bounds=%r%s)" % (self.tolist(), self._bounds, of)


def _flatten(values, shape):
    """Nested values (first index outermost) in storage order (first dimension fastest)."""
    strides = [1]
    for count in shape[:-1]:
        strides.append(strides[-1] * count)
    placed = []

    def walk(level, dim, offset):
        if dim == len(shape):
            placed.append((offset, level))
            return
        level = list(level)
        if len(level) != shape[dim]:
            raise ValueError("dimension %d has %d item(s), the bounds say %d" % (dim + 1, len(level), shape[dim]))
        for k, item in enumerate(level):
            walk(item, dim + 1, offset + k * strides[dim])

    walk(values, 0, 0)
    # Every level matched its count, so the items are exactly as many as the bounds make.
    items = [Empty] * len(placed)
    for offset, item in placed:
        items[offset] = item
    return items


# ---- objects ---------------------------------------------------------------------------------

_METHOD, _GET, _LET = 0, 1, 2
_signatures = {}


def _signature(class_name, member):
    """(signature text, help text) of a member, from the type library."""
    table = _signatures.get(class_name)
    if table is None:
        table = {}
        for name, kind, dispid, result, help_text, params in _core.describe(class_name) or []:
            texts = []
            for pname, ptype, byref, optional, default, paramarray in params:
                if kind == "let" and pname == "value":
                    continue
                if paramarray:
                    texts.append("*" + pname)
                    continue
                text = "%s: %s" % (pname, ptype) + (" (by reference)" if byref else "")
                if optional:
                    text += " = %r" % (default,)
                texts.append(text)
            signature = "%s(%s)%s" % (name, ", ".join(texts), " -> " + result if result else "")
            table.setdefault(name.lower(), (signature, help_text or ""))
        _signatures[class_name] = table
    return table.get(member.lower(), (member + "(...)", ""))


class _Method:
    """An operation of a library object, ready to be called."""

    __slots__ = ("_owner", "_name")

    def __init__(self, owner, name):
        self._owner = owner
        self._name = name

    def __call__(self, *args, **kwargs):
        return self._owner._h.invoke(self._name, _METHOD, args, kwargs or None)

    @property
    def __doc__(self):
        signature, help_text = _signature(self._owner._h.class_name, self._name)
        return signature + ("\n\n" + help_text if help_text else "")

    def __repr__(self):
        return "<ztldata method %s.%s>" % (self._owner._h.class_name,
                                            _signature(self._owner._h.class_name, self._name)[0])


class _Indexed:
    """A property with parameters (ZtBits.Bit): read as prop[i] or prop(i), written as
    prop[i] = value."""

    __slots__ = ("_owner", "_name")

    def __init__(self, owner, name):
        self._owner = owner
        self._name = name

    def __getitem__(self, index):
        return self._owner._h.invoke(self._name, _GET, index if isinstance(index, tuple) else (index,))

    def __setitem__(self, index, value):
        args = index if isinstance(index, tuple) else (index,)
        self._owner._h.invoke(self._name, _LET, args + (value,))

    def __call__(self, *args):
        return self._owner._h.invoke(self._name, _GET, args)

    def __repr__(self):
        return "<ztldata indexed property %s.%s>" % (self._owner._h.class_name, self._name)


class Object:
    """A library object (a utility class or a component). Its operations are attributes
    (n.Num2Letter(5)), its properties read and write as attributes (stack.Strategy = 1),
    indexed properties take item access (bits.Bit[5] = True). Names ignore case, as late
    binding does. Two wrappers of the same object compare equal."""

    __slots__ = ("_h", "_container", "__weakref__")

    def __init__(self, *args, **kwargs):
        raise TypeError("make library objects with ztldata.CreateObject or Container.Place")

    @classmethod
    def _new(cls, handle, container=None):
        self = object.__new__(cls)
        object.__setattr__(self, "_h", handle)
        object.__setattr__(self, "_container", container)
        return self

    def _rebind(self, handle):
        # A variable passed by reference now holds another object.
        if (handle.category == "collection") == isinstance(self, Collection):
            object.__setattr__(self, "_h", handle)

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        found = self._h.lookup(name)
        if found is None:
            raise MemberError(438, "%s has no member %r (Object doesn't support this property or method)"
                              % (self._h.class_name or "the object", name))
        kind, required, canonical = found
        if kind == _METHOD:
            return _Method(self, canonical)
        if required:
            return _Indexed(self, canonical)
        return self._h.invoke(canonical, _GET, ())

    def __setattr__(self, name, value):
        if name.startswith("_"):
            object.__setattr__(self, name, value)
            return
        self._h.invoke(name, _LET, (value,))

    def __dir__(self):
        names = []
        for member in self._h.members():
            if member[0] not in names:
                names.append(member[0])
        return names + [n for n in object.__dir__(self) if not n.startswith("_") and n not in names]

    def __eq__(self, other):
        return isinstance(other, Object) and self._h == other._h

    def __hash__(self):
        return hash(self._h)

    def __repr__(self):
        return "<ztldata %s object>" % (self._h.class_name or "host")


_placed = _weakref.WeakValueDictionary()  # a component's address -> its Container


def _wrap(handle):
    category = handle.category
    if category == "collection":
        return Collection._new(handle)
    return Object._new(handle, _placed.get(handle.address) if category == "component" else None)


def CreateObject(name):
    """A utility class by its registered name ("ZTLData.ZtNumeric") or bare name ("ZtNumeric"),
    without regard to case. Components are placed in a Container instead."""
    if not isinstance(name, str):
        raise TypeError("CreateObject takes a class name (str)")
    return Object._new(_core.create(name))


# ---- collections -----------------------------------------------------------------------------


class Collection(Object):
    """The host's collection: an ordered list of items at positions 1..Count, each with an
    optional unique key (compared without regard to case).

        c = Collection(["a", "b"])            # or Collection({"key": value, ...})
        c.Add("z", key="last", before=1)
        c.Item(1), c["last"], len(c), list(c)

    Indexing counts from 1, as the collection does; a text index selects by key. Misuse
    (a used key, an index that selects nothing) raises ztldata.Error as the host's collection
    does. Library operations (ZtCollections.Sort, ZtStrings.InStrAdv) change it in place."""

    __slots__ = ()

    def __init__(self, items=None):
        object.__setattr__(self, "_h", _core.new_collection())
        object.__setattr__(self, "_container", None)
        if items is None:
            return
        if isinstance(items, _Mapping):
            for key, value in items.items():
                self.Add(value, key)
        else:
            for value in items:
                self.Add(value)

    def Add(self, item, key=None, before=None, after=None):
        """Adds an item at the end, or before/after the item an index selects, with an
        optional key."""
        options = {}
        if key is not None:
            options["Key"] = key
        if before is not None:
            options["Before"] = before
        if after is not None:
            options["After"] = after
        self._h.invoke("Add", _METHOD, (item,), options)

    def Item(self, index):
        """The item at a position 1..Count or with a key."""
        return self._h.invoke("Item", _METHOD, (index,))

    def Remove(self, index):
        """Removes the item at a position or with a key; later items move up."""
        self._h.invoke("Remove", _METHOD, (index,))

    def Count(self):
        return self._h.invoke("Count", _METHOD, ())

    def keys(self):
        """The items' keys in order (None for an item without one)."""
        return [key for key, _ in self._h.entries()]

    def items(self):
        """(key, item) pairs in order."""
        return list(self._h.entries())

    def __len__(self):
        return self.Count()

    def __iter__(self):
        return iter([value for _, value in self._h.entries()])

    def __getitem__(self, index):
        return self.Item(index)

    def __delitem__(self, index):
        self.Remove(index)

    def __repr__(self):
        def text(value):
            # A collection inside (perhaps this one) shows only its size.
            if isinstance(value, Collection):
                return "<ztldata.Collection of %d item(s)>" % value.Count()
            return repr(value)

        entries = self._h.entries()
        if any(key is not None for key, _ in entries):
            return "ztldata.Collection({%s})" % ", ".join("%r: %s" % (key, text(value)) for key, value in entries)
        return "ztldata.Collection([%s])" % ", ".join(text(value) for _, value in entries)


# ---- containers ------------------------------------------------------------------------------


class Container:
    """A form that holds components: Place creates one, Save writes the form (each
    component's saved properties) as text, Container.Load reads it back.

        form = Container()
        stack = form.Place("ZtStack")            # named "ZtStack1"
        text = form.Save()
        again = Container.Load(text)
        again["ZtStack1"].Strategy

    A component keeps its container alive; the container ends its components when it goes."""

    __slots__ = ("_box", "problems", "__weakref__")

    def __init__(self):
        self._box = _core.ContainerBox()
        self.problems = []

    def _component(self, handle):
        _placed[handle.address] = self
        return Object._new(handle, self)

    def Place(self, class_name, name=None):
        """Places a new component ("ZtStack" or "ZTLData.ZtStack"), named `name` or after its
        class and a number. Error 429 for a class that is no component, 5 for a used name."""
        return self._component(self._box.place(class_name, name))

    def Save(self):
        """The saved form as text."""
        return self._box.save()

    @classmethod
    def Load(cls, text):
        """A new container with the components of a saved form. What cannot be loaded is
        skipped and described in `problems`."""
        self = cls.__new__(cls)
        self._box, self.problems = _core.ContainerBox.load(text)
        return self

    def Release(self, name):
        """Takes a component out of the form (it is ended); False when there is none."""
        return self._box.release(name)

    def names(self):
        return self._box.names()

    def __getitem__(self, name):
        if not isinstance(name, str):
            raise TypeError("components are found by name (str)")
        handle = self._box.find(name)
        if handle is None:
            raise KeyError(name)
        return self._component(handle)

    def __contains__(self, name):
        return isinstance(name, str) and self._box.find(name) is not None

    def __iter__(self):
        return iter(self._box.names())

    def __len__(self):
        return len(self._box.names())

    def __repr__(self):
        return "<ztldata.Container %r>" % self._box.names()


# ---- device contexts -------------------------------------------------------------------------

FIXED_PITCH_FONT = _core.fixed_pitch_font
"""The built-in font that needs no font files: every character as wide as the pixel size."""


class DeviceContext:
    """A device context for ZtStrings.EllipseText: a font at a pixel size. Pass the object
    itself (or its `hdc`) as the hDC argument. close() frees it, as does leaving a `with`
    block or the object going away.

        with DeviceContext("DejaVu Sans", 12) as dc:
            s.EllipseText(path, 100, 20, dc, ztldata.ztlEllipsePath)
    """

    __slots__ = ("hdc", "font", "size")

    def __init__(self, font=FIXED_PITCH_FONT, size=16):
        if not isinstance(font, str):
            raise TypeError("the font is a name (str)")
        size = _operator.index(size)
        self.hdc = 0
        self.font, self.size = font, size
        hdc = _core.create_device_context(font, size) if 1 <= size <= 1000 else 0
        if hdc == 0:
            raise Error(5, "Invalid procedure call or argument: no font %r at %d pixels (sizes are 1 to 1000)"
                        % (font, size))
        self.hdc = hdc

    def close(self):
        if self.hdc:
            _core.delete_device_context(self.hdc)
            self.hdc = 0

    def __index__(self):
        if not self.hdc:
            raise Error(5, "Invalid procedure call or argument: the device context is closed")
        return self.hdc

    __int__ = __index__

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __del__(self):
        try:
            self.close()
        except Exception:
            pass

    def __repr__(self):
        return "<ztldata.DeviceContext %r %dpx hdc=%d>" % (self.font, self.size, self.hdc)


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
    "ErrorValue": ErrorValue, "Array": Array, "Ref": Ref, "Object": Object,
    "DeviceContext": DeviceContext, "Error": Error, "MemberError": MemberError, "_wrap": _wrap,
})
