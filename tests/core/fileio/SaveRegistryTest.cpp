// The one save of a registry file that the window and the command line share.
#include "core/fileio/SaveRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/fileio/RegularFile.h"
#include "core/fileio/SaveTarget.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::NamesIn;
using test::ReadBytes;
using test::TempFolder;

const std::vector<uint8_t> kRead = {1, 2, 3, 4};
const std::vector<uint8_t> kEdited = {5, 6, 7, 8};
const std::vector<uint8_t> kTheirs = {9, 9, 9, 9, 9};

// A file as an editor holds it after reading: its path and stamp.
struct ReadFile {
    TempFolder folder;
    fs::path path = folder.write("x.sys", kRead);
    SaveOrigin origin{path, ReadRegularFile(path).stamp};

    SaveRequest request(const fs::path& to, const std::vector<uint8_t>& bytes) const {
        SaveRequest request;
        request.path = to;
        request.bytes = bytes;
        request.origin = origin;
        request.unsavedChanges = bytes != kRead;
        return request;
    }
    // Another program writes the file, with a later time than the stamp's.
    void changeOnDisk() const {
        folder.write("x.sys", kTheirs);
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
    }
};

TEST(SameFile, IsTheFilesIdentityNotItsSpelling) {
    TempFolder folder;
    const auto path = folder.write("x.sys", kRead);
    const auto other = folder.write("y.sys", kRead);
    fs::create_symlink("x.sys", folder.path() / "link.sys");
    EXPECT_TRUE(SameFile(path, folder.path() / "." / "x.sys"));
    EXPECT_TRUE(SameFile(path, folder.path() / "link.sys"));
    EXPECT_TRUE(SameFile(path, folder.path() / "sub" / ".." / "x.sys"));
    EXPECT_FALSE(SameFile(path, other));
    // A removed file is still told by its name.
    fs::remove(path);
    EXPECT_TRUE(SameFile(path, folder.path() / "." / "x.sys"));
    EXPECT_FALSE(SameFile(path, other));
}

TEST(SaveRegistry, SavesWithABackupAndStampsWhatItWrote) {
    ReadFile file;
    int asked = 0;
    const auto result = SaveRegistry(file.request(file.path, kEdited), [&](DiskChange) {
        ++asked;
        return true;
    });
    ASSERT_EQ(result.kind, SaveResult::Saved) << result.reason;
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ReadBytes(file.path), kEdited);
    EXPECT_TRUE(result.backupKept);
    EXPECT_EQ(result.backup, BackupPathOf(file.path));
    EXPECT_EQ(ReadBytes(result.backup), kRead);
    EXPECT_EQ(result.written, ReadRegularFile(file.path).stamp);
    EXPECT_EQ(NamesIn(file.folder.path()), (std::vector<std::string>{"x.sys", "x.sys.bak"}));
}

// Save As naming the file that was read through "./" or a symbolic link is a save of that file:
// another program's change is asked about, and not overwriting it leaves it alone.
TEST(SaveRegistry, ASaveToTheReadFileSpeltAnotherWayAsksBeforeOverwritingAChange) {
    ReadFile file;
    fs::create_symlink("x.sys", file.folder.path() / "link.sys");
    file.changeOnDisk();
    for (const fs::path& spelling :
         {file.folder.path() / "." / "x.sys", file.folder.path() / "link.sys"}) {
        std::vector<DiskChange> asked;
        const auto result = SaveRegistry(file.request(spelling, kEdited), [&](DiskChange change) {
            asked.push_back(change);
            return false;
        });
        EXPECT_EQ(result.kind, SaveResult::Declined) << spelling;
        EXPECT_EQ(asked, std::vector<DiskChange>{DiskChange::Changed}) << spelling;
        EXPECT_EQ(ReadBytes(file.path), kTheirs);
        EXPECT_FALSE(fs::exists(BackupPathOf(file.path)));
    }
    // Told to overwrite, it does, keeping the other program's bytes as the backup.
    const auto result = SaveRegistry(file.request(file.folder.path() / "link.sys", kEdited),
                                     [](DiskChange) { return true; });
    ASSERT_EQ(result.kind, SaveResult::Saved);
    EXPECT_EQ(ReadBytes(file.path), kEdited);
    EXPECT_EQ(ReadBytes(BackupPathOf(file.path)), kTheirs);
    EXPECT_TRUE(fs::is_symlink(file.folder.path() / "link.sys"));
}

