#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/fileio/RegularFile.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"
#include "core/load/RegistryFile.h"

namespace thornbeck::cli {

// Reads the whole file through the core's ReadRegularFile, so a FIFO, a device or a file over
// 2 GiB is refused before anything is read, exactly as the window refuses it. `failure`
// starts with "cannot read: ". An empty file is read as 0 bytes.
FileRead ReadInputFile(const std::filesystem::path& path);

// A registry file as the window holds it after opening: the image and both views.
struct LoadedRegistry {
    std::string name;  // the path as given, for messages
    RegistryImage image;
    RegistryIndex index;
    DiskStamp stamp;  // the file as it was read
};

// Opens the file as the window does (OpenRegistryFile). A file it refuses is reported on `err`,
// naming the file and the reason, and gives nothing.
std::optional<LoadedRegistry> LoadRegistry(std::string_view file, std::ostream& err);

// The entry the window's tree node holds for the key, with its node: for a name that several
// entries share, the last of them. Nothing for an unknown key or a key folder.
struct KeyedEntry {
    int32_t node;
    EntryRef entry;
};
std::optional<KeyedEntry> EntryOfKey(const RegistryIndex& index, std::string_view key);

// EntryOfKey for a key given on the command line (terminal text, mapped to bytes through
// Latin-1), reporting on `err` when the file has no entry with the key (or only a key folder).
std::optional<KeyedEntry> RequireEntry(const LoadedRegistry& file, std::string_view key,
                                       std::ostream& err);

// "thornbeck-cli: FILE: reason" on `err`.
void ReportFileProblem(std::string_view file, std::string_view reason, std::ostream& err);

std::filesystem::path PathOfArgument(std::string_view argument);

}  // namespace thornbeck::cli
