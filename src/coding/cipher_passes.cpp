// The cipher's passes. Every value is a byte: the mixing term (m * x) mod 256 is taken in
// 0..255, and only the low 8 bits of m and x reach it.
//
// An encoding pass, x[i] = a[i] ^ x[i-d] ^ f(m, x[i-1]) (d = 1 or 2, walking away from the
// fixed first positions), chains every position to the one before, which bounds the simple
// loop to one multiply and one exclusive or per position. Bit k of m * x depends only on
// bits 0..k of x, and bit k of x enters it as m0 * x_k (m0 the lowest bit of m). So plane k
// (bit k of every position) obeys
//     x[i]_k = c[i] ^ alpha * x[i-1]_k ^ beta * x[i-2]_k,  c[i] = a[i]_k ^ bit k of m * (x[i-1] mod 2^k)
// with alpha = 1 ^ m0, beta = 0 for d = 1 and alpha = m0, beta = 1 for d = 2. Once planes
// 0..k-1 are known, c is computed for 64 positions at once with vector multiplies, and the
// recurrence is a product of polynomials over GF(2): the 64 bits of c (the first ones
// corrected for the two positions before the block) times the series 1 / (1 + alpha z + beta z^2),
// one carry-less multiply. The walking-down passes run the same on the block's bytes in
// reverse order.

#include "coding/cipher_passes.hpp"

#if defined(__x86_64__)
#include <immintrin.h>
#define ZTL_CIPHER_PLANES 1
#endif

