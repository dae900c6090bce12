#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "core/fileio/DiskStamp.h"
#include "core/fileio/LockFile.h"

namespace thornbeck {

// How long a save waits for another writer of the same file (the window, thornbeck-cli) before
// it reports the file busy.
constexpr std::chrono::milliseconds kLockWait{2500};

// Where the bytes to save came from: the file they were read from (or last saved to) and what
// that file looked like then. An empty path for bytes that came from no file.
struct SaveOrigin {
    std::filesystem::path path;
    DiskStamp stamp;
};

struct SaveRequest {
    std::filesystem::path path;  // where to save, as the user named it
    std::span<const uint8_t> bytes;
    SaveOrigin origin;
    // Whether the bytes differ from what was read or last saved. Without changes a save to the
    // file they came from, while that file is still as it was read, writes nothing: rewriting
    // it would only turn the backup of the original into a second copy of the same bytes.
    bool unsavedChanges = true;
    // The writer lock of `path`, when the caller took it before reading (TakeSaveLock) and holds
    // it through the save; otherwise the save takes it itself, waiting up to `lockWait`.
    const LockFile* heldLock = nullptr;
    std::chrono::milliseconds lockWait = kLockWait;
};

struct SaveResult {
    enum Kind {
        Saved,          // written; `written` is the file now on disk
        NothingToSave,  // no change, and the file is as it was read: nothing was written
        Declined,       // the file changed on disk and the question said not to overwrite it
        Busy,           // another writer held the lock for the whole wait
        LockFailed,     // the lock file could not be made; `reason` is the system's
        NotALock,       // something else stands at the lock's path; `reason` says what
        Failed,         // the save failed: `problemPath` and `reason`; every file is as it was
    };
    Kind kind = Failed;
    std::filesystem::path problemPath;  // the file concerned (the lock file for the lock kinds)
    std::string reason;
    DiskStamp written;
    // Saved: the previous file is now kept at `backup`.
    bool backupKept = false;
    std::filesystem::path backup;
};

// Asked when the save goes to the very file the bytes were read from and another program has
// changed or removed it since: true to write anyway. The window asks the user; the command line
// answers with --force.
using ChangedOnDiskQuestion = std::function<bool(DiskChange)>;

// The one save of a registry file, for the window and the command line alike:
// 1. holds the writer lock beside the file (the lock file QLockFile also makes), waiting for
//    another writer to finish;
// 2. refuses a target that is read-only, no regular file, or cannot even be looked at;
// 3. when the target is the file the bytes came from, by the file's identity and not by the
//    spelling of its path (a symbolic link, "./", another letter case on Windows), compares it
//    with the stamp taken when it was read: unchanged and without changes to save, nothing is
//    written; changed or removed, `overwrite` decides;
// 4. writes through SaveWholeFile: the previous file becomes the backup, the new bytes replace
//    it in one step, and a failure leaves every file as it was.
SaveResult SaveRegistry(const SaveRequest& request, const ChangedOnDiskQuestion& overwrite);

// The writer lock of the file `path` names, taken for a caller that reads and saves under it
// (a command line edit): a second writer then sees this one's result instead of overwriting it.
struct SaveLock {
    std::unique_ptr<LockFile> lock;
    SaveResult::Kind kind = SaveResult::Saved;  // Saved when held, else the lock kind
};
SaveLock TakeSaveLock(const std::filesystem::path& path,
                      std::chrono::milliseconds wait = kLockWait);

// Whether `a` and `b` name one file: the same file on disk however either is spelt, or, where
// one is missing, the same name once links, "." and ".." are resolved.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace thornbeck
