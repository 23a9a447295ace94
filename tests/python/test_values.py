"""Values crossing between Python and the library: every kind there and back, the typed
wrappers, dates, decimals, arrays and VarType."""

import datetime
import decimal
import math
import os
import pickle
import random
import struct
import time
import unittest

import ztldata


def echo(value):
    """The value as the library hands it back: ZtStack.Push returns what it was given."""
    stack = ztldata.Container().Place("ZtStack")
    return stack.Push(value)


class RoundTrip(unittest.TestCase):
    def test_plain_values_keep_their_type_and_value(self):
        cases = [
            ("text", "text", str),
            ("empty text", "", str),
            ("beyond the BMP", "a\U0001F600b", str),
            ("lone surrogate", "x\ud800y", str),
            ("True", True, bool),
            ("False", False, bool),
            ("Long", 123456, int),
            ("Long lowest", -2147483648, int),
            ("Long highest", 2147483647, int),
            ("Double", 2.5, float),
            ("negative zero", -0.0, float),
            ("infinity", math.inf, float),
        ]
        for name, value, kind in cases:
            with self.subTest(name):
                back = echo(value)
                self.assertIs(type(back), kind)
                self.assertEqual(back, value)

    def test_int_beyond_long_becomes_double(self):
        for value in (2147483648, -2147483649, 2 ** 53, -(10 ** 20)):
            with self.subTest(value=value):
                back = echo(value)
                self.assertIs(type(back), float)
                self.assertEqual(back, float(value))
                self.assertEqual(ztldata.VarType(value), 5)

    def test_nan_stays_nan(self):
        self.assertTrue(math.isnan(echo(math.nan)))

    def test_sentinels(self):
        self.assertIs(echo(ztldata.Empty), ztldata.Empty)
        self.assertIs(echo(ztldata.Null), ztldata.Null)
        self.assertIs(echo(None), ztldata.Empty)  # None is Empty for a Variant parameter
        self.assertEqual(echo(ztldata.ErrorValue(5)), ztldata.ErrorValue(5))

    def test_typed_wrappers_come_back_as_themselves(self):
        cases = [
            (ztldata.Integer(-32768), ztldata.Integer, 2),
            (ztldata.Integer(32767), ztldata.Integer, 2),
            (ztldata.Byte(255), ztldata.Byte, 17),
            (ztldata.Single(0.1), ztldata.Single, 4),
            (ztldata.Currency("-922337203685477.5808"), ztldata.Currency, 6),
            (ztldata.Currency("1.2345"), ztldata.Currency, 6),
        ]
        for value, kind, code in cases:
            with self.subTest(value=value):
                back = echo(value)
                self.assertIs(type(back), kind)
                self.assertEqual(back, value)
                self.assertEqual(ztldata.VarType(value), code)
        self.assertEqual(echo(ztldata.Currency("1.2345")).scaled, 12345)

    def test_long_and_double_wrappers_give_their_kinds(self):
        self.assertEqual(ztldata.VarType(ztldata.Long(5)), 3)
        self.assertEqual(ztldata.VarType(ztldata.Double(5)), 5)
        self.assertIs(type(echo(ztldata.Double(5))), float)
        self.assertIs(type(echo(ztldata.Long(5))), int)

    def test_wrappers_compare_as_numbers(self):
        self.assertEqual(ztldata.Integer(7), 7)
        self.assertEqual(ztldata.Byte(7) + 1, 8)
        self.assertEqual(ztldata.Single(0.5), 0.5)
        self.assertEqual(ztldata.Currency(2.5), 2.5)
        self.assertTrue(isinstance(ztldata.Integer(1), int) and isinstance(ztldata.Single(1), float))

    def test_decimals_round_trip_exactly(self):
        rng = random.Random(7)
        values = [decimal.Decimal("0"), decimal.Decimal("-1.5"), decimal.Decimal("79228162514264337593543950335"),
                  decimal.Decimal("0.0000000000000000000000000001")]
        for _ in range(300):
            digits = rng.randint(1, 28)
            magnitude = rng.randrange(10 ** digits)
            scale = rng.randint(0, min(digits, 28))
            values.append(decimal.Decimal(magnitude).scaleb(-scale) * rng.choice((1, -1)))
        for value in values:
            with self.subTest(value=value):
                back = echo(value)
                self.assertIsInstance(back, decimal.Decimal)
                self.assertEqual(back, value)
        self.assertEqual(ztldata.VarType(decimal.Decimal("1.5")), 14)

    def test_decimal_out_of_range_is_an_error(self):
        cases = [("too large", "1E+29", 6), ("not a number", "NaN", 13), ("infinite", "Infinity", 13)]
        for name, text, number in cases:
            with self.subTest(name):
                with self.assertRaises(ztldata.Error) as caught:
                    echo(decimal.Decimal(text))
                self.assertEqual(caught.exception.number, number)


