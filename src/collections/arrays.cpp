// ZtArrays: measures, searches, sorting and shuffling of the array a Variant holds, and the
// interface table of the class. Only dimension 1 is used: every element is addressed with one
// index, so the elements of an array of two or more dimensions cannot be read.

#include "ztldata/collections/arrays.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "collections/sorting.hpp"
#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "frame/variant_ops.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kArray[] = {ByRef("aArray", Type::Variant)};
constexpr ParamInfo kArrayKey[] = {ByRef("aArray", Type::Variant), In("vntKey", Type::Variant)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtArrays::Dimensions>("Dimensions", 0x60030000, kArray, Type::Integer,
                                  "Gets the number of dimensions of an array"),
    Method<&ZtArrays::IsEmpty>("IsEmpty", 0x60030001, kArray, Type::Boolean, "Determines if an array is empty"),
    Method<&ZtArrays::GetMax>("GetMax", 0x60030002, kArray, Type::Variant, "Gets the max element of an array"),
    Method<&ZtArrays::GetMin>("GetMin", 0x60030003, kArray, Type::Variant, "Gets the min element of an array"),
    Method<&ZtArrays::GetMed>("GetMed", 0x60030004, kArray, Type::Variant, "Gets the medium value of an array"),
    Method<&ZtArrays::GetSum>("GetSum", 0x60030005, kArray, Type::Variant, "Gets the sum of an array"),
    Method<&ZtArrays::Search>("Search", 0x60030006, kArrayKey, Type::Long, "Searches a value in an array"),
    Method<&ZtArrays::BinarySearch>("BinarySearch", 0x60030007, kArrayKey, Type::Long,
                                    "Makes a binary search into an ordered array"),
    Method<&ZtArrays::Sort>("Sort", 0x60030008, kArray, Type::Void, "Sorts an array"),
    Method<&ZtArrays::Shuffle>("Shuffle", 0x60030009, kArray, Type::Void, "Unsorts an array"),
};

// The array a Variant holds, seen through dimension 1: its bounds, and its elements addressed
// with one index. The bounds cannot be read when the Variant holds no array or an array with
// no dimensions allocated; the elements cannot be read when the array has two or more
// dimensions. Indexes are Longs; elements past the largest Long index are out of reach.
class OneIndex {
 public:
  explicit OneIndex(Variant& v) noexcept : array_(v.If<SafeArray>()) {
    if (!array_ || !array_->Allocated()) return;
    const ArrayBound& b = array_->Bounds()[0];
    has_bounds_ = true;
    lb_ = b.lower;
    ub_ = std::min<std::int64_t>(std::int64_t{b.lower} + b.count - 1, std::numeric_limits<Long>::max());
    readable_ = array_->Dims() == 1;
  }

  // Bounds of dimension 1, or 0 and 0 when they cannot be read.
  std::int64_t lb() const noexcept { return lb_; }
  std::int64_t ub() const noexcept { return ub_; }
  // Whether dimension 1 has elements (upper bound not below the lower).
  bool HasElements() const noexcept { return has_bounds_ && ub_ >= lb_; }
  // Whether there are elements that one index reads.
  bool Readable() const noexcept { return readable_ && HasElements(); }

  // The element at an index, or null when that read fails.
  Variant* At(std::int64_t i) noexcept {
    if (!readable_ || i < lb_ || i > ub_) return nullptr;
    return &array_->Elements()[static_cast<std::size_t>(i - lb_)];
  }
  // Exchanges two elements; an exchange whose reads fail is not made.
  void Exchange(std::int64_t i, std::int64_t j) noexcept {
    Variant* a = At(i);
    Variant* b = At(j);
    if (a && b) swap(*a, *b);
  }
  // The element at lb() when Readable(): elements lb()..ub() follow it in index order.
  Variant* First() noexcept { return Readable() ? array_->Elements().data() : nullptr; }

 private:
  SafeArray* array_;
  bool has_bounds_ = false;
  bool readable_ = false;
  std::int64_t lb_ = 0, ub_ = 0;
};

