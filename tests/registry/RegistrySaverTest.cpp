#include "registry/RegistrySaver.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace thornbeck {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;

const std::vector<uint8_t> kOld = {1, 2, 3, 4};
const std::vector<uint8_t> kFirst = {5, 6, 7, 8};
const std::vector<uint8_t> kSecond = {9, 10, 11, 12};

TEST(SaveWholeFile, TheBackupHoldsThePreviousFile) {
    TempFolder folder;
    const auto path = folder.write("xRegistry.sys", kOld);
    ASSERT_FALSE(SaveWholeFile(path, kFirst));
    EXPECT_EQ(ReadBytes(path), kFirst);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), kOld);
    ASSERT_FALSE(SaveWholeFile(path, kSecond));
    EXPECT_EQ(ReadBytes(path), kSecond);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), kFirst);
    EXPECT_EQ(BackupPathOf(path).filename(), "xRegistry.sys.bak");
    // Nothing else is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(SaveWholeFile, AReadOnlyOldBackupIsReplaced) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kOld);
    const auto backup = folder.write("x.sys.bak", {0xEE});
    fs::permissions(backup, fs::perms::owner_read);
    ASSERT_FALSE(SaveWholeFile(path, kFirst));
    EXPECT_EQ(ReadBytes(backup), kOld);
}

TEST(SaveWholeFile, KeepsThePermissionBitsOfThePreviousFile) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kOld);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_FALSE(SaveWholeFile(path, kFirst));
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(SaveWholeFile, ANewPathGetsNoBackupAndAnOldBackupStays) {
    TempFolder folder;
    const auto path = folder.path() / "new.sys";
    const auto backup = folder.write("new.sys.bak", {0xEE});
    ASSERT_FALSE(SaveWholeFile(path, kFirst));
    EXPECT_EQ(ReadBytes(path), kFirst);
    EXPECT_EQ(ReadBytes(backup), std::vector<uint8_t>{0xEE});
}

TEST(SaveWholeFile, AFolderThatCannotBeWrittenChangesNothing) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kOld);
    const auto backup = folder.write("x.sys.bak", {0xEE});
    if (!test::MakeFolderUnwritable(folder.path())) GTEST_SKIP() << "no way to lock a folder here";
    const auto failure = SaveWholeFile(path, kFirst);
    test::MakeFolderWritable(folder.path());
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(ReadBytes(backup), std::vector<uint8_t>{0xEE});
}

TEST(SaveWholeFile, AFolderThatDoesNotExistIsReported) {
    TempFolder folder;
    const auto failure = SaveWholeFile(folder.path() / "missing" / "x.sys", kFirst);
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->reason.empty());
}

TEST(SaveWholeFile, AWriteFailingPartWayLeavesTheFileAndBackupWhole) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kOld);
    const auto backup = folder.write("x.sys.bak", {0xEE});
    SaveOptions diskFull;
    diskFull.writer = [](std::FILE* file,
                         std::span<const uint8_t> bytes) -> std::optional<std::string> {
        std::fwrite(bytes.data(), 1, bytes.size() / 2, file);
        return "No space left on device";
    };
    const auto failure = SaveWholeFile(path, std::vector<uint8_t>(3 << 20, 0x55), diskFull);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, "No space left on device");
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(ReadBytes(backup), std::vector<uint8_t>{0xEE});
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(SaveWholeFile, WritesExactlyTheBytesGiven) {
    TempFolder folder;
    std::vector<uint8_t> bytes(256 * 1024 + 3);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    const auto path = folder.write("x.sys", kOld);
    ASSERT_FALSE(SaveWholeFile(path, bytes));
    EXPECT_EQ(ReadBytes(path), bytes);
}

}  // namespace
}  // namespace thornbeck
