#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/Arguments.h"
#include "cli/LoadedRegistry.h"
#include "core/fileio/SaveRegistry.h"

namespace thornbeck::cli {

// Reports on `err` why the writer lock of the file `name` was not taken (a SaveResult lock kind)
// and returns the exit code for it.
int ReportLockRefused(SaveResult::Kind kind, const std::filesystem::path& lockPath,
                      std::string_view reason, std::string_view name, std::ostream& err);

// The start of a command that edits its first operand and saves it (set, merge): the file it
// writes ("-o", else the operand itself), that file's writer lock, and the operand loaded.
struct LockedEdit {
    std::string target;
    SaveLock lock;
    std::optional<LoadedRegistry> file;  // nothing when it failed; `exitCode` then says why
    int exitCode = 0;
};

// Takes the target's lock before loading (not for --dry-run, which writes nothing), so that a
// second writer sees this one's result instead of overwriting it. An empty target name, a busy
// lock or a file that cannot be loaded is reported on `err`.
LockedEdit LockAndLoad(std::string_view command, const Arguments& args, std::ostream& err);

// Saves `bytes` to `target` through the core's SaveRegistry, as the window saves, for a command
// that loaded `file`; `held` is the lock LockAndLoad took (nothing when the caller holds none:
// the save then takes it itself, and would wait in vain for one this process holds). When `target`
// is that same file and it has changed on disk since it was read (another program wrote it, or
// removed it), nothing is written and the exit code for it is returned, unless `force`. Bytes equal
// to the file as read are not written over it: the file and its backup stay as they are.
int SaveEdited(const LoadedRegistry& file, std::string_view target, std::span<const uint8_t> bytes,
               bool force, const LockFile* held, std::ostream& err);

}  // namespace thornbeck::cli
