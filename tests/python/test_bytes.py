"""The byte operations from Python: bytes-like values in, bytes out, every byte value through
the ANSI code page both ways, CRC-32 against zlib, and 32-bit patterns for Long parameters."""

import array
import unittest
import zlib

import ztldata

ALL_BYTES = bytes(range(256))


def components():
    form = ztldata.Container()
    # A placed ZtRSA has generated a key set, which decodes what it encodes.
    return form, form.Place("ZtCRC32"), form.Place("ZtRLE"), form.Place("ZtEncryption"), form.Place("ZtRSA")


class BytesInAndOut(unittest.TestCase):
    def setUp(self):
        self.form, self.crc, self.rle, self.cipher, self.rsa = components()
        self.strings = ztldata.CreateObject("ZtStrings")
        key = (self.rsa.PrivateKey1, self.rsa.PublicKey)
        unkey = (self.rsa.PrivateKey2, self.rsa.PublicKey)
        # (name, encode, decode) for each pair of byte operations.
        self.pairs = [
            ("RLE", self.rle.Compress, self.rle.Decompress),
            ("cipher", lambda b: self.cipher.Encode(b, 1234), lambda b: self.cipher.Decode(b, 1234)),
            ("RSA", lambda b: self.rsa.Encode(b, *key), lambda b: self.rsa.Decode(b, *unkey)),
            ("EBCDIC", self.strings.ASCIIToEBCDIC, self.strings.EBCDICToASCII),
        ]

    def test_every_byte_value_round_trips(self):
        samples = [ALL_BYTES, ALL_BYTES[::-1], b"\0" * 300 + b"\x81\x8d\x8f\x90\x9d" * 40, b"a"]
        for name, encode, decode in self.pairs:
            for data in samples:
                with self.subTest(name, data=data[:8]):
                    coded = encode(data)
                    self.assertIsInstance(coded, bytes)
                    self.assertEqual(decode(coded), data)

    def test_bytes_like_values_are_read_as_bytes(self):
        data = b"\x00\x80\xff\x81abc"
        for given in (data, bytearray(data), memoryview(data), memoryview(b"xx" + data)[2:], array.array("B", data)):
            with self.subTest(type=type(given).__name__):
                self.assertEqual(self.rle.Compress(given), self.rle.Compress(data))
                self.assertEqual(self.strings.ASCIIToEBCDIC(given), self.strings.ASCIIToEBCDIC(data))

    def test_text_gives_text_and_bytes_give_bytes(self):
        # A byte of the code page and its character are the same value to the library.
        self.assertEqual(self.strings.ASCIIToEBCDIC("A\u20ac"), self.strings.ASCIIToEBCDIC(b"A\x80").decode("cp1252"))
        self.assertIsInstance(self.strings.ASCIIToEBCDIC("A"), str)
        self.assertEqual(self.strings.ASCIIToEBCDIC(b"A"), b"\xc1")

    def test_empty_bytes_give_empty_bytes(self):
        for name, encode, decode in self.pairs:
            with self.subTest(name):
                self.assertEqual(encode(b""), b"")
                self.assertEqual(decode(b""), b"")

    def test_other_operations_refuse_bytes(self):
        n = ztldata.CreateObject("ZtNumeric")
        for call in (lambda: n.ToArabic(b"XIV"), lambda: self.strings.sPrintf(b"%d", 1),
                     lambda: self.cipher.Encode("x", b"1")):
            with self.assertRaises(TypeError):
                call()


class Crc32(unittest.TestCase):
    def setUp(self):
        self.crc = ztldata.Container().Place("ZtCRC32")

    def crc32(self, data, polynomial=0xEDB88320, start=0xFFFFFFFF):
        register = self.crc.InitCRC32(polynomial, start)
        return self.crc.GetCRC32(self.crc.AddCRC32(data, register)) & 0xFFFFFFFF

    def test_equals_zlib_for_the_standard_polynomial(self):
        cases = [b"", b"123456789", ALL_BYTES, ALL_BYTES * 17, b"\x80\x81\x8d\x8f\x90\x9d\xff", b"\0" * 1000]
        for data in cases:
            with self.subTest(data=data[:10]):
                self.assertEqual(self.crc32(data), zlib.crc32(data))

    def test_each_byte_alone_equals_zlib(self):
        for value in range(256):
            self.assertEqual(self.crc32(bytes([value])), zlib.crc32(bytes([value])), value)

    def test_pieces_give_the_register_of_the_whole(self):
        data = ALL_BYTES * 3
        register = self.crc.InitCRC32(0xEDB88320, 0xFFFFFFFF)
        for start in range(0, len(data), 100):
            # The register as an unsigned int goes back in as the same bits.
            register = self.crc.AddCRC32(memoryview(data)[start:start + 100], register & 0xFFFFFFFF)
        self.assertEqual(self.crc.GetCRC32(register) & 0xFFFFFFFF, zlib.crc32(data))

    def test_unsigned_and_signed_patterns_are_the_same_long(self):
        for unsigned in (0x80000000, 0xEDB88320, 0xFFFFFFFF):
            with self.subTest(hex(unsigned)):
                signed = unsigned - 2 ** 32
                self.assertEqual(self.crc32(b"abc", unsigned), self.crc32(b"abc", signed))
                self.assertEqual(self.crc.GetCRC32(unsigned), self.crc.GetCRC32(signed))

    def test_beyond_32_bits_is_an_overflow(self):
        for value in (2 ** 32, -2 ** 31 - 1, 2 ** 70):
            with self.subTest(value):
                with self.assertRaises(ztldata.Error) as caught:
                    self.crc.InitCRC32(value, 0)
                self.assertEqual(caught.exception.number, 6)

    def test_other_long_parameters_stay_signed(self):
        n = ztldata.CreateObject("ZtNumeric")
        with self.assertRaises(ztldata.Error):
            n.IsEven(0xFFFFFFFF + 0)  # a Double for a Long: overflow
        self.assertEqual(ztldata.CreateObject("ZtBases").Long2Base(0xFF, 16), "FF")


if __name__ == "__main__":
    unittest.main()
