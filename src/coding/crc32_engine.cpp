// CrcEngine: the byte table, the slicing tables and the folding constants of a reflected
// polynomial, and the three ways to run the register over bytes.
//
// Folding, in the reflected bit order: 16 bytes of the stream loaded little-endian hold a
// polynomial whose bit k is the coefficient of x^(127 - k), so the low 64 bits are its high
// half H and the high 64 bits its low half L. Moving the block D bits further down the
// stream multiplies it by x^D, and modulo P that is H * (x^(64 + D) mod P) + L * (x^D mod P),
// a polynomial of degree below 96 that is xor-ed into the block D bits later. A carry-less
// multiply of two reflected 64-bit operands yields the product times x^-1 in this order, so
// the constants are x^(63 + D) mod P and x^(D - 1) mod P. Four blocks travel side by side
// (D = 512), meet at the end (D = 384, 256, 128), and the last block and the bytes after it
// go through the byte table, which gives the register itself with no separate reduction.

#include "coding/crc32_engine.hpp"

#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define ZTL_CRC_CAN_FOLD 1
#endif

namespace ztl::coding {

namespace {

using ByteTable = std::array<std::uint32_t, 256>;

std::uint32_t Reverse32(std::uint32_t x) {
  std::uint32_t r = 0;
  for (int i = 0; i < 32; ++i, x >>= 1) r = (r << 1) | (x & 1);
  return r;
}

std::uint64_t Reverse64(std::uint64_t x) {
  std::uint64_t r = 0;
  for (int i = 0; i < 64; ++i, x >>= 1) r = (r << 1) | (x & 1);
  return r;
}

// x^e mod P as a reflected 64-bit operand (coefficient of x^j at bit 63 - j).
std::uint64_t FoldConstant(std::uint32_t polynomial, int e) {
  const std::uint32_t p = Reverse32(polynomial);  // P - x^32, coefficient of x^j at bit j
  std::uint32_t r = 1;
  for (int i = 0; i < e; ++i) r = (r << 1) ^ ((r & 0x80000000u) ? p : 0);
  return Reverse64(r);
}

std::uint32_t Bytewise(const ByteTable& table, std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) crc = (crc >> 8) ^ table[(crc ^ p[i]) & 0xFF];
  return crc;
}

std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

std::uint32_t Slicing(const std::array<ByteTable, 8>& t, std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; n >= 8; p += 8, n -= 8) {
      const std::uint32_t lo = Load32(p) ^ crc;
      const std::uint32_t hi = Load32(p + 4);
      crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
            t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    }
  }
  return Bytewise(t[0], crc, p, n);
}

#ifdef ZTL_CRC_CAN_FOLD

__attribute__((target("pclmul"))) inline __m128i Fold(__m128i x, __m128i k) {
  return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

inline __m128i Load128(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

inline __m128i Constants(const std::uint64_t* k) {
  return _mm_set_epi64x(static_cast<long long>(k[1]), static_cast<long long>(k[0]));
}

// n >= 64.
__attribute__((target("pclmul"))) std::uint32_t Folding(const std::array<std::uint64_t, 8>& k, const ByteTable& table,
                                                         std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
  __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = Load128(p + 16);
  __m128i x2 = Load128(p + 32);
  __m128i x3 = Load128(p + 48);
  p += 64;
  n -= 64;
  const __m128i k512 = Constants(&k[0]);
  for (; n >= 64; p += 64, n -= 64) {
    x0 = _mm_xor_si128(Fold(x0, k512), Load128(p));
    x1 = _mm_xor_si128(Fold(x1, k512), Load128(p + 16));
    x2 = _mm_xor_si128(Fold(x2, k512), Load128(p + 32));
    x3 = _mm_xor_si128(Fold(x3, k512), Load128(p + 48));
  }
  const __m128i k128 = Constants(&k[6]);
  __m128i x = _mm_xor_si128(_mm_xor_si128(Fold(x0, Constants(&k[2])), Fold(x1, Constants(&k[4]))),
                            _mm_xor_si128(Fold(x2, k128), x3));
  for (; n >= 16; p += 16, n -= 16) x = _mm_xor_si128(Fold(x, k128), Load128(p));
  alignas(16) std::uint8_t last[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(last), x);
  return Bytewise(table, Bytewise(table, 0, last, 16), p, n);
}

#endif

}  // namespace

void CrcEngine::Build(std::uint32_t polynomial) noexcept {
  ByteTable& table = tables_[0];
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ polynomial : c >> 1;
    table[i] = c;
  }
  for (std::size_t k = 1; k < tables_.size(); ++k) {
    for (std::size_t i = 0; i < 256; ++i) {
      const std::uint32_t c = tables_[k - 1][i];
      tables_[k][i] = (c >> 8) ^ table[c & 0xFF];
    }
  }
  constexpr int kDistances[] = {512, 384, 256, 128};
  for (std::size_t j = 0; j < 4; ++j) {
    fold_[2 * j] = FoldConstant(polynomial, 63 + kDistances[j]);
    fold_[2 * j + 1] = FoldConstant(polynomial, kDistances[j] - 1);
  }
}

bool CrcEngine::CanFold() noexcept {
#ifdef ZTL_CRC_CAN_FOLD
  static const bool can = __builtin_cpu_supports("pclmul");
  return can;
#else
  return false;
#endif
}

std::uint32_t CrcEngine::Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t n) const noexcept {
  if (n >= 64 && CanFold()) return Update(crc, bytes, n, Path::kFolding);
  if (n >= 16) return Update(crc, bytes, n, Path::kSlicing);
  return Update(crc, bytes, n, Path::kBytewise);
}

std::uint32_t CrcEngine::Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t n,
                                Path path) const noexcept {
  switch (path) {
    case Path::kBytewise:
      return Bytewise(tables_[0], crc, bytes, n);
    case Path::kFolding:
#ifdef ZTL_CRC_CAN_FOLD
      if (n >= 64 && CanFold()) return Folding(fold_, tables_[0], crc, bytes, n);
#endif
      [[fallthrough]];
    case Path::kSlicing:
      return Slicing(tables_, crc, bytes, n);
  }
  return crc;
}

}  // namespace ztl::coding
