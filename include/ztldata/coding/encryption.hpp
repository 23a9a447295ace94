// ZtEncryption: a component that scrambles a text under a 32-bit key into a text of the same
// length, and unscrambles it with the same key.
//
// Example:
//   ztl::Container form;
//   auto cipher = std::static_pointer_cast<ztl::ZtEncryption>(form.Place(u"ZtEncryption"));
//   ztl::String secret = cipher->Encode(u"hello", 1234);
//   cipher->Decode(secret, 1234);   // u"hello"
#pragma once

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtEncryption : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Four diffusion passes over the characters' ANSI codes.
  // Note: some negative keys give spaces in place of characters, and the text does not
  // decode back.
  String Encode(const String& strBuffer, Long lngKey) noexcept;
  // The inverse passes of Encode, under the same key.
  String Decode(const String& strBuffer, Long lngKey) noexcept;
};

}  // namespace ztl
