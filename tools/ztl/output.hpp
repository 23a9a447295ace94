// Standard output that notices when it cannot be written. Every command writes through
// std::cout; a write that fails (a full disk, a closed descriptor, a broken device) is kept
// with its reason, and the command's end reports it in one line, as coreutils do:
// "ztl: write error: No space left on device", status 1.
#pragma once

#include <string_view>

namespace ztl::cli {

// The exit status of a command whose output could not be written.
inline constexpr int kExitWriteError = 1;
// The exit status of a command that ran out of memory.
inline constexpr int kExitOutOfMemory = 3;
// The exit status of a fault in ztl itself, an exception nothing expected.
inline constexpr int kExitInternalError = 70;

// For the life of the command: std::cout writes through a checked buffer over descriptor 1.
// Descriptors 0, 1 and 2 that the shell closed (`>&-`) are first taken by /dev/null opened
// the other way round, so that a file the command opens never becomes its standard output and
// a write to the closed output fails (EBADF) instead of vanishing.
class StandardOutput {
 public:
  StandardOutput();
  ~StandardOutput();
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;

  // Flushes standard output. When any write failed, prints "ztl: write error: REASON" on
  // standard error and returns kExitWriteError; otherwise returns `status`.
  int Finish(int status);
};

// Whether every write to standard output has succeeded so far (a long command stops early).
bool OutputGood();

// Prints "ztl: out of memory: WHAT" (just "ztl: out of memory" for an empty WHAT) as one line on
// standard error and returns kExitOutOfMemory.
int OutOfMemory(std::string_view what);

}  // namespace ztl::cli
