// The coding components against their anchors: AddCRC32 over 16 MiB of text against zlib's
// crc32 over the same bytes, PowerMod against a plain uint64_t square-and-multiply with %,
// and the throughput of run-length coding and the keyed cipher over a size sweep (to show
// they are linear), with the average time of GenerateKeys. Prints the time ratios to the
// anchors at the end.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "coding/cipher_passes.hpp"
#include "coding/crc32_engine.hpp"
#include "coding/rsa_math.hpp"
#include "ratio_reporter.hpp"
#include "ztldata/ztldata.hpp"

namespace {

using ztl::String;

constexpr std::size_t kCrcSize = 16u << 20;

// Text as people store it: words, spaces, line ends and now and then a run (a rule of
// dashes, indentation). Below 0x80 unless `accented`, which makes one character in 64 an é.
String SampleText(std::size_t n, bool accented = false) {
  static const char* const kWords[] = {"the", "data", "of", "record", "and", "value", "to", "a", "file", "checksum"};
  std::mt19937 random(1);
  String text;
  text.reserve(n + 64);
  while (text.size() < n) {
    const unsigned pick = random() % 40;
    if (pick == 0) {
      text.append(3 + random() % 40, random() % 2 ? u'-' : u' ');
    } else if (pick == 1) {
      text += u"\r\n";
    } else {
      for (const char* w = kWords[pick % 10]; *w; ++w) text += static_cast<char16_t>(*w);
      text += u' ';
    }
  }
  text.resize(n);
  if (accented) {
    for (std::size_t i = 0; i < n; i += 64) text[i] = u'\u00E9';
  }
  return text;
}

const String& CrcText(bool accented) {
  static const String plain = SampleText(kCrcSize), mixed = SampleText(kCrcSize, true);
  return accented ? mixed : plain;
}

void BM_ZlibCrc32(benchmark::State& state) {
  const String& text = CrcText(false);
  const std::vector<Bytef> bytes(text.begin(), text.end());  // the same bytes
  for (auto _ : state) benchmark::DoNotOptimize(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kCrcSize));
}
BENCHMARK(BM_ZlibCrc32);

void AddCRC32(benchmark::State& state, bool accented) {
  ztl::ZtCRC32 crc;
  const ztl::Long start = crc.InitCRC32(-306674912, -1);
  const String& text = CrcText(accented);
  for (auto _ : state) benchmark::DoNotOptimize(crc.GetCRC32(crc.AddCRC32(text, start)));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kCrcSize));
}
void BM_AddCRC32(benchmark::State& state) { AddCRC32(state, false); }
BENCHMARK(BM_AddCRC32);
// One character in 64 above 0x80: those pieces take the character-by-character path.
void BM_AddCRC32Accented(benchmark::State& state) { AddCRC32(state, true); }
BENCHMARK(BM_AddCRC32Accented);

// For comparison: eight tables, the way without carry-less multiplication.
void BM_CrcSlicingBy8(benchmark::State& state) {
  ztl::coding::CrcEngine engine;
  engine.Build(0xEDB88320u);
  const String& text = CrcText(false);
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        engine.Update(~0u, bytes.data(), bytes.size(), ztl::coding::CrcEngine::Path::kSlicing));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kCrcSize));
}
BENCHMARK(BM_CrcSlicingBy8);

// ---- run-length coding and the cipher: bytes are characters of text ------------------------

