// ZtBits: the interface table of the component, its operations and the bit-array file.

#include "ztldata/containers/bits.hpp"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "platform/confined_files.hpp"
#include "ztldata/platform/utf8.hpp"
#include "ztldata/base/outcome.hpp"

namespace ztl {

namespace {

// The type library holds True as -1.
constexpr ParamInfo kCreate[] = {In("lngBitsSize", Type::Long), Optional("blnPreserve", Type::Boolean, -1)};
constexpr ParamInfo kBitGet[] = {In("lngIndex", Type::Long)};
constexpr ParamInfo kBitLet[] = {In("lngIndex", Type::Long), NewValue(Type::Boolean)};
constexpr ParamInfo kFile[] = {In("strFile", Type::String)};

// Methods and properties are numbered in two series (0x6003xxxx and 0x6803xxxx).
constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtBits::Create>("Create", 0x60030007, kCreate, Type::Void),
    PropertyGet<&ZtBits::Size>("Size", 0x68030001, {}, Type::Long),
    PropertyGet<Pick<Boolean(Long) const noexcept>(&ZtBits::Bit)>("Bit", 0x68030000, kBitGet, Type::Boolean),
    PropertyLet<Pick<void(Long, Boolean) noexcept>(&ZtBits::Bit)>("Bit", 0x68030000, kBitLet),
    Method<&ZtBits::FileRead>("FileRead", 0x60030008, kFile, Type::Boolean),
    Method<&ZtBits::FileWrite>("FileWrite", 0x60030009, kFile, Type::Boolean),
};

// ---- the bit-array file ------------------------------------------------------------------
//
// "ZTL" (3 bytes), the upper bound u of the word array (signed 32-bit little-endian), then
// the u + 1 words (16-bit little-endian each): 9 + 2 u bytes in all.

constexpr unsigned char kMagic[] = {0x5A, 0x54, 0x4C};  // "ZTL"
constexpr std::size_t kHeaderSize = sizeof kMagic + 4;

std::uint32_t LoadLittle32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void StoreLittle32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// The UTF-8 name of a path. A path that no file can have (empty, or holding a NUL) fails, and
// so does one with a lone surrogate, which has no exact UTF-8 form: replacing it would name
// another file.
Outcome<std::string> NativePath(const String& text) {
  if (text.empty()) return Fail(kBadFileName);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0) return Fail(kBadFileName);
    if (StartsSurrogatePair(text, i)) {
      ++i;
    } else if (IsSurrogate(c)) {
      return Fail(kBadFileName);
    }
  }
  return Utf16ToUtf8(text);
}

Status ReadAll(int fd, void* data, std::size_t size) noexcept {
  auto* p = static_cast<unsigned char*>(data);
  while (size > 0) {
    const ssize_t n = ::read(fd, p, std::min<std::size_t>(size, 1u << 30));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(kDeviceIO);
    if (n == 0) return Fail(kInputPastEnd);
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return Done();
}

Status WriteAll(int fd, const void* data, std::size_t size) noexcept {
  const auto* p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, std::min<std::size_t>(size, 1u << 30));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(kDeviceIO);
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return Done();
}

// The words travel little-endian; on a little-endian machine that is their memory image.
Status ReadWords(int fd, std::vector<std::uint16_t>& words) noexcept {
  ZTL_CHECK(ReadAll(fd, words.data(), words.size() * 2));
  if constexpr (std::endian::native != std::endian::little) {
    for (std::uint16_t& w : words) w = static_cast<std::uint16_t>(w >> 8 | w << 8);
  }
  return Done();
}

Status WriteWords(int fd, const std::vector<std::uint16_t>& words) {
  if constexpr (std::endian::native == std::endian::little) {
    return WriteAll(fd, words.data(), words.size() * 2);
  } else {
    std::vector<unsigned char> chunk;
    for (std::size_t at = 0; at < words.size(); at += 32768) {
      const std::size_t end = std::min(words.size(), at + 32768);
      chunk.clear();
      for (std::size_t i = at; i < end; ++i) {
        chunk.push_back(static_cast<unsigned char>(words[i]));
        chunk.push_back(static_cast<unsigned char>(words[i] >> 8));
      }
      ZTL_CHECK(WriteAll(fd, chunk.data(), chunk.size()));
    }
    return Done();
  }
}

// What a bit-array file holds: the upper word index and the words.
struct BitFile {
  std::int32_t upper;
  std::vector<std::uint16_t> words;
};

// Reads a whole bit-array file. Only a regular file has a length to check the size field
// against (a directory, a pipe or a device is refused rather than read); the size field must
// give a word array (upper bound 0 or more), a bit count that a Long holds (16 x upper), and
// words that the file actually contains, before anything is allocated.
Outcome<BitFile> ReadBitFile(const std::string& path) {
  ZTL_TRY(file, platform::OpenForReading(path));
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return Fail(kPathFileAccess);
  const auto length = static_cast<std::uint64_t>(info.st_size);

  unsigned char header[kHeaderSize];
  if (length < kHeaderSize) return Fail(kInputPastEnd);
  ZTL_CHECK(ReadAll(file.get(), header, kHeaderSize));
  if (!std::equal(std::begin(kMagic), std::end(kMagic), header)) return Fail(kBadFileFormat);
  const std::int32_t upper = static_cast<std::int32_t>(LoadLittle32(header + sizeof kMagic));
  if (upper < 0 || upper > std::numeric_limits<Long>::max() / 16) return Fail(kBadFileFormat);
  const std::size_t count = static_cast<std::size_t>(upper) + 1;
  if (length < kHeaderSize + 2 * static_cast<std::uint64_t>(count)) return Fail(kInputPastEnd);

  BitFile contents{upper, std::vector<std::uint16_t>(count)};
  ZTL_CHECK(ReadWords(file.get(), contents.words));
  return contents;
}

