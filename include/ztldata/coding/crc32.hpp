// ZtCRC32: a component computing a table-driven, bit-reflected CRC-32 over the ANSI bytes of
// texts; the caller keeps the running register between calls.
//
// Example:
//   ztl::Container form;
//   auto crc = std::static_pointer_cast<ztl::ZtCRC32>(form.Place(u"ZtCRC32"));
//   ztl::Long r = crc->InitCRC32(-306674912, -1);   // polynomial 0xEDB88320, start 0xFFFFFFFF
//   r = crc->AddCRC32(u"123456789", r);
//   crc->GetCRC32(r);                              // 0xCBF43926 as a Long
#pragma once

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtCRC32 : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Builds the table for the reflected polynomial lngSeed; returns lngPrecondition unchanged.
  Long InitCRC32(Long lngSeed, Long lngPrecondition) noexcept;
  // Feeds the text's ANSI bytes through the register.
  // Note: before any InitCRC32 the table is all zero.
  Long AddCRC32(const String& strBuffer, Long lngPrevCRC32) noexcept;
  // The bitwise complement of the register.
  Long GetCRC32(Long lngCRC32) noexcept;
};

}  // namespace ztl
