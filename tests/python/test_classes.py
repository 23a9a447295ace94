"""Each of the sixteen classes through the Python host, checked against documented results
and independent references (zlib's CRC, round trips, Python's own arithmetic)."""

import datetime
import os
import pathlib
import random
import tempfile
import unittest
import zlib

import ztldata


class ZtNumeric(unittest.TestCase):
    def setUp(self):
        self.n = ztldata.CreateObject("ZtNumeric")

    def test_number_words_and_roman_numerals(self):
        cases = [(0, "zero"), (21, "twenty-one"), (1234, "one thousand two hundred thirty-four")]
        for number, words in cases:
            with self.subTest(number=number):
                self.assertEqual(self.n.Num2Letter(number).lower(), words)
        for number in range(1, 4000, 37):
            with self.subTest(number=number):
                self.assertEqual(self.n.ToArabic(self.n.ToRoman(number)), number)

    def test_primes_against_trial_division(self):
        def is_prime(k):
            return k > 1 and all(k % d for d in range(2, int(k ** 0.5) + 1))

        for k in range(-5, 400):
            with self.subTest(k=k):
                self.assertIs(self.n.IsPrime(k), is_prime(k))

    def test_packed_numbers_round_trip(self):
        rng = random.Random(5)
        for _ in range(200):
            value = rng.randint(-10 ** 8, 10 ** 8) / 100
            with self.subTest(value=value):
                packed = self.n.CompressNumber(value, 9, 2)
                self.assertEqual(self.n.DecompressNumber(packed, intDecimals=2), value)

    def test_random_numbers_stay_in_range_and_repeat_with_a_seed(self):
        ztldata.Randomize(42)
        first = [self.n.GetRandom(1, 6) for _ in range(50)]
        ztldata.Randomize(42)
        self.assertEqual([self.n.GetRandom(1, 6) for _ in range(50)], first)
        self.assertTrue(all(1 <= x <= 6 for x in first))


class ZtBases(unittest.TestCase):
    def test_bases_round_trip(self):
        b = ztldata.CreateObject("ZtBases")
        rng = random.Random(9)
        for _ in range(200):
            number, base = rng.randint(0, 2 ** 31 - 1), rng.randint(2, 16)
            with self.subTest(number=number, base=base):
                self.assertEqual(b.Base2Long(b.Long2Base(number, base), base), number)
        self.assertEqual(b.Long2Base(255, 16), "FF")

    def test_words_and_bytes(self):
        b = ztldata.CreateObject("ZtBases")
        self.assertEqual((b.HiWord(0x12345678), b.LoWord(0x12345678)), (0x1234, 0x5678))
        self.assertEqual(b.MakeWord(1, 2), 0x0102)
        self.assertIs(type(b.MakeWord(1, 2)), ztldata.Integer)
        self.assertIs(b.GetBit(5, 2), True)


class ZtConversion(unittest.TestCase):
    def test_conversions_invert_each_other(self):
        c = ztldata.CreateObject("ZtConversion")
        self.assertEqual(c.CelToFah(100), 212)
        pairs = [("FahToCel", "CelToFah"), ("MtToYd", "YdToMt"), ("KgToLb", "LbToKg"), ("GalToLtr", "LtrToGal")]
        for there, back in pairs:
            with self.subTest(there=there):
                self.assertAlmostEqual(getattr(c, back)(getattr(c, there)(37.5)), 37.5, places=3)


class ZtDate(unittest.TestCase):
    def test_month_boundaries_and_leap_years(self):
        d = ztldata.CreateObject("ZtDate")
        for year in (1900, 1999, 2000, 2023, 2024):
            leap = year % 4 == 0 and (year % 100 != 0 or year % 400 == 0)
            with self.subTest(year=year):
                self.assertIs(d.IsLeap(datetime.date(year, 6, 1)), leap)
                self.assertEqual(d.LastDay(datetime.date(year, 2, 10)).date(), datetime.date(year, 2, 29 if leap else 28))
                self.assertEqual(d.FirstDay(datetime.datetime(year, 2, 10, 9)).date(), datetime.date(year, 2, 1))

    def test_day_numbers_round_trip(self):
        d = ztldata.CreateObject("ZtDate")
        day = datetime.date(2024, 1, 1)
        while day.year == 2024:
            with self.subTest(day=day):
                number = d.GregorianToJulian(day)
                self.assertEqual(number, day.timetuple().tm_yday)
                self.assertEqual(d.JulianToGregorian(2024, number).date(), day)
            day += datetime.timedelta(days=11)

    def test_time_parsing(self):
        d = ztldata.CreateObject("ZtDate")
        self.assertEqual(d.Str2Time("13:45").to_datetime().time(), datetime.time(13, 45))


