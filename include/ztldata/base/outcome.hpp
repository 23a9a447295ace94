// Outcome<T>: what a step that may fail returns, its value or the platform's error number.
// Failing is an ordinary return, as cheap as succeeding; nothing is thrown. Error numbers
// are in errors.hpp.
//
// Example:
//   Outcome<Long> Half(Long x) noexcept {
//     if (x % 2 != 0) return Fail(kInvalidProcedureCall);
//     return x / 2;
//   }
//   Long r = 7;
//   r = Half(5).value_or(r);               // a failed assignment leaves r as it was (7)
//   if (Half(5).value_or(-1) < 0) ...      // a failing condition enters its branch
#pragma once

#include <new>
#include <type_traits>
#include <utility>

#include "ztldata/base/errors.hpp"
#include "ztldata/base/types.hpp"

namespace ztl {

// A failure on its way to an Outcome of any type: `return Fail(kOverflow);`.
struct [[nodiscard]] Failure {
  Long code;
};

[[nodiscard]] constexpr Failure Fail(Long code) noexcept { return Failure{code}; }

namespace detail {

// The storage of an Outcome: the value, or nothing, beside the error number (0 for a value).
// The error number alone tells which, so an Outcome of a small trivially copyable type (an
// Ordering, a Long) is as small as the two and travels in registers. This one is for those
// types; the one below manages the value's lifetime for the others.
template <class T, bool = std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>>
struct OutcomeStorage {
  union {
    char none_;
    T value_;
  };
  Long code_;

  constexpr explicit OutcomeStorage(Long code) noexcept : none_(), code_(code) {}
  template <class... A>
  constexpr explicit OutcomeStorage(std::in_place_t, A&&... args) : value_(std::forward<A>(args)...), code_(0) {}
};

template <class T>
struct OutcomeStorage<T, false> {
  union {
    char none_;
    T value_;
  };
  Long code_;

  constexpr explicit OutcomeStorage(Long code) noexcept : none_(), code_(code) {}
  template <class... A>
  constexpr explicit OutcomeStorage(std::in_place_t, A&&... args) : value_(std::forward<A>(args)...), code_(0) {}
  OutcomeStorage(const OutcomeStorage& other) : none_(), code_(other.code_) {
    if (code_ == 0) new (&value_) T(other.value_);
  }
  OutcomeStorage(OutcomeStorage&& other) noexcept(std::is_nothrow_move_constructible_v<T>)
      : none_(), code_(other.code_) {
    if (code_ == 0) new (&value_) T(std::move(other.value_));
  }
  OutcomeStorage& operator=(const OutcomeStorage& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  OutcomeStorage& operator=(OutcomeStorage&& other) noexcept(std::is_nothrow_move_constructible_v<T>) {
    if (this != &other) Assign(std::move(other));
    return *this;
  }
  ~OutcomeStorage() { Clear(); }

 private:
  void Clear() noexcept {
    if (code_ == 0) value_.~T();
  }
  template <class Other>
  void Assign(Other&& other) {
    Clear();
    code_ = other.code_;
    if (code_ == 0) {
      code_ = -1;  // not a value until the new one stands
      new (&value_) T(std::forward<Other>(other).value_);
      code_ = 0;
    }
  }
};

}  // namespace detail

template <class T>
class [[nodiscard]] Outcome {
 public:
  using value_type = T;

  // A success holding a value.
  template <class U = T>
    requires std::is_constructible_v<T, U&&> && (!std::is_same_v<std::remove_cvref_t<U>, Outcome>) &&
             (!std::is_same_v<std::remove_cvref_t<U>, Failure>)
  constexpr Outcome(U&& value) noexcept(std::is_nothrow_constructible_v<T, U&&>)  // NOLINT: implicit
      : storage_(std::in_place, std::forward<U>(value)) {}
  // A failure with its error number. Note: Fail(0) would read as a success, so it becomes -1.
  constexpr Outcome(Failure failure) noexcept  // NOLINT: implicit
      : storage_(failure.code != 0 ? failure.code : -1) {}

