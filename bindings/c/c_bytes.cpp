// The byte-buffer functions of the C interface: CRC-32, run-length coding, the cipher, RSA and
// EBCDIC over bytes, each byte a Windows-1252 character, driven as the `ztl` byte tools drive the
// classes (tools/ztl/coding_commands.cpp).

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "c_handles.hpp"
#include "ztldata/coding/crc32.hpp"
#include "ztldata/coding/encryption.hpp"
#include "ztldata/coding/rle.hpp"
#include "ztldata/coding/rsa.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/text/strings.hpp"

namespace ztl::c_api {

namespace {

// The longest input of an operation on Strings: the longest String.
constexpr std::size_t kMaxBytes = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

// The CRC register runs over a long input piece by piece, as a caller feeding AddCRC32 does, so
// the characters of only one piece exist at a time.
constexpr std::size_t kCrcPiece = std::size_t{1} << 20;

// Bytes passed as pointer and length; NULL only with length 0.
Outcome<std::string_view> Bytes(const void* data, std::size_t length, std::size_t most) {
  if (data == nullptr && length != 0) return Refuse(ZTL_E_INVALID_ARG, "data must not be NULL when length is not 0");
  if (length > most) {
    return Refuse(ZTL_E_INVALID_ARG, "the input has " + std::to_string(length) + " bytes; at most " +
                                         std::to_string(most) + " can be coded in one call");
  }
  if (data == nullptr) return std::string_view();
  return std::string_view(static_cast<const char*>(data), length);
}

// Empties the output arguments, so that a failure leaves NULL and 0, and checks that they are
// given; `out_length` may be optional.
template <class Char>
Status StartOutput(Char** out, std::size_t* out_length, bool length_required) {
  if (out != nullptr) *out = nullptr;
  if (out_length != nullptr) *out_length = 0;
  ZTL_CHECK(Required(out, "out"));
  if (length_required) ZTL_CHECK(Required(out_length, "out_length"));
  return Done();
}

// Hands the result's bytes to the caller (with a 0 byte after them, not counted).
template <class Char>
Status Deliver(const String& result, Char** out, std::size_t* out_length) {
  const std::string bytes = StringToAnsiBytes(result);
  ZTL_TRY(copy, CopyText(bytes));
  *out = reinterpret_cast<Char*>(copy.release());
  if (out_length != nullptr) *out_length = bytes.size();
  return Done();
}

// A C call that applies `code` to the characters of the input bytes and gives back the bytes
// of its result. `code` returns the String or a failure of the call (a refused key).
template <class Code>
int CodeBytes(const void* data, std::size_t length, std::uint8_t** out, std::size_t* out_length, Code&& code) {
  return Guard([&]() -> Status {
    ZTL_CHECK(StartOutput(out, out_length, true));
    ZTL_TRY(input, Bytes(data, length, kMaxBytes));
    ZTL_TRY(result, code(AnsiBytesToString(input)));
    return Deliver(result, out, out_length);
  });
}

// A key set whose modulus is below 256 cannot give every byte back, and an exponent below 1
// gives every byte the same code.
Status CheckRsaKeys(std::int32_t exponent, std::int32_t modulus) {
  if (exponent < 1) return Refuse(ZTL_E_INVALID_ARG, "the RSA exponent must be at least 1, not " + std::to_string(exponent));
  if (modulus < 256) return Refuse(ZTL_E_INVALID_ARG, "the RSA modulus must be at least 256, not " + std::to_string(modulus));
  return Done();
}

// The register after feeding the bytes through ZtCRC32's table of `polynomial`. Long and the
// unsigned register share their 32 bits.
std::uint32_t AddCrc(std::string_view input, std::uint32_t polynomial, std::uint32_t crc_register) {
  ZtCRC32 crc;
  Long r = crc.InitCRC32(static_cast<Long>(polynomial), static_cast<Long>(crc_register));
  for (std::size_t at = 0; at < input.size(); at += kCrcPiece) {
    r = crc.AddCRC32(AnsiBytesToString(input.substr(at, kCrcPiece)), r);
  }
  return static_cast<std::uint32_t>(r);
}

// Encode gives Empty for an empty input; every other result is a String.
String TextOf(const Variant& v) {
  const String* s = v.If<String>();
  return s != nullptr ? *s : String();
}

}  // namespace

}  // namespace ztl::c_api

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

