// Modify, Undo and Redo: each step asks about typing not applied first, says what it did, and
// Modify is on exactly while a field differs from the entry.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include "gui/TestWindow.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

const QString kQuestion = "Apply your changes to /setting/system/timeZone?";

struct Edited {
    TempFolder folder;
    TestWindow w;
    Edited() {
        w->openFile(Q(folder.write("xRegistry.sys", SampleBytes())));
        w.showKey("/setting/system/timeZone");
        w.field(kFlagsField)->setText("0042");
        w->modifyEntry();
    }
    // Typing into Checksum, not applied.
    void typeChecksum() const {
        DetailFieldEdit* checksum = w.field(kChecksumField);
        checksum->setFocus();
        checksum->selectAll();
        QTest::keyClicks(checksum, "BEEF");
    }
};

TEST(EditController, UndoAndRedoAskAboutTypingNotAppliedFirst) {
    Edited e;
    e.typeChecksum();
    e.w.prompts->answers = {QMessageBox::Cancel};
    e.w.undo();
    ASSERT_EQ(e.w.prompts->messages.size(), 1u);
    EXPECT_EQ(e.w.prompts->messages[0].text, kQuestion);
    EXPECT_EQ(e.w.field(kChecksumField)->text(), "BEEF");  // stayed, nothing undone
    EXPECT_EQ(e.w.field(kFlagsField)->text(), "0042");

    e.w.prompts->answers = {QMessageBox::Discard};
    e.w.undo();
    EXPECT_EQ(e.w.prompts->messages.size(), 2u);
    EXPECT_NE(e.w.field(kFlagsField)->text(), "0042");
    EXPECT_EQ(e.w->statusBar()->currentMessage(), "Undid Modify /setting/system/timeZone");

    e.typeChecksum();
    e.w.prompts->answers = {QMessageBox::Apply};
    e.w.redo();  // the typing became a step of its own, so there is nothing left to redo
    EXPECT_EQ(e.w.prompts->messages.size(), 3u);
    EXPECT_EQ(e.w.field(kChecksumField)->text(), "BEEF");
    EXPECT_FALSE(e.w->document().redoText().size() > 0);
    e.w.undo();
    EXPECT_EQ(e.w->statusBar()->currentMessage(), "Undid Modify /setting/system/timeZone");
    e.w.redo();
    EXPECT_EQ(e.w->statusBar()->currentMessage(), "Redid Modify /setting/system/timeZone");
    EXPECT_EQ(e.w.prompts->messages.size(), 3u);  // nothing typed: nothing asked
}

TEST(EditController, ModifyIsOnExactlyWhileAFieldDiffersFromTheEntry) {
    Edited e;
    QPushButton* modify = e.w.panel()->modifyButton();
    DetailFieldEdit* checksum = e.w.field(kChecksumField);
    const QString shown = checksum->text();
    checksum->setFocus();
    checksum->end(false);
    QTest::keyClick(checksum, Qt::Key_Backspace);
    EXPECT_TRUE(modify->isEnabled());
    QTest::keyClick(checksum, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(checksum->text(), shown);
    EXPECT_FALSE(modify->isEnabled());
    EXPECT_FALSE(e.w.panel()->hasUnappliedEdits());
    // A later step asks about nothing.
    e.w.undo();
    EXPECT_TRUE(e.w.prompts->messages.empty());
    // A keystroke a full field refuses changes nothing, and is said.
    checksum->setFocus();
    checksum->end(false);
    QTest::keyClick(checksum, Qt::Key_1);
    EXPECT_FALSE(modify->isEnabled());
    EXPECT_EQ(e.w->statusBar()->currentMessage(), "Checksum takes at most 4 characters.");
}

TEST(EditController, ModifyUndoAndRedoAllReachTheViewsThroughOneSignal) {
    Edited e;
    QSignalSpy steps(&e.w->document(), &RegistryDocument::stepApplied);
    e.w.field(kFlagsField)->setText("0043");
    e.w->modifyEntry();
    e.w.undo();
    e.w.redo();
    EXPECT_EQ(steps.count(), 3);
    EXPECT_EQ(e.w->statusBar()->currentMessage(), "Redid Modify /setting/system/timeZone");
}

}  // namespace
}  // namespace thornbeck::test
