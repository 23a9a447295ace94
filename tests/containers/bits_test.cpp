// ZtBits: generated operations against a std::vector<bool> model, files checked byte for
// byte against bytes written here from the format, and hostile files and paths.

#include "ztldata/containers/bits.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace ztl {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// The bits as the format sees them: a count, and 16 x (count \ 16 + 1) stored bits of which
// 0..count are addressable.
struct Model {
  Long count = 1024;
  std::vector<bool> stored = std::vector<bool>(16 * 65);

  void Create(Long n, bool preserve) {
    if (n < 0) return;
    std::vector<bool> next(16 * (static_cast<std::size_t>(n) / 16 + 1));
    if (preserve) {
      for (std::size_t i = 0; i < std::min(next.size(), stored.size()); ++i) next[i] = stored[i];
    }
    stored.swap(next);
    count = n;
  }
  bool Get(Long i) const { return i >= 0 && i <= count && stored[static_cast<std::size_t>(i)]; }
  void Let(Long i, bool v) {
    if (i >= 0 && i <= count) stored[static_cast<std::size_t>(i)] = v;
  }
  // The file: "ZTL", the upper word index (32-bit little-endian), the words (16-bit
  // little-endian, bit 0 of a word its least significant bit).
  Bytes File() const {
    const std::size_t words = stored.size() / 16;
    Bytes out = {'Z', 'T', 'L'};
    const auto upper = static_cast<std::uint32_t>(words - 1);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(upper >> (8 * i)));
    for (std::size_t w = 0; w < words; ++w) {
      unsigned value = 0;
      for (unsigned p = 0; p < 16; ++p) value |= static_cast<unsigned>(stored[16 * w + p]) << p;
      out.push_back(static_cast<unsigned char>(value & 0xFF));
      out.push_back(static_cast<unsigned char>(value >> 8));
    }
    return out;
  }
};

// Every observable bit of a ZtBits against the model, including a margin outside the range.
void ExpectSame(const ZtBits& bits, const Model& model) {
  ASSERT_EQ(bits.Size(), model.count);
  for (Long i = -2; i <= model.count + 20; ++i) ASSERT_EQ(bits.Bit(i), model.Get(i)) << "bit " << i;
}

