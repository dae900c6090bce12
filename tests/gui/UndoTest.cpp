#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <QTreeView>

#include "core/fileio/AtomicSave.h"
#include "gui/TestWindow.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

struct History {
    TempFolder folder;
    std::filesystem::path path = folder.write("xRegistry.sys", SampleBytes());
    TestWindow w;
    QAction* undo = w->findChild<QAction*>("undoAction");
    QAction* redo = w->findChild<QAction*>("redoAction");
    History() { w->openFile(Q(path)); }
    int32_t show(std::string_view key) { return w.showKey(key); }
    DetailFieldEdit* field(int i) const { return w->detailsPanel()->field(i); }
    QString cell(std::string_view key, int column) const {
        const int32_t node = *w->document().index().findNode(key);
        const int32_t row = w->document().index().nodes()[static_cast<size_t>(node)].listRow;
        return w->listModel()->indexOfRow(row).siblingAtColumn(column).data().toString();
    }
    std::vector<uint8_t> bytes() const {
        return {w->document().image().bytes().begin(), w->document().image().bytes().end()};
    }
};

TEST(Undo, CtrlZAfterAModifyShowsTheOldValueInThePanelAndTheList) {
    History h;
    EXPECT_FALSE(h.undo->isEnabled());
    EXPECT_FALSE(h.redo->isEnabled());
    h.show("/setting/system/timeZone");
    h.field(kValueField)->setText("7F");
    h.w->modifyEntry();
    ASSERT_EQ(h.cell("/setting/system/timeZone", 1), "0000007F");
    EXPECT_EQ(h.undo->text(), "&Undo Modify /setting/system/timeZone");
    h.show("/setting/system/language");  // elsewhere: undo brings its entry back into view
    auto* tree = h.w->keyTree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(h.field(kValueField)->text(), "0000003C");
    EXPECT_EQ(h.cell("/setting/system/timeZone", 1), "0000003C");
    EXPECT_FALSE(h.undo->isEnabled());
    EXPECT_TRUE(h.redo->isEnabled());
    QTest::keyClick(tree, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(h.field(kValueField)->text(), "0000007F");

    // Inside a field, both directions follow one rule: the field's own typing first, while it
    // has a step that way, then the file's history. Both redo keys do the same.
    DetailFieldEdit* checksum = h.field(kChecksumField);
    const QString shown = checksum->text();
    checksum->setFocus();
    checksum->end(false);
    QTest::keyClick(checksum, Qt::Key_Backspace);
    const QString typed = checksum->text();
    ASSERT_NE(typed, shown);
    QTest::keyClick(checksum, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(checksum->text(), shown);
    EXPECT_EQ(h.cell("/setting/system/timeZone", 1), "0000007F");
    QTest::keyClick(checksum, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(checksum->text(), typed);
    QTest::keyClick(checksum, Qt::Key_Z, Qt::ControlModifier);
    // Nothing of the field's own is left to undo: Ctrl+Z undoes the Modify.
    QTest::keyClick(checksum, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(h.cell("/setting/system/timeZone", 1), "0000003C");
    checksum->setFocus();
    QTest::keyClick(checksum, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(h.cell("/setting/system/timeZone", 1), "0000007F");
    QTest::keyClick(checksum, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(h.cell("/setting/system/timeZone", 1), "0000003C");
    QTest::keyClick(checksum, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(h.cell("/setting/system/timeZone", 1), "0000007F");
}

TEST(Undo, UndoingASizeChangeRestoresEveryLaterOffset) {
    History h;
    const auto original = h.bytes();
    std::vector<QString> offsets;
    for (int r = 0; r < h.w->listModel()->rowCount(); ++r)
        offsets.push_back(h.w->listModel()->index(r, 6).data().toString());
    h.show("/setting/system/nickName");
    h.field(kDataSizeField)->setText("100");
    h.w->modifyEntry();
    h.show("/setting/system/region");
    h.field(kDataSizeField)->setText("9");
    h.field(kValueField)->setText("NOWHERE");
    h.w->modifyEntry();
    ASSERT_NE(h.w->listModel()->index(40, 6).data().toString(), offsets[40]);
    h.undo->trigger();
    h.undo->trigger();
    EXPECT_EQ(h.bytes(), original);
    for (int r = 0; r < h.w->listModel()->rowCount(); ++r)
        ASSERT_EQ(h.w->listModel()->index(r, 6).data().toString(), offsets[static_cast<size_t>(r)]);
    EXPECT_EQ(h.w->detailsPanel()->keyLine()->text(), "/setting/system/nickName");
    EXPECT_EQ(h.field(kDataSizeField)->text(), "128");
    const int32_t later = *h.w->document().index().findNode("/setting/user/comment");
    EXPECT_EQ(*h.w->document().index().nodes()[static_cast<size_t>(later)].entry,
              *IndexRegistry(h.w->document().image()).nodes()[static_cast<size_t>(later)].entry);
}

TEST(Undo, TheCaptionAndTheClosePromptFollowTheCleanState) {
    History h;
    const QString clean = Q(h.path);
    h.show("/setting/system/timeZone");
    h.field(kValueField)->setText("1");
    h.w->modifyEntry();
    h.w->findChild<QAction*>("saveAction")->trigger();
    EXPECT_EQ(h.w->caption(), clean);
    h.field(kValueField)->setText("2");
    h.w->modifyEntry();
    EXPECT_EQ(h.w->caption(), clean + "*");
    h.undo->trigger();  // back to what was saved
    EXPECT_EQ(h.w->caption(), clean);
    EXPECT_FALSE(h.w->document().hasUnsavedChanges());
    EXPECT_EQ(ReadBytes(h.path), h.bytes());
    h.undo->trigger();  // past the save
    EXPECT_EQ(h.w->caption(), clean + "*");
    EXPECT_TRUE(h.w->document().hasUnsavedChanges());
    h.redo->trigger();
    EXPECT_TRUE(h.w->close());  // clean again: no prompt
    EXPECT_TRUE(h.w.prompts->messages.empty());
    // Opening a file empties the history.
    h.w->openFile(Q(h.path));
    EXPECT_FALSE(h.undo->isEnabled());
    EXPECT_FALSE(h.redo->isEnabled());
}

}  // namespace
}  // namespace thornbeck::test
