// Bit-array files: the input is a file's content. FileRead of it either fails and leaves the
// bits as they were, or succeeds with exactly the bits the format puts there; then FileWrite
// writes the bytes it read (the fields and words, not what follows them), FileRead of that
// gives the same bits, and writing again gives the same bytes.

#include <unistd.h>

#include <filesystem>
#include <string>

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

namespace {

// A folder of our own, on a memory file system where there is one (writes are flushed to
// disk), with the two files every input reuses; removed at exit.
struct Scratch {
  std::filesystem::path folder;
  Scratch() {
    std::string pattern = std::filesystem::exists("/dev/shm") ? "/dev/shm/ztl-bits-XXXXXX" : "/tmp/ztl-bits-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) fuzz::Fail("no scratch folder");
    folder = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  ztl::String Path(const char* name) const {
    const std::string path = (folder / name).string();
    return ztl::String(path.begin(), path.end());
  }
};

void Put(const ztl::String& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream file(std::string(path.begin(), path.end()), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!file) fuzz::Fail("cannot write the scratch file");
}

std::string Get(const ztl::String& path) {
  std::ifstream file(std::string(path.begin(), path.end()), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Whether the bits hold the given words, bit i in word i / 16 at bit i % 16, for 0..Size.
bool Holds(const ztl::ZtBits& bits, const std::uint8_t* words) {
  for (ztl::Long i = 0; i <= bits.Size(); ++i) {
    const unsigned word = words[2 * (i / 16)] | (words[2 * (i / 16) + 1] << 8);
    if (bits.Bit(i) != (((word >> (i % 16)) & 1) != 0)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Scratch scratch;
  static const ztl::String in = scratch.Path("in.ztl"), out = scratch.Path("out.ztl");
  static ztl::Container form;
  static const auto bits = std::static_pointer_cast<ztl::ZtBits>(form.Place(u"ZtBits"));

  // A known state before each read: 38 bits in three words, bits 3 and 37 set.
  bits->Create(37, false);
  bits->Bit(3, true);
  bits->Bit(37, true);
  static constexpr std::uint8_t kBefore[] = {0x08, 0x00, 0x00, 0x00, 0x20, 0x00};

  Put(in, data, size);
  if (!bits->FileRead(in)) {
    fuzz::Check(bits->Size() == 37 && Holds(*bits, kBefore), "a failed FileRead changed the bits");
    return 0;
  }
  // "ZTL", the upper word index u, then u + 1 words: the file holds at least that much.
  fuzz::Check(size >= 7 && data[0] == 'Z' && data[1] == 'T' && data[2] == 'L', "FileRead took a file without ZTL");
  const auto upper = static_cast<std::int32_t>(data[3] | data[4] << 8 | data[5] << 16 | static_cast<std::uint32_t>(data[6]) << 24);
  fuzz::Check(upper >= 0 && size >= 7 + 2 * (static_cast<std::size_t>(upper) + 1), "FileRead took a short file");
  fuzz::Check(bits->Size() == 16 * upper && Holds(*bits, data + 7), "FileRead gave other bits than the file's");

  const std::size_t length = 7 + 2 * (static_cast<std::size_t>(upper) + 1);
  fuzz::Check(bits->FileWrite(out), "FileWrite failed");
  const std::string written = Get(out);
  fuzz::Check(written == std::string(reinterpret_cast<const char*>(data), length), "FileWrite wrote other bytes");
  bits->Create(5, false);
  fuzz::Check(bits->FileRead(out) && bits->Size() == 16 * upper && Holds(*bits, data + 7), "reread gave other bits");
  fuzz::Check(bits->FileWrite(out) && Get(out) == written, "a second FileWrite differs");
  return 0;
}
