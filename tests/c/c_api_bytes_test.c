/* The byte-buffer functions from C: every byte value through each coding and back, the CRC
 * against a bitwise reference over every byte, and the arguments they refuse. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "c_api_check.h"

/* A key set of ZtRSA (modulus, exponent, its inverse), as `ztl rsa keygen` prints one. */
enum { kRsaModulus = 33495907, kRsaExponent = 99663953, kRsaInverse = 29133137 };

typedef enum Codec { kRle, kCipher, kRsa, kEbcdic } Codec;

/* Codes `in` one way or the other with the codec's byte function. */
static int Code(Codec codec, int decode, int32_t key, const uint8_t* in, size_t length, uint8_t** out,
                size_t* out_length) {
  switch (codec) {
    case kRle:
      return decode ? ztl_rle_decompress(in, length, out, out_length) : ztl_rle_compress(in, length, out, out_length);
    case kCipher:
      return decode ? ztl_cipher_decode(in, length, key, out, out_length)
                    : ztl_cipher_encode(in, length, key, out, out_length);
    case kRsa:
      return decode ? ztl_rsa_decode((const char*)in, length, kRsaInverse, kRsaModulus, out, out_length)
                    : ztl_rsa_encode(in, length, kRsaExponent, kRsaModulus, (char**)out, out_length);
    case kEbcdic:
      return decode ? ztl_ebcdic_decode(in, length, out, out_length) : ztl_ebcdic_encode(in, length, out, out_length);
  }
  return -100;
}

/* Inputs that hold every byte value: in order, in reverse, and each in a run (runs of '~' and of
 * 0, and runs longer than 255, for the run-length coding). */
static size_t MakeInput(int which, uint8_t* buffer) {
  size_t n = 0;
  int b, k;
  for (b = 0; b < 256; ++b) {
    switch (which) {
      case 0: buffer[n++] = (uint8_t)b; break;
      case 1: buffer[n++] = (uint8_t)(255 - b); break;
      default:
        for (k = 0; k < (b == '~' || b == 0 || b == 255 ? 300 : b % 5 + 1); ++k) buffer[n++] = (uint8_t)b;
    }
  }
  return n;
}

/* Decoding gives back every byte that was encoded, for every codec and a few keys. */
static void TestRoundTrips(void) {
  static const struct {
    Codec codec;
    int32_t key;
  } kCodecs[] = {
      {kRle, 0}, {kCipher, 0}, {kCipher, 1234}, {kCipher, -1}, {kCipher, INT32_MIN}, {kCipher, INT32_MAX},
      {kRsa, 0}, {kEbcdic, 0},
  };
  static uint8_t input[4096];
  size_t c;
  int which;
  for (c = 0; c < sizeof kCodecs / sizeof kCodecs[0]; ++c) {
    for (which = 0; which < 3; ++which) {
      const size_t length = MakeInput(which, input);
      uint8_t *coded = NULL, *back = NULL;
      size_t coded_length = 0, back_length = 0;
      CHECK_CODE(Code(kCodecs[c].codec, 0, kCodecs[c].key, input, length, &coded, &coded_length), ZTL_OK);
      CHECK_CODE(Code(kCodecs[c].codec, 1, kCodecs[c].key, coded, coded_length, &back, &back_length), ZTL_OK);
      if (back == NULL || back_length != length || memcmp(back, input, length) != 0) {
        fprintf(stderr, "codec %d key %d input %d: %zu bytes came back of %zu\n", (int)kCodecs[c].codec,
                (int)kCodecs[c].key, which, back_length, length);
        ++failures;
      }
      /* the cipher and EBCDIC keep the length; every result ends with an uncounted 0 */
      if (kCodecs[c].codec == kCipher || kCodecs[c].codec == kEbcdic) CHECK(coded_length == length);
      CHECK(coded != NULL && coded[coded_length] == 0 && back != NULL && back[back_length] == 0);
      ztl_free(coded);
      ztl_free(back);
    }
  }
  {
    /* EBCDIC is a one-to-one table: 256 bytes give 256 different codes */
    uint8_t* coded = NULL;
    size_t coded_length = 0, i;
    int seen[256] = {0}, distinct = 0;
    MakeInput(0, input);
    CHECK_CODE(ztl_ebcdic_encode(input, 256, &coded, &coded_length), ZTL_OK);
    for (i = 0; coded != NULL && i < coded_length; ++i) distinct += seen[coded[i]]++ == 0;
    CHECK(distinct == 256);
    ztl_free(coded);
  }
  CheckNoHandles("byte round trips");
}

