// The `ztl` command's own parsers: `call` (options, targets, ARGs read as JSON or text) and the
// byte tools (options, numbers in every spelling, files and standard input). Every command run
// ends with status 0 and nothing on standard error, or status 2 and one or more lines that
// start "ztl: "; no exception gets out. Beyond that:
// - crc32 with any --poly, --init and --xorout written in any of the documented spellings
//   prints the CRC of a bit-at-a-time reference, or refuses a polynomial without its x^0 term;
// - rle, cipher (any key), rsa (a key pair) and ebcdic give every file back through
//   encode then decode;
// - every line `call --json` prints is a tagged JSON value.
// Arguments naming paths ("/" or "\") are left out, so files are written only in the
// scratch folder the run works in.

#include <algorithm>
#include <charconv>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "coding_commands.hpp"
#include "commands.hpp"
#include "harness.hpp"

namespace {

using Command = int (*)(std::span<const std::string_view>);

struct Run {
  int status = 0;
  std::string out, err;
};

// Writes a file of the scratch folder.
void WriteFile(const char* name, std::string_view bytes) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) fuzz::Fail("cannot write a scratch file");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// Runs one command with standard input reading the file "in" and both output streams captured.
Run RunCommand(Command command, const std::vector<std::string>& words) {
  const std::vector<std::string_view> args(words.begin(), words.end());
  if (std::freopen("in", "rb", stdin) == nullptr) fuzz::Fail("cannot reopen standard input");
  std::ostringstream out, err;
  std::streambuf* const out_was = std::cout.rdbuf(out.rdbuf());
  std::streambuf* const err_was = std::cerr.rdbuf(err.rdbuf());
  Run run;
  bool thrown = false;
  try {
    run.status = command(args);
  } catch (...) {
    thrown = true;
  }
  std::cout.rdbuf(out_was);
  std::cerr.rdbuf(err_was);
  fuzz::Check(!thrown, "a command let an exception out");
  run.out = out.str();
  run.err = err.str();
  fuzz::Check(run.status == 0 || run.status == 2, "exit status other than 0 and 2");
  if (run.status == 0) {
    fuzz::Check(run.err.empty(), "a command that succeeded wrote to standard error");
  } else {
    fuzz::Check(!run.err.empty() && run.err.back() == '\n', "a command that failed said nothing");
    for (std::size_t at = 0; at < run.err.size(); at = run.err.find('\n', at) + 1) {
      if (run.err.compare(at, 5, "ztl: ") != 0) {
        std::fprintf(stderr, "standard error:\n%s", run.err.c_str());
        fuzz::Fail("an error line does not start with \"ztl: \"");
      }
    }
  }
  return run;
}

constexpr Command kCommands[] = {ztl::cli::RunCall, ztl::cli::RunCrc32,  ztl::cli::RunEbcdic,
                                 ztl::cli::RunRle,  ztl::cli::RunCipher, ztl::cli::RunRsa};

// Words the input picks by number, so that short inputs reach the options and the operands.
constexpr std::string_view kWords[] = {
    "in", "-", ".", "missing", "--", "--help", "-h", "--json", "--byref", "--seed", "--seed=7", "--font",
    "--font=fixed-pitch:1", "--poly", "--init", "--xorout", "--key", "--key=", "--exponent", "--modulus", "encode",
    "decode", "compress", "decompress", "keygen", "@hdc", "fixed-pitch:1", "DejaVu Sans:12", "0x82F63B78", "0X",
    "-1", "4294967295", "-2147483648", "2147483648", "+12", "1234", "99663953", "29133137", "33495907", "255",
    "ZtStrings.EllipseText", "ZtNumeric.IsPrime", "ZtStrings.sPrintf", "ZtCollections.Sort", "ZtBits.FileWrite",
    "ZtBits.FileRead", "ZtStack.Push", "ZtDates.Str2Date", "ZtArrays.Max", "ZtRSA.Decode", "ZtNumeric.1", "{\"type\":",
    "{\"type\":\"Long\",\"value\":5}", "[1,2]", "null", "true", "\"5\"", "1e400", "{\"type\":\"Object\",\"value\":1}",
    "{\"type\":\"Array\",\"value\":[{\"type\":\"Date\",\"value\":\"2024-02-29\"}]}"};

// The words of a command line: a byte below 0x80 picks a word; a higher one is followed by a
// text of its low six bits' length. Returns the words; `data` then holds the file's bytes.
std::vector<std::string> Words(const std::uint8_t*& data, std::size_t& size) {
  std::vector<std::string> words;
  const std::size_t count = fuzz::Take<std::uint8_t>(data, size) % 12;
  while (words.size() < count && size > 0) {
    const std::uint8_t b = fuzz::Take<std::uint8_t>(data, size);
    if (b < 0x80) {
      words.emplace_back(kWords[b % std::size(kWords)]);
      continue;
    }
    const std::size_t length = std::min<std::size_t>(b & 0x3F, size);
    std::string text(reinterpret_cast<const char*>(data), length);
    data += length, size -= length;
    text = text.substr(0, text.find('\0'));  // an argument ends at a NUL, as in argv
    if (text.find_first_of("/\\") != std::string::npos) text = "x";
    words.push_back(std::move(text));
  }
  return words;
}

