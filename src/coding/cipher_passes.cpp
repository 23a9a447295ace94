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
// 0..k-1 are known, c is computed for 64 positions at once on vectors (m * x grows by
// m * 2^k in the bytes whose bit k is set, so no byte multiply is needed), and the recurrence
// is a product of polynomials over GF(2): the 64 bits of c (the first ones corrected for the
// two positions before the block) times the series 1 / (1 + alpha z + beta z^2), one
// carry-less multiply.
//
// The vector code is written once over the compilers' portable vectors and compiled for
// 32-byte (AVX2) and 64-byte (AVX-512) vectors, chosen at run time; only moving between a
// bit per byte and a word, and the carry-less multiply, name instructions. Other processors
// run the loops: compiled for 16-byte vectors the planes took 0.6 times the loops' time with
// SSSE3 and 3 times with SSE2 alone, not worth their 40 KB of code on processors that old.

#include "coding/cipher_passes.hpp"

#include <cstring>
#include <utility>

#if defined(__GNUC__) && defined(__x86_64__)
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

void EncodeOnLoops(std::uint8_t* a, std::size_t n, const Multipliers& k) {
  ForwardNear(a, n, k.m1, 1);
  BackwardNear(a, n, k.m2, 0);
  ForwardFar(a, n, k.m3, 2);
  BackwardFar(a, n, k.m4, 0);
}

#ifdef ZTL_CIPHER_PLANES

// Everything below is inlined into one entry per vector width, which carries the processor
// features for that width; vectors cross no call, so no calling convention depends on them.
#define ZTL_INLINE inline __attribute__((always_inline))
#define ZTL_TARGET_32 __attribute__((target("avx2,pclmul")))
#define ZTL_TARGET_64 __attribute__((target("avx512f,avx512bw,pclmul")))

template <int kWidth>
struct Vectors;
#define ZTL_VECTORS(width)                                             \
  template <>                                                          \
  struct Vectors<width> {                                              \
    using Bytes = std::uint8_t __attribute__((vector_size(width)));    \
    using Lanes16 = std::uint16_t __attribute__((vector_size(width))); \
    using Lanes64 = std::uint64_t __attribute__((vector_size(width))); \
  }
ZTL_VECTORS(32);
ZTL_VECTORS(64);
#undef ZTL_VECTORS

// Bit k of every byte moved to its top bit (the 16-bit shift carries the neighbour's bits
// into the other seven, which nobody reads).
template <int kWidth>
ZTL_INLINE void BitToTop(const typename Vectors<kWidth>::Bytes& v, int k, typename Vectors<kWidth>::Bytes& out) {
  using V = Vectors<kWidth>;
  out = reinterpret_cast<typename V::Bytes>(reinterpret_cast<typename V::Lanes16>(v) << (7 - k));
}

// 0xFF in byte i where bit i + 8 * kFrom of the word in every 64-bit lane of `words` is set,
// else 0: byte i / 8 + kFrom of the word moved to byte i (within the byte's 16-byte lane),
// and its bit i % 8 tested.
template <int kWidth, int kFrom, std::size_t... I>
ZTL_INLINE void SpreadBits(const typename Vectors<kWidth>::Bytes& words, typename Vectors<kWidth>::Bytes& out,
                           std::index_sequence<I...>) {
  using V = typename Vectors<kWidth>::Bytes;
  const V spread = __builtin_shufflevector(words, words, static_cast<int>((I & ~std::size_t{15}) + I / 8 + kFrom)...);
  constexpr V kBit = {static_cast<std::uint8_t>(1u << (I % 8))...};
  out = reinterpret_cast<V>((spread & kBit) == kBit);
}

// The bytes in reverse order.
template <int kWidth, std::size_t... I>
ZTL_INLINE void Reverse(const typename Vectors<kWidth>::Bytes& v, typename Vectors<kWidth>::Bytes& out,
                        std::index_sequence<I...>) {
  out = __builtin_shufflevector(v, v, static_cast<int>(kWidth - 1 - I)...);
}

// The processor's part for each width: TopBits (bit i of the result the top bit of byte i)
// and Spread (0xFF in byte i of the 64 where bit i of the word is set).
struct Width32 {
  static constexpr int kWidth = 32;
  ZTL_TARGET_32 static std::uint64_t TopBits(const Vectors<32>::Bytes& v) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(reinterpret_cast<__m256i>(v)));
  }
  ZTL_TARGET_32 static void Spread(std::uint64_t bits, Vectors<32>::Bytes* out) {
    const auto words = reinterpret_cast<Vectors<32>::Bytes>(Vectors<32>::Lanes64{} + bits);
    SpreadBits<32, 0>(words, out[0], std::make_index_sequence<32>());
    SpreadBits<32, 4>(words, out[1], std::make_index_sequence<32>());
  }
};

