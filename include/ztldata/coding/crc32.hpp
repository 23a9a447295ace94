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

#include <cstddef>
#include <memory>

#include "ztldata/frame/component.hpp"

namespace ztl {

namespace coding {
class CrcEngine;
}  // namespace coding

class ZtCRC32 : public Component {
 public:
  ZtCRC32() noexcept;
  ~ZtCRC32() override;
  const ClassInfo* Class() const noexcept override;

  // Builds the table for the reflected polynomial lngSeed (bit 31 stands for x^0; -306674912,
  // that is 0xEDB88320, for the standard CRC-32) and returns lngPrecondition unchanged, the
  // register to start from.
  Long InitCRC32(Long lngSeed, Long lngPrecondition) noexcept;
  // Feeds the ANSI bytes of the text through the register and returns the new register.
  // Feeding a text in pieces gives the same register as feeding it whole; texts of any
  // length are handled in one call.
  // Note: before any InitCRC32 the table is all zero, so each character only shifts the
  // register right by 8 bits. A character outside Windows-1252 is fed as "?".
  Long AddCRC32(const String& strBuffer, Long lngPrevCRC32) noexcept;
  // The bitwise complement of the register: the finished CRC.
  Long GetCRC32(Long lngCRC32) noexcept;

  // Entry i (0..255) of the table, as a Long.
  Long Table(std::size_t i) const noexcept;

 private:
  std::unique_ptr<coding::CrcEngine> engine_;  // null until the first InitCRC32: all zero
};

}  // namespace ztl
