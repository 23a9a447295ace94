// Find: candidates by their first code unit (sixteen units at a time with SSE2), checked one
// by one, with Knuth-Morris-Pratt taking over when the checks cost too much.

#include "search.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <vector>

namespace ztl::text {

namespace {

// The first code unit equal to c in [p, end), or end. Sixteen units at a time where the
// processor offers SSE2.
const char16_t* FindUnit(const char16_t* p, const char16_t* end, char16_t c) noexcept {
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
  for (; end - p >= 16; p += 16) {
    const __m128i a = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), wanted);
    const __m128i b = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), wanted);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(a)) |
                          (static_cast<unsigned>(_mm_movemask_epi8(b)) << 16);
    if (mask != 0) return p + (__builtin_ctz(mask) >> 1);
  }
#endif
  for (; p < end; ++p) {
    if (*p == c) return p;
  }
  return end;
}

// Knuth-Morris-Pratt from `from`: linear in the text and `what` whatever they hold.
std::size_t FindLinear(std::u16string_view text, std::u16string_view what, std::size_t from) {
  std::vector<std::size_t> border(what.size() + 1, 0);  // border[i]: longest proper border of what[0, i)
  for (std::size_t i = 1, k = 0; i < what.size(); ++i) {
    while (k > 0 && what[i] != what[k]) k = border[k];
    if (what[i] == what[k]) ++k;
    border[i + 1] = k;
  }
  for (std::size_t i = from, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != what[k]) k = border[k];
    if (text[i] == what[k]) ++k;
    if (k == what.size()) return i + 1 - k;
  }
  return kNone;
}

}  // namespace

// Candidates are found by their first unit and checked one by one, which is fastest on
// ordinary text; when the checks cost more than a few units for each unit passed (a text
// and a search made of near misses), the search goes on in linear time.
std::size_t Find(std::u16string_view text, std::u16string_view what, std::size_t from) {
  if (from > text.size() || what.size() > text.size() - from) return kNone;
  if (what.empty()) return from;
  const char16_t* const base = text.data();
  const char16_t* const last = base + (text.size() - what.size()) + 1;  // one past the last start
  std::size_t checked = 0;
  for (const char16_t* p = base + from;; ++p) {
    p = FindUnit(p, last, what[0]);
    if (p == last) return kNone;
    std::size_t i = 1;
    while (i < what.size() && p[i] == what[i]) ++i;
    if (i == what.size()) return static_cast<std::size_t>(p - base);
    checked += i;
    if (checked > 64 + 4 * static_cast<std::size_t>(p - base - from)) {
      return FindLinear(text, what, static_cast<std::size_t>(p - base));
    }
  }
}

}  // namespace ztl::text
