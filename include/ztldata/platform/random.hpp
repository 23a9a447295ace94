// Seeding the library's random generator, which GetRandom, Sort and Shuffle draw from.
// The library reseeds it from the clock on its own where its operations say so; a fixed
// seed makes a run reproducible (tests, replays).
//
// Example:
//   ztl::SeedRandom(42);   // from here on, the same sequence on every run
#pragma once

#include <cstdint>

namespace ztl {

// Restarts the process-wide generator from a seed: the same seed gives the same sequence.
// Note: a later reseed from the clock (creating a ZtCollections object, generating RSA keys)
// leaves the reproducible sequence.
void SeedRandom(std::uint64_t seed) noexcept;

// Restarts the generator from the current time, as the library itself does when it reseeds.
void RandomizeFromClock() noexcept;

}  // namespace ztl