TEST(SaveRegistry, ARemovedFileIsAskedAboutAsRemoved) {
    ReadFile file;
    fs::remove(file.path);
    std::vector<DiskChange> asked;
    const auto result = SaveRegistry(file.request(file.path, kEdited), [&](DiskChange change) {
        asked.push_back(change);
        return false;
    });
    EXPECT_EQ(result.kind, SaveResult::Declined);
    EXPECT_EQ(asked, std::vector<DiskChange>{DiskChange::Removed});
    EXPECT_FALSE(fs::exists(file.path));
}

TEST(SaveRegistry, ASaveElsewhereAsksNothing) {
    ReadFile file;
    const auto copy = file.folder.write("copy.sys", kTheirs);
    int asked = 0;
    const auto result = SaveRegistry(file.request(copy, kRead), [&](DiskChange) {
        ++asked;
        return false;
    });
    ASSERT_EQ(result.kind, SaveResult::Saved);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ReadBytes(copy), kRead);
    EXPECT_EQ(ReadBytes(BackupPathOf(copy)), kTheirs);
}

// Saving the bytes that were read over the unchanged file would only make the backup of the
// original a second copy of the same bytes.
TEST(SaveRegistry, NoChangesOverTheUnchangedFileWriteNothing) {
    ReadFile file;
    const auto backup = file.folder.write("x.sys.bak", {0xEE});
    const auto modified = fs::last_write_time(file.path);
    const auto result = SaveRegistry(file.request(file.folder.path() / "." / "x.sys", kRead), {});
    EXPECT_EQ(result.kind, SaveResult::NothingToSave);
    EXPECT_EQ(ReadBytes(backup), std::vector<uint8_t>{0xEE});
    EXPECT_EQ(fs::last_write_time(file.path), modified);
    EXPECT_EQ(NamesIn(file.folder.path()), (std::vector<std::string>{"x.sys", "x.sys.bak"}));

    // Changed on disk, the same request is a real save, after the question.
    file.changeOnDisk();
    const auto overwritten =
        SaveRegistry(file.request(file.path, kRead), [](DiskChange) { return true; });
    EXPECT_EQ(overwritten.kind, SaveResult::Saved);
    EXPECT_EQ(ReadBytes(file.path), kRead);
    EXPECT_EQ(ReadBytes(backup), kTheirs);
}

TEST(SaveRegistry, WaitsForNoOtherWritersLockButUsesTheOneItIsGiven) {
    ReadFile file;
    {
        LockFile other(LockPathOf(file.path));
        ASSERT_EQ(other.lock(milliseconds(0)), LockFile::Result::Locked);
        auto request = file.request(file.path, kEdited);
        request.lockWait = milliseconds(0);
        const auto busy = SaveRegistry(request, {});
        EXPECT_EQ(busy.kind, SaveResult::Busy);
        EXPECT_EQ(busy.problemPath, LockPathOf(file.path));
        EXPECT_EQ(ReadBytes(file.path), kRead);
    }
    const SaveLock held = TakeSaveLock(file.folder.path() / "." / "x.sys", milliseconds(0));
    ASSERT_EQ(held.kind, SaveResult::Saved);
    auto request = file.request(file.path, kEdited);
    request.heldLock = held.lock.get();
    request.lockWait = milliseconds(0);
    EXPECT_EQ(SaveRegistry(request, {}).kind, SaveResult::Saved);
    EXPECT_EQ(ReadBytes(file.path), kEdited);
    // The lock stays its holder's until it lets go.
    EXPECT_TRUE(fs::exists(LockPathOf(file.path)));
}

TEST(SaveRegistry, AFolderAtTheLockPathIsSaidAndNothingIsWritten) {
    ReadFile file;
    fs::create_directory(LockPathOf(file.path));
    const auto result = SaveRegistry(file.request(file.path, kEdited), {});
    EXPECT_EQ(result.kind, SaveResult::NotALock);
    EXPECT_EQ(result.reason,
              LockPathOf(file.path).string() + " is a folder, not a lock file; remove it to save");
    EXPECT_EQ(ReadBytes(file.path), kRead);
}

}  // namespace
}  // namespace thornbeck
