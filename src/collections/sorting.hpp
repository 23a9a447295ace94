// The quicksort and the shuffle that ZtArrays and ZtCollections share, written once over a
// small accessor, and the tests they use: the element order (CompareVariants) and equality,
// each with a fast path for the common kinds.
//
// An accessor `items` offers:
//   const Variant* At(std::int64_t i)          the element at index i, null when it cannot be read
//   void Exchange(std::int64_t i, std::int64_t j)  exchanges two elements (i = j allowed)
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

#include "frame/variant_ops.hpp"
#include "platform/random_generator.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl::collections {

// CompareVariants(a, b). Two Doubles, Longs, Integers or Strings are ordered here directly,
// with the same outcome (a NaN sorts after everything, as a failing test makes it); every other
// pair goes through CompareVariants, whose failing tests are plain values too, so a pair that
// cannot be compared costs about what a pair that can does.
inline Long Order(const Variant& a, const Variant& b) noexcept {
  auto three_way = [](const auto& x, const auto& y) -> Long { return x < y ? -1 : x == y ? 0 : 1; };
  if (const Double* x = a.If<Double>()) {
    if (const Double* y = b.If<Double>()) return three_way(*x, *y);
  } else if (const Long* x = a.If<Long>()) {
    if (const Long* y = b.If<Long>()) return three_way(*x, *y);
  } else if (const String* x = a.If<String>()) {
    if (const String* y = b.If<String>()) {
      const int c = x->compare(*y);
      return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
  } else if (const Integer* x = a.If<Integer>()) {
    if (const Integer* y = b.If<Integer>()) return three_way(*x, *y);
  }
  return CompareVariants(a, b);
}

// The order the sorts use: Order over any values, or, for a range known to hold Doubles only
// (none of them a NaN), their payloads compared directly with the outcome Order gives.
struct OrderVariants {
  Long operator()(const Variant& a, const Variant& b) const noexcept { return Order(a, b); }
};
struct OrderDoubles {
  Long operator()(const Variant& a, const Variant& b) const noexcept {
    const Double* x = a.If<Double>();
    const Double* y = b.If<Double>();
    if (!x || !y) __builtin_unreachable();
    return *x < *y ? -1 : *x > *y ? 1 : 0;
  }
};

// The variant test a = b, where a test that fails (a value that cannot be compared) counts as
// holding. Two Doubles, Longs or Strings are compared here directly, with the same outcome.
// Note: not noexcept, as the variant test is not: running out of memory rises to the
// operation's boundary, which turns it into the operation's failure default.
inline bool Matches(const Variant& a, const Variant& b) {
  if (const Double* x = a.If<Double>()) {
    if (const Double* y = b.If<Double>()) return *x == *y;
  } else if (const Long* x = a.If<Long>()) {
    if (const Long* y = b.If<Long>()) return *x == *y;
  } else if (const String* x = a.If<String>()) {
    if (const String* y = b.If<String>()) return *x == *y;
  }
  return EqualTo(a, b).value_or(true);
}

// Sorts items lo..hi with a merge sort: the fallback of QuickSort for a range whose partitions
// keep coming out lopsided. It takes O(n log n) comparisons whatever the comparisons answer,
// and, like the quicksort, leaves every item in order with its neighbours even where the
// order of the values is not transitive (Empty equals both 0 and "", which differ). It sorts
// the positions first and then moves the items along the cycles of that permutation.
// False when it could not run (memory, or an item that cannot be read); the items are then
// still a permutation of what they were.
template <class Items, class Compare = OrderVariants>
bool MergeSort(Items& items, std::int64_t lo, std::int64_t hi, Compare order_of = {}) noexcept {
  const std::int64_t n = hi - lo + 1;
  // One block for the two index buffers; without the memory the sort does not run.
  const std::unique_ptr<std::int64_t[]> buffers(new (std::nothrow) std::int64_t[static_cast<std::size_t>(2 * n)]);
  if (!buffers) return false;
  std::int64_t* order = buffers.get();
  std::int64_t* spare = order + n;
  for (std::int64_t k = 0; k < n; ++k) {
    if (!items.At(lo + k)) return false;
    order[k] = k;
  }
  // Bottom-up: runs of width 1, 2, 4 ... merged pairwise; the earlier item wins a tie.
  for (std::int64_t width = 1; width < n; width *= 2) {
    for (std::int64_t left = 0; left < n; left += 2 * width) {
      const std::int64_t mid = std::min(left + width, n), right = std::min(left + 2 * width, n);
      std::int64_t a = left, b = mid, out = left;
      while (a < mid && b < right) {
        const Variant* x = items.At(lo + order[a]);
        const Variant* y = items.At(lo + order[b]);
        if (!x || !y) return false;
        spare[out++] = order[order_of(*x, *y) > 0 ? b++ : a++];
      }
      while (a < mid) spare[out++] = order[a++];
      while (b < right) spare[out++] = order[b++];
    }
    std::swap(order, spare);
  }
  // Position k takes the item from order[k]: follow each cycle, one exchange per step.
  for (std::int64_t start = 0; start < n; ++start) {
    std::int64_t k = start;
    while (order[k] != start && order[k] != k) {
      const std::int64_t from = order[k];
      items.Exchange(lo + k, lo + from);
      order[k] = k;
      k = from;
    }
    order[k] = k;
  }
  return true;
}

// Sorts items lo..hi ascending under CompareVariants: a quicksort with a random pivot moved to
// hi, two items ordered without a draw, and the smaller side sorted first.
//
// The partition scans once from each end (restarting both scans at lo and hi after every
// exchange finds the same positions again, at quadratic cost). The larger side is sorted by
// the loop rather than by a nested call, so the stack stays shallow, and a range still
// unsorted after 2 log2(n) partitions is finished by MergeSort: many equal items, or items
// that cannot be compared, make every partition lopsided, which would otherwise take
// quadratic time.
template <class Items, class Compare = OrderVariants>
void QuickSort(Items& items, std::int64_t lo, std::int64_t hi, Compare order = {}, int budget = -1) noexcept {
  if (budget < 0) {
    budget = 0;
    for (std::int64_t n = hi - lo + 1; n > 1; n >>= 1) budget += 2;
  }
  while (lo < hi) {
    if (hi - lo == 1) {
      const Variant* a = items.At(lo);
      const Variant* b = items.At(hi);
      if (a && b && order(*a, *b) > 0) items.Exchange(lo, hi);
      return;
    }
    if (budget-- == 0) {
      MergeSort(items, lo, hi, order);
      return;
    }
    const std::int64_t p = platform::RandomBetween(static_cast<Long>(lo), static_cast<Long>(hi));
    items.Exchange(hi, p);
    // The pivot is compared where it lies, not copied (a copy of a text or an array would
    // allocate): at hi, until the scan from the right stops there, which only an item that
    // sorts before itself makes it do (one that cannot be compared). That exchange moves it
    // to i, behind both scans, where it stays until the partition ends.
    std::int64_t pivot_at = hi;
    const Variant* pivot = items.At(hi);
    if (!pivot) return;

    std::int64_t i = lo, j = hi;
    for (;;) {
      for (; i < j; ++i) {
        const Variant* x = items.At(i);
        if (!x) return;
        if (order(*x, *pivot) > 0) break;
      }
      for (; j > i; --j) {
        const Variant* x = items.At(j);
        if (!x) return;
        if (order(*x, *pivot) < 0) break;
      }
      if (i >= j) break;
      // Item i sorts after the pivot and item j before it: each goes to the other side. The
      // scan from the left steps over the item it now holds.
      items.Exchange(i, j);
      if (j == pivot_at) {
        pivot_at = i;
        pivot = items.At(i);
      }
      ++i;
    }
    items.Exchange(i, hi);  // the pivot to its place

    if (i - lo < hi - i) {
      QuickSort(items, lo, i - 1, order, budget);
      lo = i + 1;
    } else {
      QuickSort(items, i + 1, hi, order, budget);
      hi = i - 1;
    }
  }
}

// Whether a value sorts after everything, itself included: Null, and a NaN of any kind.
inline bool AfterEverything(const Variant& v) noexcept {
  if (v.IsNull()) return true;
  if (const Double* d = v.If<Double>()) return std::isnan(*d);
  if (const Single* s = v.If<Single>()) return std::isnan(*s);
  if (const Date* t = v.If<Date>()) return std::isnan(t->value);
  return false;
}

// Sorts items lo..hi: the values that sort after everything (Null, NaN) are gathered at the
// end, where every comparison puts them, and the others are sorted by QuickSort.
template <class Items>
void Sort(Items& items, std::int64_t lo, std::int64_t hi) noexcept {
  std::int64_t last = hi;  // items after `last` are gathered
  for (std::int64_t k = hi; k >= lo; --k) {
    const Variant* x = items.At(k);
    if (!x) return;
    if (AfterEverything(*x)) items.Exchange(k, last--);
  }
  // A range of Doubles alone (the usual array of numbers) is sorted by comparing payloads: the
  // same partitions and exchanges, without asking each pair for its kinds.
  bool doubles = true;
  for (std::int64_t k = lo; k <= last && doubles; ++k) {
    const Variant* x = items.At(k);
    doubles = x && x->If<Double>();
  }
  if (doubles) {
    QuickSort(items, lo, last, OrderDoubles{});
  } else {
    QuickSort(items, lo, last);
  }
}

// Descending Fisher-Yates: each index from hi down to lo + 1 is exchanged with a random index
// lo..i (itself included). The draws do not depend on the exchanges, so a few are taken ahead
// (in the same order) and their elements fetched into the cache while earlier steps run.
template <class Items>
void Shuffle(Items& items, std::int64_t lo, std::int64_t hi) noexcept {
  constexpr std::int64_t kAhead = 8;
  std::int64_t drawn[kAhead];
  std::int64_t next = hi;  // the next step to draw for
  auto slot = [](std::int64_t i) { return static_cast<std::uint64_t>(i) % kAhead; };
  auto draw = [&] {
    const std::int64_t j = platform::RandomBetween(static_cast<Long>(lo), static_cast<Long>(next));
    drawn[slot(next)] = j;
    if (const Variant* x = items.At(j)) __builtin_prefetch(x, 1);
    --next;
  };
  for (std::int64_t i = hi; i > lo; --i) {
    while (next > lo && next > i - kAhead) draw();
    items.Exchange(i, drawn[slot(i)]);
  }
}

}  // namespace ztl::collections
