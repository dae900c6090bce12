// set and the readers against special files, huge files, links and a second writer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "cli/CliRun.h"
#include "core/fileio/AtomicSave.h"
#include "core/fileio/LockFile.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

std::string ValueOf(const std::string& file, const std::string& key) {
    const std::string out = RunCli({"get", file, key}).out;
    return out.substr(0, out.find('\n'));
}

bool HasStrace() {
    return std::system("command -v strace >/dev/null") == 0;
}

// thornbeck-cli with `args` under strace with `straceOptions` (fault injection), its trace
// discarded. LeakSanitizer cannot work under ptrace; the sanitizer build turns it off here.
CliRun RunUnderStrace(const std::vector<std::string>& straceOptions,
                      const std::vector<std::string>& args) {
    const char* asan = std::getenv("ASAN_OPTIONS");
    std::vector<std::string> argv = {
        "/usr/bin/strace",
        "-f",
        "-o",
        "/dev/null",
        "-E",
        "ASAN_OPTIONS=" + std::string(asan ? asan : "") + ":detect_leaks=0"};
    argv.insert(argv.end(), straceOptions.begin(), straceOptions.end());
    argv.push_back(THORNBECK_CLI_PATH);
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv);
}

TEST(FileSafety, AFifoIsRefusedAtOnce) {
    TempFolder folder;
    const auto fifo = (folder.path() / "x.sys").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", fifo},
                                                 {"get", fifo, "/t/int"},
                                                 {"set", fifo, "/t/int", "--value", "1"}}) {
        const auto run = RunCli(args, seconds(5));
        EXPECT_FALSE(run.timedOut) << args[0];
        EXPECT_EQ(run.exitCode, 2) << args[0];
        EXPECT_NE(run.err.find(fifo + ": cannot read: is a FIFO, not a regular file"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"x.sys"});
}

TEST(FileSafety, AFileOver2GiBIsRefusedWithoutReadingIt) {
    TempFolder folder;
    const auto big = folder.write("big.sys", {});
    fs::resize_file(big, uint64_t{3} << 30);
    const auto run = RunCli({"info", big.string()});
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot read: is larger than 2 GiB (3221225472 bytes)"),
              std::string::npos)
        << run.err;
}

