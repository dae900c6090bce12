#include "core/fileio/AtomicSave.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/fileio/RegularFile.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::SetImmutable;
using test::TempFolder;

const std::vector<uint8_t> kOld = {1, 2, 3, 4};
const std::vector<uint8_t> kFirst = {5, 6, 7, 8};
const std::vector<uint8_t> kSecond = {9, 10, 11, 12};

size_t EntriesIn(const fs::path& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

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

TEST(SaveWholeFile, SavesThroughASymbolicLink) {
    TempFolder folder;
    fs::create_directory(folder.path() / "data");
    const auto target = folder.write("data/x.sys", kOld);
    const auto link = folder.path() / "x.sys";
    fs::create_symlink("data/x.sys", link);
    ASSERT_FALSE(SaveWholeFile(link, kFirst));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), kFirst);
    EXPECT_EQ(ReadBytes(folder.path() / "data" / "x.sys.bak"), kOld);
    EXPECT_FALSE(fs::exists(fs::symlink_status(BackupPathOf(link))));
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
    EXPECT_EQ(EntriesIn(folder.path() / "data"), 2u);
    EXPECT_EQ(SaveTargetOf(link), folder.path() / "data/x.sys");
    EXPECT_EQ(LockPathOf(link), folder.path() / "data/x.sys.lock");
}

TEST(SaveWholeFile, AFailedFinalRenameKeepsTheOlderBackup) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kOld);
    const auto backup = folder.write("x.sys.bak", {0xEE});
    if (!SetImmutable(path, true)) GTEST_SKIP() << "no immutable flag here";
    const auto failure = SaveWholeFile(path, kFirst);
    SetImmutable(path, false);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, path);
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(ReadBytes(backup), std::vector<uint8_t>{0xEE});
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

TEST(SaveWholeFile, ABackupThatIsAHardLinkOfTheFileIsReplaced) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kOld);
    fs::create_hard_link(path, BackupPathOf(path));
    ASSERT_FALSE(SaveWholeFile(path, kFirst));
    EXPECT_EQ(ReadBytes(path), kFirst);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), kOld);
    EXPECT_EQ(EntriesIn(folder.path()), 2u);

    // Failing with such a backup also leaves the two names as they were.
    fs::remove(BackupPathOf(path));
    fs::create_hard_link(path, BackupPathOf(path));
    if (!SetImmutable(path, true)) GTEST_SKIP() << "no immutable flag here";
    const auto failure = SaveWholeFile(path, kSecond);
    SetImmutable(path, false);
    EXPECT_TRUE(failure);
    EXPECT_EQ(ReadBytes(path), kFirst);
    EXPECT_TRUE(fs::equivalent(path, BackupPathOf(path)));
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

TEST(SaveWholeFile, ReplacesNothingButARegularFileAndStampsWhatItWrote) {
    TempFolder folder;
    const auto fifo = folder.path() / "x.sys";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto failure = SaveWholeFile(fifo, kFirst);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, "is not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(EntriesIn(folder.path()), 1u);

    const auto path = folder.write("y.sys", kOld);
    DiskStamp written;
    ASSERT_FALSE(SaveWholeFile(path, kSecond, {}, &written));
    EXPECT_EQ(written, ReadRegularFile(path).stamp);
    EXPECT_EQ(CompareWithDisk(path, written), DiskChange::None);
}

// A producer that hands over `count` chunks of `size` bytes, each byte its chunk's number.
ChunkProducer Chunks(int count, size_t size, int* handed = nullptr) {
    return [=](const ChunkSink& sink) {
        for (int i = 0; i < count; ++i) {
            if (handed) ++*handed;
            if (!sink(std::vector<uint8_t>(size, static_cast<uint8_t>(i)))) return;
        }
    };
}

