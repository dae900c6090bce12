#include "core/fileio/SaveTarget.h"

#include <system_error>

#include "core/fileio/SystemFiles.h"

namespace thornbeck {
namespace fs = std::filesystem;

fs::path SaveTargetOf(const fs::path& path) {
    fs::path current = path;
    // The same bound as the system's own for a chain of links.
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
        const fs::path link = fs::read_symlink(current, error);
        if (error) return current;
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return current;
}

fs::path LockPathOf(const fs::path& path) {
    fs::path lock = SaveTargetOf(path);
    lock += ".lock";
    return lock;
}

fs::path BackupPathOf(const fs::path& path) {
    fs::path backup = path;
    backup += ".bak";
    return backup;
}

TargetState InspectTarget(const fs::path& target) {
    TargetState state;
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (error) {
        // Absent is the one failure that means "a new file"; any other would make a save that
        // skips the backup and the old file's permissions, so it stops the save.
        if (status.type() != fs::file_type::not_found)
            state.problem = SaveError{target, error.message()};
        return state;
    }
    if (!fs::exists(status)) return state;
    if (!fs::is_regular_file(status)) {
        state.problem =
            SaveError{target, fs::is_directory(status) ? "is a folder" : "is not a regular file"};
        return state;
    }
    state.exists = true;
    state.permissions = status.permissions();
    if (IsMarkedReadOnly(target)) state.problem = SaveError{target, kReadOnlyReason};
    return state;
}

}  // namespace thornbeck