class Dates(unittest.TestCase):
    def test_documented_day_counts(self):
        cases = [
            (datetime.datetime(1899, 12, 30), 0.0),
            (datetime.datetime(1899, 12, 30, 12), 0.5),
            (datetime.datetime(1899, 12, 29, 6), -1.25),  # the time counts forward from the day
            (datetime.datetime(1900, 1, 1), 2.0),
            (datetime.date(2000, 1, 1), 36526.0),
        ]
        for moment, days in cases:
            with self.subTest(moment=moment):
                self.assertEqual(float(ztldata.Date(moment)), days)
                back = echo(moment)
                self.assertIsInstance(back, ztldata.Date)
                self.assertEqual(float(back), days)

    def test_datetimes_round_trip_to_the_millisecond(self):
        rng = random.Random(11)
        for _ in range(500):
            moment = datetime.datetime(rng.randint(1, 9999), rng.randint(1, 12), rng.randint(1, 28),
                                       rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59),
                                       rng.randint(0, 999) * 1000)
            with self.subTest(moment=moment):
                self.assertEqual(echo(moment).to_datetime(), moment)
                self.assertEqual(ztldata.Date(moment).date(), moment.date())

    def test_date_is_a_day_count(self):
        d = ztldata.Date(2024, 2, 29, 12)
        self.assertEqual(d + 1, float(ztldata.Date(2024, 3, 1, 12)))
        self.assertEqual(repr(d), "ztldata.Date(2024, 2, 29, 12)")
        self.assertEqual(str(d), "2024-02-29 12:00:00")

    def test_dates_outside_datetime_raise_overflow(self):
        with self.assertRaises(ztldata.Error) as caught:
            ztldata.Date(1e9).to_datetime()
        self.assertEqual(caught.exception.number, 6)


class TypedWrappers(unittest.TestCase):
    def test_fractions_round_half_to_even(self):
        cases = [(2.5, 2), (3.5, 4), (-2.5, -2), ("7.5", 8), (decimal.Decimal("0.5"), 0)]
        for value, expected in cases:
            with self.subTest(value=value):
                self.assertEqual(ztldata.Integer(value), expected)
                self.assertEqual(ztldata.Long(value), expected)

    def test_out_of_range_is_overflow(self):
        cases = [
            (ztldata.Integer, 32768), (ztldata.Integer, -32769), (ztldata.Byte, 256), (ztldata.Byte, -1),
            (ztldata.Long, 2 ** 31), (ztldata.Single, 1e39), (ztldata.Currency, 2 ** 60),
            (ztldata.Integer, math.inf), (ztldata.Integer, math.nan),
        ]
        for kind, value in cases:
            with self.subTest(kind=kind.__name__, value=value):
                with self.assertRaises(ztldata.Error) as caught:
                    kind(value)
                self.assertEqual(caught.exception.number, 6)

    def test_single_is_rounded_to_single_precision(self):
        rng = random.Random(3)
        for _ in range(200):
            x = rng.uniform(-1e30, 1e30)
            expected = struct.unpack("<f", struct.pack("<f", x))[0]
            with self.subTest(x=x):
                self.assertEqual(float(ztldata.Single(x)), expected)
                self.assertEqual(float(echo(ztldata.Single(x))), expected)
                self.assertEqual(ztldata.Single(str(ztldata.Single(x))), ztldata.Single(x))  # shortest text

    def test_currency_rounds_half_to_even_at_the_fourth_decimal(self):
        cases = [("0.00005", 0), ("0.00015", 2), ("-0.00025", -2), (1.5, 15000), (12, 120000),
                 ("922337203685477.5807", 2 ** 63 - 1)]
        for value, scaled in cases:
            with self.subTest(value=value):
                self.assertEqual(ztldata.Currency(value).scaled, scaled)
        self.assertEqual(str(ztldata.Currency("12.50")), "12.5")
        self.assertEqual(ztldata.Currency("0.1").to_decimal(), decimal.Decimal("0.1"))

    def test_currency_from_the_library_is_exact(self):
        # Beyond 2^53 a float cannot hold every Currency; `scaled` still does.
        big = ztldata.Currency("922337203685477.5807")
        self.assertEqual(echo(big).scaled, big.scaled)
        self.assertEqual(str(echo(big)), "922337203685477.5807")

    def test_text_converts_as_a_calls_argument_does(self):
        # One rule for both: a wrapper made from a text holds what a Long parameter receives
        # (Long2Base in base 10 writes it back), and fails with the same error.
        bases = ztldata.CreateObject("ZtBases")
        for text in ("&H10", "$1,000", " 12 ", "(5)", "1e3", "&O17", "&HFFFF", "twelve", "99999999999"):
            with self.subTest(text=text):
                try:
                    expected = int(bases.Long2Base(text, 10))
                except ztldata.Error as e:
                    expected = e.number
                try:
                    got = int(ztldata.Long(text))
                except ztldata.Error as e:
                    got = e.number
                self.assertEqual(got, expected)
        self.assertEqual((ztldata.Integer("&H10"), ztldata.Currency("$1,000").scaled), (16, 10000000))

    def test_text_that_is_no_number_is_a_type_mismatch(self):
        for kind in (ztldata.Integer, ztldata.Byte, ztldata.Single, ztldata.Currency, ztldata.Double):
            with self.subTest(kind=kind.__name__):
                with self.assertRaises(ztldata.Error) as caught:
                    kind("twelve")
                self.assertEqual(caught.exception.number, 13)


