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
std::vector<ArrayBound> BoundsOf(size_t dims, const int32_t* lower, const int32_t* count) {
  if (dims > kMaxDims) Throw(ZTL_E_INVALID_ARG, "an array has at most 60 dimensions");
  std::vector<ArrayBound> bounds;
  std::size_t total = 1;
  if (dims > 0) {
    Required(lower, "lower");
    Required(count, "count");
  }
  for (size_t d = 0; d < dims; ++d) {
    if (count[d] < 0) Throw(ZTL_E_INVALID_ARG, "dimension " + std::to_string(d + 1) + " has a negative count");
    if (static_cast<long long>(lower[d]) + count[d] - 1 > std::numeric_limits<int32_t>::max()) {
      Throw(ZTL_E_INVALID_ARG, "dimension " + std::to_string(d + 1) + " ends beyond the Long range");
    }
    total = count[d] == 0 ? 0 : total;
    if (total != 0 && static_cast<std::size_t>(count[d]) > kMaxElements / total) {
      Throw(kOutOfMemory, "Out of memory: an array of more than 16777216 elements");
    }
    total *= static_cast<std::size_t>(count[d]);
    bounds.push_back({lower[d], count[d]});
  }
  return bounds;
}

std::size_t OffsetOf(const SafeArray& a, const int32_t* index, size_t index_count) {
  if (index_count > 0) Required(index, "index");
  const std::ptrdiff_t offset = a.Offset(std::span<const Long>(index, index_count));
  if (offset < 0) Throw(kSubscriptOutOfRange, "Subscript out of range");
  return static_cast<std::size_t>(offset);
}

Collection& CheckCollection(ztl_object* handle) {
  ztl_object& object = CheckObject(handle);
  auto* collection = dynamic_cast<Collection*>(object.ref.get());
  if (collection == nullptr) Throw(ZTL_E_INVALID_HANDLE, "the object is no collection");
  return *collection;
}

[[noreturn]] void NoItem(int32_t position) {
  Throw(kInvalidProcedureCall, std::string(ErrorText(kInvalidProcedureCall)) + ": no item " + std::to_string(position));
}

}  // namespace

}  // namespace ztl::c_api

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

// ---- arrays ----------------------------------------------------------------------------------

int ztl_array_new(uint16_t element_type, size_t dims, const int32_t* lower, const int32_t* count, ztl_array** array) {
  return Guard([&] {
    ztl_array*& out = Required(array, "array");
    if (element_type != ZTL_VT_VARIANT && !IsScalarType(element_type)) {
      Throw(ZTL_E_INVALID_ARG, "no array can hold elements of type " + std::to_string(element_type));
    }
    std::vector<ArrayBound> bounds = BoundsOf(dims, lower, count);
    const auto type = static_cast<VarType>(element_type);
    out = dims == 0 ? NewHandle<ztl_array, HandleKind::Array>(SafeArray(type))
                    : NewHandle<ztl_array, HandleKind::Array>(SafeArray(type, std::move(bounds)));
    return ZTL_OK;
  });
}

int ztl_array_release(ztl_array* array) {
  return Guard([&] {
    if (!RemoveHandle(array, HandleKind::Array)) {
      CheckArray(array);  // says why
      Throw(ZTL_E_INVALID_HANDLE, "the handle was released meanwhile");
    }
    delete array;
    return ZTL_OK;
  });
}

int ztl_array_element_type(ztl_array* array, uint16_t* element_type) {
  return Guard([&] {
    Required(element_type, "element_type") = static_cast<uint16_t>(CheckArray(array).array.ElementType());
    return ZTL_OK;
  });
}

int ztl_array_dims(ztl_array* array, size_t* dims) {
  return Guard([&] {
    Required(dims, "dims") = static_cast<size_t>(CheckArray(array).array.Dims());
    return ZTL_OK;
  });
}

int ztl_array_bounds(ztl_array* array, size_t dim, int32_t* lower, int32_t* upper) {
  return Guard([&] {
    const SafeArray& a = CheckArray(array).array;
    if (dim < 1 || dim > static_cast<size_t>(a.Dims())) {
      Throw(kSubscriptOutOfRange, "Subscript out of range: the array has no dimension " + std::to_string(dim));
    }
    const ArrayBound& b = a.Bounds()[dim - 1];
    if (lower != nullptr) *lower = b.lower;
    if (upper != nullptr) *upper = b.upper();
    return ZTL_OK;
  });
}

int ztl_array_get(ztl_array* array, const int32_t* index, size_t index_count, ztl_variant* value) {
  return Guard([&] {
    const SafeArray& a = CheckArray(array).array;
    ztl_variant& out = Required(value, "value");
    out = ToC(a.Elements()[OffsetOf(a, index, index_count)]);
    return ZTL_OK;
  });
}

int ztl_array_put(ztl_array* array, const int32_t* index, size_t index_count, const ztl_variant* value) {
  return Guard([&] {
    SafeArray& a = CheckArray(array).array;
    const Variant v = FromC(Required(value, "value"));
    const std::size_t offset = OffsetOf(a, index, index_count);
    if (const Status put = a.Put(offset, v); !put) {
      Throw(put.error(), std::string(ErrorText(put.error())) + ": a " + std::string(VarTypeName(v.Type())) +
                             " in an array of " + std::string(VarTypeName(a.ElementType())));
    }
    return ZTL_OK;
  });
}

// ---- collections -----------------------------------------------------------------------------

int ztl_collection_new(ztl_object** collection) {
  return Guard([&] {
    ztl_object*& out = Required(collection, "collection");
    out = NewObject(Collection::Create());
    return ZTL_OK;
  });
}

int ztl_collection_add(ztl_object* collection, const ztl_variant* item, const char* key) {
  return Guard([&] {
    Collection& c = CheckCollection(collection);
    Variant value = FromC(Required(item, "item"));
    const Variant key_value = key == nullptr ? Variant::Missing() : Variant(Utf8ToUtf16(key));
    if (const Status added = c.Add(std::move(value), key_value, Variant::Missing(), Variant::Missing()); !added) {
      Throw(added.error(), ErrorText(added.error()));
    }
    return ZTL_OK;
  });
}

int ztl_collection_count(ztl_object* collection, int32_t* count) {
  return Guard([&] {
    Required(count, "count") = CheckCollection(collection).Count();
    return ZTL_OK;
  });
}

int ztl_collection_item(ztl_object* collection, int32_t position, ztl_variant* item) {
  return Guard([&] {
    const Collection& c = CheckCollection(collection);
    ztl_variant& out = Required(item, "item");
    const Variant* found = c.Item(Long{position});
    if (found == nullptr) NoItem(position);
    out = ToC(*found);
    return ZTL_OK;
  });
}

int ztl_collection_remove(ztl_object* collection, int32_t position) {
  return Guard([&] {
    Collection& c = CheckCollection(collection);
    if (position < 1 || position > c.Count()) NoItem(position);
    if (const Status removed = c.Remove(Variant(Long{position})); !removed) {
      Throw(removed.error(), ErrorText(removed.error()));
    }
    return ZTL_OK;
  });
}

}  // extern "C"
