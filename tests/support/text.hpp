// Texts in tests: an ASCII view of a String for messages and comparisons, and a String from
// ASCII.
#pragma once

#include <string>

#include "ztldata/base/types.hpp"

namespace ztl::testing_support {

// Code units above 127 become '?'.
inline std::string Narrow(const String& s) {
  std::string out;
  for (char16_t c : s) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

inline String Wide(const std::string& s) { return String(s.begin(), s.end()); }

}  // namespace ztl::testing_support
