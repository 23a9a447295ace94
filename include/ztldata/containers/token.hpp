// ZtToken: a component that splits a text at single-character delimiters and keeps the
// non-empty tokens for reading by position.
//
// Example:
//   ztl::Container form;
//   auto token = std::static_pointer_cast<ztl::ZtToken>(form.Place(u"ZtToken"));
//   token->Create(u"alpha, beta;;gamma");
//   token->Count();       // 3
//   token->GetToken(2);   // u"beta"
#pragma once

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtToken : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Replaces the tokens by those of strList, split at each character of strDelimiters (a
  // default set of blanks, punctuation and controls when it is ""). Empty tokens are dropped.
  void Create(const String& strList, const String& strDelimiters = u"") noexcept;
  // The number of tokens.
  Long Count() const noexcept;
  // The token at a position 1..Count; "" outside.
  String GetToken(Long lngToken) noexcept;
};

}  // namespace ztl
