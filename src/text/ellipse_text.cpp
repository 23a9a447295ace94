// ZtStrings::EllipseText: fitting a text into a width with "..." on a device context.

#include "ztldata/text/strings.hpp"

namespace ztl {

// Not built yet: answers with the default of its result type.
String ZtStrings::EllipseText(const String&, Long, Long, Long, ztlEllipseText) noexcept { return String(); }

}  // namespace ztl
