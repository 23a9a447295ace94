// Character classes of the 256 ANSI codes, worked out once from ICU's character categories,
// and proper case through ICU's simple case mappings.

#include "char_class.hpp"

#include <unicode/uchar.h>

#include <array>

#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::platform {

namespace {

constexpr std::uint8_t kAlpha = 1;
constexpr std::uint8_t kDigit = 2;

// The class bits of each ANSI code. A letter is what Unicode files as a letter or a letter
// number; a digit is a decimal digit, plus the three superscript digits that the system's
// character-type table also marks as digits.
const std::array<std::uint8_t, 256>& Classes() noexcept {
  static const std::array<std::uint8_t, 256> classes = [] {
    std::array<std::uint8_t, 256> table{};
    for (int code = 0; code < 256; ++code) {
      const char16_t c = AnsiChar(static_cast<Byte>(code));
      std::uint8_t bits = 0;
      switch (u_charType(c)) {
        case U_UPPERCASE_LETTER:
        case U_LOWERCASE_LETTER:
        case U_TITLECASE_LETTER:
        case U_MODIFIER_LETTER:
        case U_OTHER_LETTER:
        case U_LETTER_NUMBER: bits = kAlpha; break;
        case U_DECIMAL_DIGIT_NUMBER: bits = kDigit; break;
        default: break;
      }
      if (c == u'\u00B2' || c == u'\u00B3' || c == u'\u00B9') bits = kDigit;
      table[static_cast<std::size_t>(code)] = bits;
    }
    return table;
  }();
  return classes;
}

// One code unit mapped to one code unit; a mapping that would leave the basic plane keeps
// the character.
char16_t MapUnit(char16_t c, UChar32 (*map)(UChar32)) noexcept {
  const UChar32 mapped = map(c);
  return mapped >= 0 && mapped <= 0xFFFF ? static_cast<char16_t>(mapped) : c;
}

}  // namespace

bool IsAnsiAlpha(Byte code) noexcept { return (Classes()[code] & kAlpha) != 0; }

bool IsAnsiAlphaNumeric(Byte code) noexcept { return Classes()[code] != 0; }

String ProperCase(std::u16string_view text) {
  String out(text);
  bool word_start = true;
  for (char16_t& c : out) {
    if (IsWordSeparator(c)) {
      word_start = true;
      continue;
    }
    // ASCII needs no tables.
    if (c < 0x80) {
      if (word_start && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
      if (!word_start && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    } else if (!IsSurrogate(c)) {
      c = MapUnit(c, word_start ? u_toupper : u_tolower);
    }
    word_start = false;
  }
  return out;
}

}  // namespace ztl::platform
