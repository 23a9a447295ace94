// `ztl crc32`, `ztl ebcdic`, `ztl rle`, `ztl cipher` and `ztl rsa`, run as a user runs them:
// bytes in through files and pipes, bytes out, one-line errors with status 2.

#include <nlohmann/json.hpp>

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run_ztl.hpp"

namespace {

using ztl_cli_test::Lines;
using ztl_cli_test::RunZtl;
using ztl_cli_test::TempFile;

// Every byte value, then text with runs and tildes.
std::string SampleBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  bytes += "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab~~~~~ ~\n\r\n";
  bytes += std::string(700, '\xE9') + std::string(300, '~') + std::string(2, '\0');
  return bytes;
}

TEST(CodingHelp, EveryCommandExplainsItself) {
  for (const std::string command : {"crc32", "ebcdic", "rle", "cipher", "rsa"}) {
    SCOPED_TRACE(command);
    for (const std::vector<std::string>& args : {std::vector<std::string>{command, "--help"},
                                                 std::vector<std::string>{"help", command}}) {
      const auto run = RunZtl(args);
      EXPECT_EQ(run.status, 0);
      EXPECT_EQ(run.out.rfind("Usage: ztl " + command, 0), 0u) << run.out;
      EXPECT_EQ(run.err, "");
    }
  }
}

