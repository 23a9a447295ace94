// EBCDIC translation of bytes: the fixed table of ZtStrings.ASCIIToEBCDIC and its exact
// inverse, for programs that move files between systems. ZtStrings carries the same
// translation on text whose characters stand for Windows-1252 bytes.
//
// Example:
//   ztl::AsciiToEbcdicBytes("AZaz09");   // "\xC1\xE9\x81\xA9\xF0\xF9"
//   ztl::EbcdicToAsciiBytes("\xC1");     // "A"
#pragma once

#include <string>
#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl {

// Each Windows-1252 byte to its EBCDIC byte. Codes below 0xA0 follow IBM code page 500
// except "|" (0x6A) and 0x9F (0xE1); codes from 0xA0 take the EBCDIC bytes left over, in
// ascending order.
// Note: accented letters therefore do not reach their EBCDIC letters ("é" gives 0xCB, not 0x51).
std::string AsciiToEbcdicBytes(std::string_view bytes);

// Each EBCDIC byte back to its Windows-1252 byte; EbcdicToAsciiBytes(AsciiToEbcdicBytes(b))
// is b for every input.
std::string EbcdicToAsciiBytes(std::string_view bytes);

// One byte each way.
Byte AsciiToEbcdic(Byte code) noexcept;
Byte EbcdicToAscii(Byte code) noexcept;

}  // namespace ztl
