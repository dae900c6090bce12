#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The names around a save: the file it replaces, its backup and its lock, and what stands there.
namespace thornbeck {

// Why a save failed: the file concerned and the system's reason.
struct SaveError {
    std::filesystem::path path;
    std::string reason;
};

// The file a save to `path` replaces: `path` with every symbolic link followed, so that a link
// stays a link and its target gets the new bytes, as editors do. The path itself when it is
// no link (or a link that cannot be read).
std::filesystem::path SaveTargetOf(const std::filesystem::path& path);

// Where the lock file of `path` lies: beside its save target, named after it with ".lock"
// appended. Every writer of the file, the window and the command line, uses this name.
std::filesystem::path LockPathOf(const std::filesystem::path& path);

// The backup of the file at `path`: the path with ".bak" appended. A save through a symbolic
// link keeps it beside the link's target: BackupPathOf(SaveTargetOf(path)).
std::filesystem::path BackupPathOf(const std::filesystem::path& path);

// The reason a save gives for a target marked read-only.
inline constexpr const char* kReadOnlyReason = "it is read-only";

// What stands at a save's target (a path SaveTargetOf gave).
struct TargetState {
    bool exists = false;  // a regular file, to be replaced and backed up
    std::filesystem::perms permissions = std::filesystem::perms::unknown;
    // Why it may not be replaced: it is a folder or no regular file, it is marked read-only, or
    // looking at it failed for another reason than its absence (an input/output error, a
    // folder that may not be searched); the save then writes nothing.
    std::optional<SaveError> problem;
};
TargetState InspectTarget(const std::filesystem::path& target);

}  // namespace thornbeck
