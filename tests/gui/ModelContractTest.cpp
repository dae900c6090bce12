// Every model of the window keeps Qt's item-model contract (rows, parents, indexes, the signals
// around each change) through a load, a Modify, an undo and a redo, a compare and a take, and a
// second load. QAbstractItemModelTester aborts the test at the first breach.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QItemSelectionModel>
#include <QTreeView>

#include "gui/TestWindow.h"
#include "gui/models/DifferenceModel.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/models/ValueHexModel.h"
#include "support/CompareFiles.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

using Tester = QAbstractItemModelTester;

TEST(ModelContract, EveryModelHoldsThroughLoadModifyUndoCompareAndTake) {
    TempFolder folder;
    const ComparePair pair = CompareImages();
    const auto a = folder.write("a.sys", pair.a);
    const auto b = folder.write("b.sys", pair.b);
    TestWindow w;
    const Tester tree(w->treeModel(), Tester::FailureReportingMode::Fatal);
    const Tester list(w->listModel(), Tester::FailureReportingMode::Fatal);
    const Tester hex(w.panel()->hexModel(), Tester::FailureReportingMode::Fatal);
    const Tester differences(w->compare().model(), Tester::FailureReportingMode::Fatal);

    w->openFile(Q(a));
    ASSERT_TRUE(w->document().isOpen());
    w.showKey("/c/text");
    w.field(kDataSizeField)->setText(QString::number(w.panel()->valueLimit() + 3));
    w.field(kValueField)->setText(w.field(kValueField)->text() + "xyz");
    w->modifyEntry();
    ASSERT_TRUE(w->document().hasUnsavedChanges());
    w->navigation().sortListBy(RegistryListModel::kColumnCount - 1);
    w.undo();
    w.redo();
    w.undo();
    EXPECT_FALSE(w->document().hasUnsavedChanges());

    w.prompts->files.push_back(Q(b));
    w.trigger("compareAction");
    ASSERT_GT(w->compare().model()->rowCount(), 0);
    w->compare().view()->selectAll();
    w.trigger("takeFieldsAction");
    EXPECT_TRUE(w->document().hasUnsavedChanges());
    w.undo();
    w.redo();

    w.prompts->answers = {QMessageBox::No};  // drop the take at the unsaved-changes question
    w->openFile(Q(b));
    EXPECT_EQ(w->compare().model()->rowCount(), 0);
    EXPECT_EQ(w->listModel()->rowCount(), static_cast<int>(w->document().index().rows().size()));
}

}  // namespace
}  // namespace thornbeck::test
