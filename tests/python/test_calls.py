"""Calls as Python makes them: in-place updates, object identity, errors, hostile arguments,
threads."""

import datetime
import decimal
import math
import os
import sys
import tempfile
import threading
import time
import unittest

import ztldata
from ztldata import Error, ItemIndexError as Index, ItemKeyError as Key, MemberError as Member


class InPlace(unittest.TestCase):
    def setUp(self):
        self.arrays, self.data = ztldata.CreateObject("ZtArrays"), ztldata.CreateObject("ZtData")

    def test_lists_and_refs_take_the_new_contents_and_tuples_are_refused(self):
        values, nested = [5, "b", 2.5, "a", -1, "B"], [[2], [1]]
        self.arrays.Sort(values)
        self.arrays.Shuffle(nested)
        self.assertEqual(values, [-1, 2.5, 5, "B", "a", "b"])
        self.assertEqual(sorted(nested), [[1], [2]])
        self.assertIs(type(nested[0]), list)
        a, b, kept = ztldata.Ref([1, 2]), ztldata.Ref(ztldata.Integer(3)), [1, 2]
        self.data.Inter(a, b)
        self.data.Inter(kept, "text")  # a list cannot take a value that is no array
        self.assertEqual(repr(a.value), "ztldata.Integer(3)")
        self.assertEqual(b.value, [1, 2])
        self.assertEqual(kept, [1, 2])
        for call in [lambda: self.arrays.Shuffle((1, 2)), lambda: self.data.Inter((1,), ztldata.Ref(2)),
                     lambda: self.data.Inter(ztldata.Ref(2), ()), lambda: self.arrays.Sort(aArray=(2, 1))]:
            self.assertRaisesRegex(TypeError, "in place", call)

    def test_objects_keep_their_identity_and_follow_an_exchange(self):
        form, n = ztldata.Container(), ztldata.CreateObject("ztldata.ztnumeric")  # any case
        stack, bits, c = form.Place("ZtStack"), form.Place("ZtBits"), ztldata.Collection([1])
        back = stack.Push(n)
        self.assertIsNot(back, n)
        self.assertEqual(back, n)
        self.assertEqual(hash(back), hash(n))
        self.assertNotEqual(n, ztldata.CreateObject("ZtNumeric"))
        self.data.Inter(stack, c)  # each wrapper now holds the other object, with its class
        self.assertIs(type(stack), ztldata.Collection)
        self.assertIs(type(c), ztldata.ZtStack)
        self.assertEqual(list(stack), [1])
        self.assertEqual(c.Size, 1)
        self.data.Inter(c, bits)
        self.assertIs(type(c), ztldata.ZtBits)
        self.assertIs(type(bits), ztldata.ZtStack)
        self.assertEqual(n.CompressNumber(dblNumber=1.5, INTSIZE=4, intdecimals=2), n.CompressNumber(1.5, 4, 2))


