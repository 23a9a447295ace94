// `ztl crc32`, `ztl ebcdic`, `ztl rle`, `ztl cipher` and `ztl rsa`, with their help texts:
// the coding operations applied to files and pipes, byte for character through Windows-1252.
// How inputs are read, streamed or taken whole is in byte_streams.hpp.

#include "coding_commands.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "byte_streams.hpp"
#include "commands.hpp"
#include "output.hpp"
#include "ztldata/coding/crc32.hpp"
#include "ztldata/coding/encryption.hpp"
#include "ztldata/coding/rle.hpp"
#include "ztldata/coding/rsa.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/text/ebcdic.hpp"

namespace ztl::cli {

namespace {

constexpr std::string_view kCrc32Help = R"txt(Usage: ztl crc32 [--poly P] [--init I] [--xorout X] [--json] [FILE...]

Prints the CRC-32 of each FILE (of standard input when none is named, or for '-') in
hexadecimal, computed the way a ZtCRC32 component does: InitCRC32 with the polynomial and
the starting value, AddCRC32 over the bytes, then the final complement that GetCRC32 takes.
Without options this is the standard CRC-32 of gzip and ZIP (CRC-32/ISO-HDLC). Each byte
is fed as the Windows-1252 character of that code, so the CRC is that of the bytes.

Output: one line per input, 8 lowercase hexadecimal digits, then two spaces and the file
name when files are named:
  cbf43926  check.txt

Options:
  --poly P    the generator polynomial, bit-reflected (default 0xEDB88320); 0x82F63B78
              gives CRC-32C. Its top bit, the x^0 term, must be set: 0x04C11DB7, the
              polynomial written the usual way round, is refused
  --init I    the starting register (default 0xFFFFFFFF)
  --xorout X  the value xor-ed into the last register (default 0xFFFFFFFF, the complement
              GetCRC32 takes); 0 for a CRC without a final complement
  --json      one JSON object per input instead:
              {"file":"check.txt","crc32":"cbf43926","long":-873187034}
              ("long": the same 32 bits as the Long the component returns; "-" for
              standard input)
  -h, --help  this text
P, I and X are written in decimal (-1, 4294967295) or in hexadecimal after 0x.

Exit status: 0 on success; 2 for a bad option, and for a file that cannot be read (a
directory, a missing file: one line on standard error; the other files are still
checked); 1 when standard output cannot be written.

Examples:
  printf 123456789 | ztl crc32                      # cbf43926
  printf 123456789 | ztl crc32 --poly 0x82F63B78    # e3069283 (CRC-32C)
  ztl crc32 --json archive.tar notes.txt
)txt";

constexpr std::string_view kEbcdicHelp = R"txt(Usage: ztl ebcdic encode|decode [FILE]

Translates bytes from Windows-1252 to EBCDIC (encode, as ZtStrings.ASCIIToEBCDIC does) or
back (decode, as ZtStrings.EBCDICToASCII does), one byte for one byte. Reads FILE, or
standard input when FILE is left out or '-', and writes standard output, piece by piece as
the input comes: any length, an endless pipe included, takes the same small memory.

Options:
  -h, --help  this text

Exit status: 0 on success; 2 for a bad option or an input that cannot be read; 1 when
standard output cannot be written.

Examples:
  printf 'AZaz09' | ztl ebcdic encode | od -An -tx1    # c1 e9 81 a9 f0 f9
  ztl ebcdic decode record.ebc > record.txt
)txt";

constexpr std::string_view kRleHelp = R"txt(Usage: ztl rle compress|decompress [FILE]

Run-length codes bytes as ZtRLE does (compress) and expands them again (decompress): a run
of 3 to 255 equal bytes becomes the byte, '~' and a byte holding the number of further
copies; runs of one or two bytes stay as they are, and longer runs are cut after 255. A
run of '~' is written as '~', byte 0, '~' and its length, so every input comes back from
decompress. Reads FILE, or standard input when FILE is left out or '-', and writes
standard output, piece by piece as the input comes: any length, an endless pipe included,
takes the same small memory, and the output is that of ZtRLE over the whole input.

An input to decompress that ends with a '~' without its count is cut off: what it holds
is written, then one line on standard error, and the status is 2.

Options:
  -h, --help  this text

Exit status: 0 on success; 2 for a bad option, an input that cannot be read, and a
cut-off input to decompress; 1 when standard output cannot be written.

