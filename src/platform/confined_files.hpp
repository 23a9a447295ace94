// Opening files by name within the confinement ConfineFiles sets (ztldata/platform/
// file_access.hpp): the two steps a file operation takes, one to read a file, one to find where
// a written file goes. Unconfined, they behave as plain open calls on the path.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "ztldata/base/outcome.hpp"

namespace ztl::platform {

// A file descriptor, closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) noexcept : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  int get() const noexcept { return fd_; }

 private:
  int fd_;
};

// Opens the file `path` names for reading (without blocking on a pipe, closed on exec). Fails
// with 75 (path/file access error) when the confinement refuses the path, and with 53 (file not
// found) when the file cannot be opened.
Outcome<FileDescriptor> OpenForReading(const std::string& path);

// Where a file written in the place of `path` goes: the folder that holds it and its name there
// (the file a symbolic link names, when `path` is one; the link stays), and the permissions of
// the regular file it replaces, if one exists. A writer creates its new file in `folder` and
// renames it to `name`, both relative to the descriptor, so the place cannot move meanwhile.
// Fails with 75 when the confinement refuses the path, when the folder cannot be opened, when a
// link leads nowhere, and when something other than a regular file is in the way.
struct WritePlace {
  FileDescriptor folder;  // opened for use as a directory descriptor only (O_PATH)
  std::string name;
  std::optional<mode_t> mode;
};
Outcome<WritePlace> PlaceForWriting(const std::string& path);

// For tests: resolves confined paths with the check used where the kernel lacks openat2.
void UseResolvedPathCheck(bool on) noexcept;

}  // namespace ztl::platform
