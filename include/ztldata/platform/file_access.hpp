// Confining the files the library opens by name (ZtBits.FileRead and FileWrite) to one folder,
// for a process that opens them on behalf of clients it does not trust, such as `ztl serve`.
// By default nothing is confined: a path reaches every file the process may reach.
//
// Example:
//   ztl::ConfineFiles("/srv/bits");  // from here on, files stay inside /srv/bits
//   bits.FileWrite(u"day1.ztl");     // True: writes /srv/bits/day1.ztl
//   bits.FileWrite(u"../day1.ztl");  // False: leaves the folder; nothing is written
//   ztl::UnconfineFiles();
#pragma once

#include <optional>
#include <string>

namespace ztl {

// Confines the files the library opens by name (ZtBits.FileRead / FileWrite) to the folder
// `root` (process-wide; by default nothing is confined). Returns false, changing nothing, when
// `root` is no existing folder. The root is resolved once, here: a relative root against the
// current folder, links and `..` to its real path. Thread-safe.
//
// While confined, a path is resolved as follows, and refused (the operation fails as it fails on
// any other path it cannot use: False, nothing read or written) unless the file it resolves to
// lies inside the root:
// - A relative path resolves against the root, not the current folder.
// - An absolute path is accepted only when it resolves inside the root.
// A root of "/" lifts the confinement (as UnconfineFiles does): every path is inside it.
// - Every component is resolved: `.`, `..` and symbolic links (a linked folder, and the file
//   itself when it is a link). Where the path ends up is what counts: a link that points out of
//   the root is refused, one that leads back inside (even as an absolute path) is followed.
// - A write goes to a new file in the destination's folder that then replaces the destination
//   (the file a final link names, if it is one), so that folder and that file must both lie
//   inside the root.
// Note: where the kernel offers it (openat2 with RESOLVE_BENEATH, Linux 5.6 and later), it
// resolves each path beneath the root's folder as it opens it, so a folder renamed or
// replaced by a link meanwhile cannot lead outside. Without it, the path is resolved first and
// the resolved path opened; a component swapped between the two steps by someone who can write
// inside the root could then lead outside.
bool ConfineFiles(const std::string& root) noexcept;

// Lifts the confinement: paths reach every file again, relative ones from the current folder.
void UnconfineFiles() noexcept;

// The real path of the confining folder, or nothing when files are not confined.
std::optional<std::string> FileRoot() noexcept;

}  // namespace ztl
