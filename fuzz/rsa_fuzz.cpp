// RSA text coding: Decode of any text under any keys (the first 8 bytes) ends with a String of
// at most one Windows-1252 character per token, and with a fixed key set Decode(Encode(text))
// is the text as Windows-1252 sees it.

#include <algorithm>

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

namespace {

// A key set as GenerateKeys makes them: n = 4001 * 9973, e a prime of at least 10^7 that does
// not divide (p - 1)(q - 1), d its inverse. Fixed, so that every run is reproducible.
constexpr ztl::Long kModulus = 39901973;
constexpr ztl::Long kExponent = 12345701;
constexpr ztl::Long kInverse = 30472301;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ztl::Container form;
  static const auto rsa = std::static_pointer_cast<ztl::ZtRSA>(form.Place(u"ZtRSA"));
  const auto exponent = fuzz::Take<ztl::Long>(data, size);
  const auto modulus = fuzz::Take<ztl::Long>(data, size);
  const ztl::String text = fuzz::Utf16(data, size);

  const ztl::Variant any = rsa->Decode(text, exponent, modulus);
  const ztl::String* decoded = any.If<ztl::String>();
  fuzz::Check(decoded != nullptr, "Decode gave no String");
  const auto tokens = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'+')) + 1;
  fuzz::Check(decoded->size() <= tokens, "Decode gave more characters than tokens");
  fuzz::Check(ztl::AnsiBytesToString(ztl::StringToAnsiBytes(*decoded)) == *decoded, "Decode left the code page");

  const ztl::Variant encoded = rsa->Encode(text, kExponent, kModulus);
  if (text.empty()) {
    fuzz::Check(encoded.IsEmpty(), "Encode of an empty text is not Empty");
    return 0;
  }
  const ztl::String* code = encoded.If<ztl::String>();
  fuzz::Check(code != nullptr, "Encode gave no String");
  const ztl::Variant back = rsa->Decode(*code, kInverse, kModulus);
  const ztl::String* plain = back.If<ztl::String>();
  fuzz::Check(plain != nullptr && *plain == ztl::AnsiBytesToString(ztl::StringToAnsiBytes(text)),
              "Decode(Encode(text)) != text");
  return 0;
}
