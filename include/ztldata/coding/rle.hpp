// ZtRLE: a component that compresses runs of a repeated character into the character, "~"
// and a one-character count, and expands such text again.
//
// Example:
//   ztl::Container form;
//   auto rle = std::static_pointer_cast<ztl::ZtRLE>(form.Place(u"ZtRLE"));
//   rle->Compress(u"aaaa");       // u"a~\x03"
//   rle->Decompress(u"a~\x03");   // u"aaaa"
//
// RleCompressor and RleExpander below code byte streams of any length the same way, piece by
// piece.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtRLE : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Expands each "~" and the count character after it into that many more copies of the
  // character before the "~" (the count is the character's ANSI code, 0..255).
  // Note: the count character is taken without looking at it, even when it is "~"; after a
  // token the character to repeat is "~" itself; a "~" at the end, or at the start with
  // nothing before it, adds nothing.
  String Decompress(const String& strInputString) noexcept;
  // Writes a run of 1 or 2 characters as it is, a run of 3..255 as the character, "~" and the
  // character of ANSI code (length - 1), and cuts longer runs after 255. The output of a text
  // without "~" is never longer than the text. Texts of any length are handled.
  // Note: a run of k tildes becomes "~", the character of code 0, "~" and the character of
  // code k (pieces of at most 254), so texts with "~" come back too.
  String Compress(const String& strInputString) noexcept;
};

// ZtRLE::Compress over a stream of bytes, each the Windows-1252 character of its code, fed in
// pieces of any size: the output is byte for byte that of Compress over the whole input, however
// the input is cut, and memory stays bounded (a run still open holds a byte and a count).
//
// Example:
//   ztl::RleCompressor packer;
//   std::string out;
//   packer.Add("aa", out);
//   packer.Add("aab", out);
//   packer.Finish(out);   // out == "a~\x03" "b"
class RleCompressor {
 public:
  // Codes `bytes`, which follow the bytes added before, appending to `out` all the output that
  // no later byte can change; the run open at the end is held back.
  // Note: `out` grows as a std::string does (std::bad_alloc when memory runs out).
  void Add(std::string_view bytes, std::string& out);
  // Writes the run held back and starts afresh.
  void Finish(std::string& out);

 private:
  char run_byte_ = 0;
  std::size_t run_length_ = 0;
};

// ZtRLE::Decompress over a stream of bytes fed in pieces of any size, "~" and its count split
// between two pieces included: the output is byte for byte that of Decompress over the whole
// input.
// Note: a piece of n bytes can give up to 128 n bytes; feed large inputs in small pieces.
class RleExpander {
 public:
  // Expands `bytes`, which follow the bytes added before, appending to `out`.
  void Add(std::string_view bytes, std::string& out);
  // Ends the input and starts afresh. False when the input ended with a "~" whose count never
  // came, a sign of a cut-off input (Decompress lets such a "~" add nothing, and so does this).
  bool Finish();

 private:
  char last_ = 0;          // the byte a repeat token copies
  bool has_last_ = false;  // false before the first byte: a token there copies nothing
  bool pending_ = false;   // a "~" ended the last piece; its count starts the next
};

}  // namespace ztl
