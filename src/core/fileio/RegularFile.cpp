#include "core/fileio/RegularFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace thornbeck {
namespace {

#ifdef _WIN32
using StatBuffer = struct _stat64;
int StatPath(const std::filesystem::path& path, StatBuffer* status) {
    return ::_wstat64(path.c_str(), status);
}
int StatOpened(int fd, StatBuffer* status) {
    return ::_fstat64(fd, status);
}
int OpenForReading(const std::filesystem::path& path) {
    return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY);
}
int64_t ModifiedOf(const StatBuffer& status) {
    return static_cast<int64_t>(status.st_mtime);
}
bool IsRegular(const StatBuffer& status) {
    return (status.st_mode & _S_IFMT) == _S_IFREG;
}
std::string KindOf(const StatBuffer& status) {
    if ((status.st_mode & _S_IFMT) == _S_IFDIR) return "is a folder";
    return "is not a regular file";
}
int ReadSome(int fd, uint8_t* into, size_t count) {
    return ::_read(fd, into, static_cast<unsigned>(std::min<size_t>(count, 1 << 30)));
}
void CloseFile(int fd) {
    ::_close(fd);
}
#else
using StatBuffer = struct stat;
int StatPath(const std::filesystem::path& path, StatBuffer* status) {
    return ::stat(path.c_str(), status);
}
int StatOpened(int fd, StatBuffer* status) {
    return ::fstat(fd, status);
}
int OpenForReading(const std::filesystem::path& path) {
    // Non-blocking: should the path become a FIFO after the check, the open still returns.
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
int64_t ModifiedOf(const StatBuffer& status) {
    return int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
}
bool IsRegular(const StatBuffer& status) {
    return S_ISREG(status.st_mode);
}
std::string KindOf(const StatBuffer& status) {
    if (S_ISDIR(status.st_mode)) return "is a folder";
    if (S_ISFIFO(status.st_mode)) return "is a FIFO, not a regular file";
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return "is a device, not a regular file";
    if (S_ISSOCK(status.st_mode)) return "is a socket, not a regular file";
    return "is not a regular file";
}
ssize_t ReadSome(int fd, uint8_t* into, size_t count) {
    return ::read(fd, into, count);
}
void CloseFile(int fd) {
    ::close(fd);
}
#endif

std::string TooLarge(uint64_t size) {
    return "is larger than 2 GiB (" + std::to_string(size) + " bytes)";
}

// Why the file with this status is not read; empty when it may be.
std::string Refusal(const StatBuffer& status) {
    if (!IsRegular(status)) return KindOf(status);
    if (static_cast<uint64_t>(status.st_size) > kLargestReadableFile)
        return TooLarge(static_cast<uint64_t>(status.st_size));
    return {};
}

void Fail(FileRead& result, int error) {
    result.failure = std::strerror(error);
    result.missing = error == ENOENT || error == ENOTDIR;
}

// Opens the file once both the path and the opened file pass the checks; -1 with the reason
// in `result` otherwise.
int OpenChecked(const std::filesystem::path& path, FileRead& result) {
    StatBuffer status{};
    if (StatPath(path, &status) != 0) {
        Fail(result, errno);
        return -1;
    }
    if (result.failure = Refusal(status); !result.failure.empty()) return -1;
    const int fd = OpenForReading(path);
    if (fd < 0) {
        Fail(result, errno);
        return -1;
    }
    if (StatOpened(fd, &status) != 0) {
        Fail(result, errno);
    } else {
        result.failure = Refusal(status);
    }
    if (!result.failure.empty()) {
        CloseFile(fd);
        return -1;
    }
    result.stamp.size = static_cast<uint64_t>(status.st_size);
    result.stamp.modified = ModifiedOf(status);
    return fd;
}

// Reads to the end; a file that grew or shrank since its size was taken still gives exactly
// the bytes that were there, within the limit.
bool ReadAll(int fd, FileRead& result) {
    std::vector<uint8_t>& bytes = result.bytes;
    bytes.resize(static_cast<size_t>(result.stamp.size));
    size_t filled = 0;
    // Bytes beyond the expected size go through a small buffer, so that a file that kept its
    // size is read into exactly its size and never into a grown copy.
    std::array<uint8_t, 1 << 12> beyond{};
    for (;;) {
        const bool full = filled == bytes.size();
        const auto got = full ? ReadSome(fd, beyond.data(), beyond.size())
                              : ReadSome(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Fail(result, errno);
            return false;
        }
        if (got == 0) break;
        if (full) {
            if (bytes.size() + static_cast<size_t>(got) > kLargestReadableFile) {
                result.failure = TooLarge(bytes.size() + static_cast<size_t>(got));
                return false;
            }
            bytes.insert(bytes.end(), beyond.begin(), beyond.begin() + got);
        }
        filled += static_cast<size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

}  // namespace

FileRead CheckRegularFile(const std::filesystem::path& path) {
    FileRead result;
    const int fd = OpenChecked(path, result);
    if (fd >= 0) CloseFile(fd);
    return result;
}

FileRead ReadRegularFile(const std::filesystem::path& path) {
    FileRead result;
    const int fd = OpenChecked(path, result);
    if (fd < 0) return result;
    const bool read = ReadAll(fd, result);
    CloseFile(fd);
    if (!read) {
        result.bytes = {};
        return result;
    }
    result.stamp.size = result.bytes.size();
    result.stamp.hash = ContentHash(result.bytes);
    return result;
}

}  // namespace thornbeck
