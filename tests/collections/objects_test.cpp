// ZtObjects: whether an object reference is set.

#include "ztldata/collections/objects.hpp"

#include <gtest/gtest.h>

#include "values.hpp"

namespace ztl {
namespace {

using collections_test::Obj;

TEST(IsSet, ReferenceOrNothing) {
  ZtObjects o;
  EXPECT_FALSE(o.IsSet(nullptr));
  EXPECT_TRUE(o.IsSet(*Obj(std::nullopt).If<ObjectRef>()));
  EXPECT_TRUE(o.IsSet(Collection::Create()));
  const ObjectRef objects = CreateObject(u"ZtObjects");
  EXPECT_EQ(objects->Invoke(u"IsSet", {nullptr}), Variant(false));
  EXPECT_EQ(objects->Invoke(u"IsSet", {objects}), Variant(true));
  EXPECT_EQ(objects->Invoke(u"IsSet", {Long{1}}).error(), kTypeMismatch);  // not an object
}

}  // namespace
}  // namespace ztl
