// The plain value a Variant stands for, without copying it: what conversions, arithmetic and
// comparison work on. ValueOf (convert.hpp) is the copying form for callers.
#pragma once

#include <optional>

#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl {

// The Variant itself, or for an object its default value (followed through objects), which is
// kept in `held`. Fails with 91 for Nothing and 438 for an object without a default value.
// Note: `held` is engaged only when an object gave a value, so the common path (no object,
// or an object that gives none) builds and destroys no Variant.
Outcome<const Variant*> PlainValue(const Variant& v, std::optional<Variant>& held);

}  // namespace ztl
