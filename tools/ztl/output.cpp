// The checked standard output: a stream buffer over descriptor 1 that keeps the first error;
// and the report of running out of memory.

#include "output.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <streambuf>

namespace ztl::cli {

namespace {

// Buffers output for descriptor 1 and writes it with write(2), so that the reason of a failure
// is the errno of the write that failed. After a failure every later write fails at once.
class CheckedBuffer : public std::streambuf {
 public:
  CheckedBuffer() { setp(buffer_, buffer_ + sizeof buffer_); }
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }

  // A piece larger than the buffer goes out directly, after what is buffered.
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    if (size <= epptr() - pptr()) {
      std::memcpy(pptr(), data, static_cast<std::size_t>(size));
      pbump(static_cast<int>(size));
      return size;
    }
    if (!Drain() || !WriteAll(data, static_cast<std::size_t>(size))) return 0;
    return size;
  }

  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    const bool written = WriteAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_, buffer_ + sizeof buffer_);
    return written;
  }

  bool WriteAll(const char* data, std::size_t size) {
    while (size > 0 && error_ == 0) {
      const ssize_t n = ::write(STDOUT_FILENO, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error_ = n < 0 ? errno : EIO;
        break;
      }
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return error_ == 0;
  }

  char buffer_[1 << 16];
  int error_ = 0;
};

std::unique_ptr<CheckedBuffer> active;
std::streambuf* original = nullptr;

// Gives a closed standard descriptor to /dev/null, opened so that using it fails.
void Reserve(int fd, int flags) {
  if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) return;
  const int opened = ::open("/dev/null", flags);
  if (opened >= 0 && opened != fd) {
    ::dup2(opened, fd);
    ::close(opened);
  }
}

}  // namespace

StandardOutput::StandardOutput() {
  Reserve(STDIN_FILENO, O_WRONLY);
  Reserve(STDOUT_FILENO, O_RDONLY);
  Reserve(STDERR_FILENO, O_RDONLY);
  active = std::make_unique<CheckedBuffer>();
  original = std::cout.rdbuf(active.get());
}

StandardOutput::~StandardOutput() {
  std::cout.flush();
  std::cout.rdbuf(original);
  active.reset();
}

int StandardOutput::Finish(int status) {
  std::cout.flush();
  if (active->error() == 0) return status;
  std::cerr << "ztl: write error: " << std::strerror(active->error()) << '\n';
  return kExitWriteError;
}

bool OutputGood() { return active == nullptr || active->error() == 0; }

int OutOfMemory(std::string_view what) {
  // Written without building a string: there may be no memory for one.
  std::cerr << "ztl: out of memory";
  if (!what.empty()) std::cerr << ": " << what;
  std::cerr << '\n';
  return kExitOutOfMemory;
}

}  // namespace ztl::cli
