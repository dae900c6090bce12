#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace thornbeck {

// Writes one chunk to an open file; returns the system's reason when it fails.
using ChunkWriter = std::function<std::optional<std::string>(std::FILE*, std::span<const uint8_t>)>;

struct SaveOptions {
    // Keep the file that was at the path as the path with ".bak" appended.
    bool backup = true;
    // How bytes reach the temporary file; the standard library's fwrite when empty.
    ChunkWriter writer;
};

// Why a save failed: the file concerned and the system's reason.
struct SaveError {
    std::filesystem::path path;
    std::string reason;
};

// Saves `bytes` as the whole file at `path` without ever leaving a partial file there: the bytes
// go to a temporary file in the same folder, which is flushed to disk; the current file (if any)
// becomes the backup, replacing an old one; then the temporary file is renamed over `path` in one
// step and the folder flushed. The new file keeps the old one's permission bits. On failure the
// temporary file is removed and `path` holds the previous file whole.
std::optional<SaveError> SaveWholeFile(const std::filesystem::path& path,
                                       std::span<const uint8_t> bytes,
                                       const SaveOptions& options = {});

std::filesystem::path BackupPathOf(const std::filesystem::path& path);

}  // namespace thornbeck
