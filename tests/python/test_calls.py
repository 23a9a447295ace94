"""Late-bound calls from Python: attributes, keywords, optional parameters, properties,
indexed properties, by-reference arguments, the errors of a call and hostile arguments."""

import datetime
import decimal
import gc
import math
import os
import tempfile
import unittest

import ztldata


class Creating(unittest.TestCase):
    def test_registered_and_bare_names_without_regard_to_case(self):
        for name in ("ZTLData.ZtNumeric", "ZtNumeric", "ztldata.ztnumeric", "ZTNUMERIC"):
            with self.subTest(name=name):
                self.assertEqual(ztldata.CreateObject(name).IsPrime(97), True)

    def test_what_cannot_be_created_raises_429(self):
        for name in ("ZtStack", "ZTLData.ZtRSA", "ZtNothing", "", "ZTLData."):
            with self.subTest(name=name):
                with self.assertRaises(ztldata.Error) as caught:
                    ztldata.CreateObject(name)
                self.assertEqual(caught.exception.number, 429)

    def test_every_class_is_listed(self):
        kinds = dict(ztldata.classes())
        self.assertEqual(len(kinds), 16)
        self.assertEqual(sum(kind == "component" for kind in kinds.values()), 7)
        for name, kind in kinds.items():
            with self.subTest(name=name):
                if kind == "utility":
                    self.assertEqual(repr(ztldata.CreateObject(name)), "<ztldata %s object>" % name)
                else:
                    self.assertIn(name, ztldata.Container().Place(name, name)._container)

    def test_enumerations_are_module_constants(self):
        self.assertEqual((ztldata.ztlStackFIFO, ztldata.ztlStackLIFO), (0, 1))
        self.assertEqual((ztldata.ztlEllipsePath, ztldata.ztlEllipseEnd), (16384, -32768))


class Calling(unittest.TestCase):
    def setUp(self):
        self.n = ztldata.CreateObject("ZtNumeric")

    def test_names_ignore_case(self):
        self.assertEqual(self.n.num2letter(5), self.n.Num2Letter(5))

    def test_optional_parameters_left_out_take_their_defaults(self):
        packed = self.n.CompressNumber(1234.5)
        self.assertEqual(packed, self.n.CompressNumber(1234.5, 9, 0))
        self.assertEqual(packed, self.n.CompressNumber(1234.5, ztldata.Missing, ztldata.Missing))

    def test_keywords_by_parameter_name(self):
        cases = [
            ((1234.567,), {"intDecimals": 2}, (1234.567, 9, 2)),
            ((), {"dblNumber": 5.25, "intSize": 4, "intDecimals": 2}, (5.25, 4, 2)),
            ((8.5,), {"intdecimals": 1, "INTSIZE": 5}, (8.5, 5, 1)),
        ]
        for args, kwargs, positional in cases:
            with self.subTest(kwargs=kwargs):
                self.assertEqual(self.n.CompressNumber(*args, **kwargs), self.n.CompressNumber(*positional))

    def test_keyword_misuse_is_a_type_error(self):
        with self.assertRaises(TypeError):
            self.n.CompressNumber(1.5, dblNumber=2.5)
        with self.assertRaises(TypeError):
            self.n.CompressNumber(1.5, intWidth=2)

    def test_arguments_convert_as_the_platform_converts(self):
        cases = [("text that is a number", "97", True), ("Double rounds half to even", 96.5, False),
                 ("Decimal", decimal.Decimal("97"), True), ("Boolean True is -1", True, False),
                 ("Currency", ztldata.Currency(97), True), ("Empty is 0", ztldata.Empty, False)]
        for name, value, expected in cases:
            with self.subTest(name):
                self.assertIs(self.n.IsPrime(value), expected)

    def test_results_have_their_declared_kinds(self):
        self.assertIs(type(self.n.ToArabic("XIV")), ztldata.Integer)
        self.assertIs(type(self.n.Factorial(5)), int)
        self.assertIs(type(self.n.GetE()), float)
        self.assertEqual(self.n.ToArabic("XIV"), 14)

    def test_methods_describe_themselves(self):
        self.assertIn("CompressNumber(dblNumber: Double, intSize: Integer = 9, intDecimals: Integer = 0) -> String",
                      self.n.CompressNumber.__doc__)
        self.assertIn("Compress a number into a string", self.n.CompressNumber.__doc__)
        self.assertIn("Num2Letter", dir(self.n))
        self.assertEqual(len([m for m in ztldata.describe("ZtStack") if m[0] == "Strategy"]), 2)

    def test_same_object_compares_equal(self):
        back = ztldata.Container().Place("ZtStack").Push(self.n)
        self.assertIsNot(back, self.n)
        self.assertEqual(back, self.n)
        self.assertEqual(hash(back), hash(self.n))
        self.assertNotEqual(self.n, ztldata.CreateObject("ZtNumeric"))


