// Arrays and collections across the C interface: making arrays and reading and writing their
// elements, and the host's collection (add, count, item, remove).

#include <limits>
#include <vector>

#include "c_handles.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl::c_api {

namespace {

// Arrays made through this interface stay below these sizes, so that a mistaken count gives an
// error instead of exhausting memory.
constexpr std::size_t kMaxDims = 60;
constexpr std::size_t kMaxElements = std::size_t{1} << 24;

bool IsScalarType(std::uint16_t type) {
  switch (type) {
    case ZTL_VT_INTEGER: case ZTL_VT_LONG: case ZTL_VT_SINGLE: case ZTL_VT_DOUBLE: case ZTL_VT_CURRENCY:
    case ZTL_VT_DATE: case ZTL_VT_STRING: case ZTL_VT_OBJECT: case ZTL_VT_ERROR: case ZTL_VT_BOOLEAN:
    case ZTL_VT_DECIMAL: case ZTL_VT_BYTE:
      return true;
    default:
      return false;
  }
}

// The bounds of a new array's dimensions, checked against the Long range and the size limit.
Outcome<std::vector<ArrayBound>> BoundsOf(size_t dims, const int32_t* lower, const int32_t* count) {
  if (dims > kMaxDims) return Refuse(ZTL_E_INVALID_ARG, "an array has at most 60 dimensions");
  std::vector<ArrayBound> bounds;
  std::size_t total = 1;
  if (dims > 0) {
    ZTL_CHECK(Required(lower, "lower"));
    ZTL_CHECK(Required(count, "count"));
  }
  for (size_t d = 0; d < dims; ++d) {
    if (count[d] < 0) {
      return Refuse(ZTL_E_INVALID_ARG, "dimension " + std::to_string(d + 1) + " has a negative count");
    }
    if (static_cast<long long>(lower[d]) + count[d] - 1 > std::numeric_limits<int32_t>::max()) {
      return Refuse(ZTL_E_INVALID_ARG, "dimension " + std::to_string(d + 1) + " ends beyond the Long range");
    }
    total = count[d] == 0 ? 0 : total;
    if (total != 0 && static_cast<std::size_t>(count[d]) > kMaxElements / total) {
      return RefuseError(kOutOfMemory, "an array of more than 16777216 elements");
    }
    total *= static_cast<std::size_t>(count[d]);
    bounds.push_back({lower[d], count[d]});
  }
  return bounds;
}

// The offset of an element from one subscript per dimension.
Outcome<std::size_t> OffsetOf(const SafeArray& a, const int32_t* index, size_t index_count) {
  if (index_count > 0) ZTL_CHECK(Required(index, "index"));
  const std::ptrdiff_t offset = a.Offset(std::span<const Long>(index, index_count));
  if (offset < 0) return RefuseError(kSubscriptOutOfRange);
  return static_cast<std::size_t>(offset);
}

// The collection behind a live object handle.
Outcome<Collection*> CheckCollection(ztl_object* handle) {
  ZTL_TRY(object, Checked(handle));
  auto* collection = dynamic_cast<Collection*>(object->ref.get());
  if (collection == nullptr) return Refuse(ZTL_E_INVALID_HANDLE, "the object is no collection");
  return collection;
}

Failure NoItem(int32_t position) { return RefuseError(kInvalidProcedureCall, "no item " + std::to_string(position)); }

}  // namespace

}  // namespace ztl::c_api

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

// ---- arrays ----------------------------------------------------------------------------------

int ztl_array_new(uint16_t element_type, size_t dims, const int32_t* lower, const int32_t* count, ztl_array** array) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(array, "array"));
    if (element_type != ZTL_VT_VARIANT && !IsScalarType(element_type)) {
      return Refuse(ZTL_E_INVALID_ARG, "no array can hold elements of type " + std::to_string(element_type));
    }
    ZTL_TRY(bounds, BoundsOf(dims, lower, count));
    const auto type = static_cast<VarType>(element_type);
    *array = NewHandle<ztl_array>(dims == 0 ? SafeArray(type) : SafeArray(type, std::move(bounds)));
    return Done();
  });
}

