// The diffusion passes of ZtEncryption over ANSI codes held in bytes, and their inverses.
// The encoding passes each carry a value from one position to the next; on vectors they run
// on bit planes instead (cipher_passes.cpp says how), with the same result. The tests compare
// every way this processor offers with the loops.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ztldata/base/types.hpp"

namespace ztl::coding {

// The ways to run the encoding passes: the one-position-at-a-time loops, or bit planes on
// vectors of 32 or 64 bytes (x86-64 with AVX2 or AVX-512, each with the carry-less multiply).
enum class PassPath { kLoops, kPlanes32, kPlanes64 };

// The four encoding passes in place, on the fastest way this processor offers.
void EncodePasses(std::uint8_t* codes, std::size_t n, Long key) noexcept;
// The same on `path`; a path this processor cannot run falls back to the loops.
void EncodePasses(std::uint8_t* codes, std::size_t n, Long key, PassPath path) noexcept;
// The inverse passes in the reverse order.
void DecodePasses(std::uint8_t* codes, std::size_t n, Long key) noexcept;

// Whether this processor (and this build) can run `path`.
bool CanRun(PassPath path) noexcept;
// The way EncodePasses takes.
PassPath FastestPath() noexcept;

}  // namespace ztl::coding
