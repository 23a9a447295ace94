"""Containers (placing, saving, loading, finding components) and the host's Collection as
Python sees them."""

import collections.abc
import gc
import unittest

import ztldata


class Placing(unittest.TestCase):
    def test_names_after_the_class_and_a_number(self):
        form = ztldata.Container()
        cases = [("ZtStack", None, "ZtStack1"), ("ZTLData.ZtStack", None, "ZtStack2"), ("ztbits", "flags", "flags"),
                 ("ZtRSA", None, "ZtRSA1")]
        for class_name, name, expected in cases:
            with self.subTest(class_name=class_name):
                component = form.Place(class_name, name)
                self.assertEqual(form[expected], component)
        self.assertEqual(list(form), ["ZtStack1", "ZtStack2", "flags", "ZtRSA1"])
        self.assertEqual(len(form), 4)
        self.assertIn("FLAGS", form)  # names ignore case
        self.assertNotIn("nothing", form)
        with self.assertRaises(KeyError):
            form["nothing"]

    def test_what_cannot_be_placed(self):
        form = ztldata.Container()
        form.Place("ZtStack", "s")
        cases = [("ZtNumeric", None, 429), ("NoSuchClass", None, 429), ("ZtBits", "S", 5)]
        for class_name, name, number in cases:
            with self.subTest(class_name=class_name):
                with self.assertRaises(ztldata.Error) as caught:
                    form.Place(class_name, name)
                self.assertEqual(caught.exception.number, number)
        with self.assertRaises(TypeError):
            form.Place(42)

    def test_a_component_keeps_its_container(self):
        stack = ztldata.Container().Place("ZtStack")
        gc.collect()
        stack.Push("kept")
        self.assertEqual(stack.Peek(), "kept")
        self.assertIn("ZtStack1", stack._container)

    def test_release_takes_a_component_out(self):
        form = ztldata.Container()
        form.Place("ZtToken")
        self.assertIs(form.Release("ZtToken1"), True)
        self.assertIs(form.Release("ZtToken1"), False)
        self.assertEqual(len(form), 0)


class SavingAndLoading(unittest.TestCase):
    def test_design_time_properties_survive(self):
        form = ztldata.Container()
        stack = form.Place("ZtStack")
        stack.Strategy = ztldata.ztlStackLIFO
        stack.Push("not saved")
        bits = form.Place("ZtBits", "Flags")
        bits.Enabled = False
        rsa = form.Place("ZtRSA")
        rsa.PublicKey, rsa.PrivateKey1, rsa.PrivateKey2 = 77, 7, 43
        text = form.Save()
        self.assertIsInstance(text, str)

        again = ztldata.Container.Load(text)
        self.assertEqual(again.problems, [])
        self.assertEqual(list(again), ["ZtStack1", "Flags", "ZtRSA1"])
        self.assertEqual(again["ZtStack1"].Strategy, ztldata.ztlStackLIFO)
        self.assertIs(again["ZtStack1"].IsEmpty, True)  # only design-time properties are saved
        self.assertIs(again["flags"].Enabled, False)
        loaded = again["ZtRSA1"]
        self.assertEqual((loaded.PublicKey, loaded.PrivateKey1, loaded.PrivateKey2), (77, 7, 43))
        self.assertEqual(again.Save(), text)

    def test_what_cannot_be_loaded_is_described(self):
        text = ("ZTLData form 1\nBegin ZTLData.ZtNothing Thing1\nEnd\n"
                "Begin ZTLData.ZtStack S\n    Strategy = Long 1\nEnd\n")
        form = ztldata.Container.Load(text)
        self.assertEqual(list(form), ["S"])
        self.assertEqual(form["S"].Strategy, 1)
        self.assertTrue(form.problems)

    def test_hostile_documents_load_without_crashing(self):
        for text in ("", "\0\0\0", "Begin\nEnd\n" * 50, "ZTLData form 1\nBegin ZTLData.ZtStack \ud800\nEnd\n",
                     "ZTLData form 1\n" + "Begin ZTLData.ZtBits B\n    Enabled = Long 99999999999\nEnd\n"):
            with self.subTest(text=text[:20]):
                form = ztldata.Container.Load(text)
                self.assertIsInstance(form.problems, list)
        with self.assertRaises(TypeError):
            ztldata.Container.Load(b"bytes")


