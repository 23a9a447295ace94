// UTF-8 <-> UTF-16 conversion with replacement of anything malformed by U+FFFD.

#include "ztldata/platform/utf8.hpp"

#include <cstdint>

namespace ztl {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// The length of a sequence from its lead byte, or 0 for a byte that cannot start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `byte` may follow `lead` as the second byte. The ranges rule out overlong forms,
// surrogates and values past U+10FFFF; later bytes are any continuation byte.
bool FitsSecond(unsigned char lead, unsigned char byte) {
  unsigned char low = 0x80, high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  return byte >= low && byte <= high;
}

void AppendUtf16(std::u16string& out, std::uint32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

String Utf8ToUtf16(std::string_view text) {
  String out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = SequenceLength(lead);
    if (length == 1) {
      out.push_back(lead);
      ++i;
      continue;
    }
    if (length == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    std::uint32_t cp = lead & (0xFF >> (length + 1));
    int taken = 1;
    for (; taken < length && i + taken < text.size(); ++taken) {
      const auto byte = static_cast<unsigned char>(text[i + taken]);
      const bool fits = taken == 1 ? FitsSecond(lead, byte) : (byte >= 0x80 && byte <= 0xBF);
      if (!fits) break;
      cp = (cp << 6) | (byte & 0x3F);
    }
    if (taken == length) {
      AppendUtf16(out, cp);
    } else {
      // A truncated or broken sequence: one replacement for the maximal valid prefix.
      out.push_back(kReplacement);
    }
    i += static_cast<std::size_t>(taken);
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (StartsSurrogatePair(text, i)) {
      AppendUtf8(out, CodePointOfPair(unit, text[i + 1]));
      ++i;
    } else {
      AppendUtf8(out, unit);  // a lone surrogate becomes U+FFFD
    }
  }
  return out;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) noexcept {
  if (at >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[at]);
  const auto length = static_cast<std::size_t>(SequenceLength(lead));
  if (length <= 1) return length;
  if (at + length > text.size() || !FitsSecond(lead, static_cast<unsigned char>(text[at + 1]))) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(text[at + k]);
    if (byte < 0x80 || byte > 0xBF) return 0;
  }
  return length;
}

bool IsValidUtf8(std::string_view text) noexcept {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace ztl