TEST(SaveStreamedFile, WritesTheChunksInOrderWithTheOldPermissionsAndNoBackupWhenAsked) {
    TempFolder folder;
    const auto path = folder.write("x.csv", kOld);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_FALSE(SaveStreamedFile(path, Chunks(3, 100000), {.backup = false, .writer = {}}));
    std::vector<uint8_t> expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), 100000, static_cast<uint8_t>(i));
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SaveStreamedFile, AWriteFailingPartWayStopsTheProducerAndLeavesTheTargetAlone) {
    TempFolder folder;
    const auto path = folder.write("x.csv", kOld);
    SaveOptions failsOnThird{.backup = false, .writer = {}};
    int writes = 0;
    failsOnThird.writer = [&writes](std::FILE* file,
                                    std::span<const uint8_t> bytes) -> std::optional<std::string> {
        if (++writes == 3) return "No space left on device";
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        return std::nullopt;
    };
    int handed = 0;
    const auto failure = SaveStreamedFile(path, Chunks(10, 1000, &handed), failsOnThird);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, path);
    EXPECT_EQ(failure->reason, "No space left on device");
    EXPECT_EQ(handed, 3);
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SaveStreamedFile, AProducerThatThrowsLeavesNoTemporaryFile) {
    TempFolder folder;
    const auto path = folder.write("x.csv", kOld);
    const ChunkProducer throws = [](const ChunkSink& sink) {
        sink(kFirst);
        throw std::bad_alloc();
    };
    EXPECT_THROW(SaveStreamedFile(path, throws), std::bad_alloc);
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(SaveStreamedFile, AFolderThatCannotBeWrittenIsReportedWithTheFolder) {
    TempFolder folder;
    const auto path = folder.write("x.csv", kOld);
    if (!test::MakeFolderUnwritable(folder.path())) GTEST_SKIP() << "no way to lock a folder here";
    const auto failure = SaveStreamedFile(path, Chunks(2, 10));
    test::MakeFolderWritable(folder.path());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, folder.path());
    EXPECT_FALSE(failure->reason.empty());
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// A writer killed between putting its staged backup in place and its new file leaves its
// temporary file, the previous backup moved aside, and the file and its backup as two names of
// one file. The next save, holding the lock, clears all of it.
TEST(SaveWholeFile, TheNextLockedSaveClearsWhatAnEndedWriterLeft) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kFirst);
    const auto backup = BackupPathOf(path);
    fs::create_hard_link(path, backup);
    folder.write("x.sys.tmp-abcd1234", std::vector<uint8_t>(4096, 0xEE));
    folder.write("x.sys.bak.old-abcd1234", kOld);
    folder.write("x.sys.bak.new-wxyz0000", {});
    folder.write("x.sys.tmp-notmine", kOld);  // no name a save makes: left alone
    ASSERT_FALSE(
        SaveWholeFile(path, kSecond, {.backup = true, .writer = {}, .clearLeftovers = true}));
    EXPECT_EQ(ReadBytes(path), kSecond);
    EXPECT_EQ(ReadBytes(backup), kFirst);
    EXPECT_FALSE(fs::equivalent(path, backup));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"x.sys", "x.sys.bak", "x.sys.tmp-notmine"}));
}

// Killed after moving the previous backup aside and before putting the new one in place: the
// previous backup is the only one, and comes back before the next save makes its own.
TEST(SaveWholeFile, AnOldBackupMovedAsideComesBackWhenTheBackupIsMissing) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kFirst);
    folder.write("x.sys.bak.old-abcd1234", kOld);
    ASSERT_FALSE(
        SaveWholeFile(path, kSecond, {.backup = false, .writer = {}, .clearLeftovers = true}));
    EXPECT_EQ(ReadBytes(path), kSecond);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), kOld);
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// Looking at the target fails for another reason than its absence (here links that lead in a
// circle): the save fails with the system's reason and writes nothing, instead of taking the
// target for a new file and replacing it without backup or permissions.
TEST(SaveWholeFile, ATargetThatCannotBeLookedAtFailsTheSaveAndWritesNothing) {
    TempFolder folder;
    fs::create_symlink("b.sys", folder.path() / "a.sys");
    fs::create_symlink("a.sys", folder.path() / "b.sys");
    const auto failure = SaveWholeFile(folder.path() / "a.sys", kFirst);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, std::strerror(ELOOP));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "a.sys"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "b.sys"));
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// A file whose mode grants no write permission is refused, by the superuser too: the replace
// only needs the folder, so without this check it would be overwritten without a word.
TEST(SaveWholeFile, AReadOnlyFileIsRefusedAndLeftAsItWas) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kOld);
    const auto backup = folder.write("x.sys.bak", {0xEE});
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(path, readOnly);
    const auto failure = SaveWholeFile(path, kFirst);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, path);
    EXPECT_EQ(failure->reason, "it is read-only");
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(fs::status(path).permissions(), readOnly);
    EXPECT_EQ(ReadBytes(backup), std::vector<uint8_t>{0xEE});
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
    // Writable for anyone at all, it is saved.
    fs::permissions(path, fs::perms::group_write, fs::perm_options::add);
    EXPECT_FALSE(SaveWholeFile(path, kFirst));
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// An exporter killed while writing left its temporary file; the next export, which holds no
// lock, clears it, but passes by one that a running writer still holds.
TEST(SaveStreamedFile, ClearsTheTemporaryFileOfAnEndedWriterButNotOfARunningOne) {
    TempFolder folder;
    const auto path = folder.path() / "out.csv";
    folder.write("out.csv.tmp-abcd1234", std::vector<uint8_t>(4096, 0xEE));
    const auto running = folder.write("out.csv.tmp-wxyz0000", {});
    const int held = ::open(running.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    ASSERT_FALSE(SaveStreamedFile(path, Chunks(2, 10), {.backup = false, .writer = {}}));
    ::close(held);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"out.csv", "out.csv.tmp-wxyz0000"}));
}

}  // namespace
}  // namespace thornbeck
