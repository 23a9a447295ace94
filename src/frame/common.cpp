// CompareVariants and RandomBetween, the two routines the searching, sorting, shuffling and
// random-number operations share.

#include "frame/common.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "frame/failure.hpp"
#include "frame/variant_ops.hpp"
#include "platform/random.hpp"

namespace ztl {

Long CompareVariants(Variant a, Variant b) noexcept {
  // Step 1, the test a < b. A failing test counts as holding.
  Ordering first = Ordering::Less;
  if (!Attempt([&] { first = Compare(a, b); }) || first == Ordering::Less) return -1;

  // Step 2, the test a = b. It compares the same two values again, so only an object, whose
  // default value is fetched anew, can answer differently; a failing test counts as holding.
  Ordering second = first;
  if (a.IsObject() || b.IsObject()) {
    if (!Attempt([&] { second = Compare(a, b); })) return 0;
  }
  if (second == Ordering::Equal) return 0;

  // Step 3: neither test held (b before a, or a Null on either side).
  return 1;
}

Long RandomBetween(Long lngLow, Long lngHigh) noexcept {
  const Single r = platform::NextRandom();  // advances whatever follows
  Long result = 0;
  Attempt([&] {
    auto to_long = [](std::int64_t x) {
      if (x < std::numeric_limits<Long>::min() || x > std::numeric_limits<Long>::max()) {
        Fail(kOverflow);
      }
      return static_cast<Long>(x);
    };
    // The count of values, in Long arithmetic: each of the two steps may overflow.
    const Long span = to_long(std::int64_t{lngHigh} - lngLow);
    const Long n = to_long(std::int64_t{span} + 1);
    // r * n + lngLow in Double, then its floor stored into a Long.
    const Double x = std::floor(static_cast<Double>(r) * n + lngLow);
    if (!(x >= std::numeric_limits<Long>::min() && x <= std::numeric_limits<Long>::max())) {
      Fail(kOverflow);
    }
    result = static_cast<Long>(x);
  });
  return result;
}

}  // namespace ztl
