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

#include <cstddef>
#include <vector>

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtToken : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Replaces the tokens by those of strList, split at each character of strDelimiters (a
  // default set of 29 blanks, punctuation marks and control characters when it is ""). A token
  // is a longest run of characters without a delimiter: runs of delimiters, and delimiters at
  // either end, give no empty tokens.
  // Note: delimiters are single UTF-16 code units, matched case-sensitively; the default set
  // includes the apostrophe and the hyphen-minus, so "don't" gives "don" and "t".
  void Create(const String& strList, const String& strDelimiters = u"") noexcept;
  // The number of tokens.
  Long Count() const noexcept;
  // The token at a position 1..Count; "" outside.
  String GetToken(Long lngToken) noexcept;

 private:
  // The tokens one after the other, and where each one ends in that text.
  String text_;
  std::vector<std::size_t> ends_;
};

}  // namespace ztl