Examples:
  printf 'aaaaab' | ztl rle compress | od -c    # a ~ 004 b
  ztl rle compress table.txt > table.rle
  ztl rle decompress table.rle > table.txt
)txt";

constexpr std::string_view kCipherHelp = R"txt(Usage: ztl cipher encode|decode --key N [FILE]

Scrambles bytes under a 32-bit key as ZtEncryption.Encode does (encode), or unscrambles
them (decode, ZtEncryption.Decode). The output has as many bytes as the input, and decode
with the same key gives the input back, for every key. Reads FILE, or standard input when
FILE is left out or '-', and writes standard output.

Every output byte depends on the whole input, so the input is held in memory: at most
2147483647 bytes (2 GiB less one); a longer one is refused before it is read past.

Options:
  --key N     the key: a whole number from -2147483648 to 2147483647 (required)
  -h, --help  this text

Exit status: 0 on success; 2 for a bad option, an input that cannot be read and one that
is too long; 3 when the input does not fit in memory; 1 when standard output cannot be
written.

Examples:
  ztl cipher encode --key 1234 notes.txt > notes.enc
  ztl cipher decode --key 1234 notes.enc
)txt";

constexpr std::string_view kRsaHelp = R"txt(Usage: ztl rsa keygen [--json]
       ztl rsa encode|decode --exponent E --modulus N [FILE]

keygen prints a new key set, as a newly placed ZtRSA component generates it:
  PublicKey 33495907      the modulus n, the product of two primes
  PrivateKey1 99663953    the exponent e
  PrivateKey2 29133137    its inverse d
With --json: {"PublicKey":33495907,"PrivateKey1":99663953,"PrivateKey2":29133137}.

encode raises each byte to E modulo N and writes the numbers in decimal, each followed by
'+' (ZtRSA.Encode); decode reads such text and writes the bytes back (ZtRSA.Decode). With
a key set from keygen, encode with PrivateKey1 and decode with PrivateKey2, or the other
way round, both with PublicKey as the modulus. decode ignores one line end at the end of
its input and reads text after the last '+' as a last number; a number that gives no byte
(outside 0..255) is skipped, and an input without any number writes nothing. Reads FILE,
or standard input when FILE is left out or '-', and writes standard output. encode works
piece by piece as the input comes, in the same small memory for any length; decode holds
its whole input, at most 2147483647 bytes (2 GiB less one), and refuses a longer one.

Options:
  --exponent E  the exponent, a private key: a whole number, 1 or more (required)
  --modulus N   the modulus, the public key: a whole number, 256 or more (required;
                a smaller one cannot give every byte a number of its own)
  --json        keygen only: the keys as one JSON object
  -h, --help    this text

Exit status: 0 on success; 2 for a bad option or key, an input that cannot be read, and an
input to decode that is too long; 3 when memory runs out; 1 when standard output cannot be
written.

Examples:
  ztl rsa keygen
  printf hi | ztl rsa encode --exponent 99663953 --modulus 33495907   # 18249366+12614851+
  echo 18249366+12614851+ | ztl rsa decode --exponent 29133137 --modulus 33495907   # hi
)txt";

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

int PrintHelp(std::string_view text) {
  std::cout << text;
  return kExitOk;
}

// The arguments of one command: its operands, the values of its options and its flags.
struct Arguments {
  std::vector<std::string_view> operands;
  std::map<std::string_view, std::string_view> values;
  std::map<std::string_view, bool> flags;
  bool help = false;
};

// Splits the arguments; options are "--name value" or "--name=value", anywhere before "--".
// Reports the first bad option and returns nothing.
std::optional<Arguments> Split(std::span<const std::string_view> args, std::string_view command,
                               std::initializer_list<std::string_view> valued,
                               std::initializer_list<std::string_view> flags) {
  Arguments out;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!options || arg == "-" || arg.empty() || arg[0] != '-') {
      out.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options = false;
    } else if (IsHelp(arg)) {
      out.help = true;
    } else {
      const std::size_t equals = arg.find('=');
      const std::string_view name = arg.substr(0, equals);
      bool known = false;
      for (const std::string_view v : valued) {
        if (name != v) continue;
        known = true;
        if (equals != std::string_view::npos) {
          out.values[v] = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
          out.values[v] = args[++i];
        } else {
          UsageError(std::string(v) + " needs a value (see 'ztl " + std::string(command) + " --help')");
          return std::nullopt;
        }
      }
      for (const std::string_view f : flags) {
        if (arg != f) continue;
        known = true;
        out.flags[f] = true;
      }
      if (!known) {
        UsageError("unknown option '" + std::string(arg) + "' for " + std::string(command) + " (see 'ztl " +
                   std::string(command) + " --help')");
        return std::nullopt;
      }
    }
  }
  return out;
}

