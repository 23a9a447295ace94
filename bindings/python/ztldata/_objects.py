"""The library's objects in Python: utility objects and components with their operations and
properties as attributes, the host's Collection, the Container that holds components, and
device contexts for text fitting."""

import datetime as _dt
import inspect as _inspect
import operator as _operator
import typing as _typing
import weakref as _weakref
from collections.abc import Mapping as _Mapping

from . import _ztldata as _core
from ._values import Error, ItemIndexError, ItemKeyError

# ---- objects ---------------------------------------------------------------------------------

_METHOD, _GET, _LET = 0, 1, 2
# What an operation's _traits say: it takes and gives bytes; its Long parameters take 32-bit
# patterns as unsigned ints.
_BYTES, _UNSIGNED = 1, 2


class Object(_core.Handle):
    """A library object (a utility class or a component). Its operations are attributes
    (n.Num2Letter(5)), its properties read and write as attributes (stack.Strategy = 1),
    indexed properties take item access (bits.Bit[5] = True). Names ignore case, as late
    binding does. Two wrappers of the same object compare equal.

    Each of the library's classes is a subclass (ztldata.ZtNumeric ...) that holds its members,
    so help(), dir() and inspect.signature() describe them."""

    __slots__ = ("_container", "__weakref__")
    _lower = {}  # each member's name in lower case -> the name as the class holds it

    def __init__(self, *args, **kwargs):
        raise TypeError("make library objects with ztldata.CreateObject or Container.Place")

    def __repr__(self):
        return "<ztldata %s object>" % (_core.class_name(self) or "host")

    def __reduce__(self):
        # copy, deepcopy and pickle: a library object's state lives in the library, which has
        # no way to write it out or duplicate it.
        raise TypeError("a ztldata.%s object cannot be copied or pickled: its state lives in the library"
                        % type(self).__name__)


def _class_name_of(obj):
    return _core.class_name(obj) or "the object"


def _get_other(obj, name):
    # An attribute the class does not hold as spelt: a member in another case, or none. For none
    # the library's call refuses before anything runs and words the error as for every host.
    canonical = type(obj)._lower.get(name.lower())
    if canonical is not None and canonical != name:
        return getattr(obj, canonical)
    return _core.invoke(obj, name, _GET, ())


def _set_other(obj, name, value):
    canonical = type(obj)._lower.get(name.lower())
    if canonical is not None and canonical != name:
        setattr(obj, canonical, value)
    else:
        _core.invoke(obj, name, _LET, (value,))


class _Indexed:
    """A property with parameters (ZtBits.Bit): read as prop[i] or prop(i), written as
    prop[i] = value. It is not iterable (nor does `in` apply): loop over the indices."""

    __slots__ = ("_owner", "_name")

    def __init__(self, owner, name):
        self._owner = owner
        self._name = name

    def __getitem__(self, index):
        return _core.invoke(self._owner, self._name, _GET, index if isinstance(index, tuple) else (index,))

    def __setitem__(self, index, value):
        args = index if isinstance(index, tuple) else (index,)
        _core.invoke(self._owner, self._name, _LET, args + (value,))

    def __call__(self, *args):
        return _core.invoke(self._owner, self._name, _GET, args)

    def _not_iterable(self, *_):
        # Every index reads (one outside the range as the class's default), so Python's
        # fallback iteration by __getitem__ would never end.
        raise TypeError("indexed property %s.%s is not iterable: loop over a range of indices and read %s[i]"
                        % (_class_name_of(self._owner), self._name, self._name))

    __iter__ = __contains__ = _not_iterable

    def __repr__(self):
        return "<ztldata indexed property %s.%s>" % (_class_name_of(self._owner), self._name)


def _indexed_property(name, doc):
    def get(self):
        return _Indexed(self, name)

    def let(self, value):
        _core.invoke(self, name, _LET, (value,))

    return property(get, let, doc=doc)


# ---- signatures ------------------------------------------------------------------------------

def _annotations():
    from ._values import Byte, Date, Integer, Single
    any_object = _typing.Optional[Object]
    numbers = {"Integer": int, "Long": int, "Byte": int, "Boolean": bool, "Single": float, "Double": float,
               "String": str, "Variant": _typing.Any, "Object": any_object, "Collection": Collection,
               "ztlEllipseText": int, "ztlStackStrategy": int}
    parameters = dict(numbers, Date=_typing.Union[Date, _dt.date])
    results = dict(numbers, Integer=Integer, Byte=Byte, Single=Single, Date=Date)
    return parameters, results


def _default(type_name, default):
    # The type library writes True as -1.
    return bool(default) if type_name == "Boolean" else default


