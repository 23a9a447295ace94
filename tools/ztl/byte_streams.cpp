// Reading the byte tools' inputs: pieces through read(2), and whole inputs within the limit.

#include "byte_streams.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <type_traits>

#include "ztldata/platform/code_page.hpp"

namespace ztl::cli {

Input::Input(std::string_view name) : name_(name) {
  fd_ = name == "-" ? STDIN_FILENO : ::open(name_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) error_ = errno;
}

Input::~Input() {
  if (fd_ > STDIN_FILENO) ::close(fd_);
}

std::string_view Input::Read() {
  if (fd_ < 0 || error_) return {};
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kPiece);
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.get(), kPiece);
    if (n >= 0) return {buffer_.get(), static_cast<std::size_t>(n)};
    if (errno != EINTR) break;
  }
  error_ = errno;
  return {};
}

std::optional<std::uint64_t> Input::Size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

bool Input::Check() const {
  if (error_ == 0) return true;
  UsageError("cannot read '" + name_ + "': " + std::strerror(error_));
  return false;
}

void Emit(std::string& out) {
  std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
  std::cout.flush();
  out.clear();
}

namespace {

template <class Text>
int ReadWholeInto(Input& input, std::string_view command, Text& text) {
  auto too_long = [&] {
    return UsageError("'" + input.Name() + "' is too long for " + std::string(command) + ", which takes at most " +
                      std::to_string(kWholeInputLimit) + " bytes (2 GiB less one)");
  };
  const std::optional<std::uint64_t> size = input.Size();
  if (size && *size > kWholeInputLimit) return too_long();
  try {
    if (size) text.reserve(static_cast<std::size_t>(*size));
    for (std::string_view piece; !(piece = input.Read()).empty();) {
      if (text.size() + piece.size() > kWholeInputLimit) return too_long();
      if constexpr (std::is_same_v<Text, String>) {
        text += AnsiBytesToString(piece);
      } else {
        text += piece;
      }
    }
  } catch (const std::bad_alloc&) {
    Text().swap(text);  // what was read goes, so that the message has room
    return OutOfMemory(std::string(command) + " holds its whole input in memory, and '" + input.Name() +
                       "' did not fit");
  }
  return input.Check() ? kExitOk : kExitError;
}

}  // namespace

int ReadWhole(Input& input, std::string_view command, std::string& bytes) {
  return ReadWholeInto(input, command, bytes);
}

int ReadWhole(Input& input, std::string_view command, String& text) { return ReadWholeInto(input, command, text); }

}  // namespace ztl::cli
