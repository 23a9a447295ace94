// Comparing member, class, parameter and property names without regard to case, as late-bound
// calls and saved forms compare them. Names are ASCII, so only A-Z and a-z are folded, the
// same in every locale; any other character must match exactly. Inline: a call by name
// compares against every member of a class until one matches.
//
// Example:
//   ztl::EqualsIgnoringAsciiCase(u"getRandom", "GetRandom")   // true
//   ztl::EqualsIgnoringAsciiCase(u"\u00E9", u"\u00C9")        // false: not ASCII
#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>

namespace ztl {

namespace detail {

constexpr char32_t FoldAsciiCase(char32_t c) noexcept { return c >= U'a' && c <= U'z' ? c - 32 : c; }

template <class A, class B>
constexpr bool EqualsIgnoringAsciiCase(A a, B b) noexcept {
  if (a.size() != b.size()) return false;
  // Through the unsigned unit, so that a byte of a std::string_view never comes out negative.
  using UnitA = std::make_unsigned_t<typename A::value_type>;
  using UnitB = std::make_unsigned_t<typename B::value_type>;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(static_cast<UnitA>(a[i])) != FoldAsciiCase(static_cast<UnitB>(b[i]))) return false;
  }
  return true;
}

}  // namespace detail

// Whether two names are equal once a-z are taken as A-Z. Allocates nothing.
constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) noexcept {
  return detail::EqualsIgnoringAsciiCase(a, b);
}
constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::string_view b) noexcept {
  return detail::EqualsIgnoringAsciiCase(a, b);
}
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  return detail::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace ztl