TEST(FileSafety, SetSavesThroughASymbolicLink) {
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto target = folder.write("real.sys", bytes);
    const auto link = folder.path() / "link.sys";
    fs::create_symlink("real.sys", link);
    const auto run = RunCli({"set", link.string(), "/t/int", "--value", "99"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ValueOf(target.string(), "/t/int"), "Value: 00000099");
    EXPECT_EQ(ReadBytes(BackupPathOf(target)), bytes);
    EXPECT_EQ(NamesIn(folder.path()),
              (std::vector<std::string>{"link.sys", "real.sys", "real.sys.bak"}));
}

// A set that found the other one holding the lock for the whole wait (a loaded machine) is
// told busy and writes nothing, so it may be run again: what must hold is that no set that
// succeeded is lost, however the two interleave.
CliRun SetUntilNotBusy(const std::vector<std::string>& args) {
    for (;;) {
        CliRun run = RunCli(args);
        if (run.exitCode != 2 || run.err.find(": busy: ") == std::string::npos) return run;
    }
}

TEST(FileSafety, ConcurrentSetsOnOneFileAllLand) {
    TempFolder folder;
    const auto file = folder.write("t.sys", CommandTestImage()).string();
    for (int pair = 1; pair <= 20; ++pair) {
        const std::string value = std::to_string(pair);  // hex digits, 1 to 20
        CliRun first, second;
        std::thread other([&] {
            first = SetUntilNotBusy({"set", file, "/t/int", "--value", value});
        });
        second = SetUntilNotBusy({"set", file, "/t/short", "--value", value});
        other.join();
        ASSERT_EQ(first.exitCode, 0) << first.err;
        ASSERT_EQ(second.exitCode, 0) << second.err;
        const std::string padded = std::string(8 - value.size(), '0') + value;
        ASSERT_EQ(ValueOf(file, "/t/int"), "Value: " + padded) << "pair " << pair;
        ASSERT_EQ(ValueOf(file, "/t/short"), "Value: " + padded) << "pair " << pair;
        ASSERT_EQ(NamesIn(folder.path()), (std::vector<std::string>{"t.sys", "t.sys.bak"}));
    }
}

TEST(FileSafety, ABusyFileIsReportedAndLeftAlone) {
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto file = folder.write("t.sys", bytes).string();
    LockFile window(LockPathOf(file));
    ASSERT_EQ(window.lock(milliseconds(0)), LockFile::Result::Locked);
    const auto run = RunCli({"set", file, "/t/int", "--value", "5"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(file + ": busy: another program is saving it"), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(file), bytes);
    // A dry run writes nothing and needs no lock.
    EXPECT_EQ(RunCli({"set", file, "/t/int", "--value", "5", "--dry-run"}).exitCode, 0);
    window.unlock();
    EXPECT_EQ(RunCli({"set", file, "/t/int", "--value", "5"}).exitCode, 0);
    EXPECT_EQ(NamesIn(folder.path()), (std::vector<std::string>{"t.sys", "t.sys.bak"}));
}

// A folder where the lock belongs is said for what it is, not reported as a busy file.
TEST(FileSafety, AFolderAtTheLockPathIsSaidAndNothingIsWritten) {
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto file = folder.write("t.sys", bytes).string();
    fs::create_directory(file + ".lock");
    const auto run = RunCli({"set", file, "/t/int", "--value", "5"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(file + ": " + file +
                           ".lock is a folder, not a lock file; remove it "
                           "to save"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("busy"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file), bytes);
}

// A disk that fills while the backup is copied (hard links refused, as on FAT) gives the system's
// own reason. Needs a small tmpfs and strace to refuse the links; skipped where either is
// missing.
TEST(FileSafety, ADiskThatFillsDuringTheBackupCopySaysSo) {
    TempFolder folder;
    const fs::path disk = folder.path() / "disk";
    fs::create_directory(disk);
    const std::string mount =
        "mount -t tmpfs -o size=600k tmpfs '" + disk.string() + "' 2>/dev/null";
    if (std::system("command -v strace >/dev/null") != 0 || std::system(mount.c_str()) != 0)
        GTEST_SKIP() << "needs strace and a tmpfs mount";
    const auto bytes = SampleBytes();
    const auto file = (disk / "x.sys").string();
    {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    const auto run = RunUnderStrace({"-e", "inject=link,linkat:error=EPERM"},
                                    {"set", file, "/setting/system/timeZone", "--value", "78"});
    const auto after = ReadBytes(file);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(disk)) names.push_back(entry.path().filename());
    std::system(("umount '" + disk.string() + "'").c_str());
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Input/output error"), std::string::npos) << run.err;
    EXPECT_EQ(after, bytes);
    EXPECT_EQ(names, std::vector<std::string>{"x.sys"});
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// The new file cannot be given the old one's permissions: the save fails and leaves the file,
// its mode and the folder as they were, instead of quietly making a private file readable.
TEST(FileSafety, APermissionCopyThatFailsFailsTheSave) {
    if (!HasStrace()) GTEST_SKIP() << "needs strace";
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto file = folder.write("f.sys", bytes);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    const auto run =
        RunUnderStrace({"-e", "trace=fchmodat", "-e", "inject=fchmodat:error=EIO:when=1"},
                       {"set", file.string(), "/t/int", "--value", "5"});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("cannot give the new file its permissions: Input/output error"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(file), bytes);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"f.sys"});
}

// A writer killed right after creating its lock leaves it empty; nobody holds it, so the next
// writer takes it at once instead of calling the file busy.
TEST(FileSafety, ALockLeftEmptyByAKilledWriterDoesNotBlockTheNext) {
    if (!HasStrace()) GTEST_SKIP() << "needs strace";
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto file = folder.write("f.sys", bytes);
    const auto killed =
        RunUnderStrace({"-e", "trace=flock", "-e", "inject=flock:signal=KILL:when=1"},
                       {"set", file.string(), "/t/int", "--value", "5"});
    EXPECT_NE(killed.exitCode, 0);
    ASSERT_TRUE(fs::exists(LockPathOf(file)));
    EXPECT_EQ(fs::file_size(LockPathOf(file)), 0u);
    EXPECT_EQ(ReadBytes(file), bytes);
    const auto next = RunCli({"set", file.string(), "/t/int", "--value", "5"});
    EXPECT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(ValueOf(file.string(), "/t/int"), "Value: 00000005");
    EXPECT_EQ(NamesIn(folder.path()), (std::vector<std::string>{"f.sys", "f.sys.bak"}));
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

TEST(FileSafety, SetAndMergeRefuseAReadOnlyFileAndLeaveEveryFile) {
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto file = folder.write("f.sys", bytes);
    const auto b = folder.path() / "b.sys";
    ASSERT_EQ(RunCli({"set", file.string(), "/t/int", "--value", "5", "-o", b.string()}).exitCode,
              0);
    fs::permissions(file, fs::perms::owner_read);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set", file.string(), "/t/int", "--value", "5"},
          {"merge", file.string(), b.string()}}) {
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args[0] << ": " << run.err;
        EXPECT_NE(run.err.find(file.string() + ": cannot save: it is read-only"), std::string::npos)
            << run.err;
        EXPECT_EQ(ReadBytes(file), bytes);
        EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read);
        EXPECT_EQ(NamesIn(folder.path()), (std::vector<std::string>{"b.sys", "f.sys"}));
    }
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// export-csv killed at its first flush leaves its temporary file; the next export clears it.
TEST(FileSafety, AnExportKilledWhileWritingLeavesNothingAfterTheNextExport) {
    if (!HasStrace()) GTEST_SKIP() << "needs strace";
    TempFolder folder;
    const auto file = folder.write("f.sys", CommandTestImage());
    const auto csv = (folder.path() / "out.csv").string();
    const auto killed =
        RunUnderStrace({"-e", "trace=fsync", "-e", "inject=fsync:signal=KILL:when=1"},
                       {"export-csv", file.string(), csv});
    EXPECT_NE(killed.exitCode, 0);
    ASSERT_EQ(NamesIn(folder.path()).size(), 2u);  // f.sys and the temporary file
    const auto next = RunCli({"export-csv", file.string(), csv});
    EXPECT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(NamesIn(folder.path()), (std::vector<std::string>{"f.sys", "out.csv"}));
}

}  // namespace
}  // namespace thornbeck::test
