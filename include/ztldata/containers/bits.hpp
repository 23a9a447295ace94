// ZtBits: a component holding a resizable array of bits, packed sixteen to a 16-bit word,
// that it can write to a small binary file ("ZTL", the upper word index, the words) and
// read back.
//
// Example:
//   ztl::Container form;
//   auto bits = std::static_pointer_cast<ztl::ZtBits>(form.Place(u"ZtBits"));
//   bits->Bit(5, true);
//   bits->FileWrite(u"/tmp/bits.ztl");
#pragma once

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtBits : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Sets the bit count and resizes to lngBitsSize \ 16 + 1 words, keeping the words that fit
  // (blnPreserve) or clearing all. A new component starts as Create(1024, False).
  // Note: a count of -16 or less is stored although the words stay as they were.
  void Create(Long lngBitsSize, Boolean blnPreserve = true) noexcept;
  // The bit count of the last Create or FileRead.
  Long Size() const noexcept;
  // The bit at an index 0..Size (both included); False outside.
  Boolean Bit(Long lngIndex) const noexcept;
  // Sets or clears the bit at an index 0..Size; ignored outside.
  void Bit(Long lngIndex, Boolean value) noexcept;
  // Replaces the words with a file's; False when the file cannot be read.
  // Note: a file without the "ZTL" mark gives True and changes nothing; the bit count
  // becomes 16 times the upper word index.
  Boolean FileRead(const String& strFile) noexcept;
  // Writes the words to a file; False when it cannot be written.
  // Note: a longer existing file is overwritten from the start, not truncated.
  Boolean FileWrite(const String& strFile) noexcept;
};

}  // namespace ztl
