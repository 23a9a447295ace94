// The engine of ZtStrings.sPrintf: a template's %d, %f, %ld and %s conversions filled with
// values, each number through a pattern made of the conversion's width and precision.
#pragma once

#include <span>
#include <string_view>

#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl::text {

// The template with each conversion replaced by the next value, as ZtStrings::sPrintf
// documents it (strings.hpp): "" when the conversions and the values differ in number or an
// "l" is not followed by "d"; a value with no text is left out with the template text
// before it. Fails with out of memory (7) for a result longer than a String can hold.
Outcome<String> Sprintf(std::u16string_view text, std::span<const Variant> values);

}  // namespace ztl::text
