// Fitting text into a width with "...", as the system's text drawing does when it is asked
// to measure only and to rewrite the text as it would be displayed. Pure: the caller supplies
// the width of each character, so any font (or a model of one) can be used.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ztl::platform {

// Drawing flags that take part in fitting (the values the system gives them).
inline constexpr std::uint32_t kDrawSingleLine = 0x20;       // CR and LF are ordinary characters
inline constexpr std::uint32_t kDrawCalcRect = 0x400;        // measure only, draw nothing
inline constexpr std::uint32_t kDrawPathEllipsis = 0x4000;   // "..." in the middle, the end kept
inline constexpr std::uint32_t kDrawEndEllipsis = 0x8000;    // cut at the end, "..." added
inline constexpr std::uint32_t kDrawModifyString = 0x10000;  // the text becomes what is shown

// The width of one character (a byte of the text), in the caller's units.
using CharWidth = std::function<std::int64_t(unsigned char)>;

// The text as drawing it into `width` units with `flags` leaves it. Unchanged unless the
// flags ask to modify the text and for an ellipsis. Each line (lines end at CR LF, CR or LF,
// unless kDrawSingleLine) is fitted on its own and the line breaks are kept:
// - a line that fits (its width at most `width`) and an empty line stay as they are;
// - end ellipsis: the longest start of the line that fits with "..." after it, then "...";
//   "..." alone when not even that fits;
// - path ellipsis: "..." goes just before the last "\" or "/", and characters to its left
//   are removed one at a time until the line fits or none is left; what follows the
//   separator is always kept, so the result may still be too wide. With the end ellipsis as
//   well, such a line is then cut at its end too. A line without a separator is cut like the
//   end ellipsis.
std::string FitText(std::string_view text, std::int64_t width, std::uint32_t flags, const CharWidth& char_width);

}  // namespace ztl::platform