/* Known results, as the `ztl` byte tools give them. */
static void TestKnownOutputs(void) {
  static const struct {
    Codec codec;
    int decode;
    const char* in;
    size_t in_length;
    const char* out;
    size_t out_length;
  } kCases[] = {
      {kRle, 0, "aaaaab", 6, "a~\x04" "b", 4},
      {kRle, 1, "a~\x04" "b", 4, "aaaaab", 6},
      {kEbcdic, 0, "AZaz09", 6, "\xC1\xE9\x81\xA9\xF0\xF9", 6},
      {kEbcdic, 1, "\xC1\xE9\x81\xA9\xF0\xF9", 6, "AZaz09", 6},
      {kRsa, 0, "hi", 2, "18249366+12614851+", 18},
      {kRsa, 1, "18249366+12614851+", 18, "hi", 2},
      /* one line end at the end of coded text is no token */
      {kRsa, 1, "18249366+12614851+\n", 19, "hi", 2},
      {kRsa, 1, "18249366+12614851+\r\n", 20, "hi", 2},
      {kRsa, 1, "\n", 1, "", 0},
      {kRsa, 1, " \t \n", 4, "", 0},
      /* an empty input gives an empty buffer */
      {kRsa, 0, "", 0, "", 0},
      {kRle, 0, "", 0, "", 0},
      {kCipher, 0, "", 0, "", 0},
  };
  size_t i;
  for (i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    uint8_t* out = NULL;
    size_t out_length = 99;
    CHECK_CODE(Code(kCases[i].codec, kCases[i].decode, 0, (const uint8_t*)kCases[i].in, kCases[i].in_length, &out,
                    &out_length),
               ZTL_OK);
    if (out == NULL || out_length != kCases[i].out_length || memcmp(out, kCases[i].out, out_length) != 0) {
      fprintf(stderr, "known output case %zu: %zu bytes\n", i, out_length);
      ++failures;
    }
    CHECK(strcmp(ztl_last_error(), "") == 0);
    ztl_free(out);
  }
  {
    /* the coded text of RSA is a C string; its length may be left out; decode reads up to the NUL */
    char* text = NULL;
    uint8_t* back = NULL;
    size_t back_length = 0;
    CHECK_CODE(ztl_rsa_encode("hi", 2, kRsaExponent, kRsaModulus, &text, NULL), ZTL_OK);
    CHECK(text != NULL && strcmp(text, "18249366+12614851+") == 0);
    CHECK_CODE(ztl_rsa_decode(text, (size_t)-1, kRsaInverse, kRsaModulus, &back, &back_length), ZTL_OK);
    CHECK(back_length == 2 && back != NULL && memcmp(back, "hi", 2) == 0);
    ztl_free(text);
    ztl_free(back);
  }
}

/* The CRC-32 of `length` bytes, computed bit by bit. */
static uint32_t ReferenceCrc(const uint8_t* data, size_t length, uint32_t polynomial) {
  uint32_t r = 0xFFFFFFFFu;
  size_t i;
  int bit;
  for (i = 0; i < length; ++i) {
    r ^= data[i];
    for (bit = 0; bit < 8; ++bit) r = (r >> 1) ^ ((r & 1u) ? polynomial : 0u);
  }
  return ~r;
}

static void TestCrc(void) {
  /* any value is a polynomial, even one written the usual way round */
  static const uint32_t kPolynomials[] = {ZTL_CRC32_POLYNOMIAL, 0x82F63B78u, 0xEB31D82Eu, 0x04C11DB7u};
  uint8_t all[256];
  uint32_t crc = 0, r;
  size_t p, b;
  /* the check values of CRC-32 and CRC-32C, whole and in pieces */
  CHECK_CODE(ztl_crc32("123456789", 9, &crc), ZTL_OK);
  CHECK(crc == 0xCBF43926u);
  crc = 0;
  CHECK_CODE(ztl_crc32("1234", 4, &crc), ZTL_OK);
  CHECK_CODE(ztl_crc32(NULL, 0, &crc), ZTL_OK);
  CHECK_CODE(ztl_crc32("56789", 5, &crc), ZTL_OK);
  CHECK(crc == 0xCBF43926u);
  r = 0xFFFFFFFFu;
  CHECK_CODE(ztl_crc32_add("123456789", 9, 0x82F63B78u, &r), ZTL_OK);
  CHECK(~r == 0xE3069283u);
  /* every byte value alone, and all of them at once, against the bitwise reference */
  MakeInput(0, all);
  for (p = 0; p < sizeof kPolynomials / sizeof kPolynomials[0]; ++p) {
    for (b = 0; b < 256; ++b) {
      r = 0xFFFFFFFFu;
      CHECK_CODE(ztl_crc32_add(&all[b], 1, kPolynomials[p], &r), ZTL_OK);
      if (~r != ReferenceCrc(&all[b], 1, kPolynomials[p])) {
        fprintf(stderr, "CRC of byte %zu with polynomial %08x\n", b, (unsigned)kPolynomials[p]);
        ++failures;
      }
    }
    r = 0xFFFFFFFFu;
    CHECK_CODE(ztl_crc32_add(all, 256, kPolynomials[p], &r), ZTL_OK);
    CHECK(~r == ReferenceCrc(all, 256, kPolynomials[p]));
  }
  crc = 0;
  CHECK_CODE(ztl_crc32(all, 256, &crc), ZTL_OK);
  CHECK(crc == 0x29058C73u);
}

