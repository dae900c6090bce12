#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace thornbeck {

// A lock file that keeps two writers of one file apart, made and read as Qt's QLockFile makes
// and reads them, so the window (which uses QLockFile on the same name) and thornbeck-cli
// exclude each other. The file is created only when absent and holds
// "PID\nPROGRAM\nHOST\nMACHINE-ID\nBOOT-ID\n". Its owner holds it (flock on POSIX, the open
// file on Windows) until it unlocks, so a lock that nobody holds is stale and removed at once
// when it names no process (a writer killed before it wrote its lock leaves it empty), a
// process that no longer runs on this machine, or one from before the machine's last start; so
// is one older than `staleAfter` (QLockFile's default is 30 s), whose owner comes from another
// machine.
class LockFile {
public:
    enum class Result {
        Locked,
        Busy,      // another live process held the lock for the whole wait
        Failed,    // the lock file could not be made; failure() says why
        NotALock,  // something else stands at the lock's path; failure() says what
    };

    explicit LockFile(std::filesystem::path lockPath,
                      std::chrono::milliseconds staleAfter = std::chrono::seconds(30));
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Takes the lock, retrying until `wait` has passed.
    Result lock(std::chrono::milliseconds wait);
    // Removes the lock file if this object holds it; the destructor does the same.
    void unlock();

    bool locked() const { return handle >= 0; }
    const std::filesystem::path& path() const { return lockPath; }
    const std::string& failure() const { return reason; }

private:
    bool tryOnce();
    bool removeIfStale();

    std::filesystem::path lockPath;
    std::chrono::milliseconds staleAfter;
    int handle = -1;
    std::string reason;
};

// Why what stands at `lockPath` can be no lock file, such as "x.sys.lock is a folder, not a lock
// file; remove it to save"; nothing when the path is free or holds a regular file. A folder, a
// symbolic link (dangling or not), a FIFO or a device would otherwise look like a lock held for
// ever, and no writer could tell the user why it waits.
std::optional<std::string> NotALockReason(const std::filesystem::path& lockPath);

}  // namespace thornbeck
