// The window and thornbeck-cli keep out of each other's way through one lock file beside the
// registry: the window's save holds a QLockFile, set holds the core's LockFile, and each waits
// for the other and then reports the file as busy, writing nothing.
#include <gtest/gtest.h>

#include <QLockFile>
#include <sstream>

#include "cli/CliRun.h"
#include "cli/EditedSave.h"
#include "cli/ExitCode.h"
#include "core/fileio/AtomicSave.h"
#include "core/fileio/LockFile.h"
#include "core/fileio/SaveTarget.h"
#include "gui/TestWindow.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

TEST(LockContract, SetWaitsForTheWindowsLockAndReportsTheBusyFile) {
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto file = folder.write("t.sys", bytes);
    // As the window's save takes it.
    QLockFile windowLock(Q(LockPathOf(file)));
    ASSERT_TRUE(windowLock.tryLock(0));
    const auto busy = RunCli({"set", file.string(), "/t/int", "--value", "5"});
    EXPECT_EQ(busy.exitCode, 2);
    EXPECT_NE(busy.err.find(file.string() + ": busy: another program is saving it"),
              std::string::npos)
        << busy.err;
    EXPECT_EQ(ReadBytes(file), bytes);
    windowLock.unlock();
    const auto saved = RunCli({"set", file.string(), "/t/int", "--value", "5"});
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_NE(ReadBytes(file), bytes);
}

TEST(LockContract, TheWindowsSaveWaitsForSetsLockAndReportsTheBusyFile) {
    TempFolder folder;
    const auto file = folder.write("xRegistry.sys", SampleBytes());
    TestWindow w;
    w->openFile(Q(file));
    w.makeUnsavedChange();
    {
        // As thornbeck-cli set takes it.
        LockFile cliLock(LockPathOf(file));
        ASSERT_EQ(cliLock.lock(std::chrono::milliseconds(0)), LockFile::Result::Locked);
        w.trigger("saveAction");
        ASSERT_EQ(w.prompts->messages.size(), 1u);
        EXPECT_NE(w.prompts->messages[0].text.indexOf("Another program is saving it"), -1)
            << w.prompts->messages[0].text.toStdString();
        EXPECT_TRUE(w->document().hasUnsavedChanges());
        EXPECT_FALSE(std::filesystem::exists(BackupPathOf(file)));
    }
    w.trigger("saveAction");
    EXPECT_EQ(w.prompts->messages.size(), 1u);
    EXPECT_FALSE(w->document().hasUnsavedChanges());
    EXPECT_TRUE(std::filesystem::exists(BackupPathOf(file)));
}

TEST(LockContract, AFolderAtTheLockPathIsSaidByTheWindowsSave) {
    TempFolder folder;
    const auto file = folder.write("xRegistry.sys", SampleBytes());
    std::filesystem::create_directory(LockPathOf(file));
    TestWindow w;
    w->openFile(Q(file));
    w.makeUnsavedChange();
    w.trigger("saveAction");
    ASSERT_EQ(w.prompts->messages.size(), 1u);
    EXPECT_TRUE(w.prompts->messages[0].text.contains(
        Q(LockPathOf(file)) + " is a folder, not a lock file; remove it to save"))
        << w.prompts->messages[0].text.toStdString();
    EXPECT_TRUE(w->document().hasUnsavedChanges());
}

// Save As to the open file spelt another way ("./", and a symbolic link where the system makes
// them) is a save of that file: when another program has changed it since it was read, the
// window asks and the command line refuses without --force, and neither writes it.
TEST(LockContract, ASaveToTheReadFileSpeltAnotherWayAsksInTheWindowAndIsRefusedByTheCli) {
    TempFolder folder;
    const auto file = folder.write("xRegistry.sys", SampleBytes());
    std::vector<std::filesystem::path> spellings = {folder.path() / "." / "xRegistry.sys"};
#ifndef _WIN32
    std::filesystem::create_symlink("xRegistry.sys", folder.path() / "link.sys");
    spellings.push_back(folder.path() / "link.sys");
#endif
    TestWindow w;
    w->openFile(Q(file));
    w.makeUnsavedChange();
    std::ostringstream err;
    const auto loaded = cli::LoadRegistry(file.string(), err);
    ASSERT_TRUE(loaded);
    std::vector<uint8_t> theirs = SampleBytes();
    theirs.back() ^= 1;  // another program's change
    folder.write("xRegistry.sys", theirs);
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    std::vector<uint8_t> ours = SampleBytes();
    ours[0x20] ^= 1;
    for (const auto& spelling : spellings) {
        w.prompts->files = {Q(spelling)};
        w.prompts->answers = {QMessageBox::Cancel};
        const size_t asked = w.prompts->messages.size();
        w.trigger("saveAsAction");
        ASSERT_EQ(w.prompts->messages.size(), asked + 1) << spelling;
        EXPECT_EQ(w.prompts->messages.back().text,
                  "The file has changed on disk since it was opened. Overwrite it?");
        err.str({});
        EXPECT_EQ(cli::SaveEdited(*loaded, spelling.string(), ours, false, nullptr, err),
                  cli::kExitError);
        EXPECT_NE(err.str().find("has changed on disk since it was read; not saved"),
                  std::string::npos)
            << err.str();
        EXPECT_EQ(ReadBytes(file), theirs) << spelling;
        EXPECT_FALSE(std::filesystem::exists(BackupPathOf(file)));
    }
    EXPECT_TRUE(w->document().hasUnsavedChanges());
}

}  // namespace
}  // namespace thornbeck::test
