// The process-wide pseudo-random generator: uniform Singles k / 2^24 in [0, 1).
// Thread-safe; every request advances it by one value. Seeding it is public
// (ztldata/platform/random.hpp).
#pragma once

#include "ztldata/base/types.hpp"

namespace ztl::platform {

Single NextRandom() noexcept;

// A random Long: floor(r * (lngHigh - lngLow + 1) + lngLow) for the generator's next r.
// lngLow..lngHigh when lngLow <= lngHigh; 0 when the count or the result leaves the Long
// range. The generator advances on every call.
Long RandomBetween(Long lngLow, Long lngHigh) noexcept;

}  // namespace ztl::platform
