// ZtObjects: whether an object reference is set. A stateless utility class.
//
// Example:
//   ztl::ZtObjects objects;
//   objects.IsSet(nullptr);   // false
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtObjects : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // True when the reference names an object, False for Nothing.
  Boolean IsSet(const ObjectRef& objObject) noexcept;
};

}  // namespace ztl
