// The diffusion passes of ZtEncryption over ANSI codes held in bytes, and their inverses.
// The encoding passes each carry a value from one position to the next; where the processor
// has 512-bit vectors they run on bit planes instead (cipher_passes.cpp says how), with the
// same result. The tests compare the two ways.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ztldata/base/types.hpp"

namespace ztl::coding {

// The four encoding passes in place. `planes` false keeps to the one-position-at-a-time
// loops.
void EncodePasses(std::uint8_t* codes, std::size_t n, Long key, bool planes = true) noexcept;
// The inverse passes in the reverse order.
void DecodePasses(std::uint8_t* codes, std::size_t n, Long key) noexcept;

// Whether this processor runs the encoding passes on bit planes.
bool CanUsePlanes() noexcept;

}  // namespace ztl::coding
