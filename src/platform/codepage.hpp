// Windows-1252 under the platform namespace, for code that names the code of a character and
// the character of a code as platform::AnsiCode and platform::AnsiChar. They are the public
// functions of ztldata/platform/code_page.hpp.
#pragma once

#include "ztldata/platform/code_page.hpp"

namespace ztl::platform {

using ztl::AnsiChar;
using ztl::AnsiCode;

}  // namespace ztl::platform
