// Finding a text inside another, as ZtStrings' counting, replacing and splitting need it:
// code unit by code unit, fast on ordinary text and linear on any text.
#pragma once

#include <cstddef>
#include <string_view>

namespace ztl::text {

inline constexpr std::size_t kNone = std::u16string_view::npos;

// The 0-based position of the first occurrence of `what` in `text` at or after `from`, or
// kNone: a binary search, code unit by code unit. An empty `what` is found at `from`.
std::size_t Find(std::u16string_view text, std::u16string_view what, std::size_t from);

}  // namespace ztl::text
