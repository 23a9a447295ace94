// Character classes of the ANSI code page (Windows-1252), as the system's IsCharAlpha and
// IsCharAlphaNumeric answer them for one byte, and proper case, the system's word-by-word
// case conversion. Both rest on Unicode's character properties (ICU).
#pragma once

#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl::platform {

// Whether the character of an ANSI code is a letter: a Unicode letter (Lu, Ll, Lt, Lm, Lo)
// or letter number (Nl). Note: 0x88 "ˆ", a modifier letter, counts; 0x98 "˜" does not.
bool IsAnsiAlpha(Byte code) noexcept;

// Whether the character of an ANSI code is a letter or a digit: a decimal digit or one of
// the superscripts "¹", "²", "³". Note: "¼", "½", "¾" are neither.
bool IsAnsiAlphaNumeric(Byte code) noexcept;

// Whether a character separates words for ProperCase: NUL, tab, line feed, vertical tab,
// form feed, carriage return and space. Nothing else does, punctuation included.
constexpr bool IsWordSeparator(char16_t c) noexcept {
  return c == 0 || (c >= 9 && c <= 13) || c == 32;
}

// Proper case: the first character of every word upper case, every other character lower
// case, each by Unicode's simple one-to-one mapping, so the text keeps its length. A word
// that starts with a non-letter keeps it ("123ABC" gives "123abc"); surrogates stay as
// they are. Example: ProperCase(u"o'neil-smith jR") is u"O'neil-smith Jr".
String ProperCase(std::u16string_view text);

}  // namespace ztl::platform
