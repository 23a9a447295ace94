// ZtArrays: depth, emptiness, maximum, minimum, mean, sum, searches, sorting and shuffling of
// the array a Variant holds. A stateless utility class; only dimension 1 is used.
//
// Example:
//   ztl::Variant a = ztl::SafeArray::Of({3, 1, 2});
//   ztl::ZtArrays arrays;
//   arrays.Sort(a);            // a now holds 1, 2, 3
//   arrays.BinarySearch(a, 2); // 1
//
// Note: every element is addressed with one index, so the elements of an array of two or
// more dimensions cannot be read: searches and measures see them as unreadable, and Sort and
// Shuffle leave such an array as it is. Comparisons are the platform's variant comparison
// (numbers by value, texts code unit by code unit, every number before every text).
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

class ZtArrays : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  // How deep arrays nest, following element 1: 0 for a value that is no array, 1 for an array
  // of plain values (also one with no element 1, or none allocated), 2 when element 1 is
  // itself an array, and so on. An array of several dimensions counts all of them.
  Integer Dimensions(Variant& aArray) noexcept;
  // True when the array has no elements (or the value is no array).
  // Note: an array of Empty values is not empty.
  Boolean IsEmpty(Variant& aArray) noexcept;
  // The greatest element: the first, replaced by every later one that compares greater.
  // Note: Null when there is nothing to measure (no array, none allocated, no elements);
  // a Null first element stays the answer; an element that cannot be compared is taken.
  Variant GetMax(Variant& aArray) noexcept;
  // The smallest element, as GetMax with the test reversed.
  Variant GetMin(Variant& aArray) noexcept;
  // Note: the arithmetic mean (the sum divided by the count), not the median. Null when there
  // is nothing to measure; Empty when the sum cannot be divided (texts).
  Variant GetMed(Variant& aArray) noexcept;
  // The variant sum of the elements: numbers add (promoting on overflow), texts join, Null
  // makes Null; an element that cannot be added is skipped. Null when there is nothing to measure.
  Variant GetSum(Variant& aArray) noexcept;
  // The index of the first element equal to the key. Note: 0 when none is, which a match at
  // index 0 also gives; an element that cannot be compared counts as a match.
  Long Search(Variant& aArray, const Variant& vntKey) noexcept;
  // Binary search of an array sorted ascending: the index of an equal element, or the lower
  // bound minus 1 when there is none (-1 for an array with no elements allocated).
  Long BinarySearch(Variant& aArray, const Variant& vntKey) noexcept;
  // Sorts ascending in place (random pivot; not stable). Nulls and NaNs, which compare after
  // everything, end last; elements that cannot be compared end in some order.
  void Sort(Variant& aArray) noexcept;
  // Shuffles the elements in place; every order is equally likely.
  void Shuffle(Variant& aArray) noexcept;
};

}  // namespace ztl
