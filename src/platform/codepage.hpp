// Windows-1252, the ANSI code page: the code of a character and the character of a code.
// The five bytes the code page leaves undefined map to U+0081, U+008D, U+008F, U+0090 and
// U+009D both ways; a character the code page lacks has the code of "?" (63).
#pragma once

#include "ztldata/base/types.hpp"

namespace ztl::platform {

Byte AnsiCode(char16_t c) noexcept;
char16_t AnsiChar(Byte code) noexcept;

}  // namespace ztl::platform
