// The input side of the byte tools (coding_commands.cpp): files and standard input read in
// pieces, streamed through a coder piece by piece, or read whole, within a limit, by the tools
// whose operation needs all of it at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "commands.hpp"
#include "output.hpp"
#include "ztldata/base/types.hpp"

namespace ztl::cli {

// An input opened for reading: standard input for "-". Pieces come as read(2) gives them, so a
// pipe's bytes are worked on as soon as they arrive.
class Input {
 public:
  explicit Input(std::string_view name);
  ~Input();
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  // The next piece, up to 64 KiB, in a buffer the next call reuses; empty at the end or after
  // an error.
  std::string_view Read();
  // The size of a regular file, known before reading it; nothing for a pipe or a device.
  std::optional<std::uint64_t> Size() const;
  const std::string& Name() const { return name_; }
  // Reports a failure to open or read ("ztl: cannot read 'NAME': REASON"); false when there
  // was one.
  bool Check() const;

 private:
  static constexpr std::size_t kPiece = 1 << 16;
  std::string name_;
  int fd_ = -1;
  int error_ = 0;
  std::unique_ptr<char[]> buffer_;  // not cleared: read fills what is used
};

// Writes `out` to standard output now, so that a reader sees each piece as it is done, and
// empties it for the next piece.
void Emit(std::string& out);

// Runs `code` on each piece of the input as it is read; `code` writes its output (Emit) before
// the next piece is read, so memory stays the same for any input length, an endless pipe
// included. A failed write ends the reading at once: the rest could not be written either.
// Returns kExitOk, or kExitError after reporting a read error.
template <class Code>
int Stream(Input& input, Code code) {
  for (std::string_view piece; OutputGood() && !(piece = input.Read()).empty();) code(piece);
  return input.Check() ? kExitOk : kExitError;
}

// The most that the tools holding their whole input take: the operations take a text whose
// length is a Long.
inline constexpr std::uint64_t kWholeInputLimit = 2147483647;

// Reads the whole input into `bytes`, or into `text` as the Windows-1252 characters of its
// bytes, refusing one longer than kWholeInputLimit (status kExitError) before reading past it:
// a regular file by its size, anything else by counting. Running out of memory is reported as
// such (kExitOutOfMemory). `command` names the tool in the messages.
int ReadWhole(Input& input, std::string_view command, std::string& bytes);
int ReadWhole(Input& input, std::string_view command, String& text);

}  // namespace ztl::cli
