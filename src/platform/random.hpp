// The process-wide pseudo-random generator: uniform Singles k / 2^24 in [0, 1).
// Thread-safe; every request advances it by one value.
#pragma once

#include <cstdint>

#include "ztldata/frame/types.hpp"

namespace ztl::platform {

Single NextRandom() noexcept;
void ReseedRandomFromClock() noexcept;
void SeedRandom(std::uint64_t seed) noexcept;

}  // namespace ztl::platform
