// The commands of `ztl`: each takes the arguments after its name and returns the exit status.
// Output goes to standard output, one-line errors to standard error.
#pragma once

#include <span>
#include <string_view>

namespace ztl::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 2;  // a usage error, or an error the call reported

int RunList(std::span<const std::string_view> args);
int RunDescribe(std::span<const std::string_view> args);
int RunCall(std::span<const std::string_view> args);
int RunServe(std::span<const std::string_view> args);

// Prints "ztl: MESSAGE" as one line on standard error (control characters in MESSAGE written
// as \n, \r, \t or \xHH) and returns kExitError.
int UsageError(std::string_view message);

}  // namespace ztl::cli