def _signature(operation):
    """The inspect.Signature of an operation, from the type library: its parameters with their
    Python types and defaults (self first, as for a method)."""
    parameters_of, results_of = _annotations()
    takes_bytes = bool(operation._traits & _BYTES)
    for name, kind, _, result, _, params in _core.describe(operation._class_name):
        if kind == "method" and name == operation.__name__:
            break
    else:
        raise ValueError("no operation %s.%s" % (operation._class_name, operation.__name__))
    parameters = [_inspect.Parameter("self", _inspect.Parameter.POSITIONAL_OR_KEYWORD)]
    for pname, ptype, _, optional, default, paramarray in params:
        if paramarray:
            parameters.append(_inspect.Parameter(pname, _inspect.Parameter.VAR_POSITIONAL, annotation=_typing.Any))
            continue
        annotation = parameters_of[ptype]
        if takes_bytes and ptype == "String":
            annotation = _typing.Union[str, bytes]
        given = _default(ptype, default) if optional else _inspect.Parameter.empty
        parameters.append(_inspect.Parameter(pname, _inspect.Parameter.POSITIONAL_OR_KEYWORD, annotation=annotation,
                                             default=given))
    returns = None if result is None else results_of[result]
    if takes_bytes and result in ("String", "Variant"):
        returns = _typing.Union[str, bytes] if result == "String" else _typing.Any
    return _inspect.Signature(parameters, return_annotation=returns)


# ---- the library's classes -------------------------------------------------------------------

_classes = {}  # class name -> its Python class


def _make_class(class_name, kind):
    lower = {}
    namespace = {"__slots__": (), "__module__": "ztldata", "_lower": lower}
    for name, descriptor in _core.descriptors(class_name):
        if descriptor is None:
            descriptor = _indexed_property(name, "%s[index]: an indexed property, read as %s[i] or %s(i) and "
                                                 "written as %s[i] = value" % (name, name, name, name))
        namespace[name] = descriptor
        lower[name.lower()] = name
    if kind == "component":
        made = "placed in a container: ztldata.Container().Place(%r)" % class_name
    else:
        made = "created by ztldata.CreateObject(%r)" % class_name
    namespace["__doc__"] = "ZTLData.%s, a %s class of the library, %s." % (
        class_name, "component" if kind == "component" else "utility", made)
    return type(class_name, (Object,), namespace)


def _class_of(handle):
    category = _core.category(handle)
    if category == "collection":
        return Collection
    if category in ("utility", "component"):
        return _classes.get(_core.class_name(handle), Object)
    return Object


_placed = _weakref.WeakValueDictionary()  # a component's address -> its Container


def _wrap(handle):
    wrapper = _core.adopt(_class_of(handle), handle)
    wrapper._container = _placed.get(_core.address(handle)) if _core.category(handle) == "component" else None
    return wrapper


def _rebind(wrapper, handle):
    # A variable passed by reference now holds another object: the wrapper follows it.
    _core.assign(wrapper, handle)
    cls = _class_of(handle)
    if type(wrapper) is not cls:
        wrapper.__class__ = cls
    wrapper._container = _placed.get(_core.address(handle)) if _core.category(handle) == "component" else None


def CreateObject(name):
    """A utility class by its registered name ("ZTLData.ZtNumeric") or bare name ("ZtNumeric"),
    without regard to case. Components are placed in a Container instead."""
    if not isinstance(name, str):
        raise TypeError("CreateObject takes a class name (str)")
    return _wrap(_core.create(name))


# ---- collections -----------------------------------------------------------------------------


# A collection's address -> the wrapper a copy or pickle under way met it as.
_met = _weakref.WeakValueDictionary()


def _lookup_error(error, index):
    # An index that selects no item (error 5) is a LookupError too: an IndexError for a
    # position, a KeyError for a key.
    if type(error) is not Error or error.number != 5:
        return error
    return (ItemKeyError if isinstance(index, str) else ItemIndexError)(error.number, error.message)