// The elements of a readable array, lb()..ub() of a OneIndex, where every read succeeds: what
// the sort and the shuffle use once OneIndex has checked the array.
class Dense {
 public:
  Dense(Variant* first, std::int64_t lb) noexcept : first_(first), lb_(lb) {}
  Variant* At(std::int64_t i) const noexcept { return first_ + (i - lb_); }
  void Exchange(std::int64_t i, std::int64_t j) const noexcept { swap(*At(i), *At(j)); }

 private:
  Variant* first_;
  std::int64_t lb_;
};

// The sum of a run of Doubles from `sum`, with the outcome of adding them one at a time where
// a step that is not finite is skipped. Adding finite values, a sum that ends finite was finite
// at every step, so the plain sum is tried first.
Double SumDoubles(Double sum, const Variant* x, std::size_t n) noexcept {
  Double plain = sum;
  for (std::size_t k = 0; k < n; ++k) plain += *x[k].If<Double>();
  if (std::isfinite(plain)) return plain;
  for (std::size_t k = 0; k < n; ++k) {
    const Double r = sum + *x[k].If<Double>();
    if (std::isfinite(r)) sum = r;
  }
  return sum;
}

// The greatest element (`after` true) or the smallest. The first element is the start; an
// element replaces it when the variant test says it sorts after (before) it, or when the test
// fails. A Null never replaces it, and a Null start is never replaced.
Variant Extreme(Variant& aArray, bool after) {
  OneIndex a(aArray);
  if (!a.HasElements()) return Null;
  Variant m;
  if (const Variant* first = a.At(a.lb())) m = *first;
  for (std::int64_t i = a.lb() + 1; i <= a.ub(); ++i) {
    const Variant* x = a.At(i);
    if (!x) continue;  // the element cannot be read: neither the test nor the assignment runs
    if ((after ? LessThan(m, *x) : LessThan(*x, m)).value_or(true)) m = *x;
  }
  return m;
}

// The variant sum of the elements, from Empty; a step that fails is skipped.
Variant Sum(OneIndex& a) {
  Variant s;
  const Variant* first = a.First();
  for (std::int64_t i = a.lb(); i <= a.ub(); ++i) {
    const Variant* x = a.At(i);
    if (!x) continue;
    // A run of Doubles onto a Double sum is added in one pass.
    if (Double* sum = s.If<Double>(); sum && first && x->If<Double>()) {
      std::int64_t end = i + 1;
      while (end <= a.ub() && first[end - a.lb()].If<Double>()) ++end;
      *sum = SumDoubles(*sum, x, static_cast<std::size_t>(end - i));
      i = end - 1;
      continue;
    }
    // Doubles and Longs add here directly, and texts join in place, with the result s + x
    // would give (a Double sum that overflows fails; a Long sum that leaves the range is a
    // Double).
    if (Double* sum = s.If<Double>(); sum && x->If<Double>()) {
      const Double r = *sum + *x->If<Double>();
      if (std::isfinite(r)) *sum = r;
    } else if (const Long* l = s.If<Long>(); l && x->If<Long>()) {
      const std::int64_t r = std::int64_t{*l} + *x->If<Long>();
      if (r >= std::numeric_limits<Long>::min() && r <= std::numeric_limits<Long>::max()) {
        s = static_cast<Long>(r);
      } else {
        s = static_cast<Double>(r);
      }
    } else if (String* text = s.If<String>(); text && x->IsString()) {
      text->append(*x->If<String>());
    } else if (Outcome<Variant> sum = Add(s, *x)) {
      s = *std::move(sum);
    }
  }
  return s;
}

}  // namespace

const ClassInfo kZtArraysClass = DefineClass<ZtArrays, "ZtArrays">(
    ClassKind::Utility, {ids::kZtArraysClass, ids::kZtArraysInterface}, kMembers);

const ClassInfo* ZtArrays::Class() const noexcept { return &kZtArraysClass; }