int ztl_array_release(ztl_array* array) {
  return Guard([&] { return ReleaseHandle(array); });
}

int ztl_array_element_type(ztl_array* array, uint16_t* element_type) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(array));
    return SetOutput(element_type, "element_type", handle->array.ElementType());
  });
}

int ztl_array_dims(ztl_array* array, size_t* dims) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(array));
    return SetOutput(dims, "dims", handle->array.Dims());
  });
}

int ztl_array_bounds(ztl_array* array, size_t dim, int32_t* lower, int32_t* upper) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(array));
    const SafeArray& a = handle->array;
    if (dim < 1 || dim > static_cast<size_t>(a.Dims())) {
      return RefuseError(kSubscriptOutOfRange, "the array has no dimension " + std::to_string(dim));
    }
    const ArrayBound& b = a.Bounds()[dim - 1];
    if (lower != nullptr) *lower = b.lower;
    if (upper != nullptr) *upper = b.upper();
    return Done();
  });
}

int ztl_array_get(ztl_array* array, const int32_t* index, size_t index_count, ztl_variant* value) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(array));
    ZTL_CHECK(Required(value, "value"));
    ZTL_TRY(offset, OffsetOf(handle->array, index, index_count));
    ZTL_TRY(element, ToC(handle->array.Elements()[offset]));
    *value = element;
    return Done();
  });
}

int ztl_array_put(ztl_array* array, const int32_t* index, size_t index_count, const ztl_variant* value) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(array));
    SafeArray& a = handle->array;
    ZTL_TRY(v, FromC(value, "value"));
    ZTL_TRY(offset, OffsetOf(a, index, index_count));
    if (const Status put = a.Put(offset, v); !put) {
      return RefuseError(put.error(), TypeWithArticle(v.Type()) + " in an array of " +
                                          std::string(VarTypeName(a.ElementType())));
    }
    return Done();
  });
}

// ---- collections -----------------------------------------------------------------------------

int ztl_collection_new(ztl_object** collection) {
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(collection, "collection"));
    *collection = NewObject(Collection::Create());
    return Done();
  });
}

int ztl_collection_add(ztl_object* collection, const ztl_variant* item, const char* key) {
  return Guard([&]() -> Status {
    ZTL_TRY(c, CheckCollection(collection));
    ZTL_TRY(value, FromC(item, "item"));
    const Variant key_value = key == nullptr ? Variant::Missing() : Variant(Utf8ToUtf16(key));
    if (const Status added = c->Add(std::move(value), key_value, Variant::Missing(), Variant::Missing()); !added) {
      return RefuseError(added.error());
    }
    return Done();
  });
}

int ztl_collection_count(ztl_object* collection, int32_t* count) {
  return Guard([&]() -> Status {
    ZTL_TRY(c, CheckCollection(collection));
    return SetOutput(count, "count", c->Count());
  });
}

int ztl_collection_item(ztl_object* collection, int32_t position, ztl_variant* item) {
  return Guard([&]() -> Status {
    ZTL_TRY(c, CheckCollection(collection));
    ZTL_CHECK(Required(item, "item"));
    const Variant* found = c->Item(Long{position});
    if (found == nullptr) return NoItem(position);
    ZTL_TRY(out, ToC(*found));
    *item = out;
    return Done();
  });
}

int ztl_collection_key(ztl_object* collection, int32_t position, char** key) {
  return Guard([&]() -> Status {
    ZTL_TRY(c, CheckCollection(collection));
    ZTL_CHECK(Required(key, "key"));
    if (c->Item(Long{position}) == nullptr) return NoItem(position);
    const String* found = c->Key(Long{position});
    if (found == nullptr) {
      *key = nullptr;
      return Done();
    }
    return SetOutputText(key, nullptr, Utf16ToUtf8(*found));
  });
}

int ztl_collection_remove(ztl_object* collection, int32_t position) {
  return Guard([&]() -> Status {
    ZTL_TRY(c, CheckCollection(collection));
    if (position < 1 || position > c->Count()) return NoItem(position);
    if (const Status removed = c->Remove(Variant(Long{position})); !removed) return RefuseError(removed.error());
    return Done();
  });
}

}  // extern "C"