// A 32-bit number in one of the spellings the byte tools document, as "--name value" or
// "--name=value"; nothing for spelling 0 (the option left out).
void Spell(std::vector<std::string>& words, const char* name, std::uint32_t value, unsigned spelling) {
  char text[24];
  switch (spelling % 8) {
    case 0: return;
    case 1: std::snprintf(text, sizeof text, "%u", value); break;
    case 2: std::snprintf(text, sizeof text, "%d", static_cast<std::int32_t>(value)); break;
    case 3: std::snprintf(text, sizeof text, "0x%x", value); break;
    case 4: std::snprintf(text, sizeof text, "0X%08X", value); break;
    case 5: std::snprintf(text, sizeof text, "+%u", value); break;
    default: std::snprintf(text, sizeof text, "%u", value);
  }
  if (spelling % 8 >= 6) {
    words.push_back(std::string(name) + "=" + text);
  } else {
    words.emplace_back(name);
    words.emplace_back(text);
  }
}

void Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t poly = fuzz::Take<std::uint32_t>(data, size), init = fuzz::Take<std::uint32_t>(data, size),
                xorout = fuzz::Take<std::uint32_t>(data, size);
  const auto spelling = fuzz::Take<std::uint16_t>(data, size);
  std::vector<std::string> words;
  Spell(words, "--poly", poly, spelling);
  Spell(words, "--init", init, spelling >> 3);
  Spell(words, "--xorout", xorout, spelling >> 6);
  if (spelling % 8 == 0) poly = 0xEDB88320u;
  if ((spelling >> 3) % 8 == 0) init = 0xFFFFFFFFu;
  if ((spelling >> 6) % 8 == 0) xorout = 0xFFFFFFFFu;
  const bool json = spelling & 0x200;
  if (json) words.emplace_back("--json");
  const int files = (spelling >> 10) % 3;  // standard input, "in", "in" and "-"
  if (files >= 1) words.emplace_back("in");
  if (files == 2) words.emplace_back("-");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  WriteFile("in", bytes);

  const Run run = RunCommand(ztl::cli::RunCrc32, words);
  if (!(poly & 0x80000000u)) {
    fuzz::Check(run.status == 2 && run.out.empty(), "a polynomial without its x^0 term was taken");
    return;
  }
  fuzz::Check(run.status == 0, "crc32 refused a number spelled as documented");
  const std::uint32_t expected = fuzz::ReferenceCrc(poly, init, bytes) ^ xorout;
  std::istringstream lines(run.out);
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    std::string hex = line.substr(0, 8);
    if (json) {
      const auto object = nlohmann::json::parse(line, nullptr, false);
      fuzz::Check(object.is_object() && object.contains("crc32") && object["crc32"].is_string(), "crc32 --json line is no object");
      fuzz::Check(object["long"] == static_cast<std::int32_t>(expected), "crc32 --json \"long\" differs");
      hex = object["crc32"].get<std::string>();
    }
    std::uint32_t printed = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), printed, 16);
    fuzz::Check(hex.size() == 8 && ec == std::errc() && end == hex.data() + 8 && printed == expected,
                "crc32 differs from the bitwise reference");
  }
  fuzz::Check(count == std::max(files, 1), "crc32 printed a line per input");
}

// Encode then decode through one byte tool gives the file back.
void RoundTrip(const std::uint8_t* data, std::size_t size) {
  const auto tool = fuzz::Take<std::uint8_t>(data, size) % 4;
  const auto key = fuzz::Take<std::int32_t>(data, size);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  WriteFile("in", bytes);
  Command command = ztl::cli::RunRle;
  std::vector<std::string> encode{"compress", "in"}, decode{"decompress", "mid"};
  if (tool == 1) {
    command = ztl::cli::RunCipher;
    encode = {"encode", "--key=" + std::to_string(key), "in"};
    decode = {"--key", std::to_string(key), "decode", "mid"};
  } else if (tool == 2) {
    // The key pair of the rsa help, either exponent first.
    command = ztl::cli::RunRsa;
    const std::string e = "99663953", d = "29133137";
    encode = {"encode", "--exponent", key & 1 ? e : d, "--modulus", "33495907", "in"};
    decode = {"decode", "--exponent", key & 1 ? d : e, "--modulus=33495907", "mid"};
  } else if (tool == 3) {
    command = ztl::cli::RunEbcdic;
    encode = {"encode"};  // standard input
    decode = {"decode", "mid"};
  }
  const Run encoded = RunCommand(command, encode);
  fuzz::Check(encoded.status == 0, "encoding a file failed");
  if (tool == 1 || tool == 3) fuzz::Check(encoded.out.size() == bytes.size(), "a byte-for-byte coding changed the length");
  WriteFile("mid", encoded.out);
  const Run decoded = RunCommand(command, decode);
  fuzz::Check(decoded.status == 0 && decoded.out == bytes, "decode(encode(file)) is not the file");
}

}  // namespace

// Files go to a folder of the run's own.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterScratchFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto mode = fuzz::Take<std::uint8_t>(data, size) % 8;
  if (mode == 6) return Crc32(data, size), 0;
  if (mode == 7) return RoundTrip(data, size), 0;
  const std::vector<std::string> words = Words(data, size);
  WriteFile("in", std::string_view(reinterpret_cast<const char*>(data), size));
  const Run run = RunCommand(kCommands[mode], words);
  // --json first is an option; --help anywhere may print the help instead.
  if (mode == 0 && run.status == 0 && !words.empty() && words[0] == "--json" &&
      std::find(words.begin(), words.end(), "--help") == words.end()) {
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
      const auto value = nlohmann::json::parse(line, nullptr, false);
      fuzz::Check(value.is_object() && value.contains("type"), "a line of call --json is no tagged value");
    }
  }
  return 0;
}
