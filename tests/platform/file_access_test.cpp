// Files opened by name while confined to a folder, through ZtBits' files: paths that resolve
// inside read and write; every way out is refused and leaves the files outside as they were.
// Each case runs with the kernel's resolution and with the resolved-path check.

#include "ztldata/platform/file_access.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/confined_files.hpp"
#include "ztldata/containers/bits.hpp"

namespace ztl {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& p) { return {std::istreambuf_iterator<char>(std::ifstream(p).rdbuf()), {}}; }

// top/root (the root, with sub/ and in.ztl), top/outside/x (a valid file), top/alias -> root.
class ConfinedFiles : public testing::TestWithParam<bool> {
 protected:
  const fs::path top = fs::temp_directory_path() / ("ztl-confine-" + std::to_string(::getpid()));
  const fs::path root = top / "root", outside = top / "outside";
  void SetUp() override {
    fs::remove_all(top), fs::create_directories(root / "sub"), fs::create_directories(outside);
    fs::create_directory_symlink(root, top / "alias");
    fs::create_symlink("in.ztl", root / "in-link"), fs::create_symlink(top / "alias/in.ztl", root / "abs-in");
    fs::create_symlink("../outside/x", root / "out-link");
    fs::create_symlink(outside / "x", root / "abs-link");
    fs::create_directory_symlink(outside, root / "out-folder");
    ZtBits bits;
    ASSERT_TRUE(bits.FileWrite((root / "in.ztl").u16string()));
    ASSERT_TRUE(bits.FileWrite((outside / "x").u16string()));
    platform::UseResolvedPathCheck(GetParam());
    ASSERT_TRUE(ConfineFiles((top / "alias").string()));
  }
  void TearDown() override {
    UnconfineFiles(), platform::UseResolvedPathCheck(false);
    fs::remove_all(top);
  }
};

TEST_P(ConfinedFiles, ReachOnlyInsideTheRoot) {
  EXPECT_EQ(FileRoot(), fs::canonical(root).string());
  const std::string kInside[] = {"in.ztl",         "./sub/../in.ztl", "sub/../../root/in.ztl", "in-link",
                                 "abs-in",         root / "in.ztl",   top / "alias/in.ztl"};
  const std::string kOutside[] = {outside / "x", "../outside/x", "sub/../../outside/x", root / "../outside/x",
                                  "out-link", "abs-link", "out-folder/x", "../outside/new", "out-folder/new"};
  const std::string before = Bytes(outside / "x");
  for (const auto& path : kInside) {
    SCOPED_TRACE(path);
    ZtBits bits;
    EXPECT_TRUE(bits.FileRead(fs::path(path).u16string()));
    EXPECT_TRUE(bits.FileWrite(fs::path(path).u16string()));
  }
  EXPECT_TRUE(fs::is_symlink(root / "in-link"));
  for (const auto& path : kOutside) {
    SCOPED_TRACE(path);
    ZtBits bits;
    bits.Create(3, false);
    EXPECT_FALSE(bits.FileRead(fs::path(path).u16string()));
    EXPECT_EQ(bits.Size(), 3);
    EXPECT_FALSE(bits.FileWrite(fs::path(path).u16string()));
    EXPECT_EQ(Bytes(outside / "x"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);  // no new or temporary file
  }
}

TEST_P(ConfinedFiles, ChangesOnlyToAnExistingFolder) {
  EXPECT_FALSE(ConfineFiles((top / "missing").string()));
  EXPECT_FALSE(ConfineFiles((root / "in.ztl").string()));
  EXPECT_EQ(FileRoot(), fs::canonical(root).string());
  ZtBits bits;
  ASSERT_TRUE(ConfineFiles("/"));  // lifts the confinement
  EXPECT_EQ(FileRoot(), std::nullopt);
  EXPECT_TRUE(bits.FileRead((outside / "x").u16string()));
}

INSTANTIATE_TEST_SUITE_P(Resolution, ConfinedFiles, testing::Values(false, true));

}  // namespace
}  // namespace ztl