class Properties(unittest.TestCase):
    def setUp(self):
        self.form = ztldata.Container()

    def test_properties_read_and_write_as_attributes(self):
        stack = self.form.Place("ZtStack")
        self.assertEqual(stack.Strategy, ztldata.ztlStackFIFO)
        stack.Strategy = ztldata.ztlStackLIFO
        self.assertEqual(stack.Strategy, 1)
        self.assertIs(stack.Enabled, True)
        stack.Enabled = False
        self.assertIs(stack.Enabled, False)

    def test_indexed_property_through_item_access(self):
        bits = self.form.Place("ZtBits")
        bits.Create(40)
        for i in (0, 5, 39):
            bits.Bit[i] = True
        self.assertEqual([i for i in range(40) if bits.Bit[i]], [0, 5, 39])
        self.assertIs(bits.Bit(5), True)
        bits.Bit[5] = False
        self.assertIs(bits.Bit[5], False)

    def test_read_only_property_cannot_be_set(self):
        stack = self.form.Place("ZtStack")
        with self.assertRaises(ztldata.MemberError) as caught:
            stack.Size = 3
        self.assertEqual(caught.exception.number, 438)
        self.assertIsInstance(caught.exception, AttributeError)


class ByReference(unittest.TestCase):
    def setUp(self):
        self.arrays = ztldata.CreateObject("ZtArrays")

    def test_list_is_sorted_in_place(self):
        values = [5, "b", 2.5, "a", -1, "B"]
        alias = values
        self.arrays.Sort(values)
        self.assertIs(alias, values)
        self.assertEqual(values, [-1, 2.5, 5, "B", "a", "b"])  # numbers first, texts by code unit

    def test_array_keeps_its_bounds_and_type_when_sorted(self):
        a = ztldata.Array([30, 10, 20], lbound=1, of="Long")
        self.arrays.Sort(a)
        self.assertEqual((a.bounds, a.of, a.tolist()), ([(1, 3)], "Long", [10, 20, 30]))
        self.assertEqual(self.arrays.BinarySearch(a, 20), 2)

    def test_nested_lists_come_back_as_lists(self):
        values = [[2], [1]]
        self.arrays.Shuffle(values)
        self.assertTrue(all(type(v) is list for v in values))
        self.assertEqual(sorted(values), [[1], [2]])

    def test_ref_receives_the_new_value(self):
        data = ztldata.CreateObject("ZtData")
        a, b = ztldata.Ref([1, 2]), ztldata.Ref("two")
        data.Inter(a, b)
        self.assertEqual((a.value, b.value), ("two", [1, 2]))

    def test_a_list_cannot_take_a_value_that_is_no_array(self):
        data = ztldata.CreateObject("ZtData")
        values = [1, 2]
        data.Inter(values, "text")
        self.assertEqual(values, [1, 2])

    def test_a_tuple_where_the_operation_changes_its_argument_is_refused(self):
        data = ztldata.CreateObject("ZtData")
        cases = [
            ("Sort", lambda: self.arrays.Sort((3, 1, 2))),
            ("Shuffle", lambda: self.arrays.Shuffle((1, 2))),
            ("Inter, first", lambda: data.Inter((1,), ztldata.Ref(2))),
            ("Inter, second", lambda: data.Inter(ztldata.Ref(2), ())),
            ("by keyword", lambda: self.arrays.Sort(aArray=(2, 1))),
        ]
        for name, call in cases:
            with self.subTest(name):
                with self.assertRaisesRegex(TypeError, "in place"):
                    call()

    def test_objects_passed_by_reference_follow_the_exchange(self):
        form = ztldata.Container()
        stack, bits, c = form.Place("ZtStack"), form.Place("ZtBits"), ztldata.Collection([1])
        stack.Push("x")
        ztldata.CreateObject("ZtData").Inter(stack, c)
        # Each wrapper now holds the other object, with that object's class and members.
        self.assertIs(type(stack), ztldata.Collection)
        self.assertIs(type(c), ztldata.ZtStack)
        self.assertEqual((list(stack), c.Size), ([1], 1))
        ztldata.CreateObject("ZtData").Inter(c, bits)
        self.assertEqual((type(c), type(bits)), (ztldata.ZtBits, ztldata.ZtStack))

    def test_a_tuple_is_read_where_the_operation_only_reads(self):
        cases = [("GetSum", self.arrays.GetSum, 6), ("GetMax", self.arrays.GetMax, 3),
                 ("Dimensions", self.arrays.Dimensions, 1), ("IsEmpty", self.arrays.IsEmpty, False)]
        for name, operation, expected in cases:
            with self.subTest(name):
                self.assertEqual(operation((1, 2, 3)), expected)
        self.assertEqual(self.arrays.BinarySearch((1, 2, 3), 3), 2)


