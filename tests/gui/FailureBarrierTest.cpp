// A command that runs out of memory ends with a message; the window and its unsaved edits stay.
#include <gtest/gtest.h>

#include <QAction>
#include <QStatusBar>
#include <new>

#include "gui/TestWindow.h"
#include "gui/controllers/CompareController.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

TEST(FailureBarrier, AnOutOfMemoryCompareLeavesTheWindowWithItsUnsavedEdit) {
    TempFolder folder;
    const auto path = folder.write("xRegistry.sys", SampleBytes());
    TestWindow w;
    w->openFile(Q(path));
    w.showKey("/setting/system/timeZone");
    w.field(kFlagsField)->setText("0042");
    w->modifyEntry();
    ASSERT_TRUE(w->document().hasUnsavedChanges());
    const std::vector<uint8_t> edited(w->document().image().bytes().begin(),
                                      w->document().image().bytes().end());

    w->compare().setFileOpener(
        [](const std::filesystem::path&) -> OpenOutcome { throw std::bad_alloc(); });
    w.prompts->files.push_back(Q(path));
    w.trigger("compareAction");

    ASSERT_EQ(w.prompts->messages.size(), 1u);
    EXPECT_TRUE(w.prompts->messages[0].text.startsWith("Not enough memory to compare with "))
        << w.prompts->messages[0].text.toStdString();
    EXPECT_EQ(w->statusBar()->currentMessage(), w.prompts->messages[0].text);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->compare().comparing());
    EXPECT_TRUE(w->document().hasUnsavedChanges());
    EXPECT_TRUE(std::equal(edited.begin(), edited.end(), w->document().image().bytes().begin(),
                           w->document().image().bytes().end()));
    EXPECT_EQ(w.field(kFlagsField)->text(), "0042");
    // The window still answers: the next command runs.
    w.trigger("undoAction");
    EXPECT_NE(w.field(kFlagsField)->text(), "0042");
}

}  // namespace
}  // namespace thornbeck::test