Integer ZtArrays::Dimensions(Variant& aArray) noexcept {
  // Counts arrays nested through element 1. An array of two or more dimensions counts all of
  // them, and its element 1 cannot be followed.
  int count = 0;
  const Variant* v = &aArray;
  while (const SafeArray* a = v->If<SafeArray>()) {
    count += std::max(a->Dims(), 1);
    if (a->Dims() != 1) break;
    const Long one = 1;
    const std::ptrdiff_t offset = a->Offset(std::span<const Long>(&one, 1));
    if (offset < 0) break;
    v = &a->Elements()[static_cast<std::size_t>(offset)];
  }
  return static_cast<Integer>(std::min(count, 32767));
}

Boolean ZtArrays::IsEmpty(Variant& aArray) noexcept {
  const SafeArray* a = aArray.If<SafeArray>();
  return !a || a->Size() == 0;
}

// The measures copy elements and may fetch default values: running out of memory gives Empty.

Variant ZtArrays::GetMax(Variant& aArray) noexcept {
  return Guarded(Variant(), [&] { return Extreme(aArray, true); });
}

Variant ZtArrays::GetMin(Variant& aArray) noexcept {
  return Guarded(Variant(), [&] { return Extreme(aArray, false); });
}

Variant ZtArrays::GetMed(Variant& aArray) noexcept {
  return Guarded(Variant(), [&]() -> Variant {
    OneIndex a(aArray);
    if (!a.HasElements()) return Null;
    // The mean of texts, which cannot be divided, is Empty.
    return Divide(Sum(a), Long(a.ub() - a.lb() + 1)).value_or(Variant());
  });
}

Variant ZtArrays::GetSum(Variant& aArray) noexcept {
  return Guarded(Variant(), [&]() -> Variant {
    OneIndex a(aArray);
    if (!a.HasElements()) return Null;
    return Sum(a);
  });
}

Long ZtArrays::Search(Variant& aArray, const Variant& vntKey) noexcept {
  return Guarded(Long{0}, [&]() -> Long {
    OneIndex a(aArray);
    if (!a.HasElements()) return 0;
    // A Double key against Double elements is compared here, with the outcome Matches gives.
    const Variant* first = a.First();
    if (const Double* key = vntKey.If<Double>(); key && first) {
      const Double k = *key;
      for (std::int64_t i = a.lb(); i <= a.ub(); ++i) {
        const Variant& x = first[i - a.lb()];
        if (const Double* d = x.If<Double>()) {
          if (*d == k) return static_cast<Long>(i);
        } else if (collections::Matches(x, vntKey)) {
          return static_cast<Long>(i);
        }
      }
      return 0;
    }
    for (std::int64_t i = a.lb(); i <= a.ub(); ++i) {
      // A test that fails (an element that cannot be read or compared) counts as a match.
      const Variant* x = a.At(i);
      if (!x || collections::Matches(*x, vntKey)) return static_cast<Long>(i);
    }
    return 0;
  });
}

Long ZtArrays::BinarySearch(Variant& aArray, const Variant& vntKey) noexcept {
  OneIndex a(aArray);
  // Not found is the lower bound minus 1 (-1 when the bounds cannot be read); an element that
  // cannot be read counts as not equal, so an array whose elements one index cannot reach
  // finds nothing. With the lower bound -2^31 the answer does not fit a Long and stays 0,
  // which no index of such an array can be.
  const std::int64_t not_found = a.lb() - 1;
  const Long absent = not_found < std::numeric_limits<Long>::min() ? 0 : static_cast<Long>(not_found);
  if (!a.Readable()) return absent;
  std::int64_t lo = a.lb(), hi = a.ub();
  for (;;) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    const Long c = collections::Order(*a.At(mid), vntKey);
    if (c == 0) return static_cast<Long>(mid);
    if (c > 0) {
      hi = mid;
      if (lo == hi) return absent;
    } else {
      lo = mid + 1;
      if (lo > hi) return absent;
    }
  }
}

void ZtArrays::Sort(Variant& aArray) noexcept {
  OneIndex a(aArray);
  if (!a.Readable()) return;
  Dense items(a.First(), a.lb());
  collections::Sort(items, a.lb(), a.ub());
}

void ZtArrays::Shuffle(Variant& aArray) noexcept {
  OneIndex a(aArray);
  if (!a.Readable()) return;
  Dense items(a.First(), a.lb());
  collections::Shuffle(items, a.lb(), a.ub());
}

}  // namespace ztl