// A whole number in decimal with an optional sign, or after 0x in hexadecimal (at most 8
// digits: its bit pattern). `patterns` also admits decimal numbers up to 4294967295 as bit
// patterns, for CRC registers and polynomials.
std::optional<Long> ReadLong(std::string_view text, bool patterns) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint32_t bits = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data() + 2, end, bits, 16);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return static_cast<Long>(bits);
  }
  std::int64_t value = 0;
  const char* begin = text.data() + (text.size() > 1 && text[0] == '+' ? 1 : 0);
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  if (value < -2147483648LL || value > (patterns ? 4294967295LL : 2147483647LL)) return std::nullopt;
  return static_cast<Long>(static_cast<std::uint32_t>(value));
}

// The value of an option read as a Long; `fallback` when it is absent and not required.
std::optional<Long> LongOption(const Arguments& a, std::string_view name, std::string_view command,
                               std::optional<Long> fallback, bool patterns = false) {
  const auto found = a.values.find(name);
  if (found == a.values.end()) {
    if (!fallback) UsageError("missing " + std::string(name) + " (see 'ztl " + std::string(command) + " --help')");
    return fallback;
  }
  const std::optional<Long> value = ReadLong(found->second, patterns);
  if (!value) {
    UsageError(std::string(name) + " needs a whole number" +
               (patterns ? " (decimal, or hexadecimal after 0x)" : " from -2147483648 to 2147483647") + ", not '" +
               std::string(found->second) + "'");
  }
  return value;
}

// The mode (the first operand) and the one FILE of a one-input command, or nothing after
// reporting a missing or unknown mode or a second FILE. `modes` are the names, "|" between.
std::optional<std::pair<std::string_view, std::string_view>> ModeAndFile(const Arguments& a,
                                                                         std::string_view command,
                                                                         std::string_view modes) {
  if (a.operands.empty()) {
    UsageError("usage: ztl " + std::string(command) + " " + std::string(modes) + " [FILE]");
    return std::nullopt;
  }
  const std::string_view mode = a.operands[0];
  bool known = false;
  for (std::string_view rest = modes; !known && !rest.empty();) {
    const std::size_t bar = std::min(rest.find('|'), rest.size());
    known = rest.substr(0, bar) == mode;
    rest.remove_prefix(std::min(bar + 1, rest.size()));
  }
  if (!known) {
    UsageError("'" + std::string(mode) + "' is no mode of " + std::string(command) + ": " + std::string(modes));
    return std::nullopt;
  }
  if (a.operands.size() > 2) {
    UsageError(std::string(command) + " reads one FILE at most");
    return std::nullopt;
  }
  return std::pair{mode, a.operands.size() == 2 ? a.operands[1] : std::string_view("-")};
}

}  // namespace

// ---- crc32 ---------------------------------------------------------------------------------

namespace {

std::string Hex32(std::uint32_t value) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// Every generator polynomial has an x^0 term, the top bit of the bit-reflected form: without it
// the value is no polynomial of this form (0, or one written the usual way round, 0x04C11DB7).
bool CheckPolynomial(std::uint32_t poly) {
  if (poly & 0x80000000u) return true;
  std::uint32_t reflected = 0;
  for (int bit = 0; bit < 32; ++bit) reflected |= ((poly >> bit) & 1u) << (31 - bit);
  std::string message =
      "--poly " + Hex32(poly) + " is no bit-reflected polynomial: its top bit, the x^0 term, is clear";
  if (reflected & 0x80000000u) message += " (reflected, " + Hex32(poly) + " is " + Hex32(reflected) + ")";
  UsageError(message);
  return false;
}

}  // namespace