class ZtStrings(unittest.TestCase):
    def test_ellipse_text_with_the_fixed_pitch_font(self):
        s = ztldata.CreateObject("ZtStrings")
        alphabet = "abcdefghijklmnopqrstuvwxyz"
        with ztldata.DeviceContext(ztldata.FIXED_PITCH_FONT, 10) as dc:
            end = s.EllipseText(alphabet, 100, 20, dc, ztldata.ztlEllipseEnd)
            self.assertTrue(end.endswith("...") and alphabet.startswith(end[:-3]))
            self.assertLessEqual(len(end) * 10, 97)  # 97% of the width
            path = s.EllipseText("C:/folder/sub/file.txt", 150, 20, dc.hdc, ztldata.ztlEllipsePath)
            self.assertTrue(path.endswith("file.txt") and "..." in path)
            self.assertEqual(s.EllipseText("short", 100, 20, dc, ztldata.ztlEllipseEnd), "short")
            hdc = dc.hdc
        # A freed or unknown device context leaves the text as it is.
        self.assertEqual(s.EllipseText(alphabet, 100, 20, hdc, ztldata.ztlEllipseEnd), alphabet)

    def test_device_context_misuse(self):
        for size in (0, 1001, -5):
            with self.subTest(size=size):
                with self.assertRaises(ztldata.Error) as caught:
                    ztldata.DeviceContext(ztldata.FIXED_PITCH_FONT, size)
                self.assertEqual(caught.exception.number, 5)
        with self.assertRaises(ztldata.Error):
            ztldata.DeviceContext("No Such Font Family XYZ", 10)
        dc = ztldata.DeviceContext()
        dc.close()
        with self.assertRaises(ztldata.Error):
            ztldata.CreateObject("ZtStrings").EllipseText("x", 1, 1, dc, 0)

    def test_parameter_array_and_text_operations(self):
        s = ztldata.CreateObject("ZtStrings")
        self.assertEqual(s.Expand("abc", "-"), "a-b-c")
        self.assertEqual(s.Expand("abc"), "a b c")
        self.assertEqual(s.Occurs("a", "banana"), 3)
        self.assertEqual(s.ReplaceAll("a-b-c", "-"), "abc")
        self.assertEqual(s.sPrintf("%05d|%.02f", 3, 42), "00003|42.00")
        self.assertEqual(s.sPrintf("%d%%", *[7]), "7%")
        self.assertEqual(s.sPrintf("100%%"), "100%")
        self.assertEqual(s.sPrintf("%d items", 1, 2), "")  # count mismatch

    def test_instradv_fills_the_collection_passed(self):
        s = ztldata.CreateObject("ZtStrings")
        pieces = ztldata.Collection(["before"])
        self.assertEqual(s.InStrAdv(",a,,b ,", ",", pieces), 3)
        self.assertEqual(list(pieces), ["before", "a", "b "])
        self.assertEqual(s.InStrAdv("x", ",", None), 0)  # None is Nothing for a Collection


class ZtArrays(unittest.TestCase):
    def setUp(self):
        self.a = ztldata.CreateObject("ZtArrays")

    def test_measures_against_python(self):
        rng = random.Random(1)
        for _ in range(50):
            values = [rng.randint(-1000, 1000) for _ in range(rng.randint(1, 30))]
            with self.subTest(values=values):
                self.assertEqual(self.a.GetMax(values), max(values))
                self.assertEqual(self.a.GetMin(values), min(values))
                self.assertEqual(self.a.GetSum(values), sum(values))
                self.assertAlmostEqual(self.a.GetMed(values), sum(values) / len(values))

    def test_sort_then_binary_search(self):
        rng = random.Random(2)
        for _ in range(30):
            values = rng.sample(range(1000), rng.randint(1, 40))
            with self.subTest(values=values):
                self.a.Sort(values)
                self.assertEqual(values, sorted(values))
                for position, value in enumerate(values):
                    self.assertEqual(self.a.BinarySearch(values, value), position)

    def test_shuffle_keeps_the_items(self):
        values = list(range(100))
        self.a.Shuffle(values)
        self.assertEqual(sorted(values), list(range(100)))

    def test_dimensions_and_emptiness(self):
        self.assertEqual(self.a.Dimensions([1, 2]), 1)
        self.assertEqual(self.a.Dimensions(ztldata.Array([[1], [2]], bounds=[(1, 2), (1, 1)])), 2)
        # Nesting counts through element 1: (0 to 1) whose element 1 is an array.
        self.assertEqual(self.a.Dimensions([0, ztldata.Array([1], lbound=1)]), 2)
        self.assertEqual(self.a.Dimensions(5), 0)
        self.assertIs(self.a.IsEmpty(ztldata.Array.unallocated("Long")), True)
        self.assertIs(self.a.IsEmpty([1]), False)


class ZtCollections(unittest.TestCase):
    def test_sort_keeps_keys_and_search_finds(self):
        c = ztldata.CreateObject("ZtCollections")
        items = ztldata.Collection({"k%d" % i: v for i, v in enumerate([5, 3, 9, 1])})
        c.Sort(items)
        self.assertEqual(list(items), [1, 3, 5, 9])
        self.assertEqual(items.keys(), ["k3", "k1", "k0", "k2"])
        self.assertEqual(c.Search(items, 9), 4)
        self.assertEqual(c.BinarySearch(items, 5), 3)
        self.assertEqual(c.SearchByKey(items, "K2"), 9)  # keys ignore case

    def test_shuffle_keeps_every_item_with_its_key(self):
        c = ztldata.CreateObject("ZtCollections")
        items = ztldata.Collection({str(i): i for i in range(50)})
        c.Shuffle(items)
        self.assertEqual(sorted(items.items()), sorted((str(i), i) for i in range(50)))


