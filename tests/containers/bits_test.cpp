// ZtBits beyond the vector corpus: generated operations against a std::vector<bool> model,
// files checked byte for byte against the format written here and read back, and hostile files
// and paths.

#include "ztldata/containers/bits.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

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
    preserve ? stored.resize(16 * (n / 16 + 1)) : stored.assign(16 * (n / 16 + 1), false);
    count = n;
  }
  bool Get(Long i) const { return i >= 0 && i <= count && stored[i]; }
  void Let(Long i, bool v) { if (i >= 0 && i <= count) stored[i] = v; }
};

// The file: "ZTL", the upper word index (32-bit little-endian), the words (16-bit little-endian,
// bit 0 of a word its least significant bit).
Bytes Header(std::int32_t upper, std::size_t word_bytes = 0, unsigned char fill = 0) {
  Bytes out = {'Z', 'T', 'L'};
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(static_cast<std::uint32_t>(upper) >> (8 * i)));
  out.resize(out.size() + word_bytes, fill);
  return out;
}

Bytes FileOf(const Model& m) {
  Bytes out = Header(static_cast<std::int32_t>(m.stored.size() / 16 - 1), m.stored.size() / 8);
  for (std::size_t i = 0; i < m.stored.size(); ++i) out[7 + i / 8] |= static_cast<unsigned char>(m.stored[i] << (i % 8));
  return out;
}

// Every observable bit of a ZtBits against the model, including a margin outside the range.
void ExpectSame(const ZtBits& bits, const Model& model) {
  ASSERT_EQ(bits.Size(), model.count);
  for (Long i = -2; i <= model.count + 20; ++i) ASSERT_EQ(bits.Bit(i), model.Get(i)) << "bit " << i;
}

// A folder of its own for each test of files, removed afterwards.
class ZtBitsFiles : public testing::Test {
 protected:
  const fs::path dir = fs::temp_directory_path() / ("ztl-bits-" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  String At(const std::string& name) const { return (dir / name).u16string(); }
  Bytes Read(const std::string& name) const {
    return Bytes(std::istreambuf_iterator<char>(std::ifstream(dir / name, std::ios::binary).rdbuf()), {});
  }
  void Write(const std::string& name, const Bytes& b) const {
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  }
};

TEST(ZtBits, MatchesVectorModelOverGeneratedOperations) {
  for (std::uint32_t seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    ZtBits bits;
    Model model;
    for (int step = 0; step < 4000; ++step) {
      const unsigned op = random() % 100;
      const bool v = random() % 3 != 0;  // the bit set, or whether Create keeps the bits
      if (op < 2) {
        const Long n = random() % 8 == 0 ? -static_cast<Long>(random() % 40) - 1 : static_cast<Long>(random() % 3000);
        bits.Create(n, v), model.Create(n, v);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(bits, model));
        continue;
      }
      const Long i = static_cast<Long>(random() % (static_cast<unsigned>(model.count) + 24)) - 3;
      if (op < 60) bits.Bit(i, v), model.Let(i, v);
      ASSERT_EQ(bits.Bit(i), model.Get(i)) << "bit " << i << " at step " << step;
    }
  }
}

// Written files are the format byte for byte; read back by a placed component, they give the
// same bits (the count comes back as 16 x the upper word index).
TEST_F(ZtBitsFiles, AreTheFormatAndRoundTrip) {
  std::mt19937 random(13);
  std::vector<Long> counts = {0, 1, 15, 16, 17, 1000, 1024, 4095, 65539};
  for (int i = 0; i < 20; ++i) counts.push_back(static_cast<Long>(random() % 5000));
  for (const Long count : counts) {
    SCOPED_TRACE(count);
    ZtBits written;
    Model model;
    written.Create(count, false), model.Create(count, false);
    for (Long i = 0, v = 0; i <= count; ++i) v = random() % 3 == 0, written.Bit(i, v), model.Let(i, v);
    ASSERT_TRUE(written.FileWrite(At("bits.ztl")));
    ASSERT_EQ(Read("bits.ztl"), FileOf(model));
    Container form;
    auto read = std::static_pointer_cast<ZtBits>(form.Place(u"ZtBits"));
    ASSERT_TRUE(read->FileRead(At("bits.ztl")));
    model.count = 16 * (count / 16);
    ASSERT_NO_FATAL_FAILURE(ExpectSame(*read, model));
  }
  // Bytes after the words are accepted: earlier programs overwrote files without truncating them.
  Write("long.ztl", {'Z', 'T', 'L', 1, 0, 0, 0, 0x01, 0x00, 0x01, 0x80, 0xEE, 0xEE, 0xEE});
  ZtBits bits;
  ASSERT_TRUE(bits.FileRead(At("long.ztl")));
  EXPECT_EQ(bits.Size(), 16);
  EXPECT_TRUE(bits.Bit(0));
  EXPECT_TRUE(bits.Bit(16));
  EXPECT_FALSE(bits.Bit(1));
  EXPECT_FALSE(bits.Bit(31));  // stored, but out of range
}

