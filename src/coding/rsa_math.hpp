// The whole-number routines behind ZtRSA: the prime test, the modular inverse and the
// modular power. Keys, codes and moduli are Longs, so exact 64-bit arithmetic gives every
// result the double arithmetic of the original routines gave wherever that was exact.
#pragma once

#include <cstdint>

#include "ztldata/base/types.hpp"

namespace ztl::coding {

// Trial division by 2 and the odd numbers up to the square root. False below 2.
inline bool TestPrime(std::int64_t x) noexcept {
  if (x < 2) return false;
  if (x % 2 == 0) return false;  // 2 itself is not prime here: no key needs it
  for (std::int64_t d = 3; d * d <= x; d += 2) {
    if (x % d == 0) return false;
  }
  return true;
}

// The coefficient t of a in t * a + s * b = gcd(a, b) (extended Euclid with floored
// quotients), moved into 0..b-1 when it is negative: the inverse of a modulo b when they are
// coprime. a and b are positive.
inline std::int64_t InverseMod(std::int64_t a, std::int64_t b) noexcept {
  std::int64_t y0 = 0, r0 = b;
  std::int64_t y1 = 1, r1 = a;
  while (r1 != 0) {
    std::int64_t q = r0 / r1;
    if ((r0 % r1 != 0) && ((r0 < 0) != (r1 < 0))) --q;  // floor
    const std::int64_t y2 = y0 - q * y1, r2 = r0 - q * r1;
    y0 = y1;
    r0 = r1;
    y1 = y2;
    r1 = r2;
  }
  return y0 < 0 ? y0 + b : y0;
}

// base^exponent modulo m by right-to-left squaring and multiplying, every remainder floored
// (its sign follows m): 0..m-1 for m > 0, m+1..0 for m < 0. An exponent of 0 or less gives
// 1; modulus 0 gives 0 (for a positive exponent).
inline Long PowerMod(Long base, Long exponent, Long modulus) noexcept {
  if (exponent <= 0) return 1;
  if (modulus == 0) return 0;
  // The residues of the floored remainders are those of |m|; the sign of m only moves the
  // final one into m+1..0.
  const std::uint64_t m = modulus < 0 ? -static_cast<std::uint64_t>(static_cast<std::int64_t>(modulus))
                                      : static_cast<std::uint64_t>(modulus);
  std::int64_t reduced = base % static_cast<std::int64_t>(m);
  if (reduced < 0) reduced += static_cast<std::int64_t>(m);
  std::uint64_t b = static_cast<std::uint64_t>(reduced);  // below 2^31, so b * b fits
  std::uint64_t acc = 1;
  auto e = static_cast<std::uint32_t>(exponent);
  while (e > 0) {
    while ((e & 1) == 0) {
      b = b * b % m;
      e >>= 1;
    }
    acc = acc * b % m;
    e -= 1;
  }
  if (modulus > 0 || acc == 0) return static_cast<Long>(acc);
  return static_cast<Long>(static_cast<std::int64_t>(acc) - static_cast<std::int64_t>(m));
}

}  // namespace ztl::coding
