// The table behind ErrorText.

#include "ztldata/base/errors.hpp"

namespace ztl {

namespace {
constexpr ErrorInfo kErrors[] = {
    {kInvalidProcedureCall, "Invalid procedure call or argument"},
    {kOverflow, "Overflow"},
    {kOutOfMemory, "Out of memory"},
    {kSubscriptOutOfRange, "Subscript out of range"},
    {kDivisionByZero, "Division by zero"},
    {kTypeMismatch, "Type mismatch"},
    {kBadFileName, "Bad file name or number"},
    {kFileNotFound, "File not found"},
    {kDeviceIO, "Device I/O error"},
    {kInputPastEnd, "Input past end of file"},
    {kPathFileAccess, "Path/File access error"},
    {kBadFileFormat, "Invalid file format"},
    {kObjectNotSet, "Object variable not set"},
    {kNotCreatable, "ActiveX component can't create object"},
    {kNoSuchMember, "Object doesn't support this property or method"},
    {kArgumentNotOptional, "Argument not optional"},
    {kArgumentCount, "Wrong number of arguments or invalid property assignment"},
    {kKeyInUse, "This key is already associated with an element of this collection"},
};
}  // namespace

std::span<const ErrorInfo> Errors() noexcept { return kErrors; }

const char* ErrorText(Long number) noexcept {
  for (const ErrorInfo& e : kErrors) {
    if (e.number == number) return e.text;
  }
  return "Automation error";
}

}  // namespace ztl
