#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace thornbeck {

// What a file on disk looked like when it was read or written: enough to notice that another
// program has replaced or changed it since.
struct DiskStamp {
    uint64_t size = 0;
    int64_t modified = 0;  // modification time in nanoseconds since 1970 (seconds on Windows)
    uint64_t hash = 0;     // ContentHash of the bytes

    bool operator==(const DiskStamp&) const = default;
};

// FNV-1a, 64 bits: cheap, and any edit of a file changes it with near certainty.
uint64_t ContentHash(std::span<const uint8_t> bytes);

enum class DiskChange {
    None,     // size, modification time and content are as stamped
    Changed,  // any of them differs, or the path now holds something that is not a regular file
    Removed,  // nothing is at the path any more
};

// Compares the file at `path` (following symbolic links) with `stamp`. Reads the file only when
// its size and modification time still match, to compare the content.
DiskChange CompareWithDisk(const std::filesystem::path& path, const DiskStamp& stamp);

}  // namespace thornbeck
