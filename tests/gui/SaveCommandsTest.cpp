#include <gtest/gtest.h>

#include <QStatusBar>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <QAction>
#include <QDir>
#include <QTest>
#include <algorithm>

#include "gui/models/RegistryTreeModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"

#include "core/fileio/AtomicSave.h"
#include "gui/TestWindow.h"
#include "gui/models/RegistryListModel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ImageBytes(const MainWindow& window) {
    const auto bytes = window.document().image().bytes();
    return {bytes.begin(), bytes.end()};
}

struct OpenCopy {
    TempFolder folder;
    fs::path path = folder.write("xRegistry.sys", SampleBytes());
    TestWindow w;
    OpenCopy() { w->openFile(Q(path)); }
    void trigger(const char* action) { w->findChild<QAction*>(action)->trigger(); }
};

TEST(SaveCommands, SaveWritesTheImageAndKeepsTheBackup) {
    OpenCopy c;
    const auto before = ReadBytes(c.path);
    c.w.makeUnsavedChange();
    EXPECT_EQ(c.w->caption(), Q(c.path) + "*");
    QTest::keyClick(c.w.window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(c.w->document().hasUnsavedChanges());
    EXPECT_EQ(c.w->caption(), Q(c.path));
    EXPECT_EQ(ReadBytes(c.path), ImageBytes(*c.w));
    EXPECT_EQ(ReadBytes(BackupPathOf(c.path)), before);
    // A load-save cycle without changes gives the same bytes, at the same length.
    c.trigger("saveAction");
    EXPECT_EQ(ReadBytes(c.path), before);
    EXPECT_EQ(ReadBytes(BackupPathOf(c.path)), before);
    EXPECT_TRUE(c.w.prompts->messages.empty());
}

TEST(SaveCommands, SaveAsWritesTheNewPathAndLeavesTheOldFile) {
    OpenCopy c;
    const auto target = c.folder.path() / "copy.sys";
    c.w.prompts->files = {Q(target)};
    c.w.makeUnsavedChange();
    c.trigger("saveAsAction");
    const auto& asked = c.w.prompts->fileQuestions.back();
    EXPECT_EQ(asked.filter, "xRegistry.sys (*.sys)");
    EXPECT_EQ(asked.title, "Save xRegistry.sys");
    EXPECT_EQ(asked.defaultName, "xRegistry.sys");
    EXPECT_EQ(asked.folder, Q(c.folder.path() / ""));  // with the system's separator
    EXPECT_EQ(c.w->document().path(), Q(target));
    EXPECT_EQ(c.w->caption(), Q(target));
    EXPECT_EQ(ReadBytes(target), ImageBytes(*c.w));
    EXPECT_FALSE(fs::exists(BackupPathOf(target)));
    EXPECT_FALSE(fs::exists(BackupPathOf(c.path)));
}

TEST(SaveCommands, ASaveIntoALockedFolderIsReportedAndKeepsTheChanges) {
    OpenCopy c;
    c.w.makeUnsavedChange();
    if (!MakeFolderUnwritable(c.folder.path())) GTEST_SKIP() << "no way to lock a folder here";
    c.trigger("saveAction");
    MakeFolderWritable(c.folder.path());
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    EXPECT_EQ(c.w.prompts->messages[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(c.w.prompts->messages[0].text.contains(Q(c.path)));
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());
    EXPECT_EQ(c.w->caption(), Q(c.path) + "*");
    EXPECT_EQ(ReadBytes(c.path), SampleBytes());
    EXPECT_FALSE(fs::exists(BackupPathOf(c.path)));
}

TEST(SaveCommands, SaveAsOntoTheOpenFileIsASave) {
    OpenCopy c;
    c.w.makeUnsavedChange();
    c.w.prompts->files = {Q(c.path)};
    c.trigger("saveAsAction");
    EXPECT_EQ(ReadBytes(BackupPathOf(c.path)), SampleBytes());
    EXPECT_EQ(c.w->document().path(), Q(c.path));
}

// A Save with nothing to save over the file as it was read writes nothing, so the backup of the
// original stays the original; Save As onto the same file spelt with "./" is the same Save.
TEST(SaveCommands, NothingToSaveWritesNothingAndSaysSo) {
    OpenCopy c;
    c.trigger("saveAction");
    EXPECT_FALSE(fs::exists(BackupPathOf(c.path)));
    EXPECT_EQ(c.w->statusBar()->currentMessage(),
              "Nothing to save: " + Q(c.path) + " is as it was read");

    c.w.makeUnsavedChange();
    c.trigger("saveAction");
    ASSERT_EQ(ReadBytes(BackupPathOf(c.path)), SampleBytes());
    const auto saved = fs::last_write_time(c.path);
    c.w.prompts->files = {Q(c.folder.path() / "." / "xRegistry.sys")};
    c.trigger("saveAsAction");
    c.trigger("saveAction");
    EXPECT_EQ(ReadBytes(BackupPathOf(c.path)), SampleBytes());
    EXPECT_EQ(fs::last_write_time(c.path), saved);
    EXPECT_TRUE(c.w.prompts->messages.empty());
    EXPECT_TRUE(c.w->statusBar()->currentMessage().startsWith("Nothing to save: "));
}

// A read-only file is said so when it opens, and Save refuses it with that reason, leaving it.
TEST(SaveCommands, AReadOnlyFileIsSaidWhenOpenedAndSaveRefusesIt) {
    OpenCopy c;
    EXPECT_FALSE(c.w->document().isReadOnly());
    fs::permissions(c.path, fs::perms::owner_read | fs::perms::group_read);
    c.w->openFile(Q(c.path));
    EXPECT_TRUE(c.w->document().isReadOnly());
    EXPECT_TRUE(c.w->statusBar()->currentMessage().endsWith(". It is read-only"))
        << c.w->statusBar()->currentMessage().toStdString();
    c.w.makeUnsavedChange();
    c.trigger("saveAction");
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    EXPECT_EQ(c.w.prompts->messages[0].text,
              "Could not save " + Q(c.path) + ".\n\n" + Q(c.path) + ": it is read-only");
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());
    EXPECT_EQ(ReadBytes(c.path), SampleBytes());
    EXPECT_FALSE(fs::exists(BackupPathOf(c.path)));
}

TEST(SaveCommands, AFailedSaveAsIsReportedAndChangesNothing) {
    OpenCopy c;
    c.w.makeUnsavedChange();
    const auto target = c.folder.path() / "missing" / "x.sys";
    c.w.prompts->files = {Q(target)};
    c.trigger("saveAsAction");
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    const auto& warning = c.w.prompts->messages[0];
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.title, "Thornbeck");
    EXPECT_TRUE(warning.text.contains(Q(target)));
    EXPECT_EQ(c.w->document().path(), Q(c.path));
    EXPECT_EQ(c.w->caption(), Q(c.path) + "*");
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());
}

