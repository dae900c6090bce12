#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/fileio/DiskStamp.h"

namespace thornbeck {

// The image's offsets are 32-bit: no larger file can be opened.
constexpr uint64_t kLargestReadableFile = std::numeric_limits<int32_t>::max();

// A whole file's bytes and stamp, or why it was not read.
struct FileRead {
    std::vector<uint8_t> bytes;
    DiskStamp stamp;
    std::string failure;   // empty when the file was read
    bool missing = false;  // nothing was at the path
};

// Reads the file at `path` (following symbolic links) whole, the one way every caller reads a
// registry file. Before a byte is read it refuses a folder, a FIFO, a device or a socket and a
// file larger than kLargestReadableFile, so none of them can block or fill the memory; the
// checks are made again on the opened file, so a swap of the path in between changes nothing.
// `failure` is a short reason for a message after the file's name, such as "is a FIFO, not a
// regular file" or "is larger than 2 GiB (3221225472 bytes)". An empty file is read as 0 bytes.
FileRead ReadRegularFile(const std::filesystem::path& path);

// ReadRegularFile's checks alone: the file is opened and refused or accepted the same way,
// but no byte is read, so `bytes` stays empty and `stamp` has only its size and time.
FileRead CheckRegularFile(const std::filesystem::path& path);

}  // namespace thornbeck
