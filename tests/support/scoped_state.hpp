// Process-wide settings a test changes, put back when the test's scope ends however it ends: a
// failed ASSERT returns early, and the next test must not inherit a locale, a seed, an about
// display, a confinement or an environment variable.
#pragma once

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "ztldata/frame/about.hpp"
#include "ztldata/platform/file_access.hpp"
#include "ztldata/platform/locale.hpp"
#include "ztldata/platform/random.hpp"

namespace ztl::testing_support {

// Runs its undo action once, when it goes out of scope.
class Restore {
 public:
  explicit Restore(std::function<void()> undo) : undo_(std::move(undo)) {}
  ~Restore() {
    if (undo_) undo_();
  }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  std::function<void()> undo_;
};

// Names the locale; afterwards the process follows the environment again, as it did at start.
[[nodiscard]] inline Restore ScopedLocale(std::string_view name) {
  SetLocale(name);
  return Restore([] { SetLocale(""); });
}

// Seeds the generator; afterwards it is reseeded from the clock, so no later test silently
// depends on this one's sequence.
[[nodiscard]] inline Restore ScopedSeed(std::uint64_t seed) {
  SeedRandom(seed);
  return Restore([] { RandomizeFromClock(); });
}

// Replaces the about display; afterwards the default display is back.
[[nodiscard]] inline Restore ScopedAboutDisplay(AboutDisplay display) {
  SetAboutDisplay(std::move(display));
  return Restore([] { SetAboutDisplay(nullptr); });
}

// Puts back the confinement (or its absence) in effect now; the test may confine meanwhile.
[[nodiscard]] inline Restore ScopedConfinement() {
  return Restore([root = FileRoot()] {
    if (root) {
      ConfineFiles(*root);
    } else {
      UnconfineFiles();
    }
  });
}

// Sets an environment variable (unsets it when value is nothing); afterwards it has its old
// value, or is unset again.
[[nodiscard]] inline Restore ScopedEnv(const char* name, std::optional<std::string> value) {
  std::optional<std::string> old;
  if (const char* now = std::getenv(name)) old = now;
  value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  return Restore([name, old] { old ? setenv(name, old->c_str(), 1) : unsetenv(name); });
}

}  // namespace ztl::testing_support