TEST(SaveCommands, CancelledSaveAsChangesNothing) {
    OpenCopy c;
    c.trigger("saveAsAction");
    EXPECT_EQ(c.w->document().path(), Q(c.path));
    EXPECT_FALSE(fs::exists(BackupPathOf(c.path)));
}

TEST(SaveCommands, TheClosePromptAnswersCancelNoAndYes) {
    {
        OpenCopy c;
        c.w.makeUnsavedChange();
        c.w.prompts->answers = {QMessageBox::Cancel};
        EXPECT_FALSE(c.w->close());
        EXPECT_TRUE(c.w->isVisible());
        EXPECT_TRUE(c.w->document().hasUnsavedChanges());
        c.w.prompts->answers = {QMessageBox::No};
        EXPECT_TRUE(c.w->close());
        EXPECT_FALSE(fs::exists(BackupPathOf(c.path)));
    }
    {
        OpenCopy c;
        c.w.makeUnsavedChange();
        c.w.prompts->answers = {QMessageBox::Yes};
        EXPECT_TRUE(c.w->close());
        EXPECT_TRUE(fs::exists(BackupPathOf(c.path)));
    }
    {
        OpenCopy c;
        EXPECT_TRUE(c.w->close());  // nothing changed: no prompt
        EXPECT_TRUE(c.w.prompts->messages.empty());
    }
}

TEST(SaveCommands, AFailedSaveUnderYesKeepsTheWindowOpenAndCancelsAnOpen) {
    OpenCopy c;
    c.w.makeUnsavedChange();
    fs::remove_all(c.folder.path());  // nowhere to save to any more
    c.w.prompts->answers = {QMessageBox::Yes};
    EXPECT_FALSE(c.w->close());
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());
    c.w.prompts->answers = {QMessageBox::Yes};
    c.w->openFile(Q(SamplePath()));
    EXPECT_EQ(c.w->document().path(), Q(c.path));
    EXPECT_GT(c.w->listModel()->rowCount(), 0);
    EXPECT_EQ(c.w->caption(), Q(c.path) + "*");
    fs::create_directories(c.folder.path());
}

TEST(ExportCsv, WritesOneLinePerListRowAndProposesTheFileName) {
    OpenCopy c;
    const auto target = c.folder.path() / "out.csv";
    c.w.prompts->files = {Q(target)};
    c.trigger("exportCsvAction");
    const auto& asked = c.w.prompts->fileQuestions.back();
    EXPECT_EQ(asked.filter, "xRegistry.csv (*.csv)");
    EXPECT_EQ(asked.title, "Export xRegistry.sys as CSV");
    EXPECT_EQ(asked.defaultName, "xRegistry.csv");
    const auto csv = ReadBytes(target);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n') >= c.w->listModel()->rowCount(), true);
    const std::string text(csv.begin(), csv.end());
    EXPECT_EQ(
        text.rfind("\"/setting/system/language\",\"00000001\",\"4\",\"Integer\",\"1A2B\",\"0000\",",
                   0),
        0u);
    EXPECT_FALSE(c.w->document().hasUnsavedChanges());
}