TEST(CodingHelp, BadArgumentsExitWithTwoAndOneLine) {
  const struct {
    std::vector<std::string> args;
    std::string says;
  } kCases[] = {
      {{"crc32", "--bogus"}, "unknown option '--bogus'"},
      {{"crc32", "--poly"}, "--poly needs a value"},
      {{"crc32", "--poly", "0xG1"}, "--poly needs a whole number"},
      {{"crc32", "--init", "4294967296"}, "--init needs a whole number"},
      {{"crc32", "/no/such/file"}, "cannot read '/no/such/file'"},
      {{"rle"}, "usage: ztl rle"},
      {{"rle", "squeeze"}, "'squeeze' is no mode of rle"},
      {{"rle", "compress", "a", "b"}, "one FILE at most"},
      {{"ebcdic", "encode", "/no/such/file"}, "cannot read"},
      {{"cipher", "encode"}, "missing --key"},
      {{"cipher", "encode", "--key", "2147483648"}, "--key needs a whole number from -2147483648"},
      {{"cipher", "encode", "--key", "12abc"}, "--key needs a whole number"},
      {{"rsa", "encode", "--modulus", "77"}, "missing --exponent"},
      {{"rsa", "decode", "--exponent", "5"}, "missing --modulus"},
      {{"rsa", "keygen", "file"}, "takes no FILE"},
      {{"rsa", "encode", "--json", "--exponent", "1", "--modulus", "2"}, "--json belongs to rsa keygen"},
      // Keys that cannot code bytes: every byte to 1, or fewer numbers than bytes.
      {{"rsa", "decode", "--exponent", "0", "--modulus", "0"}, "--exponent must be 1 or more, not 0"},
      {{"rsa", "encode", "--exponent", "-7", "--modulus", "1000"}, "--exponent must be 1 or more, not -7"},
      {{"rsa", "encode", "--exponent", "7", "--modulus", "255"}, "--modulus must be 256 or more"},
      {{"rsa", "decode", "--exponent", "7", "--modulus", "-33495907"}, "--modulus must be 256 or more"},
      // A reflected polynomial has its top bit, the x^0 term, set.
      {{"crc32", "--poly", "0"}, "--poly 0x00000000 is no bit-reflected polynomial"},
      {{"crc32", "--poly", "0x04C11DB7"}, "(reflected, 0x04C11DB7 is 0xEDB88320)"},
      {{"crc32", "--poly", "0x1EDC6F41"}, "(reflected, 0x1EDC6F41 is 0x82F63B78)"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args[0] + " " + c.says);
    const auto run = RunZtl(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
}

TEST(Crc32, StandardAndOtherReflectedCrcs) {
  const struct {
    std::vector<std::string> options;
    std::string out;
  } kCases[] = {
      {{}, "cbf43926\n"},
      {{"--poly", "0x82F63B78"}, "e3069283\n"},
      {{"--poly=2197175160"}, "e3069283\n"},  // the same polynomial in decimal
      {{"--xorout", "0"}, "340bc6d9\n"},      // CRC-32/JAMCRC
      {{"--init", "0", "--xorout", "0", "--poly", "0xD8018001"}, "6ec2edc4\n"},  // CRC-32/CD-ROM-EDC
  };
  for (const auto& c : kCases) {
    std::vector<std::string> args{"crc32"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto run = RunZtl(args, "123456789");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(Crc32, FilesByNameAndAsJson) {
  const std::string check = TempFile("123456789");
  const std::string empty = TempFile("");
  const auto run = RunZtl({"crc32", check, "-", empty}, "123456789");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "cbf43926  " + check + "\ncbf43926  -\n00000000  " + empty + "\n");

  const auto json = RunZtl({"crc32", "--json", check, "/no/such/file"});
  EXPECT_EQ(json.status, 2);  // the readable file is still checked
  const auto lines = Lines(json.out);
  ASSERT_EQ(lines.size(), 1u);
  const auto value = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(value["file"], check);
  EXPECT_EQ(value["crc32"], "cbf43926");
  EXPECT_EQ(value["long"], -873187034);
}

TEST(ByteTools, RoundTripEveryByte) {
  const std::string bytes = SampleBytes();
  const std::string file = TempFile(bytes);
  const struct {
    std::vector<std::string> there, back;
  } kCases[] = {
      {{"rle", "compress"}, {"rle", "decompress"}},
      {{"cipher", "encode", "--key", "-987654"}, {"cipher", "decode", "--key=-987654"}},
      {{"cipher", "encode", "--key", "0x7FFFFFFF"}, {"cipher", "decode", "--key", "2147483647"}},
      {{"ebcdic", "encode"}, {"ebcdic", "decode"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.there[0] + " " + c.there[1]);
    std::vector<std::string> from_file = c.there;
    from_file.push_back(file);
    const auto there = RunZtl(from_file);
    ASSERT_EQ(there.status, 0) << there.err;
    EXPECT_NE(there.out, bytes);
    const auto back = RunZtl(c.back, there.out);  // through standard input
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, bytes);
  }
}

TEST(ByteTools, KnownOutputs) {
  const struct {
    std::vector<std::string> args;
    std::string in, out;
  } kCases[] = {
      {{"rle", "compress"}, "aaaaab", "a~\x04" "b"},
      {{"rle", "compress"}, "a~", std::string("a~\0~\x01", 5)},
      {{"rle", "decompress"}, "ab~", "ab"},
      {{"rle", "compress"}, "", ""},
      {{"cipher", "encode", "--key", "0"}, "AB", "\xF1\xC8"},
      {{"cipher", "encode", "--key", "5"}, "Q", "Q"},
      {{"rsa", "encode", "--exponent", "1", "--modulus", "1000"}, "abc", "97+98+99+"},
      {{"rsa", "encode", "--exponent", "1", "--modulus", "1000"}, "", ""},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, "97+98+99+\n", "abc"},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, "97+98+99\r\n", "abc"},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, "97+300+98+", "ab"},
      // No token at all is no text, not the byte of the number 0.
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, "", ""},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, "\n", ""},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, " \r\n", ""},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, "0+", std::string(1, '\0')},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.in);
    const auto run = RunZtl(c.args, c.in);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
  const struct {
    const char* mode;
    std::string in, out;
  } kEbcdic[] = {
      {"encode", "AZaz09", "\xC1\xE9\x81\xA9\xF0\xF9"},
      {"encode", std::string("| \0\xA0\xFF", 5), std::string("\x6A\x40\0\x41\xFF", 5)},
      {"decode", "\xC1\x4A\x6A\xE1", "A[|\x9F"},
      {"encode", "", ""},
  };
  for (const auto& c : kEbcdic) {
    SCOPED_TRACE(std::string("ebcdic ") + c.mode + " " + c.in);
    const auto run = RunZtl({"ebcdic", c.mode}, c.in);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(Rsa, GeneratedKeysDecodeWhatTheyEncode) {
  const auto keygen = RunZtl({"rsa", "keygen", "--json"});
  ASSERT_EQ(keygen.status, 0);
  const auto keys = nlohmann::json::parse(keygen.out);
  const std::string n = std::to_string(keys["PublicKey"].get<long>());
  const std::string e = std::to_string(keys["PrivateKey1"].get<long>());
  const std::string d = std::to_string(keys["PrivateKey2"].get<long>());
  const std::string bytes = SampleBytes();
  const auto code = RunZtl({"rsa", "encode", "--exponent", e, "--modulus", n}, bytes);
  ASSERT_EQ(code.status, 0);
  EXPECT_EQ(code.out.find_first_not_of("0123456789+"), std::string::npos);
  const auto back = RunZtl({"rsa", "decode", "--exponent", d, "--modulus", n}, code.out);
  EXPECT_EQ(back.out, bytes);

  const auto text = RunZtl({"rsa", "keygen"});
  const auto lines = Lines(text.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("PublicKey ", 0), 0u);
  EXPECT_EQ(lines[1].rfind("PrivateKey1 ", 0), 0u);
  EXPECT_EQ(lines[2].rfind("PrivateKey2 ", 0), 0u);
}

}  // namespace
