// ZtData: a cleared value of a Variant's kind, and the exchange of two variables.
// A stateless utility class. ZtObjects (objects.hpp) tests object references.
//
// Example:
//   ztl::ZtData data;
//   data.Purge(u"abc");   // "   " (as many spaces)
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtData : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // A cleared value by kind: numbers give the Integer 0, a text as many spaces, a Boolean
  // False, an object Nothing, Empty and Null themselves.
  // Note: a Date gives the current date and time; arrays and other kinds give Empty.
  Variant Purge(const Variant& xVar) noexcept;
  // Exchanges the two variables' values.
  void Inter(Variant& xVar1, Variant& xVar2) noexcept;
};

}  // namespace ztl
