// The confinement of files opened by name: the root folder, held open as a descriptor, and the
// resolution of paths beneath it. The kernel resolves beneath the root where it can (openat2
// with RESOLVE_BENEATH); elsewhere realpath resolves the path and the result is checked, which
// leaves a window between the check and the open (see the public header).

#include "platform/confined_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>

#if __has_include(<linux/openat2.h>)
#include <linux/openat2.h>
#endif

#include "ztldata/base/errors.hpp"
#include "ztldata/platform/file_access.hpp"

namespace ztl::platform {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

namespace {

// The confining folder: its real path (no trailing slash, except for "/") and the folder itself.
struct Root {
  std::string path;
  FileDescriptor folder;
};

// The current root, replaced as a whole: an operation keeps the one it started with (and its
// descriptor open) even when the confinement changes meanwhile.
std::mutex g_root_mutex;
std::shared_ptr<const Root> g_root;

std::atomic<bool> g_resolved_path_check{false};  // tests ask for it; a kernel without openat2 too

std::optional<std::string> RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

// The current root, or none when files are not confined.
std::shared_ptr<const Root> CurrentRoot() noexcept {
  const std::lock_guard lock(g_root_mutex);
  return g_root;
}

// Whether a real path is the root or lies beneath it.
bool IsWithin(const Root& root, const std::string& real) {
  return real.starts_with(root.path) && (real.size() == root.path.size() || real[root.path.size()] == '/');
}

// What follows the root in a path that IsWithin it, as a relative path ("." for the root).
std::string AfterRoot(const Root& root, const std::string& path) {
  const std::size_t start = path.find_first_not_of('/', root.path.size());
  return start == std::string::npos ? std::string(".") : path.substr(start);
}

// `path` as a path relative to the root, still to be resolved beneath it. A relative path is
// one already. An absolute path is taken as written when it begins with the root's path, and
// otherwise by its real path (or that of its folder, for a file still to be made), so a path
// that reaches the root through a link to it is accepted too.
Outcome<std::string> RelativeToRoot(const Root& root, const std::string& path) {
  if (path.empty()) return Fail(kFileNotFound);
  if (path.front() != '/') return path;
  if (IsWithin(root, path)) return AfterRoot(root, path);
  auto real = RealPath(path);
  if (!real) {
    const std::size_t slash = path.find_last_of('/');
    real = RealPath(slash == 0 ? std::string("/") : path.substr(0, slash));
    if (real) *real += path.substr(slash);
  }
  if (!real || !IsWithin(root, *real)) return Fail(kPathFileAccess);
  return AfterRoot(root, *real);
}

// openat2 beneath the root's folder: -1 with errno set on failure, ENOSYS where the kernel (or
// a sandbox's filter) lacks the call.
int OpenBeneathByKernel(const Root& root, const std::string& relative, int flags) noexcept {
#if defined(SYS_openat2) && defined(RESOLVE_BENEATH)
  open_how how{};
  how.flags = static_cast<std::uint64_t>(flags);
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  // EAGAIN: a rename elsewhere raced a ".." step, and the kernel asks for a new walk.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const long fd = ::syscall(SYS_openat2, root.folder.get(), relative.c_str(), &how, sizeof how);
    if (fd >= 0) return static_cast<int>(fd);
    if (errno != EAGAIN && errno != EINTR) return -1;
  }
  return -1;
#else
  errno = ENOSYS;
  return -1;
#endif
}

// Opens `relative` beneath the root: the file it resolves to, after every ".." and every link,
// must lie inside the root. Fails with 75 when it does not, and with 53 when there is no such
// file or it cannot be opened.
Outcome<FileDescriptor> OpenBeneath(const Root& root, const std::string& relative, int flags) {
  if (!g_resolved_path_check.load(std::memory_order_relaxed)) {
    int fd = OpenBeneathByKernel(root, relative, flags);
    if (fd < 0 && errno == EXDEV) {
      // The kernel refuses every absolute link and every ".." above the root, even one that
      // leads back inside. The path resolved (links expanded) is tried once more, beneath the
      // root again, so whatever changes meanwhile still cannot lead outside.
      const auto real = RealPath(root.path + "/" + relative);
      if (!real || !IsWithin(root, *real)) return Fail(kPathFileAccess);
      fd = OpenBeneathByKernel(root, AfterRoot(root, *real), flags);
    }
    if (fd >= 0) return FileDescriptor(fd);
    if (errno == EXDEV || errno == EAGAIN) return Fail(kPathFileAccess);
    // ENOSYS: the kernel lacks the call, for good. EPERM: a sandbox's filter may refuse it; the
    // check below then decides (and fails as well where the open itself is not permitted).
    if (errno != ENOSYS && errno != EPERM) return Fail(kFileNotFound);
    if (errno == ENOSYS) g_resolved_path_check.store(true, std::memory_order_relaxed);
  }
  // The resolved path is checked, then opened without following a link in its last component.
  const auto real = RealPath(root.path + "/" + relative);
  if (!real) return Fail(kFileNotFound);
  if (!IsWithin(root, *real)) return Fail(kPathFileAccess);
  const int fd = ::open(real->c_str(), flags | O_NOFOLLOW);
  if (fd < 0) return Fail(kFileNotFound);
  return FileDescriptor(fd);
}

// Opens what `path` names, beneath the root when there is one and as the path says otherwise.
Outcome<FileDescriptor> Open(const Root* root, const std::string& path, int flags) {
  if (root) return OpenBeneath(*root, path, flags);
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) return Fail(kFileNotFound);
  return FileDescriptor(fd);
}

