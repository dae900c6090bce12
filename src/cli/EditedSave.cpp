#include "cli/EditedSave.h"

#include <system_error>

#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "core/fileio/AtomicSave.h"
#include "core/fileio/DiskStamp.h"
#include "core/fileio/SystemText.h"

namespace thornbeck::cli {
namespace fs = std::filesystem;

namespace {

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error)) return true;
    // A removed file has no identity left to compare; its name still says which it was.
    const fs::path left = fs::weakly_canonical(SaveTargetOf(a), error);
    if (error) return false;
    const fs::path right = fs::weakly_canonical(SaveTargetOf(b), error);
    return !error && left == right;
}

}  // namespace

int TakeWriterLock(LockFile& lock, std::string_view name, std::ostream& err) {
    switch (lock.lock(kLockWait)) {
        case LockFile::Result::Locked:
            return kExitOk;
        case LockFile::Result::Busy:
            ReportFileProblem(name,
                              "busy: another program is saving it (" + PathText(lock.path()) +
                                  "); try again later",
                              err);
            break;
        case LockFile::Result::Failed:
            ReportFileProblem(PathText(lock.path()), "cannot lock: " + lock.failure(), err);
            break;
        case LockFile::Result::NotALock:
            ReportFileProblem(name, lock.failure(), err);
            break;
    }
    return kExitError;
}

LockedEdit LockAndLoad(std::string_view command, const Arguments& args, std::ostream& err) {
    LockedEdit edit{args.value("-o").value_or(args.operands[0]), nullptr, std::nullopt, kExitOk};
    if (edit.target.empty()) {
        edit.exitCode = UsageError(command, "the file name is empty", err);
        return edit;
    }
    edit.lock = std::make_unique<LockFile>(LockPathOf(PathOfArgument(edit.target)));
    if (!args.has("--dry-run")) {
        edit.exitCode = TakeWriterLock(*edit.lock, edit.target, err);
        if (edit.exitCode != kExitOk) return edit;
    }
    edit.file = LoadRegistry(args.operands[0], err);
    if (!edit.file) edit.exitCode = kExitError;
    return edit;
}

int SaveEdited(const LoadedRegistry& file, std::string_view target, std::span<const uint8_t> bytes,
               bool force, std::ostream& err) {
    const fs::path targetPath = PathOfArgument(target);
    if (!force && SameFile(PathOfArgument(file.name), targetPath)) {
        const DiskChange change = CompareWithDisk(targetPath, file.stamp);
        if (change != DiskChange::None) {
            ReportFileProblem(file.name,
                              change == DiskChange::Removed
                                  ? "was removed since it was read; not saved (--force saves it)"
                                  : "has changed on disk since it was read; not saved (--force "
                                    "overwrites it)",
                              err);
            return kExitError;
        }
    }
    // The caller holds the lock: what an ended writer left beside the file may go.
    const SaveOptions options{.backup = true, .writer = {}, .clearLeftovers = true};
    if (const auto failure = SaveWholeFile(targetPath, bytes, options)) {
        ReportFileProblem(PathText(failure->path), "cannot save: " + failure->reason, err);
        return kExitError;
    }
    return kExitOk;
}

}  // namespace thornbeck::cli
