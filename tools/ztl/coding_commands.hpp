// The byte-stream commands of `ztl`: crc32, ebcdic, rle, cipher and rsa. Each reads a file or
// standard input, takes every byte as the Windows-1252 character of that code, runs one of
// the library's operations and writes the result the same way back to bytes.
#pragma once

#include <span>
#include <string_view>

namespace ztl::cli {

int RunCrc32(std::span<const std::string_view> args);
int RunEbcdic(std::span<const std::string_view> args);
int RunRle(std::span<const std::string_view> args);
int RunCipher(std::span<const std::string_view> args);
int RunRsa(std::span<const std::string_view> args);

// The help of one of these commands, or empty for another name.
std::string_view CodingCommandHelp(std::string_view command);

}  // namespace ztl::cli
