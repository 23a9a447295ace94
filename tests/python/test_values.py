"""Values crossing between Python and the library both ways; the typed wrappers' own conversions."""

import datetime
import decimal
import math
import os
import pathlib
import pickle
import random
import struct
import time
import unittest
from unittest import mock

import ztldata
from ztldata import Array, Byte, Currency as C, Date, Double, Empty, ErrorValue, Integer as I, Long, Null, Single

D = decimal.Decimal


def outcome(call):
    """What a call gives, or the number of the ztldata.Error it raises."""
    try:
        return call()
    except ztldata.Error as e:
        return e.number


def echo(value):
    """The value as the library hands it back: ZtStack.Push returns what it was given."""
    return ztldata.Container().Place("ZtStack").Push(value)


class RoundTrip(unittest.TestCase):
    def test_every_kind_there_and_back(self):
        c = ztldata.Collection([1])
        # (value passed, what comes back or ... for the value passed, VarType of the value passed)
        cases = [
            ("x\ud800y\U0001F600", ..., 8), (pathlib.Path("a"), "a", 8), (False, ..., 11), (-2147483648, ..., 3),
            (Long(5), 5, 3), (2147483648, 2147483648.0, 5), (Double(5), 5.0, 5), (-0.0, ..., 5), (math.nan, ..., 5),
            (None, Empty, 0), (Empty, ..., 0), (Null, ..., 1), (ErrorValue(5), ..., 10), (I(-32768), ..., 2),
            (Byte(255), ..., 17), (Single(0.1), ..., 4), (C("-922337203685477.5808"), ..., 6),
            (datetime.datetime(1899, 12, 29, 6), Date(-1.25), 7), (datetime.date(2000, 1, 1), Date(2000, 1, 1), 7),
            (D("0.00000000000000000000000000015"), D("2E-28"), 14), ([1, "a"], Array([1, "a"]), 8204),
            ((1,), Array([1]), 8204), (Array.unallocated("Double"), ..., 8197),
            (Array([[1, 2], [3, 4]], bounds=[(1, 2), (-5, -4)], of="Long"), ..., 8195),
            (Array([1.5, 2.5, "7"], of="Integer"), Array([I(2), I(2), I(7)], of="Integer"), 8194), (c, ..., 9),
        ]
        for value, expected, code in cases:
            with self.subTest(value=value):
                back, expected = echo(value), value if expected is ... else expected
                self.assertEqual((type(back), repr(back)), (type(expected), repr(expected)))
                self.assertEqual(ztldata.VarType(value), code)
                if type(back) is not ztldata.Collection:
                    self.assertEqual(repr(pickle.loads(pickle.dumps(back))), repr(back))
        self.assertEqual(echo(C("922337203685477.5807")).scaled, 2 ** 63 - 1)  # beyond what a float holds

    def test_generated_decimals_and_datetimes_round_trip(self):
        rng = random.Random(7)
        for _ in range(300):
            digits = rng.randint(1, 28)
            value = D(rng.randrange(10 ** digits)).scaleb(-rng.randint(0, digits)) * rng.choice((1, -1))
            self.assertEqual(echo(value), value)
            moment = datetime.datetime(100, 1, 1) + datetime.timedelta(milliseconds=rng.randrange(312413760000000))
            self.assertEqual(echo(moment).to_datetime(), moment)  # to the millisecond

    def test_an_aware_datetime_counts_in_local_time(self):
        self.addCleanup(time.tzset)
        with mock.patch.dict(os.environ, TZ="EST+5"):  # five hours behind UTC, all year
            time.tzset()
            naive = datetime.datetime(2024, 3, 1, 2)  # taken as it is; an aware one is moved to local time
            back = [echo(d).to_datetime() for d in (naive, naive.replace(tzinfo=datetime.timezone.utc))]
        self.assertEqual(back, [naive, datetime.datetime(2024, 2, 29, 21)])