TEST(ExportCsv, NothingLoadedGivesAnEmptyFileAndCancelTouchesNothing) {
    TempFolder folder;
    TestWindow w;
    const auto target = folder.path() / "empty.csv";
    w.prompts->files = {Q(target)};
    w->findChild<QAction*>("exportCsvAction")->trigger();
    EXPECT_EQ(w.prompts->fileQuestions.back().defaultName, ".csv");
    EXPECT_TRUE(fs::exists(target));
    EXPECT_TRUE(ReadBytes(target).empty());

    // The dialog proposes an existing file; cancelling it leaves that file as it was.
    OpenCopy c;
    const auto kept = c.folder.write("xRegistry.csv", {'k'});
    c.trigger("exportCsvAction");  // no answer scripted: cancelled
    const auto& asked = c.w.prompts->fileQuestions.back();
    EXPECT_EQ(fs::path(asked.folder.toStdString()) / asked.defaultName.toStdString(), kept);
    EXPECT_EQ(ReadBytes(kept), std::vector<uint8_t>{'k'});
}

TEST(ExportCsv, LinesFollowTheListsSortOrder) {
    OpenCopy c;
    c.w->navigation().sortListBy(4);  // Checksum, then descending
    c.w->navigation().sortListBy(4);
    const auto target = c.folder.path() / "sorted.csv";
    c.w.prompts->files = {Q(target)};
    c.trigger("exportCsvAction");
    const auto csv = ReadBytes(target);
    std::vector<std::string> checksums;
    // Every line starts with a quoted key and a quoted value, which may hold anything; the
    // checksum is the fifth field counted from the line's end backwards.
    std::string text(csv.begin(), csv.end());
    size_t start = 0;
    for (size_t end = text.find("\"\r\n"); end != std::string::npos;
         start = end + 3, end = text.find("\"\r\n", start)) {
        const std::string line = text.substr(start, end + 1 - start);
        size_t at = line.size();
        for (int field = 0; field < 5; ++field) at = line.rfind("\",\"", at - 1);
        checksums.push_back(line.substr(at + 3, 4));
    }
    ASSERT_EQ(checksums.size(), static_cast<size_t>(c.w->listModel()->rowCount()));
    EXPECT_TRUE(std::is_sorted(checksums.rbegin(), checksums.rend()));
    EXPECT_NE(checksums.front(), checksums.back());
}

TEST(SaveCommands, AFileChangedOnDiskIsOverwrittenOnlyWhenTheUserSaysSo) {
    OpenCopy c;
    c.w.makeUnsavedChange();
    std::vector<uint8_t> other = SampleBytes();
    other[5] ^= 0xFF;  // another program's change
    c.folder.write("xRegistry.sys", other);
    c.w.prompts->answers = {QMessageBox::Cancel};
    c.trigger("saveAction");
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    EXPECT_EQ(c.w.prompts->messages[0].text,
              "The file has changed on disk since it was opened. Overwrite it?");
    EXPECT_EQ(ReadBytes(c.path), other);
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());
    c.w.prompts->answers = {QMessageBox::SaveAll};  // Overwrite
    c.trigger("saveAction");
    EXPECT_EQ(ReadBytes(c.path), ImageBytes(*c.w));
    EXPECT_FALSE(c.w->document().hasUnsavedChanges());
    c.w.makeUnsavedChange();
    c.trigger("saveAction");  // unchanged since our own save: no question
    EXPECT_EQ(c.w.prompts->messages.size(), 2u);
    EXPECT_TRUE(c.w->statusBar()->currentMessage().startsWith("Saved " + Q(c.path)));
}