struct Width64 {
  static constexpr int kWidth = 64;
  ZTL_TARGET_64 static std::uint64_t TopBits(const Vectors<64>::Bytes& v) {
    return _mm512_movepi8_mask(reinterpret_cast<__m512i>(v));
  }
  ZTL_TARGET_64 static void Spread(std::uint64_t bits, Vectors<64>::Bytes* out) {
    *out = reinterpret_cast<Vectors<64>::Bytes>(_mm512_movm_epi8(bits));
  }
};

// The recurrence x_j = c_j ^ alpha x_{j-1} ^ beta x_{j-2} over one word, the terms before the
// word already folded into c: c times the series.
__attribute__((target("pclmul"))) std::uint64_t Recurrence(std::uint64_t c, std::uint64_t series) {
  return static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_clmulepi64_si128(
      _mm_cvtsi64_si128(static_cast<long long>(c)), _mm_cvtsi64_si128(static_cast<long long>(series)), 0x00)));
}

// One block of 64 positions in walking order: its codes, m * (the positions before each, as
// far as known), and those positions before (the block's result, one position along).
template <class Isa>
struct Block {
  static constexpr int kParts = 64 / Isa::kWidth;
  using V = typename Vectors<Isa::kWidth>::Bytes;
  V codes[kParts], times[kParts], before[kParts];
};

// One encoding pass over whole blocks of 64 positions, walking up (or down when kDown) from
// the d fixed positions; returns how many positions it did. The rest is the loops' work.
//
// Walking down, a block's bytes are reversed as they are loaded and stored, and the planes
// read alike both ways: bit j is position j of the walk. Block t's plane k needs its own
// plane k - 1 and plane k of block t - 1 (for the two positions before it), so the blocks run
// as a pipeline eight deep: at step s, block s - k does plane k for every k, no two of them
// waiting for each other. Block t enters at step t and leaves at step t + 7.
template <class Isa, bool kDown>
ZTL_INLINE std::size_t PlanePass(std::uint8_t* a, std::size_t n, std::uint32_t m, std::size_t d) {
  using B = Block<Isa>;
  using V = typename B::V;
  constexpr int kWidth = Isa::kWidth, kParts = B::kParts;
  // One block alone waits on every step of its planes; the loops do it sooner.
  const std::size_t blocks = n > d ? (n - d) / 64 : 0;
  if (blocks < 2) return 0;
  // The series 1 / (1 + alpha z + beta z^2) in a word.
  const std::uint64_t alpha = d == 1 ? 1 ^ (m & 1) : m & 1, beta = d == 2 ? 1 : 0;
  std::uint64_t series = 0;
  for (std::uint64_t j = 0, s1 = 0, s2 = 0; j < 64; ++j) {
    const std::uint64_t s = j == 0 ? 1 : (alpha & s1) ^ (beta & s2);
    series |= s << j;
    s2 = s1;
    s1 = s;
  }
  // Block t's lowest address.
  const auto lowest = [&](std::size_t t) { return kDown ? a + (n - d - 64 * (t + 1)) : a + d + 64 * t; };
  // Block t's state is in ring[t % 8], its latest plane in planes[t % 16] (block t + 7 enters
  // while block t still needs block t - 1's). The two positions before block t are in the top
  // bits of block t - 1's plane; for block 0 they are put where block -1's would be.
  B ring[8];
  std::uint64_t planes[16] = {}, last[8] = {};
  const std::uint64_t before1 = kDown ? a[n - d] : a[d - 1], before2 = d == 2 ? (kDown ? a[n - 1] : a[0]) : 0;
  for (std::size_t step = 0; step < blocks + 7; ++step) {
    if (step < 8) planes[15] = (before1 >> step & 1) << 63 | (before2 >> step & 1) << 62;
    // Plane 0 first, so block t reads block t - 1's plane before that block moves on.
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
      if (step < static_cast<std::size_t>(k) || step - k >= blocks) continue;
      const std::size_t t = step - k;
      B& b = ring[t % 8];
      if (k == 0) {
        const std::uint8_t* at = lowest(t);
        for (int p = 0; p < kParts; ++p) {
          V codes;
          std::memcpy(&codes, at + kWidth * p, kWidth);
          if constexpr (kDown) Reverse<kWidth>(codes, codes, std::make_index_sequence<kWidth>());
          b.codes[kDown ? kParts - 1 - p : p] = codes;
          b.times[p] = V{};
          b.before[p] = V{};
        }
        last[t % 8] = 0;
      }
      const std::uint64_t prev = planes[(t - 1) % 16];
      std::uint64_t c = 0;
      for (int p = 0; p < kParts; ++p) {
        V top;
        BitToTop<kWidth>(b.codes[p] ^ b.times[p], k, top);
        c |= Isa::TopBits(top) << (kWidth * p % 64);
      }
      // c_0 ^= alpha x_-1 ^ beta x_-2, c_1 ^= beta x_-1.
      c ^= (prev >> 63 & (0 - alpha)) ^ (prev >> 62 & (0 - beta));
      const std::uint64_t x = Recurrence(c, series);
      planes[t % 16] = x;
      last[t % 8] |= (x >> 63) << k;
      V set[kParts];
      Isa::Spread(x << 1 | prev >> 63, set);
      const auto times_bit = static_cast<std::uint8_t>(m << k), bit = static_cast<std::uint8_t>(1 << k);
      for (int p = 0; p < kParts; ++p) {
        b.times[p] += set[p] & times_bit;
        b.before[p] |= set[p] & bit;
      }
      if (k == 7) {
        // `before` is the result one position along the walk, its first byte the position
        // before the block (already final, and so is block t - 1's value written again here).
        std::uint8_t* at = lowest(t);
        std::uint8_t* shifted = kDown ? at + 1 : at - 1;
        for (int p = 0; p < kParts; ++p) {
          V before = b.before[kDown ? kParts - 1 - p : p];
          if constexpr (kDown) Reverse<kWidth>(before, before, std::make_index_sequence<kWidth>());
          std::memcpy(shifted + kWidth * p, &before, kWidth);
        }
        at[kDown ? 0 : 63] = static_cast<std::uint8_t>(last[t % 8]);
      }
    }
  }
  return blocks * 64;
}

