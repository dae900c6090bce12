#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/fileio/DiskStamp.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// A registry file as every part of the program holds it once opened: its bytes, their index and
// what the file on disk looked like when it was read.
struct RegistryFile {
    RegistryImage image;
    RegistryIndex index;
    DiskStamp stamp;
};

// Why a file was not opened. The kinds let a caller choose how loudly to say so; `reason` says it
// in the same words for the window, Compare With and thornbeck-cli.
struct OpenRefusal {
    enum class Kind {
        Missing,     // nothing is at the path
        Unreadable,  // a folder, a FIFO, a device, a file over 2 GiB, no permission, an I/O error
        TooShort,    // fewer bytes than a registry file has
    };
    Kind kind;
    std::string reason;  // such as "cannot read: is a FIFO, not a regular file"
};

struct OpenOutcome {
    std::optional<RegistryFile> file;
    std::optional<OpenRefusal> refusal;  // set exactly when `file` is not
};

// The one way a path becomes an open registry file: read whole through ReadRegularFile (so a
// FIFO, a device or a huge file is refused before a byte is read), checked for its size, and
// indexed.
OpenOutcome OpenRegistryFile(const std::filesystem::path& path);

// "N bytes, shorter than the 65520 bytes of a registry file".
std::string TooShortReason(size_t size);

}  // namespace thornbeck
