"""ztldata.Array: an array with its own bounds, element type and dimensions, as the library
holds it (a plain list is a one-dimensional array of Variants from 0)."""

import operator as _operator

from ._values import Empty, Error

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

