// ZtRSA: a component holding an RSA key set that fits 32-bit Longs (a modulus below 10^8 of
// two primes in 4000..9999), encoding text one character at a time as "number+" tokens.
//
// Example:
//   ztl::Container form;
//   auto rsa = std::static_pointer_cast<ztl::ZtRSA>(form.Place(u"ZtRSA"));   // keys generated
//   ztl::Variant code = rsa->Encode(u"hi", rsa->PrivateKey1(), rsa->PublicKey());
//   rsa->Decode(*code.If<ztl::String>(), rsa->PrivateKey2(), rsa->PublicKey());   // u"hi"
#pragma once

#include <array>

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtRSA : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // The modulus n = p * q. Setting a key marks it changed for saving.
  Long PublicKey() const noexcept;
  void PublicKey(Long value) noexcept;
  // The exponent e: a prime of at least 10000000 that does not divide (p - 1)(q - 1).
  Long PrivateKey1() const noexcept;
  void PrivateKey1(Long value) noexcept;
  // The inverse d of e modulo (p - 1)(q - 1).
  Long PrivateKey2() const noexcept;
  void PrivateKey2(Long value) noexcept;
  // Draws a new key set from two different primes of 4001..9973 whose product is at most
  // 94906265, reseeding the random generator from the clock. Every key set it makes
  // decodes what it encodes. Note: the new keys are not marked changed.
  void GenerateKeys() noexcept;
  // Each character's ANSI code raised to lngPrivateKey modulo lngPublicKey, written as
  // decimal digits and "+": one token per character.
  // Note: Empty, not "", for an empty text. An exponent of 0 or less writes "1+" per
  // character, a modulus of 0 writes "0+"; a negative modulus gives "-" numbers.
  Variant Encode(const String& strBuffer, Long lngPrivateKey, Long lngPublicKey) noexcept;
  // Raises each token's leading number (read like Val: blanks skipped, a sign, digits) to
  // lngPrivateKey modulo lngPublicKey and appends the character of that code; a String.
  // Note: a power outside 0..255 adds nothing, and so does a token whose number is no Long;
  // text after the last "+" is read as a last token.
  Variant Decode(const String& strBuffer, Long lngPrivateKey, Long lngPublicKey) noexcept;

  // A newly placed component generates its keys; it saves and loads the three keys, and
  // never "Enabled".
  void InitProperties() noexcept override;
  void ReadProperties(const PropertyBag& bag) noexcept override;
  void WriteProperties(PropertyBag& bag) noexcept override;

 private:
  Long Key(int slot) const noexcept;

  std::array<Double, 3> keys_{};  // e, d and n, whole numbers held as doubles
  Double prime_p_ = 0;            // the work fields of the last GenerateKeys
  Double prime_q_ = 0;
  Double totient_ = 0;
};

}  // namespace ztl
