// ZtRLE: a component that compresses runs of a repeated character into the character, "~"
// and a one-character count, and expands such text again.
//
// Example:
//   ztl::Container form;
//   auto rle = std::static_pointer_cast<ztl::ZtRLE>(form.Place(u"ZtRLE"));
//   rle->Compress(u"aaaa");       // u"a~\x03"
//   rle->Decompress(u"a~\x03");   // u"aaaa"
#pragma once

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

}  // namespace ztl
