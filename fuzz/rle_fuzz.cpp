// Run-length coding: Decompress of any text ends, and Decompress(Compress(text)) is the text
// for any text, NUL, lone surrogates and "~" runs included.

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ztl::Container form;
  static const auto rle = std::static_pointer_cast<ztl::ZtRLE>(form.Place(u"ZtRLE"));
  const ztl::String text = fuzz::Utf16(data, size);

  // Each token adds at most 255 characters for the two it takes.
  const ztl::String expanded = rle->Decompress(text);
  fuzz::Check(expanded.size() <= text.size() * 128 + 1, "Decompress longer than 255 per token");

  const ztl::String packed = rle->Compress(text);
  fuzz::Check(rle->Decompress(packed) == text, "Decompress(Compress(text)) != text");
  if (text.find(u'~') == ztl::String::npos) fuzz::Check(packed.size() <= text.size(), "Compress grew a text without ~");
  return 0;
}
