// Appending to a text that may have to grow past what a String can hold, as a step that
// fails instead of throwing.
#pragma once

#include <string_view>

#include "ztldata/base/outcome.hpp"

namespace ztl::text {

// Appends to a text; fails with out of memory (7), leaving the text as it was, where the
// text cannot grow that far.
inline Status Append(String& to, std::u16string_view what) {
  if (what.size() > to.max_size() - to.size()) return Fail(kOutOfMemory);
  to.append(what);
  return Done();
}

}  // namespace ztl::text
