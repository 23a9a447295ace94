// UTF-8 <-> UTF-16 at the library's edges: command lines, JSON, saved forms and C strings are
// UTF-8, the library's Strings UTF-16. Bad input never fails: it becomes U+FFFD.
//
// Example:
//   ztl::Utf8ToUtf16("Gr\xC3\xBC\xC3\x9F" "e")   // u"Grüße"
//   ztl::Utf16ToUtf8(u"\xD800")                // "\xEF\xBF\xBD" (a lone surrogate)
#pragma once

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

}  // namespace ztl
