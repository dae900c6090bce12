#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/Arguments.h"
#include "cli/LoadedRegistry.h"
#include "core/fileio/LockFile.h"

namespace thornbeck::cli {

// How long a writer waits for another one to finish before it reports the file busy.
constexpr std::chrono::milliseconds kLockWait{2500};

// Takes the lock of the file `name` will be written to, for the whole load-modify-save.
// Returns 0 when held; else reports on `err` that the file is busy or why the lock file
// cannot be made, and returns the exit code.
int TakeWriterLock(LockFile& lock, std::string_view name, std::ostream& err);

// The start of a command that edits its first operand and saves it (set, merge): the file it
// writes ("-o", else the operand itself), that file's writer lock, and the operand loaded.
struct LockedEdit {
    std::string target;
    std::unique_ptr<LockFile> lock;
    std::optional<LoadedRegistry> file;  // nothing when it failed; `exitCode` then says why
    int exitCode = 0;
};

// Takes the target's lock before loading (not for --dry-run, which writes nothing), so that a
// second writer sees this one's result instead of overwriting it. An empty target name, a busy
// lock or a file that cannot be loaded is reported on `err`.
LockedEdit LockAndLoad(std::string_view command, const Arguments& args, std::ostream& err);

// Saves `bytes` to `target` as Save does, for a command that loaded `file`. When `target` is
// that same file and it has changed on disk since it was read (another program wrote it, or
// removed it), nothing is written and the exit code for it is returned, unless `force`.
int SaveEdited(const LoadedRegistry& file, std::string_view target, std::span<const uint8_t> bytes,
               bool force, std::ostream& err);

}  // namespace thornbeck::cli
