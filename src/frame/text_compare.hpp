// Comparison of a UTF-16 text with an ASCII name without regard to case, as automation
// compares member and class names. Allocates nothing.
#pragma once

#include <string_view>

namespace ztl {

constexpr char16_t FoldAscii(char16_t c) noexcept { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

constexpr bool EqualsIgnoringCase(std::u16string_view text, std::string_view name) noexcept {
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (FoldAscii(text[i]) != FoldAscii(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
}

}  // namespace ztl
