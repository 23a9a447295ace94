// Every command with an output that cannot be written (a full disk, a closed descriptor) and
// with an input that cannot be read: one line on standard error and a status that says so.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "run_ztl.hpp"
#include "ztldata/frame/resources.hpp"

namespace {

using ztl_cli_test::Lines;
using ztl_cli_test::Output;
using ztl_cli_test::RunZtl;

std::string Join(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& a : args) text += (text.empty() ? "" : " ") + a;
  return text;
}

const std::string kRequest = R"({"jsonrpc":"2.0","id":1,"method":"describe","params":{"class":"ZtNumeric"}})";

TEST(WriteErrors, EveryCommandReportsThemAndExitsWithOne) {
  // More than the command's output buffer holds, so that writes fail before the last flush.
  const std::string big(300000, 'a');
  const struct {
    std::vector<std::string> args;
    std::string input;
  } kCases[] = {
      {{"cipher", "encode", "--key", "5"}, "some text"},
      {{"cipher", "decode", "--key", "5"}, big},
      {{"rle", "compress"}, "aaaaab"},
      {{"rle", "decompress"}, big},
      {{"ebcdic", "encode"}, "AZ"},
      {{"ebcdic", "decode"}, big},
      {{"rsa", "encode", "--exponent", "7", "--modulus", "1000"}, "hi"},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000"}, "97+"},
      {{"rsa", "keygen"}, ""},
      {{"crc32"}, "123456789"},
      {{"crc32", "--json", "-"}, "123456789"},
      {{"call", "ZtNumeric.Factorial", "10"}, ""},
      {{"call", "--json", "--byref", "ZtStrings.Expand", "abc"}, ""},
      {{"describe", "ZtStrings"}, ""},
      {{"list"}, ""},
      {{"serve"}, kRequest + "\n" + kRequest + "\n"},
      {{"help"}, ""},
      {{"--help"}, ""},
      {{"help", "rsa"}, ""},
      {{"call", "--help"}, ""},
      {{"--version"}, ""},
  };
  const struct {
    Output out;
    std::string error;
  } kOutputs[] = {
      {Output::kFull, "ztl: write error: No space left on device\n"},
      {Output::kClosed, "ztl: write error: Bad file descriptor\n"},
  };
  for (const auto& output : kOutputs) {
    for (const auto& c : kCases) {
      SCOPED_TRACE(Join(c.args) + (output.out == Output::kFull ? " > /dev/full" : " >&-"));
      const auto run = RunZtl(c.args, c.input, {output.out, ""});
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.err, output.error);
    }
  }
}

TEST(WriteErrors, AClosedOutputIsReportedAndTheFilesWrittenStayWhole) {
  // The picture files are opened while descriptor 1 is closed; none may take its place.
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "ztl-closed-output-test";
  std::filesystem::remove_all(folder);
  const auto run = RunZtl({"resources", "export", folder.string()}, "", {Output::kClosed, ""});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ztl: write error: Bad file descriptor\n");
  for (const ztl::ResourceFile& file : ztl::ResourceFiles()) {
    EXPECT_EQ(ztl_cli_test::ReadAll((folder / std::string(file.name)).string()),
              std::string(file.bytes.begin(), file.bytes.end()))
        << file.name;
  }
  std::filesystem::remove_all(folder);
}

TEST(ReadErrors, AFolderOrAnUnreadableInputIsAnError) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  const struct {
    std::vector<std::string> args;
    bool folder_as_input;  // the folder is standard input rather than an argument
    std::string says;
  } kCases[] = {
      {{"serve"}, true, "ztl: cannot read standard input: Is a directory"},
      {{"crc32"}, true, "ztl: cannot read '-': Is a directory"},
      {{"crc32", folder}, false, "ztl: cannot read '" + folder + "': Is a directory"},
      {{"rle", "compress", folder}, false, "ztl: cannot read '" + folder + "': Is a directory"},
      {{"cipher", "decode", "--key", "1"}, true, "ztl: cannot read '-': Is a directory"},
      {{"rsa", "decode", "--exponent", "1", "--modulus", "1000", "-"}, true, "ztl: cannot read '-': Is a directory"},
      {{"ebcdic", "encode", "/no/such/file"}, false, "ztl: cannot read '/no/such/file': No such file or directory"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Join(c.args));
    const auto run = RunZtl(c.args, "", {Output::kCaptured, c.folder_as_input ? folder : ""});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.says + "\n");
  }
}

}  // namespace
