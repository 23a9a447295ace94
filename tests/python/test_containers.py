"""Containers and the host's Collection as Python sees them."""

import collections.abc
import copy
import gc
import pickle
import unittest

import ztldata


class Containers(unittest.TestCase):
    def test_names_lifetimes_and_release(self):
        form = ztldata.Container()
        placed = [form.Place("ZtStack"), form.Place("ZTLData.ZtStack"), form.Place("ztbits", "flags")]
        self.assertEqual([form[name] for name in form], placed)
        self.assertEqual(len(form), 3)
        self.assertIn("FLAGS", form)
        self.assertTrue(form.Release("ZtStack1"))
        self.assertFalse(form.Release("ZtStack1"), "released twice")
        self.assertEqual(list(form), ["ZtStack2", "flags"])
        stack = ztldata.Container().Place("ZtStack")
        gc.collect()  # the component keeps its container
        self.assertEqual(stack.Push("kept"), "kept")
        self.assertEqual(list(stack._container), ["ZtStack1"])

    def test_what_cannot_be_loaded_is_described_and_hostile_documents_load(self):
        text = ("ZTLData form 1\nBegin ZTLData.ZtNothing Thing1\nEnd\n"
                "Begin ZTLData.ZtStack S\n    Strategy = Long 1\nEnd\n")
        for given in (text, text.encode(), memoryview(text.encode())):  # the text, or a file's UTF-8 bytes
            with self.subTest(given=type(given).__name__):
                form = ztldata.Container.Load(given)
                self.assertEqual(list(form), ["S"])
                self.assertEqual(form["S"].Strategy, 1)
                self.assertTrue(form.problems)
        for text in ("", "\0\0\0", b"\xff\xfe\x00", "Begin\nEnd\n" * 50,
                     "ZTLData form 1\nBegin ZTLData.ZtStack \ud800\nEnd\n",
                     "ZTLData form 1\nBegin ZTLData.ZtBits B\n    Enabled = Long 99999999999\nEnd\n"):
            self.assertIsInstance(ztldata.Container.Load(text).problems, list)


class CollectionProtocol(unittest.TestCase):
    def test_count_iteration_membership_and_item_assignment(self):
        c = ztldata.Collection({"x": 1, "y": "two"})
        c.Add(3.5)
        self.assertEqual(c.count, 3)
        self.assertEqual(list(reversed(c)), [3.5, "two", 1])
        self.assertEqual(dict(zip(c, "ab")), {1: "a", "two": "b"})
        self.assertEqual([v in c for v in (1, "two", 3.5, "x", 2, None)], [True, True, True, False, False, False])
        self.assertIsInstance(c, collections.abc.Collection)
        self.assertIsInstance(c, collections.abc.Reversible)
        c.Add("d")
        c[1], c["Y"], c[2.5], c[3.5] = "A", [1, 2], "B", 0  # an item keeps its key; positions round half to even
        self.assertEqual(c.items(), [("x", "A"), ("y", "B"), (None, 3.5), (None, 0)])

    def test_the_library_changes_the_same_collection_which_may_hold_itself(self):
        c = ztldata.Collection([3, 1, 2])
        back = ztldata.Container().Place("ZtStack").Push(c)
        back.Add(4)
        ztldata.CreateObject("ZtCollections").Sort(back)
        del c[1]
        self.assertIs(type(back), ztldata.Collection)
        self.assertEqual(back, c)
        self.assertEqual(list(c), [2, 3, 4])
        c.Add(c)
        self.assertEqual(c[4], c)
        self.assertEqual(repr(c), "ztldata.Collection([2, 3, 4, <ztldata.Collection of 4 item(s)>])")
        c.Remove(4)  # the collection no longer holds itself, so it can go

    def test_equal_by_items_and_keys_and_copied_with_them(self):
        c = ztldata.Collection({"k": 1, "K2": "two"})
        others = [ztldata.Collection({"k": 1, "K2": "two"}), ztldata.Collection([1, "two"]), c, [1, "two"]]
        self.assertEqual([c == other for other in others], [True, False, True, False])
        self.assertRaises(TypeError, hash, c)  # equal by value and changeable, as a list
        c.Add(c)  # a collection holding itself copies to one holding itself (a shallow copy holds the original)
        made = [copy.copy(c), copy.deepcopy(c), pickle.loads(pickle.dumps(c))]
        address = ztldata._core.address
        self.assertEqual([address(m[3]) for m in made], [address(c)] + [address(m) for m in made[1:]])
        self.assertEqual([m.items()[:2] for m in made], [[("k", 1), ("K2", "two")]] * 3)
        # What lives in the library cannot be copied, also as an item.
        for thing in (ztldata.Collection([ztldata.CreateObject("ZtNumeric")]), ztldata.Container(),
                      ztldata.DeviceContext()):
            self.assertRaisesRegex(TypeError, "cannot be copied or pickled", copy.deepcopy, thing)
