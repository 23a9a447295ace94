// UTF-8 <-> UTF-16 at the library's edges: command-line arguments, JSON and saved forms are UTF-8, the
// library's Strings are UTF-16. Bad input never fails: it becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace ztl::platform {

// Invalid or overlong sequences, surrogate code points and truncated sequences each give U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// A lone surrogate (one without its partner) gives U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace ztl::platform