template <class Isa>
ZTL_INLINE void EncodeOnPlanes(std::uint8_t* a, std::size_t n, const Multipliers& k) {
  ForwardNear(a, n, k.m1, 1 + PlanePass<Isa, false>(a, n, k.m1, 1));
  BackwardNear(a, n, k.m2, PlanePass<Isa, true>(a, n, k.m2, 1));
  ForwardFar(a, n, k.m3, 2 + PlanePass<Isa, false>(a, n, k.m3, 2));
  BackwardFar(a, n, k.m4, PlanePass<Isa, true>(a, n, k.m4, 2));
}

// The entries: `flatten` pulls every helper above into the body compiled for the width.
ZTL_TARGET_32 __attribute__((flatten)) void EncodeOnPlanes32(std::uint8_t* a, std::size_t n, const Multipliers& k) {
  EncodeOnPlanes<Width32>(a, n, k);
}
ZTL_TARGET_64 __attribute__((flatten)) void EncodeOnPlanes64(std::uint8_t* a, std::size_t n, const Multipliers& k) {
  EncodeOnPlanes<Width64>(a, n, k);
}

#endif  // ZTL_CIPHER_PLANES

}  // namespace

bool CanRun(PassPath path) noexcept {
  switch (path) {
    case PassPath::kLoops:
      return true;
#ifdef ZTL_CIPHER_PLANES
    case PassPath::kPlanes32: {
      static const bool can = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("pclmul");
      return can;
    }
    case PassPath::kPlanes64: {
      static const bool can = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                              __builtin_cpu_supports("pclmul");
      return can;
    }
#endif
    default:
      return false;
  }
}

PassPath FastestPath() noexcept {
  for (const PassPath path : {PassPath::kPlanes64, PassPath::kPlanes32}) {
    if (CanRun(path)) return path;
  }
  return PassPath::kLoops;
}

void EncodePasses(std::uint8_t* codes, std::size_t n, Long key) noexcept {
  static const PassPath fastest = FastestPath();
  EncodePasses(codes, n, key, fastest);
}

void EncodePasses(std::uint8_t* codes, std::size_t n, Long key, PassPath path) noexcept {
  const Multipliers k(key);
  if (!CanRun(path)) path = PassPath::kLoops;
  switch (path) {
#ifdef ZTL_CIPHER_PLANES
    case PassPath::kPlanes32:
      return EncodeOnPlanes32(codes, n, k);
    case PassPath::kPlanes64:
      return EncodeOnPlanes64(codes, n, k);
#endif
    default:
      return EncodeOnLoops(codes, n, k);
  }
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