/* NULL, lengths without data, missing outputs and keys that cannot give the bytes back. */
static void TestRefusals(void) {
  static const struct {
    Codec codec;
    int decode;
    int in_null;   /* pass NULL as the input */
    size_t length; /* (size_t)-1 for "larger than a String" */
    int out_null;  /* 1: the buffer pointer, 2: the length pointer */
    int32_t exponent, modulus;
    int code;
  } kCases[] = {
      {kRle, 0, 1, 0, 0, 0, 0, ZTL_OK}, /* NULL with length 0 is an empty input */
      {kRle, 0, 1, 5, 0, 0, 0, ZTL_E_INVALID_ARG},
      {kCipher, 1, 1, 1, 0, 0, 0, ZTL_E_INVALID_ARG},
      {kEbcdic, 0, 1, 2, 0, 0, 0, ZTL_E_INVALID_ARG},
      {kRle, 1, 0, 3, 1, 0, 0, ZTL_E_INVALID_ARG},
      {kEbcdic, 1, 0, 3, 2, 0, 0, ZTL_E_INVALID_ARG},
      {kCipher, 0, 0, (size_t)-1, 0, 0, 0, ZTL_E_INVALID_ARG},
      {kRsa, 1, 1, (size_t)-1, 0, kRsaInverse, kRsaModulus, ZTL_E_INVALID_ARG},
      {kRsa, 0, 0, 3, 0, 0, kRsaModulus, ZTL_E_INVALID_ARG},
      {kRsa, 0, 0, 3, 0, -7, kRsaModulus, ZTL_E_INVALID_ARG},
      {kRsa, 1, 0, 3, 0, kRsaInverse, 0, ZTL_E_INVALID_ARG},
      {kRsa, 1, 0, 3, 0, kRsaInverse, 255, ZTL_E_INVALID_ARG},
      {kRsa, 0, 0, 3, 0, 1, 256, ZTL_OK},
  };
  size_t i;
  for (i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    uint8_t* out = (uint8_t*)"untouched";
    size_t out_length = 99;
    const char* in = kCases[i].in_null ? NULL : "1+2+3";
    /* a length no String holds is refused before the bytes are read */
    const size_t length = kCases[i].length != (size_t)-1 ? kCases[i].length
                          : kCases[i].codec == kRsa      ? (size_t)-1
                                                         : (size_t)INT32_MAX + 1;
    uint8_t** out_arg = kCases[i].out_null == 1 ? NULL : &out;
    size_t* length_arg = kCases[i].out_null == 2 ? NULL : &out_length;
    int code;
    if (kCases[i].codec == kRsa) {
      code = kCases[i].decode ? ztl_rsa_decode(in, length, kCases[i].exponent, kCases[i].modulus, out_arg, length_arg)
                              : ztl_rsa_encode(in, length, kCases[i].exponent, kCases[i].modulus, (char**)out_arg,
                                               length_arg);
    } else {
      code = Code(kCases[i].codec, kCases[i].decode, 0, (const uint8_t*)in, length, out_arg, length_arg);
    }
    if (code != kCases[i].code) {
      fprintf(stderr, "refusal case %zu gave %d, expected %d: %s\n", i, code, kCases[i].code, ztl_last_error());
      ++failures;
    }
    if (code != ZTL_OK) {
      CHECK(strlen(ztl_last_error()) > 0);
      /* a failure leaves no buffer behind */
      CHECK(kCases[i].out_null == 1 || out == NULL);
      CHECK(kCases[i].out_null == 2 || out_length == 0);
    } else {
      ztl_free(out);
    }
  }
  {
    uint32_t crc = 7;
    CHECK_CODE(ztl_crc32("abc", 3, NULL), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_crc32_add("abc", 3, ZTL_CRC32_POLYNOMIAL, NULL), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_crc32(NULL, 3, &crc), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_crc32_add(NULL, 1, ZTL_CRC32_POLYNOMIAL, &crc), ZTL_E_INVALID_ARG);
    CHECK(crc == 7);
    /* the CRC takes inputs of any length: it feeds them in pieces */
    CHECK_CODE(ztl_crc32(NULL, 0, &crc), ZTL_OK);
    CHECK(crc == 7);
  }
  CheckNoHandles("byte refusals");
}

void TestBytes(void) {
  TestRoundTrips();
  TestKnownOutputs();
  TestCrc();
  TestRefusals();
}
