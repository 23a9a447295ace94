// The boundary of a public operation. Inside, failing steps are ordinary return values
// (Outcome); the one exception that may still rise is std::bad_alloc, and each operation that
// allocates turns it into its failure default here.
#pragma once

#include <new>
#include <utility>

namespace ztl {

// Runs an operation's body and returns what it returns; running out of memory gives
// `fallback` instead.
//   String ZtToken::Item(Long index) noexcept {
//     ...
//     return Guarded(String(), [&] { return text_.substr(begin, ends_[index] - begin); });
//   }
template <class R, class Body>
R Guarded(R fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (const std::bad_alloc&) {
    return fallback;
  }
}

// Runs a step that may fail (it returns an Outcome) and returns its value; a failed step, like
// running out of memory, gives `fallback`.
//   return GuardedStep(String(), [&] { return ReplaceFirst(strString, strSearch, strReplace); });
template <class R, class Step>
R GuardedStep(R fallback, Step&& step) noexcept {
  return Guarded(fallback, [&]() -> R { return std::forward<Step>(step)().value_or(fallback); });
}

// The same for an operation without a result: running out of memory ends it where it was.
template <class Body>
void Guarded(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace ztl