// A file another program removed is said to be deleted; one it changed may be read again
// instead, from the question or from File > Reload.
TEST(SaveCommands, ADeletedFileIsSaidAndAChangedOneMayBeReloaded) {
    OpenCopy c;
    c.w.makeUnsavedChange();
    std::filesystem::remove(c.path);
    c.w.prompts->answers = {QMessageBox::Cancel};
    c.trigger("saveAction");
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    EXPECT_EQ(c.w.prompts->messages[0].text,
              "The file has been deleted since it was opened. Save it again?");
    EXPECT_EQ(c.w.prompts->messages[0].buttons, QMessageBox::SaveAll | QMessageBox::Cancel);
    EXPECT_FALSE(std::filesystem::exists(c.path));

    std::vector<uint8_t> other = SampleBytes();
    other.back() ^= 0x01;  // another program's change, in the padding after the entries
    c.folder.write("xRegistry.sys", other);
    // Reload over unsaved changes asks once more; Cancel keeps them.
    c.w.prompts->answers = {QMessageBox::Reset, QMessageBox::Cancel};
    c.trigger("saveAction");
    ASSERT_EQ(c.w.prompts->messages.size(), 3u);
    EXPECT_EQ(c.w.prompts->messages[1].buttons,
              QMessageBox::SaveAll | QMessageBox::Reset | QMessageBox::Cancel);
    // Enter writes nothing over the other program's change and reads nothing again.
    EXPECT_EQ(EnterChooses(c.w.prompts->messages[1]), QMessageBox::Cancel);
    EXPECT_EQ(c.w.prompts->messages[2].text, "Reload " + QDir::toNativeSeparators(Q(c.path)) +
                                                 " from disk and lose your unsaved changes?");
    EXPECT_EQ(EnterChooses(c.w.prompts->messages[2]), QMessageBox::Cancel);
    QCoreApplication::processEvents();
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());
    EXPECT_EQ(ReadBytes(c.path), other);
    // A file that can no longer be read is said, and the changes stay open.
    std::vector<uint8_t> cut = other;
    cut.resize(100);
    c.folder.write("xRegistry.sys", cut);
    c.w.prompts->answers = {QMessageBox::Reset, QMessageBox::Reset};
    c.trigger("saveAction");
    QTRY_VERIFY_WITH_TIMEOUT(
        c.w->statusBar()->currentMessage().startsWith("Could not open xRegistry.sys"),
        kGenerousWaitMs);
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());
    EXPECT_EQ(c.w->document().path(), QDir::toNativeSeparators(Q(c.path)));
    c.folder.write("xRegistry.sys", other);
    c.w.prompts->messages.clear();
    c.w.prompts->answers = {QMessageBox::Reset, QMessageBox::Reset};
    c.trigger("saveAction");
    ASSERT_EQ(c.w.prompts->messages.size(), 2u);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !c.w->document().hasUnsavedChanges(); }, kGenerousWaitMs));
    EXPECT_EQ(ImageBytes(*c.w), other);
    EXPECT_EQ(ReadBytes(c.path), other);

    // File > Reload asks about unsaved changes first; No reads the file again.
    c.w.makeUnsavedChange();
    c.folder.write("xRegistry.sys", SampleBytes());
    c.w.prompts->answers = {QMessageBox::No};
    c.trigger("reloadAction");
    EXPECT_EQ(c.w.prompts->messages.back().text,
              "Do you want to save modifications to the current file?");
    EXPECT_EQ(ImageBytes(*c.w), SampleBytes());
    EXPECT_FALSE(c.w->document().hasUnsavedChanges());
}

#ifndef _WIN32
// Windows has no FIFOs in its file system.
TEST(SaveCommands, AFifoIsRefusedWithItsReasonWithoutBlocking) {
    TempFolder folder;
    const auto fifo = folder.path() / "pipe.sys";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    TestWindow w;
    w->openFile(Q(fifo));
    EXPECT_EQ(w->document().path(), "");
    EXPECT_EQ(w->statusBar()->currentMessage(),
              "Could not open pipe.sys: cannot read: is a FIFO, not a regular file");
    EXPECT_TRUE(w.prompts->messages.empty());
}
#endif

TEST(SaveCommands, SaveAfterAModifyWritesTheModifiedImage) {
    OpenCopy c;
    const auto node = *c.w->document().index().findNode("/setting/system/nickName");
    c.w->navigation().showNode(c.w->treeModel()->indexOfNode(node));
    c.w->detailsPanel()->field(kDataSizeField)->setText("200");
    c.w->detailsPanel()->field(kValueField)->setText("renamed");
    c.w->modifyEntry();
    ASSERT_TRUE(c.w->document().hasUnsavedChanges());
    const auto original = ReadBytes(c.path);
    c.trigger("saveAction");
    EXPECT_EQ(ReadBytes(c.path), ImageBytes(*c.w));
    EXPECT_NE(ReadBytes(c.path), original);
    EXPECT_EQ(ReadBytes(BackupPathOf(c.path)), original);
}

TEST(ExportCsv, AFileThatCannotBeCreatedIsReported) {
    TempFolder folder;
    TestWindow w;
    const auto target = folder.path() / "missing" / "x.csv";
    w.prompts->files = {Q(target)};
    w->findChild<QAction*>("exportCsvAction")->trigger();
    ASSERT_EQ(w.prompts->messages.size(), 1u);
    EXPECT_EQ(w.prompts->messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(w.prompts->messages[0].title, "Thornbeck");
    EXPECT_TRUE(w.prompts->messages[0].text.contains(Q(target)));
}

}  // namespace
}  // namespace thornbeck::test
