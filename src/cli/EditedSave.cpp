#include "cli/EditedSave.h"

#include <algorithm>

#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "core/fileio/SystemText.h"

namespace thornbeck::cli {

int ReportLockRefused(SaveResult::Kind kind, const std::filesystem::path& lockPath,
                      std::string_view reason, std::string_view name, std::ostream& err) {
    if (kind == SaveResult::Busy)
        ReportFileProblem(
            name,
            "busy: another program is saving it (" + PathText(lockPath) + "); try again later",
            err);
    else if (kind == SaveResult::LockFailed)
        ReportFileProblem(PathText(lockPath), "cannot lock: " + std::string(reason), err);
    else
        ReportFileProblem(name, reason, err);
    return kExitError;
}

LockedEdit LockAndLoad(std::string_view command, const Arguments& args, std::ostream& err) {
    LockedEdit edit{args.value("-o").value_or(args.operands[0]), {}, std::nullopt, kExitOk};
    if (edit.target.empty()) {
        edit.exitCode = UsageError(command, "the file name is empty", err);
        return edit;
    }
    if (!args.has("--dry-run")) {
        edit.lock = TakeSaveLock(PathOfArgument(edit.target));
        if (edit.lock.kind != SaveResult::Saved) {
            const LockFile& lock = *edit.lock.lock;
            edit.exitCode =
                ReportLockRefused(edit.lock.kind, lock.path(), lock.failure(), edit.target, err);
            return edit;
        }
    }
    edit.file = LoadRegistry(args.operands[0], err);
    if (!edit.file) edit.exitCode = kExitError;
    return edit;
}

int SaveEdited(const LoadedRegistry& file, std::string_view target, std::span<const uint8_t> bytes,
               bool force, const LockFile* held, std::ostream& err) {
    const auto original = file.image.bytes();
    SaveRequest request;
    request.path = PathOfArgument(target);
    request.bytes = bytes;
    request.origin = {PathOfArgument(file.name), file.stamp};
    request.unsavedChanges =
        !std::equal(bytes.begin(), bytes.end(), original.begin(), original.end());
    request.heldLock = held;
    DiskChange seen = DiskChange::None;
    const SaveResult result = SaveRegistry(request, [&](DiskChange change) {
        seen = change;
        return force;
    });
    switch (result.kind) {
        case SaveResult::Saved:
        case SaveResult::NothingToSave:
            return kExitOk;
        case SaveResult::Declined:
            ReportFileProblem(file.name,
                              seen == DiskChange::Removed
                                  ? "was removed since it was read; not saved (--force saves it)"
                                  : "has changed on disk since it was read; not saved (--force "
                                    "overwrites it)",
                              err);
            return kExitError;
        case SaveResult::Busy:
        case SaveResult::LockFailed:
        case SaveResult::NotALock:
            return ReportLockRefused(result.kind, result.problemPath, result.reason, target, err);
        case SaveResult::Failed:
            break;
    }
    ReportFileProblem(PathText(result.problemPath), "cannot save: " + result.reason, err);
    return kExitError;
}

}  // namespace thornbeck::cli