// A folder of its own for each test, removed afterwards.
class Scratch {
 public:
  Scratch() {
    static int serial = 0;
    path_ = fs::temp_directory_path() /
            ("ztl-bits-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  const fs::path& path() const { return path_; }
  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

String Str(const fs::path& p) { return p.u16string(); }

Bytes ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& p, const Bytes& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Header(std::int32_t upper) {
  Bytes out = {'Z', 'T', 'L'};
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(static_cast<std::uint32_t>(upper) >> (8 * i)));
  return out;
}

TEST(ZtBits, NewComponentHolds1025ClearBits) {
  Container form;
  auto bits = std::static_pointer_cast<ZtBits>(form.Place(u"ZtBits"));
  ASSERT_NE(bits, nullptr);
  ExpectSame(*bits, Model());
  EXPECT_FALSE(bits->Bit(1025));
  EXPECT_FALSE(bits->Bit(-1));
}

TEST(Create, ResizesOrKeepsTheWords) {
  const struct {
    const char* name;
    Long count;
    int preserve;  // 1 True, 0 False, -1 left out
    Long size;
    bool bit5;
  } kCases[] = {
      {"preserving keeps a bit that still fits", 100, 1, 100, true},
      {"not preserving clears every bit", 100, 0, 100, false},
      {"preserving is the default", 100, -1, 100, true},
      {"a bit beyond the new words is dropped", 4, 1, 4, false},
      {"the same word count keeps the bits", 1030, 1, 1030, true},
      {"zero bits keep one word", 0, 1, 0, false},
      {"a negative count changes nothing", -1, 0, 1024, true},
      {"minus 16 changes nothing", -16, 1, 1024, true},
      {"the lowest Long changes nothing", INT_MIN, 0, 1024, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ZtBits bits;
    bits.Bit(5, true);
    if (c.preserve < 0) {
      bits.Create(c.count);
    } else {
      bits.Create(c.count, c.preserve == 1);
    }
    EXPECT_EQ(bits.Size(), c.size);
    EXPECT_EQ(bits.Bit(5), c.bit5);
  }
}

TEST(Bit, IndicesRunFromZeroToTheCount) {
  ZtBits bits;
  bits.Create(20, false);
  bits.Bit(20, true);  // word 1 has room for 21..31, but only 20 is addressable
  bits.Bit(21, true);
  EXPECT_TRUE(bits.Bit(20));
  EXPECT_FALSE(bits.Bit(21));
  bits.Create(31);  // the same words: bit 21 was never set
  EXPECT_FALSE(bits.Bit(21));
  EXPECT_TRUE(bits.Bit(20));
}

TEST(Bits, MatchVectorModelOverGeneratedOperations) {
  for (std::uint32_t seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    ZtBits bits;
    Model model;
    for (int step = 0; step < 4000; ++step) {
      const unsigned op = random() % 100;
      if (op < 2) {
        const Long n = random() % 8 == 0 ? -static_cast<Long>(random() % 40) - 1 : static_cast<Long>(random() % 3000);
        const bool preserve = random() % 2 == 0;
        bits.Create(n, preserve);
        model.Create(n, preserve);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(bits, model));
      } else {
        const Long i = static_cast<Long>(random() % (static_cast<unsigned>(model.count) + 24)) - 3;
        if (op < 60) {
          const bool v = random() % 3 != 0;
          bits.Bit(i, v);
          model.Let(i, v);
        }
        ASSERT_EQ(bits.Bit(i), model.Get(i)) << "bit " << i << " at step " << step;
      }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectSame(bits, model));
  }
}

TEST(FileWrite, WritesTheFormatByteForByte) {
  Scratch scratch;
  std::mt19937 random(5);
  const Long kCounts[] = {0, 1, 15, 16, 17, 1000, 1024, 4095, 65539};
  for (const Long count : kCounts) {
    SCOPED_TRACE(count);
    ZtBits bits;
    Model model;
    bits.Create(count, false);
    model.Create(count, false);
    for (Long i = 0; i <= count; ++i) {
      const bool v = random() % 2 == 0;
      bits.Bit(i, v);
      model.Let(i, v);
    }
    const fs::path file = scratch / ("bits-" + std::to_string(count));
    ASSERT_TRUE(bits.FileWrite(Str(file)));
    const Bytes expected = model.File();
    EXPECT_EQ(expected.size(), 9 + 2 * (static_cast<std::size_t>(count) / 16));
    EXPECT_EQ(ReadBytes(file), expected);
  }
}

TEST(FileWrite, NewComponentWrites137Bytes) {
  Scratch scratch;
  ZtBits bits;
  bits.Bit(15, true);  // the top bit of word 0
  ASSERT_TRUE(bits.FileWrite(Str(scratch / "new.ztl")));
  Bytes expected = Header(64);
  expected.resize(137);
  expected[8] = 0x80;
  EXPECT_EQ(ReadBytes(scratch / "new.ztl"), expected);
  EXPECT_FALSE(bits.Bit(14));
}

TEST(FileRead, ReadsHandWrittenFiles) {
  Scratch scratch;
  std::mt19937 random(9);
  for (const std::int32_t upper : {0, 1, 3, 62, 64, 1000}) {
    SCOPED_TRACE(upper);
    Bytes file = Header(upper);
    for (std::int32_t w = 0; w <= upper; ++w) {
      file.push_back(static_cast<unsigned char>(random()));
      file.push_back(static_cast<unsigned char>(random()));
    }
    WriteBytes(scratch / "hand.ztl", file);
    Container form;
    auto bits = std::static_pointer_cast<ZtBits>(form.Place(u"ZtBits"));
    ASSERT_TRUE(bits->FileRead(Str(scratch / "hand.ztl")));
    ASSERT_EQ(bits->Size(), 16 * upper);
    for (Long i = 0; i <= 16 * upper; ++i) {
      const unsigned word = file[7 + 2 * (i / 16)] | file[8 + 2 * (i / 16)] << 8;
      ASSERT_EQ(bits->Bit(i), ((word >> (i % 16)) & 1) != 0) << "bit " << i;
    }
    EXPECT_FALSE(bits->Bit(16 * upper + 1));
  }
}

TEST(FileRead, RoundTripsGeneratedArrays) {
  Scratch scratch;
  std::mt19937 random(13);
  for (int round = 0; round < 25; ++round) {
    const Long count = static_cast<Long>(random() % 5000);
    SCOPED_TRACE(count);
    ZtBits written;
    Model model;
    written.Create(count, false);
    model.Create(count, false);
    for (int k = 0; k < count / 3; ++k) {
      const Long i = static_cast<Long>(random() % (static_cast<unsigned>(count) + 1));
      written.Bit(i, true);
      model.Let(i, true);
    }
    ASSERT_TRUE(written.FileWrite(Str(scratch / "round.ztl")));
    ZtBits read;
    ASSERT_TRUE(read.FileRead(Str(scratch / "round.ztl")));
    // The count comes back as 16 x the upper word index: bits past it are stored but out of range.
    model.count = 16 * (count / 16);
    ASSERT_NO_FATAL_FAILURE(ExpectSame(read, model));
    // Written back, the file is the same.
    ASSERT_TRUE(read.FileWrite(Str(scratch / "again.ztl")));
    EXPECT_EQ(ReadBytes(scratch / "again.ztl"), ReadBytes(scratch / "round.ztl"));
  }
}

TEST(FileRead, ThousandBitsComeBackAs992) {
  Scratch scratch;
  ZtBits written;
  written.Create(1000, false);
  for (const Long i : {0, 7, 991, 992, 993, 1000}) written.Bit(i, true);
  ASSERT_TRUE(written.FileWrite(Str(scratch / "1000.ztl")));
  ZtBits read;
  ASSERT_TRUE(read.FileRead(Str(scratch / "1000.ztl")));
  EXPECT_EQ(read.Size(), 992);
  EXPECT_TRUE(read.Bit(991));
  EXPECT_TRUE(read.Bit(992));
  EXPECT_FALSE(read.Bit(993));  // stored, but out of range
  EXPECT_FALSE(read.Bit(1000));
}

TEST(FileRead, AcceptsBytesAfterTheWords) {
  // Earlier programs overwrote files without truncating them, leaving old bytes at the end.
  Scratch scratch;
  Bytes file = Header(1);
  file.insert(file.end(), {0x01, 0x00, 0x01, 0x80, 0xEE, 0xEE, 0xEE});
  WriteBytes(scratch / "long.ztl", file);
  ZtBits bits;
  ASSERT_TRUE(bits.FileRead(Str(scratch / "long.ztl")));
  EXPECT_EQ(bits.Size(), 16);
  EXPECT_TRUE(bits.Bit(0));
  EXPECT_FALSE(bits.Bit(1));
  EXPECT_TRUE(bits.Bit(16));
  EXPECT_FALSE(bits.Bit(31));  // stored in word 1, but out of range
}

// A component with a known state that a failed read must leave alone.
struct Witness {
  ZtBits bits;
  Witness() {
    bits.Create(40, false);
    for (const Long i : {0, 15, 16, 39, 40}) bits.Bit(i, true);
  }
  void ExpectUnchanged() const {
    EXPECT_EQ(bits.Size(), 40);
    for (Long i = 0; i <= 40; ++i) {
      EXPECT_EQ(bits.Bit(i), i == 0 || i == 15 || i == 16 || i == 39 || i == 40) << "bit " << i;
    }
  }
};

TEST(FileRead, HostileFilesFailAndChangeNothing) {
  const auto with_words = [](std::int32_t upper, std::size_t word_bytes) {
    Bytes b = Header(upper);
    b.resize(b.size() + word_bytes, 0xFF);
    return b;
  };
  const struct {
    const char* name;
    Bytes bytes;
  } kCases[] = {
      {"an empty file", {}},
      {"half a magic", {'Z', 'T'}},
      {"the magic alone", {'Z', 'T', 'L'}},
      {"a short size field", {'Z', 'T', 'L', 0, 0}},
      {"no words", Header(0)},
      {"an odd byte instead of a word", with_words(0, 1)},
      {"fewer words than announced", with_words(10, 20)},
      {"a size field of -1", with_words(-1, 8)},
      {"the lowest size field", with_words(INT_MIN, 8)},
      {"the highest size field", with_words(INT_MAX, 8)},
      {"a size whose bit count overflows a Long", with_words(134217728, 8)},
      {"a size far beyond the file", with_words(134217727, 64)},
      {"another magic", [] { Bytes b = Header(0); b[2] = 'X'; b.resize(9); return b; }()},
      {"a magic in lower case", [] { Bytes b = Header(0); b[0] = 'z'; b[1] = 't'; b[2] = 'l'; b.resize(9); return b; }()},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
  };
  Scratch scratch;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    WriteBytes(scratch / "hostile.ztl", c.bytes);
    Witness w;
    EXPECT_FALSE(w.bits.FileRead(Str(scratch / "hostile.ztl")));
    w.ExpectUnchanged();
  }
}

TEST(FileRead, UnusablePathsFailAndChangeNothing) {
  Scratch scratch;
  WriteBytes(scratch / "plain", {'Z', 'T', 'L', 0, 0, 0, 0, 0, 0});
  fs::create_directory(scratch / "folder");
  ASSERT_EQ(::mkfifo((scratch / "pipe").c_str(), 0600), 0);
  const struct {
    const char* name;
    String path;
  } kCases[] = {
      {"a missing file", Str(scratch / "missing")},
      {"a folder", Str(scratch / "folder")},
      {"a path through a file", Str(scratch / "plain" / "x")},
      {"a pipe", Str(scratch / "pipe")},
      {"a device", u"/dev/zero"},
      {"an empty path", u""},
      {"a NUL inside", Str(scratch / "plain") + u'\0' + u"x"},
      {"a lone surrogate", Str(scratch / "plain") + u'\xD800'},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Witness w;
    EXPECT_FALSE(w.bits.FileRead(c.path));
    w.ExpectUnchanged();
  }
}

TEST(FileWrite, ReplacesALongerFileExactly) {
  Scratch scratch;
  WriteBytes(scratch / "long.ztl", Bytes(1000, 0xEE));
  ZtBits bits;
  ASSERT_TRUE(bits.FileWrite(Str(scratch / "long.ztl")));
  EXPECT_EQ(ReadBytes(scratch / "long.ztl").size(), 137u);
  EXPECT_EQ(scratch.Names(), std::vector<std::string>{"long.ztl"});  // no temporary file left
}

TEST(FileWrite, KeepsPermissionsLinksAndNames) {
  Scratch scratch;
  WriteBytes(scratch / "target.ztl", Bytes(5, 0));
  fs::permissions(scratch / "target.ztl", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("target.ztl", scratch / "link.ztl");
  ZtBits bits;
  ASSERT_TRUE(bits.FileWrite(Str(scratch / "link.ztl")));
  EXPECT_TRUE(fs::is_symlink(scratch / "link.ztl"));
  EXPECT_EQ(ReadBytes(scratch / "target.ztl").size(), 137u);
  EXPECT_EQ(fs::status(scratch / "target.ztl").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A name outside ASCII is the UTF-8 file name.
  ASSERT_TRUE(bits.FileWrite(Str(scratch.path()) + u"/bits-\u00E9\u6F22.ztl"));
  EXPECT_TRUE(fs::exists(scratch / "bits-\xC3\xA9\xE6\xBC\xA2.ztl"));
  EXPECT_EQ(scratch.Names().size(), 3u);
}

TEST(FileWrite, UnwritablePathsFailAndLeaveThemAlone) {
  Scratch scratch;
  WriteBytes(scratch / "plain", {1, 2, 3});
  fs::create_directory(scratch / "folder");
  fs::create_symlink("nowhere/none", scratch / "dangling");
  const struct {
    const char* name;
    String path;
  } kCases[] = {
      {"a folder", Str(scratch / "folder")},
      {"a folder that does not exist", Str(scratch / "missing" / "bits.ztl")},
      {"a path through a file", Str(scratch / "plain" / "bits.ztl")},
      {"a link to nothing", Str(scratch / "dangling")},
      {"a device", u"/dev/null"},
      {"an empty path", u""},
      {"a NUL inside", Str(scratch / "bits") + u'\0' + u"x"},
      {"a lone surrogate", Str(scratch / "bits") + u'\xDC00'},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ZtBits bits;
    EXPECT_FALSE(bits.FileWrite(c.path));
  }
  EXPECT_EQ(ReadBytes(scratch / "plain"), (Bytes{1, 2, 3}));
  EXPECT_TRUE(fs::is_directory(scratch / "folder"));
  EXPECT_TRUE(fs::is_empty(scratch / "folder"));
  EXPECT_TRUE(fs::is_symlink(scratch / "dangling"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(scratch.Names(), (std::vector<std::string>{"dangling", "folder", "plain"}));
}

TEST(FileWrite, FailureLeavesTheOldFileIntact) {
  // A file whose folder takes no new files: the write cannot even begin, and the file stays.
  // /proc refuses new files to every user; a read-only folder refuses them to all but root.
  if (fs::is_regular_file("/proc/version")) {
    const Bytes before = ReadBytes("/proc/version");
    ZtBits bits;
    EXPECT_FALSE(bits.FileWrite(u"/proc/version"));
    EXPECT_EQ(ReadBytes("/proc/version"), before);
  }
  if (::geteuid() != 0) {
    Scratch scratch;
    fs::create_directory(scratch / "locked");
    WriteBytes(scratch / "locked" / "old.ztl", {9, 9, 9});
    fs::permissions(scratch / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    ZtBits bits;
    EXPECT_FALSE(bits.FileWrite(Str(scratch / "locked" / "old.ztl")));
    EXPECT_EQ(ReadBytes(scratch / "locked" / "old.ztl"), (Bytes{9, 9, 9}));
    fs::permissions(scratch / "locked", fs::perms::owner_all);
  }
}

}  // namespace
}  // namespace ztl
