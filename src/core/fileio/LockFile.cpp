#include "core/fileio/LockFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

#include "core/fileio/SystemText.h"
#include "core/text/TextFunctions.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>

#else
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace thornbeck {
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// The values QSysInfo gives on Windows: the installation's GUID, and no boot id. A 64-bit
// program reads the registry's own view, so no redirection applies.
std::string MachineId() {
    wchar_t guid[64] = {};
    DWORD size = sizeof guid;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                     RRF_RT_REG_SZ, nullptr, guid, &size) != ERROR_SUCCESS)
        return {};
    return Utf8Of(guid);
}
std::string BootId() {
    return {};
}
long long ThisProcess() {
    return _getpid();
}
std::string HostName() {
    wchar_t name[256] = {};
    DWORD size = 255;
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) return {};
    return Utf8Of(std::wstring_view(name, size));
}
// The file name of the process's program, as QLockFile records and compares it; empty when
// the process is gone or may not be asked.
std::string ProgramOf(long long pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return {};
    wchar_t path[MAX_PATH * 4] = {};
    DWORD size = MAX_PATH * 4;
    const bool named = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return named ? PathText(fs::path(std::wstring(path, size)).filename()) : std::string();
}
// A process that runs another program has only reused the number of the lock's owner.
bool ProcessRuns(long long pid, const std::string& program) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    if (ended) return false;
    const std::string running = ProgramOf(pid);
    return running.empty() || program.empty() || running == program;
}
int CreateExclusive(const fs::path& path) {
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
void CloseDescriptor(int fd) {
    ::_close(fd);
}
bool WriteAll(int fd, const std::string& text) {
    return ::_write(fd, text.data(), static_cast<unsigned>(text.size())) ==
           static_cast<int>(text.size());
}
#else
std::string Trimmed(std::string_view text) {
    return std::string(TrimmedOf(text, " \t\r\n"));
}

// The first bytes of a small system file, trimmed; empty when it cannot be read.
std::string FirstBytesOf(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(64, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return Trimmed(text);
}

// The values QSysInfo gives for the machine and the boot, from the same files.
std::string MachineId() {
    for (const char* path :
         {"/var/lib/dbus/machine-id", "/usr/local/var/lib/dbus/machine-id", "/etc/machine-id"})
        if (std::string id = FirstBytesOf(path); !id.empty()) return id;
    return {};
}

std::string BootId() {
    return FirstBytesOf("/proc/sys/kernel/random/boot_id");
}

long long ThisProcess() {
    return ::getpid();
}
std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}
// The file name of the process's program, as QLockFile records and compares it.
std::string ProgramOf(long long pid) {
    char target[4096];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0) return {};
    std::string path(target, static_cast<size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    return fs::path(path).filename().string();
}
// A process that runs another program has only reused the number of the lock's owner.
bool ProcessRuns(long long pid, const std::string& program) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return false;
    const std::string running = ProgramOf(pid);
    return running.empty() || program.empty() || running == program;
}
int CreateExclusive(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
void CloseDescriptor(int fd) {
    ::close(fd);
}
bool WriteAll(int fd, const std::string& text) {
    return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}
#endif

struct LockInfo {
    long long pid = 0;
    std::string program, host, machine, boot;
};

// What the lock file says; nothing while its owner has not finished writing it.
std::optional<LockInfo> ReadLockInfo(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    LockInfo info;
    std::string pid;
    if (!std::getline(in, pid) || pid.empty()) return std::nullopt;
    std::getline(in, info.program);
    std::getline(in, info.host);
    std::getline(in, info.machine);
    std::getline(in, info.boot);
    try {
        size_t used = 0;
        info.pid = std::stoll(pid, &used);
        if (used != pid.size() || info.pid <= 0) return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return info;
}

// Called only while no live owner can hold the lock: on POSIX this process holds its flock, on
// Windows a live owner keeps it open, so that it cannot be removed. A lock that names no process
// (empty, or cut short when its writer was killed) is then stale at once.
bool ApparentlyStale(const fs::path& path, std::chrono::milliseconds staleAfter) {
    const auto info = ReadLockInfo(path);
    if (!info) return true;
    bool sameHost = info->host.empty() || info->host == HostName();
    const std::string machine = MachineId();
    if (!info->machine.empty() && !machine.empty()) sameHost = info->machine == machine;
    if (sameHost) {
        if (!info->boot.empty() && info->boot != BootId()) return true;
        if (!ProcessRuns(info->pid, info->program)) return true;
    }
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    if (error || staleAfter.count() <= 0) return false;
    const auto age = fs::file_time_type::clock::now() - written;
    return age > staleAfter || -age > staleAfter;
}

}  // namespace

std::optional<std::string> NotALockReason(const fs::path& lockPath) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(lockPath, error);
    if (error || !fs::exists(status) || fs::is_regular_file(status)) return std::nullopt;
    const char* what = fs::is_directory(status) ? "a folder"
                       : fs::is_symlink(status) ? "a symbolic link"
                                                : "no regular file";
    return PathText(lockPath) + " is " + what + ", not a lock file; remove it to save";
}

