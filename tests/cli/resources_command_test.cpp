// `ztl resources export`: the embedded pictures reach files byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "run_ztl.hpp"
#include "ztldata/frame/resources.hpp"

namespace {

using ztl_cli_test::Lines;
using ztl_cli_test::RunZtl;

TEST(Resources, ExportWritesEveryPicture) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "ztl-resources-test" / "new";
  std::filesystem::remove_all(folder.parent_path());
  const auto run = RunZtl({"resources", "export", folder.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out).size(), ztl::ResourceFiles().size());
  for (const ztl::ResourceFile& file : ztl::ResourceFiles()) {
    std::ifstream in(folder / std::string(file.name), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, std::string(file.bytes.begin(), file.bytes.end())) << file.name;
  }
  std::filesystem::remove_all(folder.parent_path());
}

TEST(Resources, UsageErrors) {
  for (const auto& args : {std::vector<std::string>{"resources"}, {"resources", "import", "x"},
                           {"resources", "export", "/proc/no/such/folder"}}) {
    const auto run = RunZtl(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  }
  EXPECT_EQ(RunZtl({"resources", "--help"}).status, 0);
}

}  // namespace
