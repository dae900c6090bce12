// POSIX's side of SystemFiles.h; Windows has its own file.
#ifndef _WIN32
#include "core/fileio/SystemFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace thornbeck {

bool IsMarkedReadOnly(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return false;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    // The superuser passes every access test; the mode bits alone speak for him.
    if (::geteuid() == 0) return false;
    return ::access(path.c_str(), W_OK) != 0 && errno == EACCES;
}

bool SameNameOnThisSystem(const std::filesystem::path& a, const std::filesystem::path& b) {
    return a == b;
}

}  // namespace thornbeck
#endif
