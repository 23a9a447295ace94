// UTF-8 <-> UTF-16 for the command's edges, from the library's platform layer.
#pragma once

#include "platform/utf8.hpp"

namespace ztl::cli {
using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;
}  // namespace ztl::cli