class CurrencyArithmetic(unittest.TestCase):
    def test_exact_with_currencies_and_ints(self):
        C = ztldata.Currency
        cases = [
            ("0.1 + 0.2", lambda: C(0.1) + C(0.2), "0.3"),
            ("int + Currency", lambda: 1 + C("0.0001"), "1.0001"),
            ("sum", lambda: sum([C("0.1")] * 10), "1"),
            ("Currency - int", lambda: C("0.3") - 1, "-0.7"),
            ("int - Currency", lambda: 1 - C("0.3"), "0.7"),
            ("Currency * int", lambda: C("0.1") * 3, "0.3"),
            ("Currency * Currency rounds half to even", lambda: C("0.0005") * C("0.5"), "0.0002"),
            ("halves round to even upwards", lambda: C("0.0015") * C("0.5"), "0.0008"),
            ("negative halves", lambda: C("-0.0005") * C("0.5"), "-0.0002"),
            ("Currency / int", lambda: C(1) / 3, "0.3333"),
            ("int / Currency", lambda: 2 / C(3), "0.6667"),
            ("negation", lambda: -C("1.5"), "-1.5"),
            ("abs", lambda: abs(C("-2.25")), "2.25"),
            ("round to 1 decimal, half to even", lambda: round(C("2.25"), 1), "2.2"),
        ]
        for name, compute, text in cases:
            with self.subTest(name):
                result = compute()
                self.assertIs(type(result), C)
                self.assertEqual(str(result), text)
                self.assertEqual(result.to_decimal(), decimal.Decimal(text))
        self.assertEqual(round(ztldata.Currency("2.5")), 2)

    def test_floats_and_decimals_give_their_own_kind(self):
        C = ztldata.Currency
        self.assertIs(type(C(1) + 0.5), float)
        self.assertIs(type(0.5 * C(1)), float)
        self.assertEqual(C("0.1") + decimal.Decimal("0.00001"), decimal.Decimal("0.10001"))
        self.assertEqual(C("0.1") + C("0.2"), 0.3)

    def test_range_and_zero_division(self):
        C = ztldata.Currency
        top = C("922337203685477.5807")
        for name, compute, error in [("past the top", lambda: top + C("0.0001"), ztldata.Error),
                                     ("past the bottom", lambda: -top - 1, ztldata.Error),
                                     ("product", lambda: top * 2, ztldata.Error),
                                     ("by zero", lambda: C(1) / 0, ZeroDivisionError)]:
            with self.subTest(name):
                with self.assertRaises(error):
                    compute()
        self.assertEqual(str(-top - C("0.0001")), "-922337203685477.5808")