LockFile::LockFile(fs::path lockPath, std::chrono::milliseconds staleAfter)
    : lockPath(std::move(lockPath)), staleAfter(staleAfter) {}

LockFile::~LockFile() {
    unlock();
}

bool LockFile::tryOnce() {
    const int fd = CreateExclusive(lockPath);
    if (fd < 0) {
        if (errno != EEXIST) reason = std::strerror(errno);
        return false;
    }
#ifndef _WIN32
    // Held for as long as the lock is: it keeps another writer from removing a live lock as
    // stale. Another writer that found the file empty and flocked it first is removing it; one
    // that already has is seen by the name no longer being this file. Either way: try again.
    struct stat opened {
    }, named{};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &opened) != 0 ||
        ::stat(lockPath.c_str(), &named) != 0 || opened.st_ino != named.st_ino ||
        opened.st_dev != named.st_dev) {
        CloseDescriptor(fd);
        return false;
    }
#endif
    const std::string contents = std::to_string(ThisProcess()) + '\n' + ProgramOf(ThisProcess()) +
                                 '\n' + HostName() + '\n' + MachineId() + '\n' + BootId() + '\n';
    if (!WriteAll(fd, contents)) {
        reason = std::strerror(errno);
        CloseDescriptor(fd);
        std::error_code ignored;
        fs::remove(lockPath, ignored);
        return false;
    }
    handle = fd;
    return true;
}

bool LockFile::removeIfStale() {
#ifdef _WIN32
    // A live owner keeps the file open without delete sharing: removing it then fails.
    if (!ApparentlyStale(lockPath, staleAfter)) return false;
    std::error_code error;
    return fs::remove(lockPath, error);
#else
    // As QLockFile does: only a file no live owner holds locked may go, and only the file that
    // was looked at, not one another process has made meanwhile.
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    bool removed = false;
    struct stat opened {
    }, named{};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
        ::stat(lockPath.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev && ApparentlyStale(lockPath, staleAfter))
        removed = ::unlink(lockPath.c_str()) == 0;
    ::close(fd);
    return removed;
#endif
}

LockFile::Result LockFile::lock(std::chrono::milliseconds wait) {
    if (locked()) return Result::Locked;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::minstd_rand jitter(static_cast<unsigned>(ThisProcess()));
    for (;;) {
        reason.clear();
        if (auto problem = NotALockReason(lockPath)) {
            reason = std::move(*problem);
            return Result::NotALock;
        }
        if (tryOnce()) return Result::Locked;
        if (!reason.empty()) return Result::Failed;
        if (removeIfStale()) continue;
        if (std::chrono::steady_clock::now() >= deadline) return Result::Busy;
        // Short and uneven pauses: the other writer usually holds the lock for milliseconds.
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + jitter() % 30));
    }
}

void LockFile::unlock() {
    if (handle < 0) return;
    std::error_code ignored;
#ifdef _WIN32
    // Closed first, as QLockFile does there: Windows cannot remove a file that is still open
    // without delete sharing.
    CloseDescriptor(handle);
    fs::remove(lockPath, ignored);
#else
    // Removed while still held, so no other writer can take it as stale in between.
    fs::remove(lockPath, ignored);
    CloseDescriptor(handle);
#endif
    handle = -1;
}

}  // namespace thornbeck
