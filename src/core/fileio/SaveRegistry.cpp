#include "core/fileio/SaveRegistry.h"

#include <system_error>

#include "core/fileio/AtomicSave.h"
#include "core/fileio/SystemFiles.h"

namespace thornbeck {
namespace fs = std::filesystem;

namespace {

SaveResult LockRefused(LockFile::Result result, const LockFile& lock) {
    SaveResult refused;
    refused.kind = result == LockFile::Result::Busy     ? SaveResult::Busy
                   : result == LockFile::Result::Failed ? SaveResult::LockFailed
                                                        : SaveResult::NotALock;
    refused.problemPath = lock.path();
    refused.reason = lock.failure();
    return refused;
}

SaveResult FailedAt(const fs::path& path, std::string reason) {
    SaveResult failed;
    failed.kind = SaveResult::Failed;
    failed.problemPath = path;
    failed.reason = std::move(reason);
    return failed;
}

}  // namespace

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    const bool bothThere = fs::exists(a, error) && fs::exists(b, error);
    if (bothThere) return fs::equivalent(a, b, error) && !error;
    // A removed file has no identity left to compare; its name still says which it was.
    const fs::path left = fs::weakly_canonical(SaveTargetOf(a), error);
    if (error) return false;
    const fs::path right = fs::weakly_canonical(SaveTargetOf(b), error);
    return !error && SameNameOnThisSystem(left, right);
}

SaveLock TakeSaveLock(const fs::path& path, std::chrono::milliseconds wait) {
    SaveLock taken{std::make_unique<LockFile>(LockPathOf(path)), SaveResult::Saved};
    const LockFile::Result result = taken.lock->lock(wait);
    if (result != LockFile::Result::Locked) taken.kind = LockRefused(result, *taken.lock).kind;
    return taken;
}

SaveResult SaveRegistry(const SaveRequest& request, const ChangedOnDiskQuestion& overwrite) {
    // Held until the save has returned, the lock keeps every other writer of the file out.
    std::unique_ptr<LockFile> ownLock;
    if (!request.heldLock || !request.heldLock->locked()) {
        ownLock = std::make_unique<LockFile>(LockPathOf(request.path));
        if (const auto result = ownLock->lock(request.lockWait); result != LockFile::Result::Locked)
            return LockRefused(result, *ownLock);
    }

    const fs::path target = SaveTargetOf(request.path);
    const TargetState state = InspectTarget(target);
    if (state.problem) return FailedAt(state.problem->path, state.problem->reason);

    const bool sameFile = !request.origin.path.empty() && SameFile(request.origin.path, target);
    if (sameFile) {
        const DiskChange change = CompareWithDisk(target, request.origin.stamp);
        if (change == DiskChange::None && !request.unsavedChanges) {
            SaveResult nothing;
            nothing.kind = SaveResult::NothingToSave;
            nothing.written = request.origin.stamp;
            return nothing;
        }
        if (change != DiskChange::None && !(overwrite && overwrite(change))) {
            SaveResult declined;
            declined.kind = SaveResult::Declined;
            return declined;
        }
    }

    SaveResult saved;
    // The lock is held: what an ended writer left beside the file may go.
    const SaveOptions options{.backup = true, .writer = {}, .clearLeftovers = true};
    if (auto failure = SaveWholeFile(request.path, request.bytes, options, &saved.written))
        return FailedAt(failure->path, std::move(failure->reason));
    saved.kind = SaveResult::Saved;
    saved.backup = BackupPathOf(target);
    saved.backupKept = state.exists;
    return saved;
}

}  // namespace thornbeck