// The folder of a path (relative to the root when there is one) opened, and the file's name in
// it. A name that is no file's name ("", ".", "..") is refused.
Outcome<WritePlace> OpenPlace(const Root* root, const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  WritePlace place;
  place.name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (place.name.empty() || place.name == "." || place.name == "..") return Fail(kPathFileAccess);
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  auto opened = Open(root, folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (!opened) return Fail(kPathFileAccess);
  place.folder = *std::move(opened);
  return place;
}

// Where a path is resolved: beneath the root it is taken relative to, or as the path says
// when there is no root to resolve beneath.
struct Located {
  std::shared_ptr<const Root> root;
  std::string path;
};

// A path under the current confinement. A root of "/" confines nothing, so there the path is
// only taken from "/" and otherwise resolved as written (".." above "/" stays "/", which
// resolving beneath a folder would refuse).
Outcome<Located> Locate(const std::string& path) {
  auto root = CurrentRoot();
  if (!root) return Located{nullptr, path};
  if (root->path == "/") return Located{nullptr, path.starts_with('/') ? path : "/" + path};
  ZTL_TRY(relative, RelativeToRoot(*root, path));
  return Located{std::move(root), std::move(relative)};
}

}  // namespace

Outcome<FileDescriptor> OpenForReading(const std::string& path) {
  ZTL_TRY(at, Locate(path));
  return Open(at.root.get(), at.path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

Outcome<WritePlace> PlaceForWriting(const std::string& path) {
  ZTL_TRY(at, Locate(path));
  const Root* root = at.root.get();
  const std::string& relative = at.path;
  ZTL_TRY(place, OpenPlace(root, relative));
  struct stat info {};
  if (::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) return Fail(kPathFileAccess);
    return place;  // a new file
  }
  if (S_ISLNK(info.st_mode)) {
    // The file the link names, wherever the link leads; a link to nothing is refused, as is
    // one that leads out of the root. The place found is opened anew, beneath the root again.
    auto target = RealPath(root ? root->path + "/" + relative : relative);
    if (!target) return Fail(kPathFileAccess);
    if (root) {
      if (!IsWithin(*root, *target)) return Fail(kPathFileAccess);
      *target = AfterRoot(*root, *target);
    }
    ZTL_TRY(linked, OpenPlace(root, *target));
    place = std::move(linked);
    if (::fstatat(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      return Fail(kPathFileAccess);
    }
  }
  // Only a regular file is replaced; a folder, a device or a link is never renamed over.
  if (!S_ISREG(info.st_mode)) return Fail(kPathFileAccess);
  place.mode = info.st_mode & 07777;
  return place;
}

void UseResolvedPathCheck(bool on) noexcept { g_resolved_path_check.store(on, std::memory_order_relaxed); }

}  // namespace ztl::platform

namespace ztl {

bool ConfineFiles(const std::string& root) noexcept {
  try {
    if (root.empty()) return false;
    auto real = platform::RealPath(root);
    if (!real) return false;
    platform::FileDescriptor folder(::open(real->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return false;
    // Every file lies inside "/": confining to it is no confinement, and relative paths keep
    // starting from the current folder.
    if (*real == "/") {
      UnconfineFiles();
      return true;
    }
    // The root replaced is released after the lock, as the last operation using it finishes.
    std::shared_ptr<const platform::Root> made =
        std::make_shared<const platform::Root>(platform::Root{std::move(*real), std::move(folder)});
    const std::lock_guard lock(platform::g_root_mutex);
    made.swap(platform::g_root);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void UnconfineFiles() noexcept {
  std::shared_ptr<const platform::Root> old;  // released after the lock
  const std::lock_guard lock(platform::g_root_mutex);
  old.swap(platform::g_root);
}

std::optional<std::string> FileRoot() noexcept {
  std::shared_ptr<const platform::Root> root;
  {
    const std::lock_guard lock(platform::g_root_mutex);
    root = platform::g_root;
  }
  try {
    if (root) return root->path;
  } catch (const std::bad_alloc&) {
  }
  return std::nullopt;
}

}  // namespace ztl
