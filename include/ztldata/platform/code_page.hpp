// Bytes <-> Strings through Windows-1252, the ANSI code page: how the coding operations
// (CRC, run-length coding, ciphers, EBCDIC) see a file, one character for each byte. Use
// utf8.hpp instead for text in UTF-8.
//
// Example:
//   ztl::AnsiBytesToString("\x80" "A")    // u"\u20AC" u"A" (the euro sign, then A)
//   ztl::StringToAnsiBytes(u"\u20AC\u4E00")   // "\x80?"
//   ztl::AnsiCode(u'\u2122')                   // 0x99
#pragma once

#include <cstddef>
#include <cstdint>
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

// Writes the Windows-1252 codes of the n characters at `text` to `out` (n bytes), as
// StringToAnsiBytes does, without allocating: for loops over a caller's buffer.
void StringToAnsiBytes(const char16_t* text, std::size_t n, std::uint8_t* out) noexcept;

namespace detail {
// The codes and characters of 0x80-0x9F, the only ones that are not their own number.
Byte AnsiCodeOutsideLatin1(char16_t c) noexcept;
char16_t AnsiCharOfHighControl(Byte code) noexcept;
}  // namespace detail

// The Windows-1252 code of one character; "?" (63) for a character the code page lacks (a
// surrogate included). Inline, because the characters that are their own code are most.
inline Byte AnsiCode(char16_t c) noexcept {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<Byte>(c);
  return detail::AnsiCodeOutsideLatin1(c);
}

// The character of one Windows-1252 code (the C1 control of the same number for the five
// undefined codes).
inline char16_t AnsiChar(Byte code) noexcept {
  if (code < 0x80 || code >= 0xA0) return static_cast<char16_t>(code);
  return detail::AnsiCharOfHighControl(code);
}

}  // namespace ztl