namespace ztl::coding {

namespace {

struct Multipliers {
  explicit Multipliers(Long key)
      : m1(key % 233 + 11), m2(key % 239 + 7), m3(key % 241 + 5), m4(key % 251 + 3) {}
  std::uint32_t m1, m2, m3, m4;  // bit patterns; remainders with the sign of the key
};

inline std::uint8_t Low8(std::uint32_t x) { return static_cast<std::uint8_t>(x); }

// The loops below carry the value just written in a full register: its unused high bits do
// not reach the low 8 bits of a product or an exclusive or.

// a[i] ^= a[i-1] ^ f(m, a[i-1]) for i = from .. n-1 (from >= 1).
void ForwardNear(std::uint8_t* a, std::size_t n, std::uint32_t m, std::size_t from) {
  if (from >= n) return;
  std::uint32_t prev = a[from - 1];
  for (std::size_t i = from; i < n; ++i) {
    const std::uint32_t mixed = a[i] ^ prev;
    prev = mixed ^ (m * prev);
    a[i] = Low8(prev);
  }
}

// a[i] ^= a[i+1] ^ f(m, a[i+1]) for i = n-2-done .. 0.
void BackwardNear(std::uint8_t* a, std::size_t n, std::uint32_t m, std::size_t done) {
  if (n < 2 + done) return;
  std::uint32_t next = a[n - 1 - done];
  for (std::size_t i = n - 1 - done; i-- > 0;) {
    const std::uint32_t mixed = a[i] ^ next;
    next = mixed ^ (m * next);
    a[i] = Low8(next);
  }
}

// a[i] ^= a[i-2] ^ f(m, a[i-1]) for i = from .. n-1 (from >= 2).
void ForwardFar(std::uint8_t* a, std::size_t n, std::uint32_t m, std::size_t from) {
  if (from >= n) return;
  std::uint32_t two = a[from - 2], one = a[from - 1];
  for (std::size_t i = from; i < n; ++i) {
    const std::uint32_t now = (a[i] ^ two) ^ (m * one);
    a[i] = Low8(now);
    two = one;
    one = now;
  }
}

// a[i] ^= a[i+2] ^ f(m, a[i+1]) for i = n-3-done .. 0.
void BackwardFar(std::uint8_t* a, std::size_t n, std::uint32_t m, std::size_t done) {
  if (n < 3 + done) return;
  std::uint32_t two = a[n - 1 - done], one = a[n - 2 - done];
  for (std::size_t i = n - 2 - done; i-- > 0;) {
    const std::uint32_t now = (a[i] ^ two) ^ (m * one);
    a[i] = Low8(now);
    two = one;
    one = now;
  }
}

#ifdef ZTL_CIPHER_PLANES

#define ZTL_PLANES_TARGET __attribute__((target("avx2,avx512f,avx512bw,pclmul")))

// (m * x) mod 256 in every byte: the even and the odd bytes multiplied as 16-bit lanes.
ZTL_PLANES_TARGET inline __m512i BytesTimes(__m512i x, __m512i m16) {
  const __m512i even = _mm512_mullo_epi16(_mm512_and_si512(x, _mm512_set1_epi16(0x00FF)), m16);
  const __m512i odd = _mm512_mullo_epi16(_mm512_and_si512(x, _mm512_set1_epi16(static_cast<short>(0xFF00))), m16);
  return _mm512_mask_blend_epi8(0xAAAAAAAAAAAAAAAAull, even, odd);
}

// The 64 bytes in reverse order: bytes reversed within each 128-bit lane, then the lanes.
ZTL_PLANES_TARGET inline __m512i Reversed(__m512i v) {
  const __m512i in_lane = _mm512_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,  //
                                          0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,  //
                                          0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,  //
                                          0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  const __m512i lanes = _mm512_set_epi64(1, 0, 3, 2, 5, 4, 7, 6);
  return _mm512_maskz_permutexvar_epi64(0xFF, lanes, _mm512_shuffle_epi8(v, in_lane));
}

// What one pass needs for every block.
struct PassConstants {
  std::uint64_t alpha, beta;
  __m128i inverse;  // the first 64 terms of 1 / (1 + alpha z + beta z^2)
  __m512i m16;      // the multiplier in every 16-bit lane
};

// G consecutive blocks of 64 positions in walking order, the first at `at` (its lowest
// address when walking down). Block g's plane k needs plane k of block g-1 (for the two
// positions before it), so the blocks run skewed: at step s block g does plane s - g, and
// G chains of planes are under way at once.
template <bool kDown, int G>
ZTL_PLANES_TARGET void PlaneBlocks(std::uint8_t* first_block, std::uint64_t before1, std::uint64_t before2,
                                   const PassConstants& pc) {
  __m512i codes[G], x[G], x_before[G];
  std::uint64_t planes[G] = {};
#pragma GCC unroll 16
  for (int g = 0; g < G; ++g) {
    std::uint8_t* at = kDown ? first_block - 64 * g : first_block + 64 * g;
    codes[g] = _mm512_loadu_si512(at);
    if constexpr (kDown) codes[g] = Reversed(codes[g]);
    x[g] = _mm512_setzero_si512();
    x_before[g] = _mm512_setzero_si512();
  }
#pragma GCC unroll 16
  for (int step = 0; step < 8 + G - 1; ++step) {
    // Downward through the blocks, so planes[g - 1] still holds the plane block g needs.
#pragma GCC unroll 16
    for (int g = G - 1; g >= 0; --g) {
      const int k = step - g;
      if (k < 0 || k >= 8) continue;
      const char bit = static_cast<char>(1 << k);
      const std::uint64_t b1 = g == 0 ? (before1 >> k) & 1 : planes[g - 1] >> 63;
      const std::uint64_t b2 = g == 0 ? (before2 >> k) & 1 : (planes[g - 1] >> 62) & 1;
      const __m512i c = _mm512_xor_si512(codes[g], BytesTimes(x_before[g], pc.m16));
      std::uint64_t plane = _mm512_test_epi8_mask(c, _mm512_set1_epi8(bit));
      plane ^= (pc.alpha & b1) ^ (pc.beta & b2) ^ ((pc.beta & b1) << 1);
      plane = static_cast<std::uint64_t>(_mm_cvtsi128_si64(
          _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(plane)), pc.inverse, 0x00)));
      planes[g] = plane;
      x[g] = _mm512_or_si512(x[g], _mm512_maskz_set1_epi8(plane, bit));
      x_before[g] = _mm512_or_si512(x_before[g], _mm512_maskz_set1_epi8((plane << 1) | b1, bit));
    }
  }
#pragma GCC unroll 16
  for (int g = 0; g < G; ++g) {
    std::uint8_t* at = kDown ? first_block - 64 * g : first_block + 64 * g;
    _mm512_storeu_si512(at, kDown ? Reversed(x[g]) : x[g]);
  }
}

