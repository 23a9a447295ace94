// Characters to Windows-1252 codes and back, inlined for the coding components' inner loops:
// the codes that stand for themselves are answered here, the rest by the code page.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/codepage.hpp"
#include "ztldata/base/types.hpp"

namespace ztl::coding {

// The ANSI code of a character; "?" (63) for one the code page lacks.
inline Byte ToAnsi(char16_t c) noexcept {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<Byte>(c);
  return platform::AnsiCode(c);
}

// The character of an ANSI code.
inline char16_t FromAnsi(Byte code) noexcept {
  if (code < 0x80 || code >= 0xA0) return static_cast<char16_t>(code);
  return platform::AnsiChar(code);
}

// Writes the ANSI codes of n characters to out. Characters below 0x80 and from 0xA0 to 0xFF
// are their own codes. Loops the compiler turns into vector code take the low bytes and
// check, first for plain ASCII and then for any character that is not its own code; only
// those go through the code page.
inline void ToAnsiBytes(const char16_t* text, std::size_t n, std::uint8_t* out) noexcept {
  std::uint16_t seen = 0;
  for (std::size_t i = 0; i < n; ++i) {
    seen = static_cast<std::uint16_t>(seen | text[i]);
    out[i] = static_cast<std::uint8_t>(text[i]);
  }
  if (seen < 0x80) return;
  std::uint16_t others = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint16_t c = text[i];
    const auto from_0x80 = static_cast<std::uint16_t>(c - 0x80);
    others = static_cast<std::uint16_t>(others | (from_0x80 < 0x20) | (c > 0xFF));
  }
  if (others == 0) return;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if ((c >= 0x80 && c < 0xA0) || c > 0xFF) out[i] = platform::AnsiCode(c);
  }
}

}  // namespace ztl::coding
