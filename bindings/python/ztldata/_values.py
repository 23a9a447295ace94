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
    the library's text. As OSError does, Error(number, message) makes the class that number
    has where there is one, so the error is also the built-in exception Python code catches:
    Error(13) is a TypeMismatchError, which is a TypeError."""

    def __new__(cls, number=0, message=None, *args):
        if cls is Error and isinstance(number, int):
            cls = _CLASS_OF.get(number, Error)
        return super().__new__(cls, number, message, *args)

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


class TypeMismatchError(Error, TypeError):
    """A value that does not convert to the type it is needed as (error 13); a TypeError too."""


class ArgumentCountError(Error, TypeError):
    """A call without a required argument (error 449) or with the wrong number of arguments
    (450); a TypeError too, as Python raises for a call of the wrong shape."""


class OutOfRangeError(Error, OverflowError):
    """A value outside the range of its type, a Date outside 100-01-01 to 9999-12-31 among
    them (error 6, overflow); an OverflowError too."""


class DivisionByZeroError(Error, ZeroDivisionError):
    """A division by zero (error 11); a ZeroDivisionError too."""


class ItemError(Error, LookupError):
    """An index that selects no item of a Collection (error 5)."""


class ItemIndexError(ItemError, IndexError):
    """A position that selects no item of a Collection: error 5, and an IndexError."""


class ItemKeyError(ItemError, KeyError):
    """A key that selects no item of a Collection: error 5, and a KeyError."""


# The error numbers that have a class of their own.
_CLASS_OF = {6: OutOfRangeError, 11: DivisionByZeroError, 13: TypeMismatchError, 438: MemberError,
             449: ArgumentCountError, 450: ArgumentCountError}


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
        raise Error(11, "Division by zero: a Currency divided by 0")
    return divisor


_EPOCH = _dt.datetime(1899, 12, 30)
_DAY_MS = 86_400_000
# The day numbers of 100-01-01 and 9999-12-31, the first and the last day a Date holds.
_FIRST_DAY, _LAST_DAY = -657434, 2958465
# 9999-12-31 23:59:59: the platform resolves a Date to the second and has none after this one,
# so a moment later in that second is past the range.
_LAST_MOMENT = (_LAST_DAY * _DAY_MS + _DAY_MS - 1000) / _DAY_MS


def _days_of(moment):
    """Days since 1899-12-30 of a datetime or date. The time of day counts to the millisecond,
    the microseconds below it dropped, so a moment never moves into the next day; it counts forward from the start of the day, also before 1899-12-30
    (1899-12-29 06:00 is -1.25). A datetime with a time zone counts in local time, as the
    library's dates do."""
    if not isinstance(moment, _dt.datetime):
        moment = _dt.datetime(moment.year, moment.month, moment.day)
    elif moment.utcoffset() is not None:
        try:
            moment = moment.astimezone().replace(tzinfo=None)
        except (OverflowError, ValueError):
            raise Error(6, "Overflow: %s is outside the dates of the local time zone" % moment) from None
    day = (moment.date() - _EPOCH.date()).days
    ms = ((moment.hour * 60 + moment.minute) * 60 + moment.second) * 1000 + moment.microsecond // 1000
    # One division, rounded once (day + ms / _DAY_MS would round twice).
    return (day * _DAY_MS + (ms if day >= 0 else -ms)) / _DAY_MS


def _position(days):
    """A day count as a position in time. Before 1899-12-30 the fraction still counts forward
    from the start of its day, so the day count runs backwards within a day: -1.25 (day -1 at
    06:00) lies at -0.75, before -1.5 (day -1 at 12:00) at -0.5."""
    return days if days >= 0 else 2 * _math.trunc(days) - days


def _comparison(name, with_dates):
    # A comparison with a datetime or date (and, for `with_dates`, another Date) in time; with
    # anything else, of the day count as a number.
    as_number, compare = getattr(float, name), getattr(_operator, name.strip("_"))

    def method(self, other):
        if isinstance(other, _dt.date):
            try:
                theirs = _days_of(other)
            except Error:
                return NotImplemented
        elif with_dates and isinstance(other, Date):
            theirs = float(other)
        else:
            return as_number(self, other)
        return compare(_position(float(self)), _position(theirs))

    return method