class Collection(Object):
    """The host's collection: an ordered list of items at positions 1..Count, each with an
    optional unique key (compared without regard to case).

        c = Collection(["a", "b"])            # or Collection({"key": value, ...})
        c.Add("z", key="last", before=1)
        c.Item(1), c["last"], c.Count, len(c), list(c), "a" in c

    Indexing counts from 1, as the collection does; a text index selects by key. An index that
    selects nothing raises ztldata.ItemIndexError (a position) or ztldata.ItemKeyError (a key),
    which are ztldata.Error 5 and IndexError or KeyError; a key already used raises
    ztldata.Error 457. Library operations (ZtCollections.Sort, ZtStrings.InStrAdv) change it
    in place.

    Two collections are equal when they hold equal items under the same keys in the same
    order; like a list, a Collection is therefore not hashable. copy.copy, copy.deepcopy and
    pickle copy its items and keys; a library object among the items cannot be copied, and
    raises TypeError."""

    __slots__ = ()
    _lower = {"add": "Add", "item": "Item", "remove": "Remove", "count": "Count"}

    def __init__(self, items=None):
        _core.assign(self, _core.new_collection())
        self._container = None
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
        try:
            _core.invoke(self, "Add", _METHOD, (item,), options)
        except Error as e:
            if (before is None) == (after is None):
                raise
            raise _lookup_error(e, after if before is None else before) from None

    def Item(self, index):
        """The item at a position 1..Count or with a key."""
        try:
            return _core.invoke(self, "Item", _METHOD, (index,))
        except Error as e:
            raise _lookup_error(e, index) from None

    def Remove(self, index):
        """Removes the item at a position or with a key; later items move up."""
        try:
            _core.invoke(self, "Remove", _METHOD, (index,))
        except Error as e:
            raise _lookup_error(e, index) from None

    @property
    def Count(self):
        """The number of items."""
        return _core.count(self)

    def keys(self):
        """The items' keys in order (None for an item without one)."""
        return [key for key, _ in _core.entries(self)]

    def items(self):
        """(key, item) pairs in order."""
        return list(_core.entries(self))

    def __len__(self):
        return _core.count(self)

    def __iter__(self):
        return iter([value for _, value in _core.entries(self)])

    def __reversed__(self):
        return iter([value for _, value in reversed(_core.entries(self))])

    def __contains__(self, value):
        return any(item is value or item == value for _, item in _core.entries(self))

    def __getitem__(self, index):
        return self.Item(index)

    def __setitem__(self, index, value):
        """Puts a value in place of the item an index selects; the item's key stays."""
        try:
            _core.replace(self, index, value)
        except Error as e:
            raise _lookup_error(e, index) from None

    def __delitem__(self, index):
        self.Remove(index)

    def __eq__(self, other):
        if not isinstance(other, Collection):
            return NotImplemented
        return super().__eq__(other) is True or _core.entries(self) == _core.entries(other)

    def __ne__(self, other):
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    __hash__ = None

    def __reduce__(self):
        # The entries as the state, added after the collection is made, so that a collection
        # that holds itself (directly or through others) copies and pickles too. Copy and
        # pickle know an object they met by its identity, and each read of an item makes a new
        # wrapper: each collection is given as the one wrapper they met it as.
        _met[_core.address(self)] = self
        entries = [(key, _met.setdefault(_core.address(value), value) if isinstance(value, Collection) else value)
                   for key, value in _core.entries(self)]
        return (Collection, (), entries)

    def __setstate__(self, entries):
        for key, value in entries:
            self.Add(value, key)

    def __repr__(self):
        def text(value):
            # A collection inside (perhaps this one) shows only its size.
            if isinstance(value, Collection):
                return "<ztldata.Collection of %d item(s)>" % len(value)
            return repr(value)

        entries = _core.entries(self)
        keyed = [key is not None for key, _ in entries]
        if not any(keyed):
            return "ztldata.Collection([%s])" % ", ".join(text(value) for _, value in entries)
        if all(keyed):
            return "ztldata.Collection({%s})" % ", ".join("%r: %s" % (key, text(value)) for key, value in entries)
        # Some items have keys and some not: each key once, beside its item.
        return "<ztldata.Collection [%s]>" % ", ".join(
            text(value) if key is None else "%r: %s" % (key, text(value)) for key, value in entries)


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
        _placed[_core.address(handle)] = self
        component = _core.adopt(_classes[_core.class_name(handle)], handle)
        component._container = self
        return component

    def Place(self, class_name, name=None):
        """Places a new component ("ZtStack" or "ZTLData.ZtStack"), named `name` or after its
        class and a number. Error 429 for a class that is no component, 5 for a used name."""
        return self._component(self._box.place(class_name, name))

    def Save(self):
        """The saved form as text."""
        return self._box.save()

    @classmethod
    def Load(cls, text):
        """A new container with the components of a saved form: its text (str), or the UTF-8
        bytes a file holds. What cannot be loaded is skipped and described in `problems`."""
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

    def __reduce__(self):
        # A copy would share the form, and Save keeps only the design-time properties.
        raise TypeError("a ztldata.Container cannot be copied or pickled: Save() writes its form and "
                        "Container.Load() makes a new container from it")


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

    def __reduce__(self):
        # A copy would close the same handle again, perhaps after it was given to another one.
        raise TypeError("a ztldata.DeviceContext cannot be copied or pickled: make another with the same font and size")


for _name, _kind in _core.classes():
    _classes[_name] = _make_class(_name, _kind)
del _name, _kind