  constexpr bool ok() const noexcept { return storage_.code_ == 0; }
  constexpr explicit operator bool() const noexcept { return ok(); }
  // The error number of a failure; 0 for a success.
  constexpr Long error() const noexcept { return storage_.code_; }
  // The failure itself, to pass on: `if (!x) return x.failure();`.
  constexpr Failure failure() const noexcept { return Failure{storage_.code_}; }

  // The value. Note: only for a success.
  constexpr const T& value() const& noexcept { return storage_.value_; }
  constexpr T& value() & noexcept { return storage_.value_; }
  constexpr T&& value() && noexcept { return std::move(storage_.value_); }
  constexpr const T& operator*() const& noexcept { return storage_.value_; }
  constexpr T& operator*() & noexcept { return storage_.value_; }
  constexpr T&& operator*() && noexcept { return std::move(storage_.value_); }
  constexpr const T* operator->() const noexcept { return &storage_.value_; }
  constexpr T* operator->() noexcept { return &storage_.value_; }

  // The value, or `fallback` for a failure.
  template <class U>
  constexpr T value_or(U&& fallback) const& {
    return ok() ? storage_.value_ : static_cast<T>(std::forward<U>(fallback));
  }
  template <class U>
  constexpr T value_or(U&& fallback) && {
    return ok() ? std::move(storage_.value_) : static_cast<T>(std::forward<U>(fallback));
  }

  // The next step on the value: f(T) returns an Outcome; a failure passes through untouched.
  template <class F>
  constexpr auto and_then(F&& f) const& -> std::invoke_result_t<F, const T&> {
    if (!ok()) return failure();
    return std::forward<F>(f)(storage_.value_);
  }
  template <class F>
  constexpr auto and_then(F&& f) && -> std::invoke_result_t<F, T&&> {
    if (!ok()) return failure();
    return std::forward<F>(f)(std::move(storage_.value_));
  }
  // A step on the value that cannot fail: f(T) returns a plain value.
  template <class F>
  constexpr auto transform(F&& f) const& -> Outcome<std::invoke_result_t<F, const T&>> {
    if (!ok()) return failure();
    return std::forward<F>(f)(storage_.value_);
  }

 private:
  detail::OutcomeStorage<T> storage_;
};

// A step that gives no value: it completed, or failed with an error number.
template <>
class [[nodiscard]] Outcome<void> {
 public:
  using value_type = void;

  constexpr Outcome() noexcept = default;
  constexpr Outcome(Failure failure) noexcept : code_(failure.code) {}  // NOLINT: implicit

  constexpr bool ok() const noexcept { return code_ == 0; }
  constexpr explicit operator bool() const noexcept { return ok(); }
  constexpr Long error() const noexcept { return code_; }
  constexpr Failure failure() const noexcept { return Failure{code_}; }

 private:
  Long code_ = 0;
};

// An outcome equals a value when it is a success holding an equal value; it equals a
// Failure with the same error number.
template <class T, class U>
  requires(!std::is_same_v<U, Failure>)
constexpr bool operator==(const Outcome<T>& outcome, const U& value) {
  return outcome.ok() && *outcome == value;
}
template <class T>
constexpr bool operator==(const Outcome<T>& outcome, Failure failure) {
  return outcome.error() == failure.code;
}

using Status = Outcome<void>;

// The success of a step that gives no value: `return Done();`.
constexpr Status Done() noexcept { return Status(); }

}  // namespace ztl

// ZTL_TRY(name, step): runs a step that returns an Outcome; on failure returns that failure
// from the enclosing function, otherwise declares `name` holding the value.
//   ZTL_TRY(x, ToDouble(v));   // then x is a double
#define ZTL_TRY(name, ...)                                   \
  auto ztl_outcome_##name = (__VA_ARGS__);                   \
  if (!ztl_outcome_##name) return ztl_outcome_##name.failure(); \
  auto name = *std::move(ztl_outcome_##name)

// ZTL_CHECK(step): runs a step that returns an Outcome (or Status); on failure returns that
// failure from the enclosing function.
#define ZTL_CHECK(...)                                       \
  do {                                                       \
    if (auto ztl_outcome_ = (__VA_ARGS__); !ztl_outcome_) return ztl_outcome_.failure(); \
  } while (false)
