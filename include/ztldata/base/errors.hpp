// The platform's error numbers and their texts: the one list every layer and host uses.
// A step inside the library fails with one of these (see outcome.hpp); a late-bound call
// reports one to its host before an operation runs.
//
// Example:
//   ztl::ErrorText(ztl::kTypeMismatch)  // "Type mismatch"
#pragma once

#include <span>

#include "ztldata/base/types.hpp"

namespace ztl {

inline constexpr Long kInvalidProcedureCall = 5;   // an argument outside what a step accepts
inline constexpr Long kOverflow = 6;               // a value outside its type's range
inline constexpr Long kOutOfMemory = 7;
inline constexpr Long kSubscriptOutOfRange = 9;    // an index outside an array's bounds
inline constexpr Long kDivisionByZero = 11;
inline constexpr Long kTypeMismatch = 13;          // a value that does not convert
inline constexpr Long kBadFileName = 52;           // a file name the system cannot use
inline constexpr Long kFileNotFound = 53;
inline constexpr Long kDeviceIO = 57;              // a read or write the system refused
inline constexpr Long kInputPastEnd = 62;          // a file shorter than its contents say
inline constexpr Long kPathFileAccess = 75;        // a path refused, or not a regular file
inline constexpr Long kBadFileFormat = 321;        // a file not in the expected format
inline constexpr Long kObjectNotSet = 91;          // Nothing where an object is needed
inline constexpr Long kNotCreatable = 429;         // no such class, or one that cannot be created
inline constexpr Long kNoSuchMember = 438;         // no member of that name, id or slot
inline constexpr Long kArgumentNotOptional = 449;  // a required argument left out
inline constexpr Long kArgumentCount = 450;        // too few or too many arguments
inline constexpr Long kKeyInUse = 457;             // a Collection key already taken

struct ErrorInfo {
  Long number;
  const char* text;
};

// Every error number above with the platform's text for it.
std::span<const ErrorInfo> Errors() noexcept;

// The platform's text of an error number ("Type mismatch" for 13); "Automation error" for a
// number the list does not hold.
const char* ErrorText(Long number) noexcept;

}  // namespace ztl