class TimeZones(unittest.TestCase):
    def setUp(self):
        self.saved = os.environ.get("TZ")
        os.environ["TZ"] = "EST+5"  # five hours behind UTC, all year
        time.tzset()

    def tearDown(self):
        if self.saved is None:
            del os.environ["TZ"]
        else:
            os.environ["TZ"] = self.saved
        time.tzset()

    def test_an_aware_datetime_counts_in_local_time(self):
        utc = datetime.timezone.utc
        cases = [
            (datetime.datetime(2024, 2, 29, 17, 0, tzinfo=utc), datetime.datetime(2024, 2, 29, 12, 0)),
            (datetime.datetime(2024, 3, 1, 2, 0, tzinfo=utc), datetime.datetime(2024, 2, 29, 21, 0)),
            (datetime.datetime(2024, 2, 29, 12, 0, tzinfo=datetime.timezone(datetime.timedelta(hours=-5))),
             datetime.datetime(2024, 2, 29, 12, 0)),
        ]
        for aware, local in cases:
            with self.subTest(aware=aware.isoformat()):
                self.assertEqual(float(ztldata.Date(aware)), float(ztldata.Date(local)))
                self.assertEqual(echo(aware).to_datetime(), local)
        d = ztldata.CreateObject("ZtDate")
        self.assertEqual(d.LastDay(datetime.datetime(2024, 3, 1, 2, 0, tzinfo=utc)).date(), datetime.date(2024, 2, 29))

    def test_naive_datetimes_are_taken_as_they_are(self):
        moment = datetime.datetime(2024, 2, 29, 17, 0)
        self.assertEqual(echo(moment).to_datetime(), moment)


class Pickling(unittest.TestCase):
    def test_values_and_errors_survive_pickling(self):
        values = [ztldata.Integer(-5), ztldata.Byte(7), ztldata.Single(0.1), ztldata.Currency("-1.2345"),
                  ztldata.Long(9), ztldata.Double(2.5), ztldata.Date(2024, 2, 29, 6), ztldata.Empty, ztldata.Null,
                  ztldata.Array([[1, 2]], bounds=[(1, 1), (0, 1)], of="Long"), ztldata.Error(13, "Type mismatch")]
        for value in values:
            with self.subTest(value=value):
                back = pickle.loads(pickle.dumps(value))
                self.assertIs(type(back), type(value))
                self.assertEqual(repr(back), repr(value))
        self.assertIs(pickle.loads(pickle.dumps(ztldata.Empty)), ztldata.Empty)
        self.assertEqual(pickle.loads(pickle.dumps(ztldata.Error(13, "x"))).number, 13)


class Arrays(unittest.TestCase):
    def test_vartype_of_arrays(self):
        cases = [([1, 2], 8204), ((1, "a"), 8204), (ztldata.Array([1], of="Long"), 8195),
                 (ztldata.Array(["a"], of="String"), 8200), (ztldata.Array.unallocated("Double"), 8197)]
        for value, code in cases:
            with self.subTest(value=value):
                self.assertEqual(ztldata.VarType(value), code)

    def test_arrays_come_back_with_bounds_and_type(self):
        cases = [
            ztldata.Array([10, 20, 30], lbound=1),
            ztldata.Array([3, 1, 2], lbound=-5, of="Long"),
            ztldata.Array([[1, 2, 3], [4, 5, 6]], bounds=[(1, 2), (0, 2)], of="Integer"),
            ztldata.Array([[["a"], ["b"]]], bounds=[(7, 7), (1, 2), (0, 0)]),
            ztldata.Array.unallocated("String"),
            ztldata.Array([], lbound=3),
        ]
        for array in cases:
            with self.subTest(array=array):
                back = echo(array)
                self.assertIsInstance(back, ztldata.Array)
                self.assertEqual(back.bounds, array.bounds)
                self.assertEqual(back.of, array.of)
                self.assertEqual(back.tolist(), array.tolist())

    def test_multi_dimensional_indexing(self):
        a = ztldata.Array([[1, 2, 3], [4, 5, 6]], bounds=[(1, 2), (0, 2)])
        self.assertEqual((a[1, 0], a[1, 2], a[2, 1]), (1, 3, 5))
        self.assertEqual(list(a), [1, 4, 2, 5, 3, 6])  # storage order: first dimension fastest
        with self.assertRaises(IndexError):
            a[0, 0]

    def test_typed_array_converts_its_items(self):
        back = echo(ztldata.Array([1.5, 2.5, "7"], of="Integer"))
        self.assertEqual(back.tolist(), [2, 2, 7])
        self.assertTrue(all(type(x) is ztldata.Integer for x in back))
        with self.assertRaises(ztldata.Error) as caught:
            echo(ztldata.Array(["x"], of="Long"))
        self.assertEqual(caught.exception.number, 13)

    def test_shape_mismatch_is_refused(self):
        with self.assertRaises(ValueError):
            ztldata.Array([[1, 2], [3]], bounds=[(0, 1), (0, 1)])
        with self.assertRaises(ztldata.Error):
            ztldata.Array([1], bounds=[(0, 2 ** 40)])


if __name__ == "__main__":
    unittest.main()
