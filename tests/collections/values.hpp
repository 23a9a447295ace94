// Helpers the collections tests share: arrays and collections built in one line, a readable
// text of a value, mixed-kind data, and the checks "is a permutation of" and "is in order".
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "../frame/test_values.hpp"
#include "frame/variant_ops.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl::collections_test {

using testing_values::Obj;

// A one-dimensional array of Variants, the first at `lower`, inside a Variant.
inline Variant Arr(std::vector<Variant> items, Long lower = 0) { return SafeArray::Of(std::move(items), lower); }

// "Long 7", "String ab", "Null", "Array(2)" ...: kind and value in one text.
inline std::string Describe(const Variant& v) {
  if (const SafeArray* a = v.If<SafeArray>()) return "Array(" + std::to_string(a->Size()) + ")";
  if (v.IsObject()) return v.If<ObjectRef>()->get() ? "Object" : "Nothing";
  std::string out(VarTypeName(v.Type()));
  if (v.IsEmpty() || v.IsNull()) return out;
  if (const Outcome<String> text = ToString(v)) {
    out += ' ';
    for (char16_t c : *text) out += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return out;
}

inline std::string Describe(const std::vector<Variant>& items) {
  std::string out;
  for (const Variant& v : items) out += (out.empty() ? "" : ", ") + Describe(v);
  return out;
}

inline std::vector<Variant> Elements(const Variant& array) {
  const SafeArray& a = *array.If<SafeArray>();
  return std::vector<Variant>(a.Elements().begin(), a.Elements().end());
}

inline std::vector<Variant> Items(const Collection& c) { return std::vector<Variant>(c.begin(), c.end()); }

// Whether b holds the same values as a, each as often (same kind and value; objects by
// identity).
inline bool IsPermutation(const std::vector<Variant>& a, const std::vector<Variant>& b) {
  auto keys = [](const std::vector<Variant>& items) {
    std::vector<std::string> out;
    for (const Variant& v : items) {
      std::string key = Describe(v);
      if (const ObjectRef* o = v.If<ObjectRef>()) key += std::to_string(reinterpret_cast<std::uintptr_t>(o->get()));
      out.push_back(std::move(key));
    }
    std::sort(out.begin(), out.end());
    return out;
  };
  return keys(a) == keys(b);
}

// In order: every value sorts with its neighbour under CompareVariants, and the Nulls and NaNs
// (which sort after everything, themselves included) come last.
inline bool InOrder(const std::vector<Variant>& items) {
  auto last = [](const Variant& v) {
    const Double* d = v.If<Double>();
    return v.IsNull() || (d && *d != *d);
  };
  std::size_t n = items.size();
  while (n > 0 && last(items[n - 1])) --n;
  for (std::size_t i = 0; i < n; ++i) {
    if (last(items[i])) return false;
    if (i + 1 < n && CompareVariants(items[i], items[i + 1]) > 0) return false;
  }
  return true;
}

// Values of mixed kinds, drawn from small ranges so that equal values recur: Integer, Long,
// Double, String, Boolean, Date, Empty and Null.
inline Variant MixedValue(std::mt19937& rng) {
  const int v = static_cast<int>(rng() % 7) - 3;
  switch (rng() % 8) {
    case 0: return Integer(v);
    case 1: return Long(v * 1000);
    case 2: return v + 0.5;
    case 3: return String(1 + rng() % 2, static_cast<char16_t>(u'a' + rng() % 3));
    case 4: return v < 0;
    case 5: return Date{40000.0 + v};
    case 6: return Variant();
    default: return Null;
  }
}

}  // namespace ztl::collections_test
