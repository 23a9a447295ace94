// ZtArrays: depth, emptiness, maximum, minimum, mean, sum, searches, sorting and shuffling of
// the array a Variant holds. A stateless utility class; only dimension 1 is used.
//
// Example:
//   ztl::Variant a = ztl::SafeArray::Of({3, 1, 2});
//   ztl::ZtArrays arrays;
//   arrays.Sort(a);            // a now holds 1, 2, 3
//   arrays.BinarySearch(a, 2); // 1
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtArrays : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // How deep arrays nest, following element 1: 0 for a value that is no array.
  Integer Dimensions(Variant& aArray) noexcept;
  // True when the element at the lower bound cannot be read (unallocated, not an array).
  Boolean IsEmpty(Variant& aArray) noexcept;
  // The greatest element. Note: Null when the upper bound is below 1, even with elements.
  Variant GetMax(Variant& aArray) noexcept;
  // The smallest element. Note: Null when the upper bound is below 1, even with elements.
  Variant GetMin(Variant& aArray) noexcept;
  // Note: the arithmetic mean, not the median; Null when the upper bound is below 1.
  Variant GetMed(Variant& aArray) noexcept;
  // The variant sum of the elements; Null when the upper bound is below 1.
  Variant GetSum(Variant& aArray) noexcept;
  // The index of the first element equal to the key. Note: 0 when none is, like a match at 0.
  Long Search(Variant& aArray, const Variant& vntKey) noexcept;
  // Binary search of an ascending array; the lower bound minus 1 when the key is absent.
  Long BinarySearch(Variant& aArray, const Variant& vntKey) noexcept;
  // Sorts ascending in place (random pivot; not stable).
  void Sort(Variant& aArray) noexcept;
  // Shuffles the elements in place.
  void Shuffle(Variant& aArray) noexcept;
};

}  // namespace ztl