class CollectionApi(unittest.TestCase):
    def test_add_with_key_before_and_after(self):
        c = ztldata.Collection()
        c.Add("b", key="kb")
        c.Add("d")
        c.Add("a", before=1)
        c.Add("c", key="kc", after="KB")
        self.assertEqual(list(c), ["a", "b", "c", "d"])
        self.assertEqual(c.keys(), [None, "kb", "kc", None])
        self.assertEqual((c.Count, len(c)), (4, 4))
        self.assertEqual((c.Item(1), c[2], c["KC"], c.Item(4.5)), ("a", "b", "c", "d"))  # 4.5 rounds to 4

    def test_remove_shifts_the_later_items(self):
        c = ztldata.Collection({"x": 1, "y": 2, "z": 3})
        c.Remove("Y")
        self.assertEqual(c.items(), [("x", 1), ("z", 3)])
        del c[1]
        self.assertEqual(list(c), [3])

    def test_misuse_raises_as_the_host_collection_does(self):
        c = ztldata.Collection({"k": 1})
        cases = [
            ("used key", lambda: c.Add(2, key="K"), 457),
            ("no such position", lambda: c.Item(2), 5),
            ("position 0", lambda: c[0], 5),
            ("no such key", lambda: c.Item("nope"), 5),
            ("remove nothing", lambda: c.Remove(9), 5),
            ("before and after", lambda: c.Add(3, before=1, after=1), 5),
            ("index that is no text or number", lambda: c.Item(ztldata.Null), 13),
            ("key that is no text", lambda: c.Add(3, key=[1]), 13),
        ]
        for name, call, number in cases:
            with self.subTest(name):
                with self.assertRaises(ztldata.Error) as caught:
                    call()
                self.assertEqual(caught.exception.number, number)
        self.assertEqual(list(c), [1])

    def test_the_library_changes_the_same_collection(self):
        c = ztldata.Collection([3, 1, 2])
        stack = ztldata.Container().Place("ZtStack")
        back = stack.Push(c)
        self.assertIsInstance(back, ztldata.Collection)
        self.assertEqual(back, c)
        back.Add(4)
        self.assertEqual(list(c), [3, 1, 2, 4])
        ztldata.CreateObject("ZtCollections").Sort(back)
        self.assertEqual(list(c), [1, 2, 3, 4])

    def test_collections_hold_any_value_and_themselves(self):
        c = ztldata.Collection()
        c.Add(c)
        c.Add([1, 2])
        c.Add(ztldata.Integer(3))
        self.assertEqual(c[1], c)
        self.assertEqual(c[2], [1, 2])
        self.assertIs(type(c[3]), ztldata.Integer)
        self.assertIn("Collection of 3", repr(c))
        c.Remove(1)  # the collection no longer holds itself, so it can go


class CollectionAsContainer(unittest.TestCase):
    def test_count_is_a_property(self):
        c = ztldata.Collection("abc")
        self.assertEqual((c.Count, c.Count + 1, c.count, len(c)), (3, 4, 3, 3))
        with self.assertRaises(AttributeError):
            c.Count = 5

    def test_iteration_reversal_and_membership(self):
        c = ztldata.Collection({"x": 1, "y": "two"})
        c.Add(3.5)
        self.assertEqual(list(c), [1, "two", 3.5])
        self.assertEqual(list(reversed(c)), [3.5, "two", 1])
        cases = [(1, True), ("two", True), (3.5, True), ("x", False), (2, False), (None, False)]
        for value, expected in cases:
            with self.subTest(value=value):
                self.assertIs(value in c, expected)
        self.assertIsInstance(c, collections.abc.Collection)
        self.assertIsInstance(c, collections.abc.Reversible)

    def test_setting_an_item_replaces_it_and_keeps_its_key(self):
        cases = [
            # (index, value, items after, keys after)
            (1, "A", ["A", "b", "c"], ["ka", None, "kc"]),
            ("KC", "C", ["a", "b", "C"], ["ka", None, "kc"]),
            (2, [1, 2], ["a", [1, 2], "c"], ["ka", None, "kc"]),
            (3.4, 0, ["a", "b", 0], ["ka", None, "kc"]),
        ]
        for index, value, items, keys in cases:
            with self.subTest(index=index):
                c = ztldata.Collection()
                c.Add("a", key="ka")
                c.Add("b")
                c.Add("c", key="kc")
                c[index] = value
                self.assertEqual((list(c), c.keys()), (items, keys))

    def test_an_index_that_selects_nothing_is_a_lookup_error(self):
        c = ztldata.Collection({"k": 1})
        cases = [
            ("item at position 2", lambda: c[2], ztldata.ItemIndexError, IndexError),
            ("position 0", lambda: c.Item(0), ztldata.ItemIndexError, IndexError),
            ("no such key", lambda: c["nope"], ztldata.ItemKeyError, KeyError),
            ("set position 5", lambda: c.__setitem__(5, 0), ztldata.ItemIndexError, IndexError),
            ("set no such key", lambda: c.__setitem__("new", 0), ztldata.ItemKeyError, KeyError),
            ("remove position -1", lambda: c.Remove(-1), ztldata.ItemIndexError, IndexError),
            ("del no such key", lambda: c.__delitem__("x"), ztldata.ItemKeyError, KeyError),
            ("add before nothing", lambda: c.Add(2, before=9), ztldata.ItemIndexError, IndexError),
            ("add after no key", lambda: c.Add(2, after="x"), ztldata.ItemKeyError, KeyError),
        ]
        for name, call, error, builtin in cases:
            with self.subTest(name):
                with self.assertRaises(error) as caught:
                    call()
                self.assertIsInstance(caught.exception, builtin)
                self.assertIsInstance(caught.exception, ztldata.Error)
                self.assertEqual(caught.exception.number, 5)
        self.assertEqual(c.items(), [("k", 1)])

    def test_the_sequence_protocols_stop_at_the_end(self):
        c = ztldata.Collection([1, 2, 3])
        self.assertEqual((list(reversed(c)), sorted(c), sum(c), max(c)), ([3, 2, 1], [1, 2, 3], 6, 3))
        self.assertEqual(dict(zip(c, "abc")), {1: "a", 2: "b", 3: "c"})

    def test_repr_shows_each_key_once(self):
        cases = [
            ([], "ztldata.Collection([])"),
            ([("a", None), ("b", None)], "ztldata.Collection(['a', 'b'])"),
            ([(1, "x"), (2, "y")], "ztldata.Collection({'x': 1, 'y': 2})"),
            ([(1, None), (2, "k"), (3, None)], "<ztldata.Collection [1, 'k': 2, 3]>"),
        ]
        for entries, expected in cases:
            with self.subTest(expected):
                c = ztldata.Collection()
                for value, key in entries:
                    c.Add(value, key=key)
                self.assertEqual(repr(c), expected)
                if expected.startswith("ztldata."):
                    self.assertEqual(eval(expected, {"ztldata": ztldata}).items(), c.items())


if __name__ == "__main__":
    unittest.main()
