#pragma once

#include <filesystem>

// The few file calls that differ between POSIX and Windows, each platform's in one file
// (SystemFilesPosix.cpp, SystemFilesWindows.cpp); the rest of fileio is written once above them.
namespace thornbeck {

// Whether the file at `path` is marked read-only: on Windows its read-only attribute; on POSIX a
// mode that grants no write permission at all, or none to this user. The superuser could write
// it anyway, but the mark says its owner wants it kept as it is, so it counts for him too.
bool IsMarkedReadOnly(const std::filesystem::path& path);

// Whether two paths, each made absolute and free of links, name the same file: equal on POSIX,
// equal but for letter case on Windows, whose file systems ignore it.
bool SameNameOnThisSystem(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace thornbeck
