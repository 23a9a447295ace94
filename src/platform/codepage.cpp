// Windows-1252 <-> UTF-16. Only 0x80-0x9F differ from Latin-1, so one 32-entry table
// carries the whole code page; the reverse direction binary-searches the same table sorted by
// character, so that long texts outside the code page cost five comparisons a character. Codes
// below 0x80 and from 0xA0 are the character of the same number and need no table.

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "ztldata/platform/code_page.hpp"

namespace ztl {

namespace {

// The characters of codes 0x80-0x9F. Generator rule: the published mapping table of code
// page 1252 (CP1252.TXT, column 2 of each "0x8n" / "0x9n" row), with the five codes it
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) mapped to the C1 control of the same
// number, as the system's conversion does. Codes 0x00-0x7F and 0xA0-0xFF are the character
// of the same number and need no table.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',  // 80
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',  // 88
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',  // 90
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',  // 98
};

constexpr Byte kQuestionMark = 63;

// (character, code) for the 32 codes above, ordered by character.
constexpr auto kByCharacter = [] {
  std::array<std::pair<char16_t, Byte>, kHighControls.size()> pairs{};
  for (std::size_t i = 0; i < pairs.size(); ++i) pairs[i] = {kHighControls[i], static_cast<Byte>(0x80 + i)};
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}();

}  // namespace

namespace detail {

Byte AnsiCodeOutsideLatin1(char16_t c) noexcept {
  if (c > kByCharacter.back().first) return kQuestionMark;  // most of the plane: no search
  const auto* found = std::lower_bound(kByCharacter.begin(), kByCharacter.end(), c,
                                       [](const auto& entry, char16_t key) { return entry.first < key; });
  return found != kByCharacter.end() && found->first == c ? found->second : kQuestionMark;
}

char16_t AnsiCharOfHighControl(Byte code) noexcept {
  return code >= 0x80 && code < 0xA0 ? kHighControls[code - 0x80] : static_cast<char16_t>(code);
}

}  // namespace detail

String AnsiBytesToString(std::string_view bytes) {
  String text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = AnsiChar(static_cast<Byte>(bytes[i]));
  return text;
}

std::string StringToAnsiBytes(std::u16string_view text) {
  std::string bytes(text.size(), '\0');
  StringToAnsiBytes(text.data(), text.size(), reinterpret_cast<std::uint8_t*>(bytes.data()));
  return bytes;
}

// Loops the compiler turns into vector code take the low bytes and check, first for plain
// ASCII and then for any character that is not its own code; only those go through the table.
void StringToAnsiBytes(const char16_t* text, std::size_t n, std::uint8_t* out) noexcept {
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
    if ((c >= 0x80 && c < 0xA0) || c > 0xFF) out[i] = detail::AnsiCodeOutsideLatin1(c);
  }
}

}  // namespace ztl
