// The two routines every area shares: the ordering of Variants used by searches and sorts,
// and a random whole number between two bounds.
#pragma once

#include "ztldata/frame/variant.hpp"

namespace ztl {

// -1 when a sorts before b, 0 when they are equal, 1 otherwise. Values that cannot be
// compared (an array, an object without a default value) count as a before b; a Null
// against anything gives 1.
Long CompareVariants(Variant a, Variant b) noexcept;

// A random Long: floor(r * (lngHigh - lngLow + 1) + lngLow) for the generator's next r.
// lngLow..lngHigh when lngLow <= lngHigh; 0 when the count or the result leaves the Long
// range. The generator advances on every call.
Long RandomBetween(Long lngLow, Long lngHigh) noexcept;

}  // namespace ztl
