#include "core/fileio/FileFunctions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/TestFiles.h"

namespace thornbeck {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(FileFunctions, MissingEmptyAndFolderPathsGiveNeutralResults) {
    TempFolder folder;
    const auto empty = folder.write("empty", {});
    EXPECT_EQ(FileSize(folder.path()), 0u);
    EXPECT_EQ(FileSize(folder.path() / "missing"), 0u);
    EXPECT_TRUE(ReadWholeFile(empty).empty());
    EXPECT_TRUE(ReadWholeFile(folder.path()).empty());
    EXPECT_TRUE(ReadWholeFile(folder.path() / "missing").empty());
}

TEST(FileFunctions, ReadsEveryByteValue) {
    TempFolder folder;
    std::vector<uint8_t> bytes(512);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    const auto path = folder.write("all", bytes);
    EXPECT_EQ(FileSize(path), 512u);
    EXPECT_EQ(ReadWholeFile(path), bytes);
}

TEST(FileFunctions, AnUnreadableFileIsNotReadAtAll) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
    TempFolder folder;
    const auto path = folder.write("locked", {1, 2, 3});
    fs::permissions(path, fs::perms::none);
    EXPECT_EQ(FileSize(path), 0u);
    EXPECT_TRUE(ReadWholeFile(path).empty());
}

TEST(FileFunctions, FindsANameInAnyLetterCaseExactFirst) {
    TempFolder folder;
    folder.write("XREGISTRY.SYS", {1});
    EXPECT_EQ(FindFileInFolder(folder.path(), "xRegistry.sys").filename(), "XREGISTRY.SYS");
    folder.write("xRegistry.sys", {2});
    EXPECT_EQ(FindFileInFolder(folder.path(), "xRegistry.sys").filename(), "xRegistry.sys");
    EXPECT_TRUE(FindFileInFolder(folder.path(), "other.txt").empty());
    EXPECT_TRUE(FindFileInFolder(folder.path() / "missing", "x").empty());
}

}  // namespace
}  // namespace thornbeck
