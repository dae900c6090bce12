#pragma once

#include <cstdio>
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

// Marks the file just created at `name` and open as `file` as being written, for as long as it
// stays open, so that RemoveIfNobodyWrites leaves it alone: POSIX holds its flock (false when
// another process took it first, or the name is no longer this file: it is being cleared away,
// and the caller makes another); Windows needs nothing, an open file cannot be removed there.
bool HoldWhileWriting(std::FILE* file, const std::filesystem::path& name);

// Removes the file at `path` unless a writer still holds it (HoldWhileWriting); true when it
// is gone.
bool RemoveIfNobodyWrites(const std::filesystem::path& path);

}  // namespace thornbeck