// A new file in a folder, removed again unless Commit renames it over its destination. The
// folder is a descriptor, so the file is made and renamed in the folder that was checked.
class TemporaryFile {
 public:
  explicit TemporaryFile(int folder) noexcept : folder_(folder) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd >= 0) ::close(fd);
    if (!name_.empty() && !committed_) ::unlinkat(folder_, name_.c_str(), 0);
  }

  // Creates the file under a name no other file has, trying a few random names. Only a file
  // made here is ever removed.
  Status Open() {
    static std::atomic<std::uint64_t> serial{0};
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
      std::uint64_t salt = 0;
      if (::getrandom(&salt, sizeof salt, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof salt)) salt = 0;
      char name[64];
      std::snprintf(name, sizeof name, ".ztlbits-%ld-%llu-%016llx.tmp", static_cast<long>(::getpid()),
                    static_cast<unsigned long long>(serial++), static_cast<unsigned long long>(salt));
      fd = ::openat(folder_, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) name_ = name;
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return Fail(kPathFileAccess);
    return Done();
  }

  // Flushes the file to the disk and puts it in the place of `destination` (a name in the same
  // folder) in one step, so a reader sees either the old file or the whole new one.
  Status Commit(const std::string& destination) noexcept {
    if (::fsync(fd) != 0) return Fail(kDeviceIO);
    const int f = fd;
    fd = -1;
    if (::close(f) != 0) return Fail(kDeviceIO);
    if (::renameat(folder_, name_.c_str(), folder_, destination.c_str()) != 0) return Fail(kPathFileAccess);
    committed_ = true;
    return Done();
  }

  int fd = -1;

 private:
  int folder_;
  std::string name_;
  bool committed_ = false;
};

// Writes a whole bit-array file in the place of `path`.
Status WriteBitFile(const std::string& path, const std::vector<std::uint16_t>& words) {
  ZTL_TRY(place, platform::PlaceForWriting(path));
  TemporaryFile temporary(place.folder.get());
  ZTL_CHECK(temporary.Open());
  // Keep the permissions of the file being replaced; a new file gets the usual ones.
  if (place.mode) ::fchmod(temporary.fd, *place.mode);

  unsigned char header[kHeaderSize];
  std::copy(std::begin(kMagic), std::end(kMagic), header);
  StoreLittle32(header + sizeof kMagic, static_cast<std::uint32_t>(words.size() - 1));
  ZTL_CHECK(WriteAll(temporary.fd, header, kHeaderSize));
  ZTL_CHECK(WriteWords(temporary.fd, words));
  return temporary.Commit(place.name);
}

}  // namespace

const ClassInfo kZtBitsClass = DefineClass<ZtBits, "ZtBits">(
    ClassKind::Component, {ids::kZtBitsClass, ids::kZtBitsInterface, ids::kZtBitsEvents}, kMembers);

const ClassInfo* ZtBits::Class() const noexcept { return &kZtBitsClass; }

void ZtBits::Initialize() noexcept { Create(1024, false); }

void ZtBits::Create(Long lngBitsSize, Boolean blnPreserve) noexcept {
  // A negative count has no word array; it changes nothing rather than leaving a count that
  // no longer matches the words.
  if (lngBitsSize < 0) return;
  const std::size_t count = static_cast<std::size_t>(lngBitsSize / 16) + 1;
  if (blnPreserve && count == words_.size()) {
    bit_count_ = lngBitsSize;
    return;
  }
  // The new words are made first and replace the old ones only when they exist, so a count
  // that cannot be allocated leaves both the words and the count as they were.
  Guarded([&] {
    std::vector<std::uint16_t> words(count);
    if (blnPreserve) std::copy_n(words_.begin(), std::min(count, words_.size()), words.begin());
    words_.swap(words);
    bit_count_ = lngBitsSize;
  });
}

Long ZtBits::Size() const noexcept { return bit_count_; }

Boolean ZtBits::FileRead(const String& strFile) noexcept {
  return Guarded(Boolean(false), [&] {
    auto contents = NativePath(strFile).and_then(ReadBitFile);
    if (!contents) return false;
    words_.swap(contents->words);
    bit_count_ = 16 * contents->upper;
    return true;
  });
}

Boolean ZtBits::FileWrite(const String& strFile) noexcept {
  return Guarded(Boolean(false), [&] {
    const auto path = NativePath(strFile);
    return path && WriteBitFile(*path, words_).ok();
  });
}

}  // namespace ztl
