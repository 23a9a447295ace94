// ZtToken, ZtStack and ZtBits against the plainest code that does the same job: a
// lookup-table split into string views, a std::deque of Variants, a std::vector<bool>, and
// writing or reading the same bytes with plain system calls. Prints each pair's ratio (the
// file benchmarks also show their wall time, which includes waiting for the disk).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <deque>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "ratio_reporter.hpp"
#include "ztldata/containers/bits.hpp"
#include "ztldata/containers/stack.hpp"
#include "ztldata/containers/token.hpp"

namespace {

namespace fs = std::filesystem;
using ztl::Long;
using ztl::String;
using ztl::Variant;

// ---- ZtToken.Create on 16 Mi characters with the default delimiters --------------------

constexpr std::size_t kTextSize = std::size_t{16} << 20;
const String kDefaultDelimiters = u" ,;:.?\u00A8\u00AD!()&/*+-%[]{}'\"\t\n\r\x1A\u0160\u008D";

// Words of 1 to 10 letters (some beyond ASCII) between one or two delimiters.
const String& Text() {
  static const String text = [] {
    std::mt19937 random(1);
    const std::u16string_view letters = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJ\u00E9\u00FC\u0161\u20AC";
    const std::u16string_view separators = u"      ,.;:-()'\"\n";
    String t;
    t.reserve(kTextSize);
    while (t.size() < kTextSize) {
      for (unsigned n = random() % 10 + 1; n > 0; --n) t += letters[random() % letters.size()];
      for (unsigned n = random() % 4 == 0 ? 2 : 1; n > 0; --n) t += separators[random() % separators.size()];
    }
    t.resize(kTextSize);
    return t;
  }();
  return text;
}

void BM_TokenCreate(benchmark::State& state) {
  ztl::ZtToken token;
  const String& text = Text();
  for (auto _ : state) {
    token.Create(text);
    benchmark::DoNotOptimize(token.Count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize * 2));
}
BENCHMARK(BM_TokenCreate)->Unit(benchmark::kMillisecond);

// The anchor: a table of all 65536 code units and one pass that collects views of the text.
void BM_TokenCreateAnchor(benchmark::State& state) {
  static std::array<bool, 65536> table{};
  for (const char16_t c : kDefaultDelimiters) table[c] = true;
  std::vector<std::u16string_view> tokens;
  const String& text = Text();
  for (auto _ : state) {
    tokens.clear();
    std::size_t i = 0;
    while (i < text.size()) {
      while (i < text.size() && table[text[i]]) ++i;
      const std::size_t begin = i;
      while (i < text.size() && !table[text[i]]) ++i;
      if (i > begin) tokens.emplace_back(text.data() + begin, i - begin);
    }
    benchmark::DoNotOptimize(tokens.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextSize * 2));
}
BENCHMARK(BM_TokenCreateAnchor)->Unit(benchmark::kMillisecond);

// ---- ZtStack: 1,000,000 pushes, then 1,000,000 pops, in either strategy -----------------

constexpr Long kItems = 1'000'000;

void BM_StackPushPop(benchmark::State& state) {
  ztl::ZtStack stack;
  stack.Strategy(static_cast<ztl::ztlStackStrategy>(state.range(0)));
  for (auto _ : state) {
    for (Long i = 0; i < kItems; ++i) stack.Push(i);
    for (Long i = 0; i < kItems; ++i) benchmark::DoNotOptimize(stack.Pop());
  }
}
BENCHMARK(BM_StackPushPop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StackPushPopAnchor(benchmark::State& state) {
  std::deque<Variant> items;
  const bool newest = state.range(0) == 0;
  for (auto _ : state) {
    for (Long i = 0; i < kItems; ++i) items.push_back(i);
    for (Long i = 0; i < kItems; ++i) {
      Variant v = std::move(newest ? items.back() : items.front());
      newest ? items.pop_back() : items.pop_front();
      benchmark::DoNotOptimize(v);
    }
  }
}
BENCHMARK(BM_StackPushPopAnchor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- ZtBits: Bit let and get at random indices of 10^8 bits ---------------------------

constexpr Long kBits = 100'000'000;

const std::vector<Long>& Indices() {
  static const std::vector<Long> indices = [] {
    std::mt19937 random(2);
    std::vector<Long> v(1 << 16);
    for (Long& i : v) i = static_cast<Long>(random() % kBits);
    return v;
  }();
  return indices;
}

void BM_BitsLetGet(benchmark::State& state) {
  ztl::ZtBits bits;
  bits.Create(kBits, false);
  const std::vector<Long>& indices = Indices();
  for (auto _ : state) {
    for (const Long i : indices) bits.Bit(i, !bits.Bit(i));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * Indices().size()));
}
BENCHMARK(BM_BitsLetGet);

void BM_BitsLetGetAnchor(benchmark::State& state) {
  std::vector<bool> bits(kBits + 1);
  const std::vector<Long>& indices = Indices();
  for (auto _ : state) {
    for (const Long i : indices) bits[i] = !bits[i];
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * Indices().size()));
}
BENCHMARK(BM_BitsLetGetAnchor);

// ---- ZtBits: FileWrite and FileRead of 10^8 bits (12.5 MB) ----------------------------

// A folder for the files, removed when the program ends.
struct Folder {
  fs::path path = fs::temp_directory_path() / ("ztl-containers-bench-" + std::to_string(::getpid()));
  Folder() { fs::create_directories(path); }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};
const Folder& Scratch() {
  static const Folder folder;
  return folder;
}

void BM_BitsFileWrite(benchmark::State& state) {
  ztl::ZtBits bits;
  bits.Create(kBits, false);
  for (const Long i : Indices()) bits.Bit(i, true);
  const String file = (Scratch().path / "bits.ztl").u16string();
  for (auto _ : state) {
    if (!bits.FileWrite(file)) state.SkipWithError("FileWrite failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (9 + 2 * (kBits / 16))));
}
BENCHMARK(BM_BitsFileWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// The anchor writes the same bytes durably: open, write, flush to the disk, close.
void BM_BitsFileWriteAnchor(benchmark::State& state) {
  const std::vector<char> bytes(9 + 2 * (kBits / 16), 1);
  const std::string file = (Scratch().path / "anchor.ztl").string();
  for (auto _ : state) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                    ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!ok) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_BitsFileWriteAnchor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BitsFileRead(benchmark::State& state) {
  ztl::ZtBits bits;
  bits.Create(kBits, false);
  const String file = (Scratch().path / "read.ztl").u16string();
  bits.FileWrite(file);
  for (auto _ : state) {
    if (!bits.FileRead(file)) state.SkipWithError("FileRead failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (9 + 2 * (kBits / 16))));
}
BENCHMARK(BM_BitsFileRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// The anchor reads the same file into a buffer it allocates each time, as FileRead does.
void BM_BitsFileReadAnchor(benchmark::State& state) {
  ztl::ZtBits bits;
  bits.Create(kBits, false);
  const fs::path path = Scratch().path / "read-anchor.ztl";
  bits.FileWrite(path.u16string());
  const std::string file = path.string();
  for (auto _ : state) {
    std::vector<char> bytes(static_cast<std::size_t>(fs::file_size(path)));
    const int fd = ::open(file.c_str(), O_RDONLY);
    const bool ok = fd >= 0 && ::read(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (fd >= 0) ::close(fd);
    if (!ok) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
}
BENCHMARK(BM_BitsFileReadAnchor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter({
      {"BM_TokenCreate", "BM_TokenCreateAnchor"},
      {"BM_StackPushPop/0", "BM_StackPushPopAnchor/0"},
      {"BM_StackPushPop/1", "BM_StackPushPopAnchor/1"},
      {"BM_BitsLetGet", "BM_BitsLetGetAnchor"},
      {"BM_BitsFileWrite/real_time", "BM_BitsFileWriteAnchor/real_time"},
      {"BM_BitsFileRead/real_time", "BM_BitsFileReadAnchor/real_time"},
  });
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