// One encoding pass over whole blocks of 64 positions, walking up (or down when kDown) from
// the d fixed positions; returns how many positions it did. The rest is the loops' work.
template <bool kDown>
ZTL_PLANES_TARGET std::size_t PlanePass(std::uint8_t* a, std::size_t n, std::uint32_t m, std::size_t d) {
  const std::size_t blocks = n > d ? (n - d) / 64 : 0;
  if (blocks == 0) return 0;
  PassConstants pc;
  const std::uint64_t m0 = m & 1;
  pc.alpha = d == 1 ? 1 ^ m0 : m0;
  pc.beta = d == 2 ? 1 : 0;
  std::uint64_t series = 0;
  for (std::uint64_t j = 0, s1 = 0, s2 = 0; j < 64; ++j) {
    const std::uint64_t s = j == 0 ? 1 : (pc.alpha & s1) ^ (pc.beta & s2);
    series |= s << j;
    s2 = s1;
    s1 = s;
  }
  pc.inverse = _mm_cvtsi64_si128(static_cast<long long>(series));
  pc.m16 = _mm512_set1_epi16(static_cast<short>(m & 0xFF));
  constexpr int kGroup = 8;
  for (std::size_t t = 0; t < blocks;) {
    // Block t in walking order, and the two positions before it (already final).
    std::uint8_t* at;
    std::uint64_t before1, before2;
    if constexpr (kDown) {
      const std::size_t top = n - 1 - d - 64 * t;  // the block is top - 63 .. top
      at = a + (top - 63);
      before1 = a[top + 1];
      before2 = d == 2 ? a[top + 2] : 0;
    } else {
      const std::size_t first = d + 64 * t;
      at = a + first;
      before1 = a[first - 1];
      before2 = d == 2 ? a[first - 2] : 0;
    }
    if (blocks - t >= kGroup) {
      PlaneBlocks<kDown, kGroup>(at, before1, before2, pc);
      t += kGroup;
    } else {
      PlaneBlocks<kDown, 1>(at, before1, before2, pc);
      t += 1;
    }
  }
  return blocks * 64;
}

#endif

}  // namespace

bool CanUsePlanes() noexcept {
#ifdef ZTL_CIPHER_PLANES
  static const bool can = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("pclmul");
  return can;
#else
  return false;
#endif
}

void EncodePasses(std::uint8_t* codes, std::size_t n, Long key, bool planes) noexcept {
  const Multipliers k(key);
  std::size_t done[4] = {0, 0, 0, 0};
#ifdef ZTL_CIPHER_PLANES
  if (planes && CanUsePlanes()) {
    done[0] = PlanePass<false>(codes, n, k.m1, 1);
    ForwardNear(codes, n, k.m1, 1 + done[0]);
    done[1] = PlanePass<true>(codes, n, k.m2, 1);
    BackwardNear(codes, n, k.m2, done[1]);
    done[2] = PlanePass<false>(codes, n, k.m3, 2);
    ForwardFar(codes, n, k.m3, 2 + done[2]);
    done[3] = PlanePass<true>(codes, n, k.m4, 2);
    BackwardFar(codes, n, k.m4, done[3]);
    return;
  }
#else
  (void)planes;
#endif
  ForwardNear(codes, n, k.m1, 1);
  BackwardNear(codes, n, k.m2, 0);
  ForwardFar(codes, n, k.m3, 2);
  BackwardFar(codes, n, k.m4, 0);
}

void DecodePasses(std::uint8_t* a, std::size_t n, Long key) noexcept {
  // Each inverse pass walks the other way, so the neighbours it reads still hold what the
  // encoding pass had read; no position waits for another, and the loops vectorise.
  const Multipliers k(key);
  for (std::size_t i = 0; i + 2 < n; ++i) a[i] = Low8(a[i] ^ a[i + 2] ^ (k.m4 * a[i + 1]));
  for (std::size_t i = n; i-- > 2;) a[i] = Low8(a[i] ^ a[i - 2] ^ (k.m3 * a[i - 1]));
  for (std::size_t i = 0; i + 1 < n; ++i) a[i] = Low8(a[i] ^ a[i + 1] ^ (k.m2 * a[i + 1]));
  for (std::size_t i = n; i-- > 1;) a[i] = Low8(a[i] ^ a[i - 1] ^ (k.m1 * a[i - 1]));
}

}  // namespace ztl::coding
