// POSIX's side of SystemFiles.h; Windows has its own file.
#ifndef _WIN32
#include "core/fileio/SystemFiles.h"

#include <fcntl.h>
#include <sys/file.h>
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

namespace {
bool NamesOpenedFile(int fd, const std::filesystem::path& name) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(name.c_str(), &named) == 0 &&
           opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
}
}  // namespace

bool HoldWhileWriting(std::FILE* file, const std::filesystem::path& name) {
    const int fd = ::fileno(file);
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesOpenedFile(fd, name);
}

bool RemoveIfNobodyWrites(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesOpenedFile(fd, path) &&
                         ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

}  // namespace thornbeck
#endif
