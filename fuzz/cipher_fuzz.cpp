// The cipher: for any key (the first 4 bytes) Decode and Encode of any text end with a text of
// its length whose characters all exist in Windows-1252, and Decode(Encode(text)) is the text
// as Windows-1252 sees it (a character the code page lacks comes back as "?").

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

namespace {

// Whether every character of the text is one of the 256 the code page maps to bytes.
bool AllAnsi(const ztl::String& text) {
  return ztl::AnsiBytesToString(ztl::StringToAnsiBytes(text)) == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ztl::Container form;
  static const auto cipher = std::static_pointer_cast<ztl::ZtEncryption>(form.Place(u"ZtEncryption"));
  const auto key = fuzz::Take<ztl::Long>(data, size);
  const ztl::String text = fuzz::Utf16(data, size);

  const ztl::String decoded = cipher->Decode(text, key);
  fuzz::Check(decoded.size() == text.size() && AllAnsi(decoded), "Decode changed the length or left the code page");

  const ztl::String encoded = cipher->Encode(text, key);
  fuzz::Check(encoded.size() == text.size() && AllAnsi(encoded), "Encode changed the length or left the code page");
  fuzz::Check(cipher->Decode(encoded, key) == ztl::AnsiBytesToString(ztl::StringToAnsiBytes(text)),
              "Decode(Encode(text)) != text");
  return 0;
}
