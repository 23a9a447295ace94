"""The values of the ztldata package: its errors, the sentinels, and the typed wrappers that
give a Python number an exact kind of the library. The wrappers convert what they are given
in the library itself (its conversion rules, once), so Integer("&H10") is 16 as it is for a
call's argument."""

import datetime as _dt
import decimal as _decimal
import math as _math
import operator as _operator
import struct as _struct

from . import _ztldata as _core

# The library's type codes of the wrappers' kinds.
_INTEGER, _LONG, _SINGLE, _DOUBLE, _CURRENCY, _DATE, _BYTE = 2, 3, 4, 5, 6, 7, 17

# ---- errors ----------------------------------------------------------------------------------


class Error(Exception):
    """An error of a late-bound call: `number` is the platform's error number (13 for a type
    mismatch, 438 for an unknown member, 450 for a wrong number of arguments ...), `message`
    the library's text."""

    def __init__(self, number, message=None):
        self.number = int(number)
        self.message = message if message is not None else "error %d" % self.number
        super().__init__(self.message)

    def __str__(self):
        return self.message

    def __repr__(self):
        return "ztldata.%s(%d, %r)" % (type(self).__name__, self.number, self.message)

    def __reduce__(self):
        return (type(self), (self.number, self.message))


class MemberError(Error, AttributeError):
    """An unknown member (error 438); an AttributeError too, so hasattr() and getattr() with a
    default work as usual."""


class ItemError(Error, LookupError):
    """An index that selects no item of a Collection (error 5)."""


class ItemIndexError(ItemError, IndexError):
    """A position that selects no item of a Collection: error 5, and an IndexError."""


class ItemKeyError(ItemError, KeyError):
    """A key that selects no item of a Collection: error 5, and a KeyError."""


def _overflow(value, kind):
    return Error(6, "Overflow: %r is outside the %s range" % (value, kind))


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


class _WholeNumber(int):
    __slots__ = ()
    _code = 0

    def __new__(cls, value=0):
        return int.__new__(cls, _core.convert(value, cls._code))

    def __repr__(self):
        return "ztldata.%s(%d)" % (type(self).__name__, int(self))

    __str__ = int.__repr__


class Integer(_WholeNumber):
    """A 16-bit Integer (-32768..32767)."""
    __slots__ = ()
    _code = _INTEGER


class Long(_WholeNumber):
    """A 32-bit Long. A plain int is a Long anyway when it fits; a Long outside the range is an
    overflow instead of becoming a Double."""
    __slots__ = ()
    _code = _LONG


class Byte(_WholeNumber):
    """An unsigned 8-bit Byte (0..255)."""
    __slots__ = ()
    _code = _BYTE


def _to_single(x):
    return _struct.unpack("<f", _struct.pack("<f", x))[0]


class Single(float):
    """A 32-bit Single: the value is rounded to single precision when it is made."""

    __slots__ = ()

    def __new__(cls, value=0.0):
        return float.__new__(cls, _core.convert(value, _SINGLE))

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
        return float.__new__(cls, _core.convert(value, _DOUBLE))

    def __repr__(self):
        return "ztldata.Double(%r)" % float(self)

    __str__ = float.__repr__


_SCALE = 10000
_CURRENCY_RANGE = range(-2 ** 63, 2 ** 63)


def _divide_half_even(numerator, denominator):
    """numerator / denominator rounded half to even, in integers."""
    if denominator < 0:
        numerator, denominator = -numerator, -denominator
    quotient, remainder = divmod(numerator, denominator)
    if 2 * remainder > denominator or (2 * remainder == denominator and quotient % 2 == 1):
        quotient += 1
    return quotient