int ztl_crc32_add(const void* data, size_t length, uint32_t polynomial, uint32_t* crc_register) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(crc_register, "crc_register"));
    ZTL_TRY(input, Bytes(data, length, std::numeric_limits<std::size_t>::max()));
    *crc_register = AddCrc(input, polynomial, *crc_register);
    return Done();
  });
}

int ztl_crc32(const void* data, size_t length, uint32_t* crc) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(crc, "crc"));
    ZTL_TRY(input, Bytes(data, length, std::numeric_limits<std::size_t>::max()));
    // The finished CRC is the complement of the register, so the register to continue from is
    // the complement of the CRC so far (0xFFFFFFFF, the standard start, for 0).
    *crc = ~AddCrc(input, ZTL_CRC32_POLYNOMIAL, ~*crc);
    return Done();
  });
}

int ztl_rle_compress(const void* data, size_t length, uint8_t** out, size_t* out_length) {
  return CodeBytes(data, length, out, out_length, [](const String& s) -> Outcome<String> { return ZtRLE().Compress(s); });
}

int ztl_rle_decompress(const void* data, size_t length, uint8_t** out, size_t* out_length) {
  return CodeBytes(data, length, out, out_length,
                   [](const String& s) -> Outcome<String> { return ZtRLE().Decompress(s); });
}

int ztl_cipher_encode(const void* data, size_t length, int32_t key, uint8_t** out, size_t* out_length) {
  return CodeBytes(data, length, out, out_length,
                   [&](const String& s) -> Outcome<String> { return ZtEncryption().Encode(s, key); });
}

int ztl_cipher_decode(const void* data, size_t length, int32_t key, uint8_t** out, size_t* out_length) {
  return CodeBytes(data, length, out, out_length,
                   [&](const String& s) -> Outcome<String> { return ZtEncryption().Decode(s, key); });
}

int ztl_rsa_encode(const void* data, size_t length, int32_t exponent, int32_t modulus, char** text,
                   size_t* text_length) {
  return Guard([&]() -> Status {
    ZTL_CHECK(StartOutput(text, text_length, false));
    ZTL_CHECK(CheckRsaKeys(exponent, modulus));
    ZTL_TRY(input, Bytes(data, length, kMaxBytes));
    return Deliver(TextOf(ZtRSA().Encode(AnsiBytesToString(input), exponent, modulus)), text, text_length);
  });
}

int ztl_rsa_decode(const char* text, size_t length, int32_t exponent, int32_t modulus, uint8_t** out,
                   size_t* out_length) {
  return Guard([&]() -> Status {
    ZTL_CHECK(StartOutput(out, out_length, true));
    ZTL_CHECK(CheckRsaKeys(exponent, modulus));
    ZTL_TRY(input, TextArgument(text, length));
    ZTL_TRY(tokens, Bytes(input.data(), input.size(), kMaxBytes));
    // Coded text never holds a line end: one at the very end is the file's or the editor's, not
    // a token (which would decode as the byte 0).
    if (!tokens.empty() && tokens.back() == '\n') tokens.remove_suffix(1);
    if (!tokens.empty() && tokens.back() == '\r') tokens.remove_suffix(1);
    // Nothing but blanks is no token, not the byte of the number 0.
    if (tokens.find_first_not_of(" \t") == std::string_view::npos) tokens = {};
    return Deliver(TextOf(ZtRSA().Decode(AnsiBytesToString(tokens), exponent, modulus)), out, out_length);
  });
}

int ztl_ebcdic_encode(const void* data, size_t length, uint8_t** out, size_t* out_length) {
  return CodeBytes(data, length, out, out_length,
                   [](const String& s) -> Outcome<String> { return ZtStrings().ASCIIToEBCDIC(s); });
}

int ztl_ebcdic_decode(const void* data, size_t length, uint8_t** out, size_t* out_length) {
  return CodeBytes(data, length, out, out_length,
                   [](const String& s) -> Outcome<String> { return ZtStrings().EBCDICToASCII(s); });
}

}  // extern "C"
