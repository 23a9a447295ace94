// ZtEncryption: a component that scrambles a text under a 32-bit key into a text of the same
// length, and unscrambles it with the same key.
//
// Example:
//   ztl::Container form;
//   auto cipher = std::static_pointer_cast<ztl::ZtEncryption>(form.Place(u"ZtEncryption"));
//   ztl::String secret = cipher->Encode(u"hello", 1234);
//   cipher->Decode(secret, 1234);   // u"hello"
//
// CipherEncodeBytes and CipherDecodeBytes below apply the same coding to bytes in place.
#pragma once

#include <span>

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtEncryption : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Four diffusion passes over the characters' ANSI codes, each mixing every code with a
  // neighbour and a key-dependent product of a neighbour. The result has the input's length;
  // every character of it exists in Windows-1252.
  // Note: a character outside Windows-1252 is read as "?" and comes back as "?".
  String Encode(const String& strBuffer, Long lngKey) noexcept;
  // The inverse passes of Encode, in the reverse order, under the same key: Decode of
  // Encode gives the text back for every key, negative ones included.
  String Decode(const String& strBuffer, Long lngKey) noexcept;
};

// ZtEncryption::Encode on bytes, in place, each byte the ANSI code of a character: the bytes of
// a text's Windows-1252 codes become those of Encode's result. It allocates nothing, so a file
// needs no more memory than its own bytes.
//
// Example:
//   std::string data = "hello";
//   ztl::CipherEncodeBytes({reinterpret_cast<ztl::Byte*>(data.data()), data.size()}, 1234);
//   ztl::CipherDecodeBytes({reinterpret_cast<ztl::Byte*>(data.data()), data.size()}, 1234);   // "hello"
void CipherEncodeBytes(std::span<Byte> codes, Long lngKey) noexcept;
// ZtEncryption::Decode on bytes, in place.
void CipherDecodeBytes(std::span<Byte> codes, Long lngKey) noexcept;

}  // namespace ztl