template <class Run>
void Throughput(benchmark::State& state, Run run) {
  const String text = SampleText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(run(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Compress(benchmark::State& state) {
  ztl::ZtRLE rle;
  Throughput(state, [&](const String& text) { return rle.Compress(text); });
}
BENCHMARK(BM_Compress)->Range(4 << 10, 4 << 20);

void BM_Decompress(benchmark::State& state) {
  ztl::ZtRLE rle;
  const String packed = rle.Compress(SampleText(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(rle.Decompress(packed));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * state.range(0)));
}
BENCHMARK(BM_Decompress)->Range(4 << 10, 4 << 20);

void BM_Encode(benchmark::State& state) {
  ztl::ZtEncryption cipher;
  Throughput(state, [&](const String& text) { return cipher.Encode(text, 20240607); });
}
BENCHMARK(BM_Encode)->Range(4 << 10, 4 << 20);

void BM_Decode(benchmark::State& state) {
  ztl::ZtEncryption cipher;
  Throughput(state, [&](const String& text) { return cipher.Decode(text, 20240607); });
}
BENCHMARK(BM_Decode)->Range(4 << 10, 4 << 20);

// The cipher's encoding passes over bytes, on each way this processor may run them, against
// the position-at-a-time loops (the anchor) over the same bytes.
void EncodePassesOn(benchmark::State& state, ztl::coding::PassPath path) {
  if (!ztl::coding::CanRun(path)) return state.SkipWithError("this processor cannot run the path");
  const String text = SampleText(static_cast<std::size_t>(state.range(0)));
  std::vector<std::uint8_t> codes(text.begin(), text.end());
  for (auto _ : state) {
    ztl::coding::EncodePasses(codes.data(), codes.size(), 20240607, path);
    benchmark::DoNotOptimize(codes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * codes.size()));
}
constexpr std::int64_t kPassSizes[] = {256, 4 << 10, 256 << 10, 4 << 20};
void BM_EncodePassesLoops(benchmark::State& state) { EncodePassesOn(state, ztl::coding::PassPath::kLoops); }
void BM_EncodePassesPlanes32(benchmark::State& state) { EncodePassesOn(state, ztl::coding::PassPath::kPlanes32); }
void BM_EncodePassesPlanes64(benchmark::State& state) { EncodePassesOn(state, ztl::coding::PassPath::kPlanes64); }
BENCHMARK(BM_EncodePassesLoops)->ArgsProduct({{std::begin(kPassSizes), std::end(kPassSizes)}});
BENCHMARK(BM_EncodePassesPlanes32)->ArgsProduct({{std::begin(kPassSizes), std::end(kPassSizes)}});
BENCHMARK(BM_EncodePassesPlanes64)->ArgsProduct({{std::begin(kPassSizes), std::end(kPassSizes)}});

// ---- RSA -------------------------------------------------------------------------------------

void BM_GenerateKeys(benchmark::State& state) {
  ztl::ZtRSA rsa;
  for (auto _ : state) rsa.GenerateKeys();
}
BENCHMARK(BM_GenerateKeys)->Unit(benchmark::kMillisecond);

struct PowerCase {
  ztl::Long base, exponent, modulus;
};

// Powers as key sets use them: codes or tokens, 24..27-bit exponents, moduli of 10^7..10^8.
const std::vector<PowerCase>& PowerCases() {
  static const std::vector<PowerCase> cases = [] {
    std::mt19937 random(6);
    std::vector<PowerCase> c(1024);
    for (PowerCase& p : c) {
      p.modulus = static_cast<ztl::Long>(16008001 + random() % 78898264);
      p.exponent = static_cast<ztl::Long>(10000000 + random() % 90000000);
      p.base = static_cast<ztl::Long>(random() % 2 ? random() % 256 : random() % p.modulus);
    }
    return c;
  }();
  return cases;
}

std::uint64_t PlainPowerMod(std::uint64_t base, std::uint64_t exponent, std::uint64_t modulus) {
  std::uint64_t result = 1 % modulus;
  base %= modulus;
  while (exponent > 0) {
    if (exponent & 1) result = result * base % modulus;
    base = base * base % modulus;
    exponent >>= 1;
  }
  return result;
}

void BM_PowerModAnchor(benchmark::State& state) {
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (const PowerCase& p : PowerCases()) sum += PlainPowerMod(p.base, p.exponent, p.modulus);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * PowerCases().size()));
}
BENCHMARK(BM_PowerModAnchor);

void BM_PowerMod(benchmark::State& state) {
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (const PowerCase& p : PowerCases()) sum += ztl::coding::PowerMod(p.base, p.exponent, p.modulus);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * PowerCases().size()));
}
BENCHMARK(BM_PowerMod);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // Time ratios: AddCRC32 needs at most 2 (half zlib's throughput or better), PowerMod at
  // most 1.2, the encoding passes on planes below 1 (faster than the loops) from 4 KiB up.
  // The text operations' throughput is the bytes_per_second column (goal 200M/s, the same at
  // every size), GenerateKeys' time the Time column (goal under 10 ms).
  std::vector<std::pair<std::string, std::string>> pairs = {{"BM_AddCRC32", "BM_ZlibCrc32"},
                                                            {"BM_AddCRC32Accented", "BM_ZlibCrc32"},
                                                            {"BM_CrcSlicingBy8", "BM_ZlibCrc32"},
                                                            {"BM_PowerMod", "BM_PowerModAnchor"}};
  for (const char* planes : {"BM_EncodePassesPlanes32/", "BM_EncodePassesPlanes64/"}) {
    for (const std::int64_t size : kPassSizes) {
      pairs.emplace_back(planes + std::to_string(size), "BM_EncodePassesLoops/" + std::to_string(size));
    }
  }
  RatioReporter reporter(pairs);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