int RunCrc32(std::span<const std::string_view> args) {
  const auto a = Split(args, "crc32", {"--poly", "--init", "--xorout"}, {"--json"});
  if (!a) return kExitError;
  if (a->help) return PrintHelp(kCrc32Help);
  const auto poly = LongOption(*a, "--poly", "crc32", static_cast<Long>(0xEDB88320u), true);
  const auto init = LongOption(*a, "--init", "crc32", Long{-1}, true);
  const auto xorout = LongOption(*a, "--xorout", "crc32", Long{-1}, true);
  if (!poly || !init || !xorout) return kExitError;
  if (!CheckPolynomial(static_cast<std::uint32_t>(*poly))) return kExitError;
  const bool json = a->flags.count("--json") > 0;
  const bool named = !a->operands.empty();
  std::vector<std::string_view> files = a->operands;
  if (files.empty()) files.push_back("-");

  ZtCRC32 crc;
  int status = kExitOk;
  for (const std::string_view file : files) {
    if (!OutputGood()) break;  // the rest could not be written either
    Input input(file);
    Long r = crc.InitCRC32(*poly, *init);
    // The register runs over the input piece by piece, as a caller feeding AddCRC32 does.
    for (std::string_view piece; !(piece = input.Read()).empty();) r = crc.AddCRC32(AnsiBytesToString(piece), r);
    if (!input.Check()) {
      status = kExitError;
      continue;
    }
    const auto value = static_cast<std::uint32_t>(r) ^ static_cast<std::uint32_t>(*xorout);
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", value);
    if (json) {
      const nlohmann::ordered_json line = {{"file", std::string(file)}, {"crc32", hex}, {"long", static_cast<Long>(value)}};
      std::cout << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    } else if (named) {
      std::cout << hex << "  " << file << '\n';
    } else {
      std::cout << hex << '\n';
    }
  }
  return status;
}

// ---- ebcdic, rle, cipher -------------------------------------------------------------------

int RunEbcdic(std::span<const std::string_view> args) {
  const auto a = Split(args, "ebcdic", {}, {});
  if (!a) return kExitError;
  if (a->help) return PrintHelp(kEbcdicHelp);
  const auto job = ModeAndFile(*a, "ebcdic", "decode|encode");
  if (!job) return kExitError;
  // One byte for one byte, through the table ZtStrings translates with.
  const bool encode = job->first == "encode";
  Input input(job->second);
  return Stream(input, [&](std::string_view piece) {
    std::string out = encode ? AsciiToEbcdicBytes(piece) : EbcdicToAsciiBytes(piece);
    Emit(out);
  });
}

int RunRle(std::span<const std::string_view> args) {
  const auto a = Split(args, "rle", {}, {});
  if (!a) return kExitError;
  if (a->help) return PrintHelp(kRleHelp);
  const auto job = ModeAndFile(*a, "rle", "compress|decompress");
  if (!job) return kExitError;
  Input input(job->second);
  std::string out;
  if (job->first == "compress") {
    RleCompressor packer;
    const int status = Stream(input, [&](std::string_view piece) {
      packer.Add(piece, out);
      Emit(out);
    });
    packer.Finish(out);
    Emit(out);
    return status;
  }
  // A piece of n bytes expands to at most 128 n: small pieces keep the output of each small.
  constexpr std::size_t kSlice = 4096;
  RleExpander expander;
  const int status = Stream(input, [&](std::string_view piece) {
    for (std::size_t at = 0; at < piece.size() && OutputGood(); at += kSlice) {
      expander.Add(piece.substr(at, kSlice), out);
      Emit(out);
    }
  });
  if (!expander.Finish() && status == kExitOk && OutputGood()) {
    return UsageError("'" + input.Name() + "' ends with a '~' without its count: the input is cut off");
  }
  return status;
}

int RunCipher(std::span<const std::string_view> args) {
  const auto a = Split(args, "cipher", {"--key"}, {});
  if (!a) return kExitError;
  if (a->help) return PrintHelp(kCipherHelp);
  const auto key = LongOption(*a, "--key", "cipher", std::nullopt);
  if (!key) return kExitError;
  const auto job = ModeAndFile(*a, "cipher", "decode|encode");
  if (!job) return kExitError;
  // Every byte depends on the whole input: it is read whole and coded in place.
  Input input(job->second);
  std::string data;
  if (const int status = ReadWhole(input, "cipher", data); status != kExitOk) return status;
  const std::span<Byte> codes(reinterpret_cast<Byte*>(data.data()), data.size());
  if (job->first == "encode") {
    CipherEncodeBytes(codes, *key);
  } else {
    CipherDecodeBytes(codes, *key);
  }
  Emit(data);
  return kExitOk;
}

// ---- rsa -----------------------------------------------------------------------------------

