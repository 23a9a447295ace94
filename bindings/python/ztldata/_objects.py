"""The library's objects in Python: utility objects and components with their operations and
properties as attributes, the host's Collection, the Container that holds components, and
device contexts for text fitting."""

import operator as _operator
import weakref as _weakref
from collections.abc import Mapping as _Mapping

from . import _ztldata as _core
from ._values import Error, MemberError

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