class Currency(float):
    """A Currency: a fixed-point number with four decimals, exact in `scaled` (the value times
    10000, a 64-bit integer). It compares as the nearest float; to_decimal() gives it exactly.
    Made from a float, str, int or Decimal, it rounds half to even at the fourth decimal.

    Arithmetic with a Currency or an int is exact fixed-point and gives a Currency: + and -
    exactly, * and / rounded half to even at the fourth decimal, error 6 beyond the range.
    With a float the result is a float, with a Decimal a Decimal, as those types compute."""

    __slots__ = ("scaled",)

    def __new__(cls, value=0):
        return cls._from_scaled(_core.convert(value, _CURRENCY))

    @classmethod
    def _from_scaled(cls, scaled):
        if scaled not in _CURRENCY_RANGE:
            raise Error(6, "Overflow: %s is outside the Currency range" % _decimal.Decimal(scaled).scaleb(-4))
        self = float.__new__(cls, scaled / _SCALE)
        self.scaled = scaled
        return self

    def to_decimal(self):
        """The exact value as a decimal.Decimal."""
        return _decimal.Decimal(self.scaled).scaleb(-4)

    def __repr__(self):
        return "ztldata.Currency('%s')" % self

    def __str__(self):
        return _core.text(self)

    def __reduce__(self):
        return (Currency, (str(self),))

    # ---- exact arithmetic ----

    @staticmethod
    def _scaled_of(other):
        # The other operand's scaled value; None when the result is not a Currency.
        if isinstance(other, Currency):
            return other.scaled
        if isinstance(other, int):
            return other * _SCALE
        return None

    def _as_type_of(self, other):
        # With a float or Decimal operand, the result is of its type; None for other operands.
        if isinstance(other, _decimal.Decimal):
            return self.to_decimal()
        if isinstance(other, float):
            return float(self)
        return None

    def _compute(self, other, exact, mixed):
        scaled = self._scaled_of(other)
        if scaled is not None:
            return Currency._from_scaled(exact(self.scaled, scaled))
        mine = self._as_type_of(other)
        return NotImplemented if mine is None else mixed(mine, other)

    def __add__(self, other):
        return self._compute(other, lambda a, b: a + b, lambda a, b: a + b)

    __radd__ = __add__

    def __sub__(self, other):
        return self._compute(other, lambda a, b: a - b, lambda a, b: a - b)

    def __rsub__(self, other):
        return self._compute(other, lambda a, b: b - a, lambda a, b: b - a)

    def __mul__(self, other):
        return self._compute(other, lambda a, b: _divide_half_even(a * b, _SCALE), lambda a, b: a * b)

    __rmul__ = __mul__

    def __truediv__(self, other):
        return self._compute(other, lambda a, b: _divide_half_even(a * _SCALE, _nonzero(b)), lambda a, b: a / b)

    def __rtruediv__(self, other):
        return self._compute(other, lambda a, b: _divide_half_even(b * _SCALE, _nonzero(a)), lambda a, b: b / a)

    def __neg__(self):
        return Currency._from_scaled(-self.scaled)

    def __pos__(self):
        return self

    def __abs__(self):
        return Currency._from_scaled(abs(self.scaled))

    def __round__(self, digits=None):
        if digits is None:
            return _divide_half_even(self.scaled, _SCALE)
        factor = 10 ** max(4 - _operator.index(digits), 0)
        return Currency._from_scaled(_divide_half_even(self.scaled, factor) * factor)

    def __eq__(self, other):
        if isinstance(other, Currency):
            return self.scaled == other.scaled
        return float.__eq__(self, other)

    def __ne__(self, other):
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    __hash__ = float.__hash__


def _nonzero(divisor):
    if divisor == 0:
        raise ZeroDivisionError("Currency division by zero")
    return divisor


_EPOCH = _dt.datetime(1899, 12, 30)
_DAY_MICROSECONDS = 86_400_000_000


def _days_of(moment):
    """Days since 1899-12-30 of a datetime or date; the time of day counts forward from the
    start of the day, also before 1899-12-30 (1899-12-29 06:00 is -1.25). A datetime with a
    time zone counts in local time, as the library's dates do."""
    if not isinstance(moment, _dt.datetime):
        moment = _dt.datetime(moment.year, moment.month, moment.day)
    elif moment.utcoffset() is not None:
        try:
            moment = moment.astimezone().replace(tzinfo=None)
        except (OverflowError, ValueError):
            raise Error(6, "Overflow: %s is outside the dates of the local time zone" % moment) from None
    days = (moment.date() - _EPOCH.date()).days
    micros = ((moment.hour * 60 + moment.minute) * 60 + moment.second) * 1_000_000 + moment.microsecond
    fraction = micros / _DAY_MICROSECONDS
    return days + fraction if days >= 0 else days - fraction


class Date(float):
    """A Date: days since 1899-12-30 00:00 with the time of day as the fraction, as the library
    counts them. Date(datetime_or_date), Date(2024, 2, 29) or Date(2024, 2, 29, 12, 30) make
    one; any other value converts as the library converts it to a Date: Date(45351.5) from the
    day count, Date("2/29/2024") from a date text. to_datetime() and date() convert back."""

    __slots__ = ()

    def __new__(cls, value=0.0, *parts):
        if parts:
            value = _dt.datetime(value, *parts)
        if isinstance(value, _dt.date):
            return float.__new__(cls, _days_of(value))
        return float.__new__(cls, _core.convert(value, _DATE))

    def __reduce__(self):
        # The day count as it is, even one the conversion would refuse.
        return (float.__new__, (Date, float(self)))

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


