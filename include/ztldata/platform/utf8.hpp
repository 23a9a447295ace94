// UTF-8 <-> UTF-16 at the library's edges: command lines, JSON, saved forms and C strings are
// UTF-8, the library's Strings UTF-16. Bad input never fails: it becomes U+FFFD. Also the
// pieces for code that walks either form itself: checking UTF-8, encoding one code point,
// and recognising surrogate pairs.
//
// Example:
//   ztl::Utf8ToUtf16("Gr\xC3\xBC\xC3\x9F" "e")   // u"Grüße"
//   ztl::Utf16ToUtf8(u"\xD800")                // "\xEF\xBF\xBD" (a lone surrogate)
//   ztl::Utf8SequenceLength("\xE2\x82\xAC!", 0)   // 3
//   ztl::CodePointOfPair(u'\xD83D', u'\xDE00')   // 0x1F600
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ztldata/base/types.hpp"

namespace ztl {

// The UTF-16 code units of a UTF-8 text.
// Note: invalid or overlong sequences, encoded surrogates and truncated sequences each give
// one U+FFFD.
String Utf8ToUtf16(std::string_view text);

// The UTF-8 bytes of a UTF-16 text.
// Note: a lone surrogate (one without its partner) gives U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The length (1-4) of the UTF-8 sequence that starts at text[at], or 0 when no valid one
// does: a continuation byte, an overlong form, an encoded surrogate, a code point past
// U+10FFFF, a sequence cut off by the end, or `at` past the end.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) noexcept;

// Whether the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text) noexcept;

// Appends the UTF-8 bytes of one code point.
// Note: a surrogate or a value past U+10FFFF is written as U+FFFD.
void AppendUtf8(std::string& out, char32_t code_point);

constexpr bool IsHighSurrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDFFF; }

// Whether text[at] and text[at + 1] are a high and a low surrogate: one character.
constexpr bool StartsSurrogatePair(std::u16string_view text, std::size_t at) noexcept {
  return at + 1 < text.size() && IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1]);
}

// The code point (U+10000..U+10FFFF) a high and a low surrogate stand for together.
constexpr char32_t CodePointOfPair(char16_t high, char16_t low) noexcept {
  return 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
}

}  // namespace ztl