class ZtDataAndZtObjects(unittest.TestCase):
    def test_purge_by_kind(self):
        d = ztldata.CreateObject("ZtData")
        cases = [("abc", "   "), (5.5, 0), (True, False), (ztldata.Null, ztldata.Null), (ztldata.Empty, ztldata.Empty)]
        for value, cleared in cases:
            with self.subTest(value=value):
                self.assertEqual(d.Purge(value), cleared)
        self.assertIsNone(d.Purge(ztldata.Collection()))

    def test_inter_exchanges(self):
        d = ztldata.CreateObject("ZtData")
        x, y = ztldata.Ref(ztldata.Integer(1)), ztldata.Ref("two")
        d.Inter(x, y)
        self.assertEqual((x.value, y.value), ("two", 1))
        self.assertIs(type(y.value), ztldata.Integer)

    def test_is_set(self):
        o = ztldata.CreateObject("ZtObjects")
        self.assertIs(o.IsSet(None), False)
        self.assertIs(o.IsSet(o), True)
        self.assertIs(o.IsSet(ztldata.Collection()), True)


class Components(unittest.TestCase):
    def setUp(self):
        self.form = ztldata.Container()

    def test_stack_against_a_list(self):
        stack = self.form.Place("ZtStack")
        rng = random.Random(4)
        model = []
        for _ in range(300):
            if rng.random() < 0.6:
                value = rng.choice([rng.randint(-9, 9), "t", 2.5, ztldata.Null])
                stack.Push(value)
                model.append(value)
            else:
                expected = model.pop() if model else ztldata.Empty
                self.assertEqual(stack.Pop(), expected)
            self.assertEqual((stack.Size, stack.IsEmpty), (len(model), not model))

    def test_bits_file_round_trip(self):
        bits = self.form.Place("ZtBits")
        bits.Create(128)  # the file keeps whole 16-bit words
        chosen = set(random.Random(6).sample(range(128), 40))
        for i in chosen:
            bits.Bit[i] = True
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "bits.ztl")
            self.assertIs(bits.FileWrite(path), True)
            again = self.form.Place("ZtBits")
            self.assertIs(again.FileRead(pathlib.Path(path)), True)  # a path object is its text
            self.assertEqual(again.Size, 128)
            self.assertEqual({i for i in range(128) if again.Bit[i]}, chosen)
            self.assertIs(again.FileRead(os.path.join(folder, "missing")), False)

    def test_token(self):
        token = self.form.Place("ZtToken")
        token.Create("alpha, beta;;gamma")
        self.assertEqual([token.GetToken(i) for i in range(1, token.Count + 1)], ["alpha", "beta", "gamma"])
        token.Create("x1y2z", strDelimiters="12")
        self.assertEqual(token.Count, 3)

    def test_rle_and_cipher_round_trip(self):
        rle, cipher = self.form.Place("ZtRLE"), self.form.Place("ZtEncryption")
        rng = random.Random(8)
        for _ in range(100):
            text = "".join(rng.choice("aab~ \u00e9z") * rng.randint(1, 12) for _ in range(rng.randint(0, 8)))
            key = rng.randint(-10 ** 6, 10 ** 6)
            with self.subTest(text=text, key=key):
                self.assertEqual(rle.Decompress(rle.Compress(text)), text)
                self.assertEqual(cipher.Decode(cipher.Encode(text, key), key), text)

    def test_crc32_matches_zlib(self):
        crc = self.form.Place("ZtCRC32")
        rng = random.Random(10)
        for _ in range(50):
            data = bytes(rng.randrange(256) for _ in range(rng.randint(0, 64)))
            text = data.decode("cp1252", errors="replace").replace("\ufffd", "?")
            with self.subTest(data=data):
                register = crc.InitCRC32(ztldata.Long(-306674912), -1)  # 0xEDB88320, reflected
                register = crc.AddCRC32(text, register)
                self.assertEqual(crc.GetCRC32(register) & 0xFFFFFFFF, zlib.crc32(text.encode("cp1252")))

    def test_rsa_keys_decode_what_they_encode(self):
        rsa = self.form.Place("ZtRSA")
        for _ in range(3):
            rsa.GenerateKeys()
            code = rsa.Encode("Hi there!", rsa.PrivateKey1, rsa.PublicKey)
            self.assertRegex(code, r"^(\d+\+){9}$")
            self.assertEqual(rsa.Decode(code, rsa.PrivateKey2, rsa.PublicKey), "Hi there!")
        self.assertIs(rsa.Encode("", 5, 77), ztldata.Empty)

    def test_about_and_enabled_on_every_component(self):
        for name, kind in ztldata.classes():
            if kind != "component":
                continue
            with self.subTest(name=name):
                component = self.form.Place(name)
                self.assertIs(component.Enabled, True)
                self.assertIn("About", dir(component))
        self.assertTrue(ztldata.about())


if __name__ == "__main__":
    unittest.main()
