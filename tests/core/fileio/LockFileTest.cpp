#include "core/fileio/LockFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "support/TestFiles.h"

namespace thornbeck {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::TempFolder;

std::string HostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

std::string ThisProgram() {
    return fs::read_symlink("/proc/self/exe").filename().string();
}

void WriteLock(const fs::path& path, long long pid, const std::string& program) {
    std::ofstream(path, std::ios::binary) << pid << '\n' << program << '\n' << HostName() << '\n';
}

TEST(LockFile, KeepsASecondWriterOutUntilTheFirstUnlocks) {
    TempFolder folder;
    const auto path = folder.path() / "x.sys.lock";
    LockFile first(path);
    ASSERT_EQ(first.lock(milliseconds(0)), LockFile::Result::Locked);
    // QLockFile's contents: the process, its program and the host, each on a line.
    const auto text = test::ReadBytes(path);
    const std::string expected =
        std::to_string(::getpid()) + '\n' + ThisProgram() + '\n' + HostName() + '\n';
    EXPECT_EQ(std::string(text.begin(), text.end()).substr(0, expected.size()), expected);

    LockFile second(path);
    EXPECT_EQ(second.lock(milliseconds(0)), LockFile::Result::Busy);
    EXPECT_FALSE(second.locked());
    EXPECT_EQ(test::ReadBytes(path), text);  // the holder's lock is left as it was

    first.unlock();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(second.lock(milliseconds(0)), LockFile::Result::Locked);
    EXPECT_TRUE(fs::exists(path));
}

TEST(LockFile, RemovesALockWhoseOwnerIsGone) {
    TempFolder folder;
    const auto path = folder.path() / "x.sys.lock";
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    WriteLock(path, child, ThisProgram());
    LockFile lock(path);
    EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Locked);

    // A live process of this program holds it; only age makes such a lock stale.
    lock.unlock();
    WriteLock(path, ::getpid(), ThisProgram());
    EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Busy);
    // A live process running another program has only reused the owner's number.
    WriteLock(path, ::getpid(), "some-other-program");
    EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Locked);
    lock.unlock();
    WriteLock(path, ::getpid(), ThisProgram());
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(1));
    EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Locked);
}

TEST(LockFile, AFolderThatCannotBeWrittenFailsAtOnce) {
    TempFolder folder;
    LockFile lock(folder.path() / "missing" / "x.sys.lock");
    EXPECT_EQ(lock.lock(milliseconds(2000)), LockFile::Result::Failed);
    EXPECT_EQ(lock.failure(), "No such file or directory");
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// Something at the lock's path that no writer made is said for what it is at once, instead of
// being waited for as a busy lock, and is left alone.
TEST(LockFile, AFolderOrALinkAtTheLockPathIsNoLockAndIsSaid) {
    TempFolder folder;
    const fs::path lockPath = folder.path() / "x.sys.lock";
    fs::create_directory(lockPath);
    LockFile lock(lockPath);
    EXPECT_EQ(lock.lock(std::chrono::seconds(60)), LockFile::Result::NotALock);
    EXPECT_EQ(lock.failure(),
              lockPath.string() + " is a folder, not a lock file; remove it to save");
    EXPECT_TRUE(fs::is_directory(lockPath));
    fs::remove(lockPath);
    fs::create_symlink(folder.path() / "nowhere", lockPath);
    EXPECT_EQ(lock.lock(std::chrono::seconds(60)), LockFile::Result::NotALock);
    EXPECT_EQ(lock.failure(),
              lockPath.string() + " is a symbolic link, not a lock file; remove it to save");
    fs::remove(lockPath);
    EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Locked);
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// Its owner holds a lock from the moment it makes it; one that nobody holds and that names no
// process was left by a writer killed before it wrote it, and is no reason to wait.
TEST(LockFile, ALockNobodyHoldsThatNamesNoProcessIsTakenAtOnce) {
    TempFolder folder;
    const auto path = folder.path() / "x.sys.lock";
    for (const std::string& left : {std::string(), std::string("12ab\n"), std::string("\n\n")}) {
        std::ofstream(path, std::ios::binary) << left;
        LockFile lock(path);
        EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Locked) << left;
        lock.unlock();
    }
    // Held (as by a writer that has made it and not yet written it), it is left alone.
    std::ofstream(path, std::ios::binary).flush();
    const int held = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    LockFile lock(path);
    EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Busy);
    EXPECT_TRUE(fs::exists(path));
    ::close(held);
    EXPECT_EQ(lock.lock(milliseconds(0)), LockFile::Result::Locked);
}

}  // namespace
}  // namespace thornbeck
