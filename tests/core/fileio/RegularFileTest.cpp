#include "core/fileio/RegularFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "core/fileio/DiskStamp.h"
#include "core/fileio/FileFunctions.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(ReadRegularFile, RefusesSpecialFilesWithoutWaitingForThem) {
    TempFolder folder;
    const auto fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // No writer ever opens the FIFO: a reader that opened it the blocking way would hang here.
    const FileRead read = ReadRegularFile(fifo);
    EXPECT_EQ(read.failure, "is a FIFO, not a regular file");
    EXPECT_FALSE(read.missing);
    EXPECT_EQ(FileSize(fifo), 0u);
    EXPECT_TRUE(ReadWholeFile(fifo).empty());

    EXPECT_EQ(ReadRegularFile("/dev/null").failure, "is a device, not a regular file");
    EXPECT_EQ(ReadRegularFile(folder.path()).failure, "is a folder");
    const FileRead missing = ReadRegularFile(folder.path() / "none");
    EXPECT_TRUE(missing.missing);
    EXPECT_EQ(missing.failure, "No such file or directory");
}

TEST(ReadRegularFile, RefusesAFileOver2GiBBeforeReadingIt) {
    TempFolder folder;
    const auto big = folder.write("big.sys", {});
    fs::resize_file(big, uint64_t{3} << 30);  // sparse: costs no disk
    const FileRead read = ReadRegularFile(big);
    EXPECT_EQ(read.failure, "is larger than 2 GiB (3221225472 bytes)");
    EXPECT_TRUE(read.bytes.empty());
    EXPECT_EQ(FileSize(big), 0u);

    // The largest file the image can hold is still accepted by the check.
    fs::resize_file(big, kLargestReadableFile);
    const FileRead largest = CheckRegularFile(big);
    EXPECT_EQ(largest.failure, "");
    EXPECT_EQ(largest.stamp.size, kLargestReadableFile);
}

TEST(ReadRegularFile, StampsTheBytesItRead) {
    TempFolder folder;
    const std::vector<uint8_t> bytes = {1, 2, 3, 0, 255};
    const auto path = folder.write("x.sys", bytes);
    const FileRead read = ReadRegularFile(path);
    ASSERT_EQ(read.failure, "");
    EXPECT_EQ(read.bytes, bytes);
    EXPECT_EQ(read.stamp.size, 5u);
    EXPECT_EQ(read.stamp.hash, ContentHash(bytes));
    EXPECT_NE(read.stamp.modified, 0);
    // An empty file is read, as 0 bytes.
    const FileRead empty = ReadRegularFile(folder.write("empty", {}));
    EXPECT_EQ(empty.failure, "");
    EXPECT_TRUE(empty.bytes.empty());
}

TEST(CompareWithDisk, NoticesEveryKindOfChange) {
    TempFolder folder;
    const auto path = folder.write("x.sys", {1, 2, 3, 4});
    const DiskStamp stamp = ReadRegularFile(path).stamp;
    EXPECT_EQ(CompareWithDisk(path, stamp), DiskChange::None);

    // Same size and time, other content: only the hash tells.
    const auto time = fs::last_write_time(path);
    folder.write("x.sys", {1, 2, 3, 5});
    fs::last_write_time(path, time);
    EXPECT_EQ(CompareWithDisk(path, stamp), DiskChange::Changed);
    // Same content, other time.
    folder.write("x.sys", {1, 2, 3, 4});
    fs::last_write_time(path, time + std::chrono::seconds(1));
    EXPECT_EQ(CompareWithDisk(path, stamp), DiskChange::Changed);
    fs::last_write_time(path, time);
    EXPECT_EQ(CompareWithDisk(path, stamp), DiskChange::None);
    // Other size.
    folder.write("x.sys", {1, 2, 3, 4, 5});
    EXPECT_EQ(CompareWithDisk(path, stamp), DiskChange::Changed);

    fs::remove(path);
    EXPECT_EQ(CompareWithDisk(path, stamp), DiskChange::Removed);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(CompareWithDisk(path, stamp), DiskChange::Changed);
}

}  // namespace
}  // namespace thornbeck
