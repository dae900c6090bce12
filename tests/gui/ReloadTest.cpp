// Reload reads the file again and keeps the user's place: the shown key, the view mode and the
// scroll positions, with the keys working where they did.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include "gui/TestWindow.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

TEST(Reload, KeepsTheShownKeyTheScrollPositionAndTheKeys) {
    TempFolder folder;
    TestWindow w;
    w->resize(600, 300);  // a tree that scrolls
    w->openFile(Q(folder.write("xRegistry.sys", SampleBytes())));
    QTreeView* tree = w->keyTree();
    tree->setFocus();
    w.clickKey("/setting/system/timeZone");
    QScrollBar* scroll = tree->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 2);
    scroll->setValue(scroll->maximum() - 1);
    const int scrolled = scroll->value();

    QTest::keyClick(&*w, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(w->statusBar()->currentMessage().left(23), "Reloaded xRegistry.sys:");
    EXPECT_EQ(w.panel()->keyLine()->text(), "/setting/system/timeZone");
    EXPECT_EQ(w->treeModel()->nodeOf(tree->currentIndex()), w->navigation().shownNode());
    EXPECT_EQ(scroll->value(), scrolled);
    EXPECT_TRUE(tree->hasFocus());
    const QModelIndex next = tree->indexBelow(tree->currentIndex());
    ASSERT_TRUE(next.isValid());
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(tree->currentIndex(), next);
    EXPECT_EQ(w->navigation().shownNode(), w->treeModel()->nodeOf(next));
}

TEST(Reload, KeepsListModeAndTheListsRow) {
    TempFolder folder;
    TestWindow w;
    w->openFile(Q(folder.write("xRegistry.sys", SampleBytes())));
    w.showKey("/setting/system/language");
    w->navigation().setListMode(true);
    const QModelIndex row = w->entryList()->currentIndex();
    ASSERT_TRUE(row.isValid());
    w.trigger("reloadAction");
    EXPECT_TRUE(w->isListMode());
    EXPECT_EQ(w->entryList()->currentIndex().row(), row.row());
    EXPECT_TRUE(w.action("listModeAction")->isChecked());
    EXPECT_FALSE(w.action("treeModeAction")->isChecked());
}

}  // namespace
}  // namespace thornbeck::test