class Errors(unittest.TestCase):
    def test_each_error_raises_its_exception_class(self):
        n, strings = ztldata.CreateObject("ZtNumeric"), ztldata.CreateObject("ZtStrings")
        form, dc, c = ztldata.Container(), ztldata.DeviceContext(), ztldata.Collection({"k": 1})
        stack, crc = form.Place("ZtStack", "s"), form.Place("ZtCRC32")
        dc.close()
        # (call, the number of the ztldata.Error it raises, or the exception class)
        cases = [
            (lambda: ztldata.CreateObject("ZtStack"), 429), (lambda: form.Place("ZtNumeric"), 429),
            (lambda: form.Place("ZtBits", "S"), 5), (lambda: n.Foo(1), Member),
            (lambda: setattr(stack, "Size", 3), Member), (lambda: getattr(n, "Max\0"), AttributeError),
            (lambda: setattr(c, "Count", 5), AttributeError), (lambda: n.Max(ztldata.Missing, 1), 449),
            (lambda: n.CompressNumber(intSize=3), 449), (lambda: n.Max(10 ** 400, 1), 6), (lambda: n.Sum(), 450),
            (lambda: n.Sum("abc"), 13), (lambda: n.Sum(10 ** 12), 6), (lambda: ztldata.Currency(1) / 0, 11),
            (lambda: stack.Push(datetime.datetime(99, 12, 31, 23)), 6),
            (lambda: stack.Push(decimal.Decimal("1E+29")), 6), (lambda: crc.InitCRC32(2 ** 32, 0), 6),
            (lambda: crc.InitCRC32(-2 ** 31 - 1, 0), 6), (lambda: n.IsEven(0xFFFFFFFF), 6), (lambda: n.IsPrime(n), 13),
            (lambda: stack.Push(decimal.Decimal("NaN")), 13), (lambda: n.IsPrime({}), TypeError),
            (lambda: n.Max(1, y=2), TypeError), (lambda: n.CompressNumber(1.5, dblNumber=2.5), TypeError),
            (lambda: form.Place(42), TypeError), (lambda: ztldata.ZtNumeric(), TypeError),
            (lambda: form.Load(5), TypeError), (lambda: n.ToArabic(b"XIV"), TypeError),
            (lambda: strings.sPrintf(b"%d", 1), TypeError), (lambda: ztldata.ZtNumeric.IsEven(c, 4), TypeError),
            (lambda: c[2], Index), (lambda: c.Item(0), Index), (lambda: c.__setitem__(5, 0), Index),
            (lambda: c.Remove(-1), Index), (lambda: c.Add(2, before=9), Index), (lambda: c["nope"], Key),
            (lambda: c.__setitem__("new", 0), Key), (lambda: c.__delitem__("x"), Key),
            (lambda: c.Add(2, after="x"), Key), (lambda: c.Add(3, before=1, after=1), 5),
            (lambda: c.Add(2, key="K"), 457), (lambda: c.Item(ztldata.Null), 13), (lambda: c.Add(3, key=[1]), 13),
            (lambda: ztldata.DeviceContext(ztldata.FIXED_PITCH_FONT, 1001), 5),
            (lambda: ztldata.DeviceContext("No Such Font Family XYZ", 10), Error),
            (lambda: strings.EllipseText("x", 1, 1, dc, 0), Error),
        ]
        # Each is also the built-in exception Python code catches for it.
        kinds = {Index: (5, IndexError), Key: (5, KeyError), Member: (438, AttributeError)}
        builtins = {6: OverflowError, 11: ZeroDivisionError, 13: TypeError, 449: TypeError, 450: TypeError}
        for call, expected in cases:
            with self.subTest(expected=expected):
                with self.assertRaises(Error if isinstance(expected, int) else expected) as caught:
                    call()
                number, builtin = kinds.get(expected, (expected if isinstance(expected, int) else None,
                                                       builtins.get(expected, Exception)))
                self.assertEqual(number and caught.exception.number, number)
                self.assertIsInstance(caught.exception, builtin)
        self.assertEqual(c.items(), [("k", 1)])
        self.assertFalse(hasattr(n, "NoSuchOperation"))

    def test_hostile_arguments_to_every_member_raise_and_never_crash(self):
        looped, deep = [1], []
        looped.append(looped)
        for _ in range(200):
            deep = [deep]
        pool = [None, ztldata.Empty, ztldata.Null, ztldata.Missing, -1, 2 ** 31, -2 ** 63, 1e308, math.nan, "x" * 5000,
                "\ud800\U0001F600", "12.5", [1, [2, "a"]], (), ztldata.Array.unallocated(), ztldata.Collection([1]),
                ztldata.Array([1], bounds=[(2 ** 31 - 1,) * 2]), ztldata.Integer(-32768), ztldata.Single(-0.0),
                ztldata.Currency("-1.5"), decimal.Decimal("-7.25"), datetime.datetime(1, 1, 1), ztldata.ErrorValue(5),
                {}, b"bytes", object(), looped, deep, 10 ** 10000, decimal.Decimal("sNaN"), ztldata.Ref(looped)]
        form, cwd = ztldata.Container(), os.getcwd()
        with tempfile.TemporaryDirectory() as folder:
            os.chdir(folder)  # ZtBits may write files named by the values
            try:
                for class_name, kind in ztldata.classes():
                    owner = form.Place(class_name) if kind == "component" else ztldata.CreateObject(class_name)
                    for name, member_kind, _, _, _, params in ztldata.describe(class_name):
                        code = ["method", "get", "let"].index(member_kind)
                        for value in pool if name != "About" else []:
                            try:
                                ztldata._core.invoke(owner, name, code, (value,) * len(params))
                            except (ztldata.Error, TypeError):
                                pass
            finally:
                os.chdir(cwd)


class Threads(unittest.TestCase):
    def test_a_large_call_lets_other_threads_run(self):
        strings, data = ztldata.CreateObject("ZtStrings"), bytes(range(256)) * 16384
        started, done, turns = threading.Event(), threading.Event(), 0

        def call():
            started.set()
            try:
                strings.ASCIIToEBCDIC(data)
            finally:
                done.set()

        # Threads switch only where one releases the GIL (sleep(0) here), so this loop turns
        # only while the call has released it.
        interval = sys.getswitchinterval()
        sys.setswitchinterval(100)
        try:
            worker = threading.Thread(target=call)
            worker.start()
            started.wait()
            while not done.is_set():
                turns += 1
                time.sleep(0)
            worker.join()
        finally:
            sys.setswitchinterval(interval)
        self.assertGreater(turns, 3)

    def test_calls_on_one_object_from_several_threads_take_turns(self):
        form = ztldata.Container()
        stack = form.Place("ZtStack")
        items = [str(i) * 5000 for i in range(200)]  # each large enough to release the GIL
        workers = [threading.Thread(target=lambda part=items[k::4]: [stack.Push(x) for x in part]) for k in range(4)]
        for worker in workers:
            worker.start()
        sizes = [(stack.Size, form.Save())[0] for _ in range(50)]  # small calls and the form meanwhile
        for worker in workers:
            worker.join()
        self.assertEqual(sizes, sorted(sizes))
        self.assertEqual(sorted(stack.Pop() for _ in items), sorted(items))
