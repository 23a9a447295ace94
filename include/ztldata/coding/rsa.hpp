// ZtRSA: a component holding an RSA key set that fits 32-bit Longs (a modulus below 10^8 of
// two primes in 4000..9999), encoding text one character at a time as "number+" tokens.
//
// Example:
//   ztl::Container form;
//   auto rsa = std::static_pointer_cast<ztl::ZtRSA>(form.Place(u"ZtRSA"));   // keys generated
//   ztl::Variant code = rsa->Encode(u"hi", rsa->PrivateKey1(), rsa->PublicKey());
//   rsa->Decode(*code.If<ztl::String>(), rsa->PrivateKey2(), rsa->PublicKey());   // u"hi"
#pragma once

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtRSA : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // The modulus n = p * q. Setting a key marks it changed for saving.
  Long PublicKey() const noexcept;
  void PublicKey(Long value) noexcept;
  // The exponent e.
  Long PrivateKey1() const noexcept;
  void PrivateKey1(Long value) noexcept;
  // The inverse d of e modulo (p - 1)(q - 1).
  Long PrivateKey2() const noexcept;
  void PrivateKey2(Long value) noexcept;
  // Draws a new key set (reseeding the random generator from the clock).
  // Note: the new keys are not marked changed.
  void GenerateKeys() noexcept;
  // Each character's ANSI code raised to lngPrivateKey modulo lngPublicKey, written as
  // decimal digits and "+". Note: Empty, not "", for an empty text.
  Variant Encode(const String& strBuffer, Long lngPrivateKey, Long lngPublicKey) noexcept;
  // The inverse of Encode with the other private key; a String.
  Variant Decode(const String& strBuffer, Long lngPrivateKey, Long lngPublicKey) noexcept;
};

}  // namespace ztl
