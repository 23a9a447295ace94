// Shared pieces of the property harnesses: reading fuzz input as text, reporting a broken
// property, a reference CRC-32, and the replay main() that stands in for libFuzzer under
// other compilers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "ztldata/base/types.hpp"

namespace fuzz {

// Stops the run with a one-line reason; libFuzzer reports the abort and saves the input.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

// The bytes as UTF-16 code units, two bytes each (low byte first), so that NUL and lone
// surrogates occur; an odd last byte is a code unit of its own.
inline ztl::String Utf16(const std::uint8_t* data, std::size_t size) {
  ztl::String text((size + 1) / 2, u'\0');
  for (std::size_t i = 0; i < size; ++i) text[i / 2] |= static_cast<char16_t>(data[i] << (i % 2 * 8));
  return text;
}

// One byte through a reflected CRC-32 register, a bit at a time: no table, no slicing, no
// folding.
inline std::uint32_t CrcStep(std::uint32_t polynomial, std::uint32_t crc, std::uint8_t byte) {
  crc ^= byte;
  for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ polynomial : crc >> 1;
  return crc;
}

// The register after `bytes`, a byte at a time through a table made of those bit steps.
inline std::uint32_t ReferenceCrc(std::uint32_t polynomial, std::uint32_t crc, std::string_view bytes) {
  std::uint32_t table[256];
  for (std::uint32_t i = 0; i < 256; ++i) table[i] = CrcStep(polynomial, i, 0);
  for (const char b : bytes) crc = (crc >> 8) ^ table[(crc ^ static_cast<std::uint8_t>(b)) & 0xFF];
  return crc;
}

// The first bytes as a little-endian integer of type T; zero where the input is short.
template <class T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    if (size > 0) {
      v |= static_cast<std::uint64_t>(*data++) << (8 * i);
      --size;
    }
  }
  return static_cast<T>(v);
}

}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// A harness that needs setting up (a working folder of its own) defines this; libFuzzer calls
// it once before the first input, and so does the replay main() below.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fuzz {

// Moves the process into a fresh folder, for harnesses that write files under names taken
// from the input: in memory (/dev/shm) where there is one, since a harness may rewrite a file
// for every input, else under /tmp. The folder is removed when the run ends normally.
inline void EnterScratchFolder() {
  static std::string folder;
  for (const char* base : {"/dev/shm", "/tmp"}) {
    folder = std::string(base) + "/ztl-fuzz-XXXXXX";
    if (mkdtemp(folder.data()) != nullptr && chdir(folder.c_str()) == 0) {
      std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
      });
      return;
    }
  }
  Fail("no scratch folder");
}

}  // namespace fuzz

#ifndef ZTL_LIBFUZZER
// Replays the files named on the command line (named before any setup changes the folder).
int main(int argc, char** argv) {
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) paths.push_back(std::filesystem::absolute(argv[i]).string());
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  for (const std::string& path : paths) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu input(s)\n", paths.size());
  return 0;
}
#endif
