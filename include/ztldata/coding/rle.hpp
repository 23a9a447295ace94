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

  // Expands each "~" and count character into that many more copies of the character before.
  String Decompress(const String& strInputString) noexcept;
  // Writes each run of 3 or more as the character, "~" and the character of ANSI code
  // (length - 1). Note: a "~" in the text is not escaped, so such a text does not come back.
  String Compress(const String& strInputString) noexcept;
};

}  // namespace ztl
