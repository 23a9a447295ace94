// The library's one internal failure type and the helper that runs a step which may fail.
// No Failure ever leaves a public operation: every operation runs its failing steps through
// Attempt and goes on with the next one, returning the value its result holds at the end.
#pragma once

#include <new>
#include <utility>

#include "ztldata/frame/types.hpp"

namespace ztl {

// Error numbers of the platform that steps fail with.
inline constexpr Long kInvalidProcedureCall = 5;
inline constexpr Long kOverflow = 6;
inline constexpr Long kOutOfMemory = 7;
inline constexpr Long kSubscriptOutOfRange = 9;
inline constexpr Long kDivisionByZero = 11;
inline constexpr Long kTypeMismatch = 13;
inline constexpr Long kFileNotFound = 53;
inline constexpr Long kObjectNotSet = 91;
inline constexpr Long kNoSuchMember = 438;

class Failure {
 public:
  explicit Failure(Long code) noexcept : code_(code) {}
  Long code() const noexcept { return code_; }

 private:
  Long code_;
};

[[noreturn]] inline void Fail(Long code) { throw Failure(code); }

// Runs one step. Returns true when it completed, false when it failed; a failed step has
// no effect beyond what it had already done. Running out of memory is a failure too.
template <class Step>
bool Attempt(Step&& step) noexcept {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const Failure&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The error number of a failing step, or 0 when it completed.
template <class Step>
Long AttemptCode(Step&& step) noexcept {
  try {
    std::forward<Step>(step)();
    return 0;
  } catch (const Failure& f) {
    return f.code();
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

}  // namespace ztl
