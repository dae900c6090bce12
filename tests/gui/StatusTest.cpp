// Every command says in the status bar what it did; nothing an earlier one said stays.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QStatusBar>
#include <QTreeView>

#include "gui/TestWindow.h"
#include "gui/controllers/CompareController.h"
#include "gui/models/DifferenceModel.h"
#include "support/CompareFiles.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

QString Said(const TestWindow& w) {
    return w->statusBar()->currentMessage();
}

TEST(Status, FindSaysWhatItFoundAndInTheListOnlyKeys) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w.prompts->inputs = {QString("no such thing")};
    w.trigger("findAction");
    EXPECT_EQ(Said(w), "No key or value matches \"no such thing\"");
    w.prompts->inputs = {QString("timeZone")};
    w.trigger("findAction");
    EXPECT_EQ(Said(w), "Found /setting/system/timeZone");
    w->navigation().setListMode(true);
    w.prompts->inputs = {QString("no such thing")};
    w.trigger("findAction");
    EXPECT_EQ(Said(w), "No key matches \"no such thing\"");
}

TEST(Status, AFailedSaveAndAFailedCompareAreSaid) {
    TempFolder folder;
    TestWindow w;
    w->openFile(Q(folder.write("xRegistry.sys", SampleBytes())));
    const auto target = folder.path() / "missing" / "x.sys";
    w.prompts->files = {Q(target)};
    w.trigger("saveAsAction");
    EXPECT_EQ(Said(w), "Could not save " + Q(target));
    w.prompts->files = {Q(folder.write("short.sys", {1, 2, 3}))};
    w.trigger("compareAction");
    EXPECT_TRUE(Said(w).startsWith("Could not compare with short.sys: ")) << Said(w).toStdString();
}

TEST(Status, TakeSaysWhatItTookAndWhatIsLeft) {
    TempFolder folder;
    const ComparePair pair = CompareImages(false);
    TestWindow w;
    w->openFile(Q(folder.write("a.sys", pair.a)));
    w.prompts->files = {Q(folder.write("b.sys", pair.b))};
    w.trigger("compareAction");
    EXPECT_TRUE(Said(w).startsWith("Compared with b.sys: "));
    auto* table = w->compare().view();
    const int row = w->compare().model()->rowOf("/c/int", kChecksumField);
    ASSERT_GE(row, 0);
    table->setCurrentIndex(table->model()->index(row, 0));
    table->selectionModel()->select(
        table->currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int before = w->compare().model()->rowCount();
    w.trigger("takeFieldsAction");
    EXPECT_EQ(
        Said(w),
        QString("Took the other file's fields into 1 entry; %1 differences left").arg(before - 1));
    w.undo();
    EXPECT_EQ(Said(w), "Undid Take Other's Fields (1 entry)");
}

}  // namespace
}  // namespace thornbeck::test
