// The window and thornbeck-cli keep out of each other's way through one lock file beside the
// registry: the window's save holds a QLockFile, set holds the core's LockFile, and each waits
// for the other and then reports the file as busy, writing nothing.
#include <gtest/gtest.h>

#include <QLockFile>

#include "cli/CliRun.h"
#include "core/fileio/AtomicSave.h"
#include "core/fileio/LockFile.h"
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

}  // namespace
}  // namespace thornbeck::test