namespace {

// A key set drawn as a newly placed component draws it.
int RsaKeygen(const Arguments& a) {
  if (a.operands.size() > 1) return UsageError("rsa keygen takes no FILE");
  Container form;
  const auto rsa = std::dynamic_pointer_cast<ZtRSA>(form.Place(u"ZtRSA"));
  if (!rsa) return UsageError("could not place a ZtRSA component");
  if (a.flags.count("--json")) {
    const nlohmann::ordered_json keys = {
        {"PublicKey", rsa->PublicKey()}, {"PrivateKey1", rsa->PrivateKey1()}, {"PrivateKey2", rsa->PrivateKey2()}};
    std::cout << keys.dump() << '\n';
  } else {
    std::cout << "PublicKey " << rsa->PublicKey() << "\nPrivateKey1 " << rsa->PrivateKey1() << "\nPrivateKey2 "
              << rsa->PrivateKey2() << '\n';
  }
  return kExitOk;
}

// Encode codes each byte on its own, so it streams: the tokens of each piece go out as it is read.
int RsaEncode(Input& input, Long exponent, Long modulus) {
  ZtRSA rsa;
  bool lost = false;
  const int status = Stream(input, [&](std::string_view piece) {
    const Variant code = rsa.Encode(AnsiBytesToString(piece), exponent, modulus);
    const String* text = code.If<String>();
    if (!text) {  // Empty for a piece that is not empty: memory ran out
      lost = true;
      return;
    }
    std::string out = StringToAnsiBytes(*text);
    Emit(out);
  });
  if (lost) return OutOfMemory("rsa encode could not code a piece of its input");
  return status;
}

// Decode reads numbers whose extent depends on their place in the whole text, so it takes the
// input whole.
int RsaDecode(Input& input, Long exponent, Long modulus) {
  String text;
  if (const int status = ReadWhole(input, "rsa decode", text); status != kExitOk) return status;
  // Cipher text never holds a line end: one at the very end is the editor's or echo's, not a
  // token.
  if (!text.empty() && text.back() == u'\n') text.pop_back();
  if (!text.empty() && text.back() == u'\r') text.pop_back();
  // No token at all is no text, not the character of the number 0.
  if (text.find_first_not_of(u" \t") == String::npos) return kExitOk;
  ZtRSA rsa;
  Variant plain = rsa.Decode(text, exponent, modulus);
  String().swap(text);  // the cipher text is done with before its plain text is converted
  const String* decoded = plain.If<String>();
  std::string out = StringToAnsiBytes(decoded ? *decoded : String());
  Emit(out);
  return kExitOk;
}

}  // namespace

int RunRsa(std::span<const std::string_view> args) {
  const auto a = Split(args, "rsa", {"--exponent", "--modulus"}, {"--json"});
  if (!a) return kExitError;
  if (a->help) return PrintHelp(kRsaHelp);
  if (!a->operands.empty() && a->operands[0] == "keygen") return RsaKeygen(*a);
  if (a->flags.count("--json")) return UsageError("--json belongs to rsa keygen");
  std::optional<Long> exponent, modulus;
  if (!a->operands.empty() && (a->operands[0] == "encode" || a->operands[0] == "decode")) {
    exponent = LongOption(*a, "--exponent", "rsa", std::nullopt);
    if (!exponent) return kExitError;
    modulus = LongOption(*a, "--modulus", "rsa", std::nullopt);
    if (!modulus) return kExitError;
    // Keys that cannot code bytes: every byte to 1 (exponent 0), or fewer numbers than bytes.
    if (*exponent < 1) return UsageError("--exponent must be 1 or more, not " + std::to_string(*exponent));
    if (*modulus < 256) {
      return UsageError("--modulus must be 256 or more, so that every byte has a number of its own, not " +
                        std::to_string(*modulus));
    }
  }
  const auto job = ModeAndFile(*a, "rsa", "decode|encode|keygen");
  if (!job) return kExitError;
  Input input(job->second);
  return job->first == "encode" ? RsaEncode(input, *exponent, *modulus) : RsaDecode(input, *exponent, *modulus);
}

std::string_view CodingCommandHelp(std::string_view command) {
  if (command == "crc32") return kCrc32Help;
  if (command == "ebcdic") return kEbcdicHelp;
  if (command == "rle") return kRleHelp;
  if (command == "cipher") return kCipherHelp;
  if (command == "rsa") return kRsaHelp;
  return {};
}

}  // namespace ztl::cli
