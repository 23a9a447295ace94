// CrcEngine: a bit-reflected 32-bit CRC over bytes for any generator polynomial, with three
// ways through the same register: a byte at a time (the definition), eight bytes at a time
// through eight tables, and carry-less-multiply folding where the processor has it.
// ZtCRC32 owns one per instance; the tests compare the three ways.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ztl::coding {

class CrcEngine {
 public:
  enum class Path { kBytewise, kSlicing, kFolding };

  // The tables and folding constants of a reflected polynomial (bit 31 stands for x^0,
  // bit 0 for x^31; x^32 is implied). A new engine has the tables of polynomial 0, which are
  // all zero: each byte then only shifts the register right by 8 bits.
  void Build(std::uint32_t polynomial) noexcept;

  // Entry i of the byte table.
  std::uint32_t Table(std::size_t i) const noexcept { return tables_[0][i & 0xFF]; }

  // The register after feeding n bytes, by the fastest path available.
  std::uint32_t Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t n) const noexcept;
  // The same by a chosen path; kFolding falls back to kSlicing where the processor lacks
  // carry-less multiplication.
  std::uint32_t Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t n, Path path) const noexcept;

  // Whether this processor has carry-less multiplication.
  static bool CanFold() noexcept;

 private:
  // tables_[0] is the byte table; tables_[k][i] is entry i advanced by k more zero bytes.
  std::array<std::array<std::uint32_t, 256>, 8> tables_{};
  // Folding constants, pairs for 512, 384, 256 and 128 bits (see Build).
  std::array<std::uint64_t, 8> fold_{};
};

}  // namespace ztl::coding