class Errors(unittest.TestCase):
    def setUp(self):
        self.n = ztldata.CreateObject("ZtNumeric")

    def test_dispatch_errors_carry_the_platform_number(self):
        cases = [
            ("unknown member", lambda: self.n.Foo(1), 438),
            ("too few arguments", lambda: self.n.Max(1), 450),
            ("too many arguments", lambda: self.n.Max(1, 2, 3), 450),
            ("text that is no number", lambda: self.n.IsPrime("seven"), 13),
            ("beyond the Long range", lambda: self.n.IsPrime(2 ** 40), 6),
            ("beyond the Integer range", lambda: self.n.ToRoman(40000), 6),
            ("array for a number", lambda: self.n.IsPrime([1]), 13),
            ("Null for a number", lambda: self.n.IsPrime(ztldata.Null), 13),
            ("object for a number", lambda: self.n.IsPrime(self.n), 13),
            ("required argument left out", lambda: self.n.Max(ztldata.Missing, 1), 449),
            ("keyword gap before a required one", lambda: self.n.CompressNumber(intSize=3), 449),
            ("integer too large even for a Double", lambda: self.n.Max(10 ** 400, 1), 6),
        ]
        for name, call, number in cases:
            with self.subTest(name):
                with self.assertRaises(ztldata.Error) as caught:
                    call()
                self.assertEqual(caught.exception.number, number)
                self.assertTrue(str(caught.exception))

    def test_unknown_member_is_an_attribute_error(self):
        self.assertFalse(hasattr(self.n, "NoSuchOperation"))
        self.assertIsNone(getattr(self.n, "NoSuchOperation", None))

    def test_operations_themselves_never_raise(self):
        # Failing steps inside an operation give the default result instead.
        self.assertEqual(self.n.LogN(-1, 10), 0)
        self.assertEqual(self.n.Factorial(100), 0)
        self.assertEqual(self.n.ToArabic("not roman"), 0)

    def test_hostile_arguments_raise_and_never_crash(self):
        looped = [1]
        looped.append(looped)
        deep = []
        for _ in range(200):
            deep = [deep]

        class Odd:
            pass

        values = [{}, {"a": 1}, b"bytes", bytearray(b"x"), Odd(), Odd, object(), lambda: 0, looped, deep,
                  ztldata.Array, ztldata.Container(), 1j, ..., NotImplemented, {1, 2}, range(3), iter([]),
                  10 ** 10000, -10 ** 10000, decimal.Decimal("sNaN"), ztldata.Ref(looped)]
        members = [(self.n, "Max", 2), (ztldata.CreateObject("ZtData"), "Purge", 1),
                   (ztldata.CreateObject("ZtArrays"), "Sort", 1), (ztldata.CreateObject("ZtObjects"), "IsSet", 1),
                   (ztldata.CreateObject("ZtCollections"), "Sort", 1), (ztldata.CreateObject("ZtStrings"), "sPrintf", 2)]
        for value in values:
            for owner, member, count in members:
                with self.subTest(value=type(value).__name__, member=member):
                    try:
                        getattr(owner, member)(*([value] * count))
                    except (ztldata.Error, TypeError):
                        pass
        gc.collect()

    def test_every_member_of_every_class_with_hostile_values(self):
        pool = [None, ztldata.Empty, ztldata.Null, ztldata.Missing, -1, 0, 2 ** 31, -2 ** 63, 1e308, math.nan,
                -math.inf, "", "x" * 5000, "\ud800\U0001F600", "12.5", [1, [2, "a"]], (), ztldata.Array.unallocated(),
                ztldata.Array([1], bounds=[(2 ** 31 - 1, 2 ** 31 - 1)]), ztldata.Collection([1, "k"]),
                ztldata.Integer(-32768), ztldata.Byte(255), ztldata.Single(-0.0), ztldata.Currency("-1.5"),
                decimal.Decimal("-7.25"), datetime.datetime(1, 1, 1), ztldata.ErrorValue(5), self.n, True]
        form = ztldata.Container()
        folder = tempfile.mkdtemp()
        cwd = os.getcwd()
        os.chdir(folder)  # ZtBits may write files named by the values
        try:
            for class_name, kind in ztldata.classes():
                owner = form.Place(class_name) if kind == "component" else ztldata.CreateObject(class_name)
                for name, member_kind, _, _, _, params in ztldata.describe(class_name):
                    if name == "About":
                        continue
                    with self.subTest(member="%s.%s (%s)" % (class_name, name, member_kind)):
                        for value in pool:
                            args = (value,) * len(params)
                            try:
                                ztldata._core.invoke(owner, name, {"method": 0, "get": 1, "let": 2}[member_kind], args)
                            except (ztldata.Error, TypeError):
                                pass
        finally:
            os.chdir(cwd)
            for leftover in os.listdir(folder):
                os.remove(os.path.join(folder, leftover))
            os.rmdir(folder)

    def test_an_operation_applies_only_to_objects_of_its_class(self):
        for other in (ztldata.CreateObject("ZtBases"), ztldata.Collection(), 5, None):
            with self.subTest(other=type(other).__name__):
                with self.assertRaises(TypeError):
                    ztldata.ZtNumeric.IsEven(other, 4)
        with self.assertRaises(TypeError):
            ztldata.ZtNumeric.IsEven()
        self.assertIs(ztldata.ZtNumeric.IsEven(self.n, 4), True)

    def test_bad_member_names(self):
        for name in ("", "\ud800", "x" * 10000, "Max\0"):
            with self.subTest(name=name[:10]):
                with self.assertRaises(AttributeError):
                    getattr(self.n, name)


if __name__ == "__main__":
    unittest.main()
