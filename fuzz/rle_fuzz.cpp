// Run-length coding: Decompress of any text ends, and Decompress(Compress(text)) is the text
// for any text, NUL, lone surrogates and "~" runs included. The byte streams give the same
// bytes however their input is cut, and expanding what they packed gives the input back.

#include <string>
#include <string_view>
#include <type_traits>

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

namespace {

// Feeds `bytes` to a coder in pieces of `piece` bytes and returns all it wrote.
template <class Coder>
std::string Streamed(std::string_view bytes, std::size_t piece, bool* whole = nullptr) {
  Coder coder;
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += piece) coder.Add(bytes.substr(i, piece), out);
  if constexpr (std::is_same_v<Coder, ztl::RleCompressor>) {
    coder.Finish(out);
  } else {
    const bool finished = coder.Finish();
    if (whole) *whole = finished;
  }
  return out;
}

void CheckStreams(std::string_view bytes, std::size_t piece) {
  const std::string packed = Streamed<ztl::RleCompressor>(bytes, bytes.size() + 1);
  fuzz::Check(Streamed<ztl::RleCompressor>(bytes, piece) == packed, "RleCompressor depends on the pieces");
  bool whole_ended = false, pieces_ended = false;
  const std::string expanded = Streamed<ztl::RleExpander>(bytes, bytes.size() + 1, &whole_ended);
  fuzz::Check(Streamed<ztl::RleExpander>(bytes, piece, &pieces_ended) == expanded, "RleExpander depends on the pieces");
  fuzz::Check(whole_ended == pieces_ended, "RleExpander's end depends on the pieces");
  fuzz::Check(Streamed<ztl::RleExpander>(packed, piece) == bytes, "RleExpander(RleCompressor(bytes)) != bytes");
}

}  // namespace

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

  // Pieces of 1 to 16 bytes, or of 64 KiB as the ztl command reads them.
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckStreams(bytes, size > 0 && data[0] == 0xFF ? 1 << 16 : size % 16 + 1);
  return 0;
}
