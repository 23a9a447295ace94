"""The byte operations from Python: every byte value in and out, CRC-32 against zlib."""

import array
import unittest
import zlib

import ztldata

ALL_BYTES = bytes(range(256))


def ansi(data):
    """Bytes as the library's text: Windows-1252, its five undefined bytes the controls of their codes."""
    return "".join(chr(b) if b in b"\x81\x8d\x8f\x90\x9d" else bytes([b]).decode("cp1252") for b in data)


class Bytes(unittest.TestCase):
    def test_every_byte_value_round_trips_and_text_gives_the_same_text(self):
        form, strings = ztldata.Container(), ztldata.CreateObject("ZtStrings")
        rle, cipher, rsa = form.Place("ZtRLE"), form.Place("ZtEncryption"), form.Place("ZtRSA")  # placed with keys
        for encode, decode in [(rle.Compress, rle.Decompress), (strings.ASCIIToEBCDIC, strings.EBCDICToASCII),
                               (lambda b: cipher.Encode(b, 1234), lambda b: cipher.Decode(b, 1234)),
                               (lambda b: rsa.Encode(b, rsa.PrivateKey1, rsa.PublicKey),
                                lambda b: rsa.Decode(b, rsa.PrivateKey2, rsa.PublicKey))]:
            for data in [ALL_BYTES, ALL_BYTES[::-1], b"\0" * 300 + b"\x81\x8d\x8f\x90\x9d" * 40, b"a", b""]:
                coded = encode(data)
                self.assertIs(type(coded), bytes, encode)
                self.assertEqual(decode(coded), data, encode)
                if data:  # the text of the same bytes gives the text of the same result
                    self.assertEqual(encode(ansi(data)), ansi(coded))
        data = b"\x00\x80\xff\x81abc"
        for given in (bytearray(data), memoryview(data), memoryview(b"xx" + data)[2:], array.array("B", data)):
            self.assertEqual(strings.ASCIIToEBCDIC(given), strings.ASCIIToEBCDIC(data))

    def test_crc32_equals_zlib_in_pieces_and_with_unsigned_patterns(self):
        crc = ztldata.Container().Place("ZtCRC32")
        for data in [b"", b"123456789", ALL_BYTES * 17, b"\x80\x81\x8d\x9d\xff"] + [bytes([v]) for v in range(256)]:
            for polynomial, start in [(0xEDB88320, 0xFFFFFFFF), (0xEDB88320 - 2 ** 32, -1)]:  # the same Long bits
                register = crc.AddCRC32(data, crc.InitCRC32(polynomial, start))
                self.assertEqual(crc.GetCRC32(register) & 0xFFFFFFFF, zlib.crc32(data))
        data, register = ALL_BYTES * 3, crc.InitCRC32(0xEDB88320, 0xFFFFFFFF)
        for start in range(0, len(data), 100):  # the register as an unsigned int goes back in as the same bits
            register = crc.AddCRC32(memoryview(data)[start:start + 100], register & 0xFFFFFFFF)
        self.assertEqual(crc.GetCRC32(register) & 0xFFFFFFFF, zlib.crc32(data))
        self.assertEqual(crc.GetCRC32(0x80000000), crc.GetCRC32(-2 ** 31))
