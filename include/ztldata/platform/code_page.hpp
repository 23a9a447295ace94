// Bytes <-> Strings through Windows-1252, the ANSI code page: how the coding operations
// (CRC, run-length coding, ciphers, EBCDIC) see a file, one character for each byte. Use
// utf8.hpp instead for text in UTF-8.
//
// Example:
//   ztl::AnsiBytesToString("\x80" "A")    // u"\u20AC" u"A" (the euro sign, then A)
//   ztl::StringToAnsiBytes(u"\u20AC\u4E00")   // "\x80?"
#pragma once

#include <string>
#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl {

// Each byte as the Windows-1252 character of that code.
// Note: the five codes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) give the
// C1 controls U+0081, U+008D, U+008F, U+0090 and U+009D, so every byte comes back from
// StringToAnsiBytes.
String AnsiBytesToString(std::string_view bytes);

// Each character as its Windows-1252 code.
// Note: a character the code page lacks becomes "?" (63).
std::string StringToAnsiBytes(std::u16string_view text);

}  // namespace ztl
