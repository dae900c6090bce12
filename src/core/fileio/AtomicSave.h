#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "core/fileio/DiskStamp.h"
#include "core/fileio/SaveTarget.h"

namespace thornbeck {

// Writes one chunk to an open file; returns the system's reason when it fails.
using ChunkWriter = std::function<std::optional<std::string>(std::FILE*, std::span<const uint8_t>)>;

// Takes the next bytes of a streamed save; false once writing has failed, when the producer
// should stop (whatever it still hands over is dropped).
using ChunkSink = std::function<bool(std::span<const uint8_t>)>;
// Hands a streamed save's bytes to the sink in order, in chunks of any size.
using ChunkProducer = std::function<void(const ChunkSink&)>;

struct SaveOptions {
    // Keep the file that was at the path as the path with ".bak" appended.
    bool backup = true;
    // How bytes reach the temporary file; the standard library's fwrite when empty.
    ChunkWriter writer;
    // Every save (and export) first removes the temporary files that writers ended before they
    // finished left beside the target; one still being written is held by its writer and stays.
    // With this set, the caller also holds the file's lock, so no other save runs: the staged
    // backups an ended writer left are cleared too (an old backup it had moved aside goes back
    // when the backup is missing), and a backup that is only another name of the file itself
    // is dropped.
    bool clearLeftovers = false;
};

// Saves `bytes` as the whole file at SaveTargetOf(path) without ever leaving a partial file
// there, all or nothing:
// 1. the bytes go to a temporary file of a unique name beside the target, flushed to disk and
//    given the old file's permission bits; with a backup wanted, a second unique name gets the
//    current file (a hard link, or a copy where links cannot be made and always on Windows);
// 2. only then are names changed: an old backup moves aside under a unique name, the staged
//    backup becomes target.bak, and the temporary file is renamed over the target, each
//    rename replacing in one step (on Windows MoveFileExW, written through to the disk);
// 3. should any of these fail, the renames are undone, so the file, its backup and the folder
//    are as before; once all succeed the old backup is removed and the folder is flushed.
// Something at the target that InspectTarget refuses (no regular file, read-only, or a failure
// to look at it) is not replaced, and a file whose permission bits cannot be given to the new
// one is not replaced either.
// When `written` is given it receives the stamp of the file now on disk.
std::optional<SaveError> SaveWholeFile(const std::filesystem::path& path,
                                       std::span<const uint8_t> bytes,
                                       const SaveOptions& options = {},
                                       DiskStamp* written = nullptr);

// SaveWholeFile for bytes made while they are written, so that they never need to be in memory
// at once: the same temporary file, renames and undoing. The target is replaced only after the
// producer has returned and every byte it gave reached the disk; a failed write leaves it as
// it was and removes the temporary file.
std::optional<SaveError> SaveStreamedFile(const std::filesystem::path& path,
                                          const ChunkProducer& produce,
                                          const SaveOptions& options = {});

}  // namespace thornbeck