TEST_F(ZtBitsFiles, HostileFilesAndPathsFailAndChangeNothing) {
  const Bytes kFiles[] = {
      {}, {'Z', 'T'}, {'Z', 'T', 'L'}, {'Z', 'T', 'L', 0, 0}, Header(0), Header(0, 1),  // cut short
      Header(10, 20, 0xFF),                                                          // fewer words than announced
      Header(-1, 8, 0xFF), Header(INT_MIN, 8, 0xFF), Header(INT_MAX, 8, 0xFF),
      Header(134217728, 8, 0xFF),  // a bit count that overflows a Long
      Header(134217727, 64, 0xFF), {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'},
      {'Z', 'T', 'X', 0, 0, 0, 0, 0, 0}, {'z', 't', 'l', 0, 0, 0, 0, 0, 0},  // another magic, one in lower case
  };
  Write("plain", Header(0, 2));
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::vector<String> paths = {At("plain/x"), At("pipe"), At("plain") + u'\0' + u"x", At("plain") + u'\xD800'};
  for (std::size_t f = 0; f < std::size(kFiles); ++f) {
    Write("hostile" + std::to_string(f), kFiles[f]);
    paths.push_back(At("hostile" + std::to_string(f)));
  }
  for (const String& path : paths) {  // a component with a known state that a failed read leaves alone
    ZtBits bits;
    bits.Create(40, false);
    for (const Long i : {0, 15, 16, 39, 40}) bits.Bit(i, true);
    EXPECT_FALSE(bits.FileRead(path));
    EXPECT_EQ(bits.Size(), 40);
    for (Long i = 0; i <= 40; ++i) EXPECT_EQ(bits.Bit(i), i == 0 || i == 15 || i == 16 || i == 39 || i == 40) << i;
  }
}

TEST_F(ZtBitsFiles, WriteReplacesTheFileOnlyWhenItCan) {
  Write("target.ztl", Bytes(1000, 0xEE));
  const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(dir / "target.ztl", perms);
  fs::create_symlink("target.ztl", dir / "link.ztl");
  ZtBits bits;
  ASSERT_TRUE(bits.FileWrite(At("link.ztl")));  // through the link, keeping its permissions
  EXPECT_TRUE(fs::is_symlink(dir / "link.ztl"));
  EXPECT_EQ(Read("target.ztl").size(), 137u);  // a longer file is cut to the new one
  EXPECT_EQ(fs::status(dir / "target.ztl").permissions() & fs::perms::all, perms);
  ASSERT_TRUE(bits.FileWrite(At("bits-\u00E9\u6F22.ztl")));  // the UTF-8 file name
  // Paths that cannot be written fail and are left as they were; no temporary file stays.
  Write("plain", {1, 2, 3});
  fs::create_directory(dir / "folder");
  fs::create_symlink("nowhere/none", dir / "dangling");
  for (const String& path : {At("folder"), At("missing/bits.ztl"), At("plain/bits.ztl"),
                             At("dangling"), At("bits") + u'\0' + u"x", At("bits") + u'\xDC00'}) {
    EXPECT_FALSE(bits.FileWrite(path));
  }
  EXPECT_EQ(Read("plain"), (Bytes{1, 2, 3}));
  EXPECT_TRUE(fs::is_empty(dir / "folder"));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"bits-\xC3\xA9\xE6\xBC\xA2.ztl", "dangling", "folder", "link.ztl", "plain",
                                          "target.ztl"}));
}

}  // namespace
}  // namespace ztl