class Dates(unittest.TestCase):
    def test_a_date_is_the_moment_it_stands_for(self):
        dt, td, last = datetime.datetime, datetime.timedelta, datetime.datetime(9999, 12, 31, 23, 59, 59, 999999)
        d, last_second = Date(2024, 2, 29, 12), last.replace(microsecond=0)
        # (computation, what it gives or the number of the error it raises)
        cases = [
            (lambda: Date(last), 6), (lambda: Date(last_second).to_datetime(), last_second),  # no time after 23:59:59
            (lambda: Date(dt(2024, 1, 1, 23, 59, 59, 999999)).date(), datetime.date(2024, 1, 1)),
            (lambda: Date(2958465.9999999995).to_datetime(), last.replace(microsecond=999000)),
            (lambda: Date(45351.9999999999).to_datetime(), dt(2024, 3, 1)),
            (lambda: Date(last_second) == last_second, True),
            (lambda: datetime.date(2024, 2, 29) == Date(2024, 2, 29), True), (lambda: d == dt(2024, 2, 29, 13), False),
            (lambda: Date(-1.25) < Date(-1.5), True), (lambda: dt(2024, 3, 1) > d, True),  # in time
            (lambda: d + td(hours=12), Date(2024, 3, 1)), (lambda: td(days=-1) + d, Date(2024, 2, 28, 12)),
            (lambda: d - td(days=1), Date(2024, 2, 28, 12)), (lambda: d - dt(2024, 2, 28), td(days=1.5)),
            (lambda: dt(2024, 3, 1) - d, td(hours=12)), (lambda: d + 1, 45352.5), (lambda: d - d, 0.0),
            (lambda: d.isoformat(), "2024-02-29T12:00:00"), (lambda: d.strftime("%d.%m.%Y"), "29.02.2024"),
            (lambda: Date(dt(99, 12, 31, 23)), 6), (lambda: Date(last_second) + td(seconds=1), 6),
            (lambda: Date(-657435.0), 6), (lambda: Date(math.inf).to_datetime(), 6),
        ]
        for compute, expected in cases:
            got = outcome(compute)
            self.assertEqual((type(got), got), (type(expected), expected), expected)


class Wrappers(unittest.TestCase):
    def test_conversions_and_currency_arithmetic(self):
        top, grid = C("922337203685477.5807"), Array([[1, 2, 3], [4, 5, 6]], bounds=[(1, 2), (0, 2)])
        # (computation, what it gives or the number of the error it raises)
        cases = [
            (lambda: I(-2.5), I(-2)), (lambda: Long("7.5"), Long(8)), (lambda: I(D("0.5")), I(0)),
            (lambda: I(True), I(-1)), (lambda: Double("x"), 13), (lambda: I(32768), 6), (lambda: I(-32769), 6),
            (lambda: Byte(256), 6), (lambda: Byte(-1), 6), (lambda: Long(2 ** 31), 6), (lambda: Single(1e39), 6),
            (lambda: I(math.inf), 6), (lambda: I(math.nan), 6), (lambda: C(2 ** 60), 6), (lambda: I("twelve"), 13),
            (lambda: Byte("x"), 13), (lambda: Single("x"), 13), (lambda: C("x"), 13), (lambda: C("0.00005"), C(0)),
            (lambda: C("0.00015"), C("0.0002")), (lambda: C("-0.00025"), C("-0.0002")), (lambda: C(1.5).scaled, 15000),
            (lambda: top.scaled, 2 ** 63 - 1), (lambda: 1 - C("0.3"), C("0.7")), (lambda: 2 / C(3), C("0.6667")),
            (lambda: C("0.0005") * C("0.5"), C("0.0002")), (lambda: C("0.0015") * C("0.5"), C("0.0008")),
            (lambda: C("-0.0005") * C("0.5"), C("-0.0002")), (lambda: round(C("2.25"), 1), C("2.2")),
            (lambda: -top - C("0.0001"), C("-922337203685477.5808")), (lambda: top + C("0.0001"), 6),
            (lambda: top * 2, 6), (lambda: round(C("2.5")), 2), (lambda: 0.5 * C(1), 0.5),
            (lambda: C("0.1") + D("0.00001"), D("0.10001")), (lambda: Date(1e9).to_datetime(), 6),
            (lambda: Array([1], bounds=[(0, 2 ** 40)]), 6), (lambda: echo(Array(["x"], of="Long")), 13),
            (lambda: grid[1, 2], 3), (lambda: grid[2, 1], 5),
        ]
        for compute, expected in cases:
            got = outcome(compute)
            self.assertEqual((type(got), got), (type(expected), expected), expected)
        for compute, error in [(lambda: C(1) / 0, ZeroDivisionError), (lambda: Array([1], of="Nothing"), TypeError),
                               (lambda: Array([[1, 2], [3]], bounds=[(0, 1), (0, 1)]), ValueError),
                               (lambda: Array([[1]], bounds=[(1, 1), (0, 0)])[0, 0], IndexError)]:
            self.assertRaises(error, compute)

    def test_single_is_rounded_to_single_precision_and_written_exactly(self):
        for x in [random.Random(3).uniform(-1e30, 1e30) for _ in range(200)]:
            expected = struct.unpack("<f", struct.pack("<f", x))[0]
            self.assertEqual(float(Single(x)), expected, x)
            self.assertEqual(Single(str(Single(x))), expected, f"{x} written and read back")