class Date(float):
    """A Date: days since 1899-12-30 00:00 with the time of day as the fraction, as the library
    counts them, from 100-01-01 to 9999-12-31. Date(datetime_or_date), Date(2024, 2, 29) or
    Date(2024, 2, 29, 12, 30) make one, to the millisecond (finer time is dropped); any other
    value converts as the library converts it to a Date: Date(45351.5) from the day count,
    Date("2/29/2024") from a date text. A date outside the range is error 6 (OutOfRangeError).

    With numbers a Date computes as its day count (d + 1 is a number). With datetime's types it
    is the moment it stands for: it equals the datetime or date it was made from, orders in time
    with them and with other Dates, d + timedelta and d - timedelta are Dates, and d - datetime
    is a timedelta. to_datetime(), date(), isoformat() and strftime() convert it."""

    __slots__ = ()

    def __new__(cls, value=0.0, *parts):
        if parts:
            value = _dt.datetime(value, *parts)
        if isinstance(value, _dt.date):
            days = _days_of(value)
            if not _FIRST_DAY - 1 < days <= _LAST_MOMENT:
                raise _overflow(value, "Date")
            return float.__new__(cls, days)
        return float.__new__(cls, _core.convert(value, _DATE))

    def __reduce__(self):
        # The day count as it is, even one the conversion would refuse.
        return (float.__new__, (Date, float(self)))

    def to_datetime(self):
        """The datetime.datetime of this Date, to the nearest millisecond (a day count holds no
        finer time for every date). A time that rounds to 24:00 is the start of the next day,
        except on 9999-12-31, which keeps 23:59:59.999. Error 6 outside 100-01-01 to 9999-12-31."""
        value = float(self)
        whole = _math.trunc(value) if _math.isfinite(value) else None
        if whole is None or not _FIRST_DAY <= whole <= _LAST_DAY:
            raise _overflow(value, "Date")
        ms = round(abs(value - whole) * _DAY_MS)
        if ms == _DAY_MS and whole == _LAST_DAY:
            ms -= 1  # the last day has no next one
        return _EPOCH + _dt.timedelta(days=whole, milliseconds=ms)

    def date(self):
        """The datetime.date of this Date."""
        return self.to_datetime().date()

    def isoformat(self, sep="T", timespec="auto"):
        """The ISO 8601 text of to_datetime(), as datetime.isoformat writes it."""
        return self.to_datetime().isoformat(sep, timespec)

    def strftime(self, format):
        """to_datetime() written by a strftime format."""
        return self.to_datetime().strftime(format)

    __eq__, __ne__ = _comparison("__eq__", False), _comparison("__ne__", False)
    __lt__, __le__ = _comparison("__lt__", True), _comparison("__le__", True)
    __gt__, __ge__ = _comparison("__gt__", True), _comparison("__ge__", True)
    # As the day count, so a Date finds itself and its number in a dict; a datetime it equals is
    # another key there.
    __hash__ = float.__hash__

    def _moved(self, delta):
        moment = self.to_datetime()
        try:
            moment += delta
        except OverflowError:
            raise Error(6, "Overflow: %s moved by %s is outside the Date range" % (self, delta)) from None
        return Date(moment)

    def __add__(self, other):
        return self._moved(other) if isinstance(other, _dt.timedelta) else float.__add__(self, other)

    __radd__ = __add__

    def __sub__(self, other):
        if isinstance(other, _dt.timedelta):
            return self._moved(-other)
        if isinstance(other, _dt.date):
            return _dt.timedelta(milliseconds=round((_position(float(self)) - _position(_days_of(other))) * _DAY_MS))
        return float.__sub__(self, other)

    def __rsub__(self, other):
        return -self.__sub__(other) if isinstance(other, _dt.date) else float.__rsub__(self, other)

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
            return self.isoformat(" ")
        except Error:
            return repr(float(self))
