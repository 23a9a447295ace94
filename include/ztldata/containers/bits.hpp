// ZtBits: a component holding a resizable array of bits, packed sixteen to a 16-bit word,
// that it can write to a small binary file ("ZTL", the upper word index, the words) and
// read back. docs/containers.md gives the file format byte by byte.
//
// Example:
//   ztl::Container form;
//   auto bits = std::static_pointer_cast<ztl::ZtBits>(form.Place(u"ZtBits"));
//   bits->Bit(5, true);
//   bits->FileWrite(u"/tmp/bits.ztl");
#pragma once

#include <cstdint>
#include <vector>

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtBits : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Sets the bit count and resizes to lngBitsSize \ 16 + 1 words, keeping the words that fit
  // (blnPreserve) or clearing all. A new component starts as Create(1024, False).
  // Note: a negative count, or one whose words cannot be allocated, changes nothing.
  void Create(Long lngBitsSize, Boolean blnPreserve = true) noexcept;
  // The bit count of the last Create or FileRead.
  Long Size() const noexcept;
  // The bit at an index 0..Size (both included, so Size + 1 bits); False outside.
  // (Defined here: a loop of reads and writes then compiles to plain word operations.)
  Boolean Bit(Long lngIndex) const noexcept {
    if (lngIndex < 0 || lngIndex > bit_count_) return false;
    const auto at = static_cast<std::uint32_t>(lngIndex);
    return (words_[at / 16] >> (at % 16) & 1u) != 0;
  }
  // Sets or clears the bit at an index 0..Size; ignored outside.
  void Bit(Long lngIndex, Boolean value) noexcept {
    if (lngIndex < 0 || lngIndex > bit_count_) return;
    const auto at = static_cast<std::uint32_t>(lngIndex);
    std::uint16_t& word = words_[at / 16];
    const auto mask = static_cast<std::uint16_t>(1u << (at % 16));
    word = static_cast<std::uint16_t>(value ? word | mask : word & ~mask);
  }
  // Replaces the words with a file's; True on success. False, with nothing changed, for a
  // file that cannot be read, does not begin with "ZTL", or is shorter than its size field
  // announces. Note: the bit count becomes 16 times the upper word index, so a count that
  // was not a multiple of 16 when written comes back rounded down.
  Boolean FileRead(const String& strFile) noexcept;
  // Writes the words to a file, replacing it as a whole (a temporary file in the same
  // folder, then a rename); True on success. On failure the old file is left as it was.
  Boolean FileWrite(const String& strFile) noexcept;

  // Calls Create(1024, False).
  void Initialize() noexcept override;

 private:
  // Bit i lives in words_[i / 16] at bit i % 16 (bit 0 the least significant). There are
  // always bit_count_ / 16 + 1 words, so every index 0..bit_count_ has its word.
  std::vector<std::uint16_t> words_ = std::vector<std::uint16_t>(1024 / 16 + 1);
  Long bit_count_ = 1024;
};

}  // namespace ztl
