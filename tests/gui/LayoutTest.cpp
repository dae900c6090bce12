#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>

#include "gui/TestWindow.h"
#include "gui/widgets/HexView.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

void ResizeClient(MainWindow& window, int width, int height) {
    window.resize(width, height + (window.height() - window.centralWidget()->height()));
    QCoreApplication::processEvents();
}

int PanelWidth(const TestWindow& w) {
    return w->splitter()->sizes().at(1);
}

TEST(Layout, TheStartSizeShowsTheTreeBesideTheWholePanelAndTheHexView) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w.showKey("/setting/system/nickName");
    QCoreApplication::processEvents();
    EXPECT_EQ(w->centralWidget()->width(), 836);
    // The tree keeps the width it always had at this size, give or take the splitter's handle.
    EXPECT_NEAR(w->keyTree()->width(), 391, 4);
    DetailsPanel* panel = w.panel();
    for (int i = 0; i < kDetailFieldCount; ++i) EXPECT_TRUE(panel->field(i)->isVisible()) << i;
    EXPECT_TRUE(panel->hexView()->isVisible());
    EXPECT_GE(panel->hexView()->height(), panel->hexView()->minimumHeight());
    EXPECT_TRUE(panel->modifyButton()->isVisible());
    // Everything fits: the panel needs no scrolling at the start size.
    auto* scroller = w->findChild<QScrollArea*>("detailsScroller");
    ASSERT_NE(scroller, nullptr);
    EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());
}

TEST(Layout, TheSplitterWidensThePanelAndItsFieldsAndTheWindowWidensTheTree) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w.showKey("/setting/system/nickName");
    QCoreApplication::processEvents();
    DetailsPanel* panel = w.panel();
    const int valueWidth = panel->field(kValueField)->width();
    const int hexWidth = panel->hexView()->width();
    const int panelWidth = PanelWidth(w);
    w->splitter()->setSizes({191, panelWidth + 200});
    QCoreApplication::processEvents();
    EXPECT_EQ(PanelWidth(w), panelWidth + 200);
    EXPECT_EQ(panel->field(kValueField)->width(), valueWidth + 200);
    EXPECT_EQ(panel->hexView()->width(), hexWidth + 200);
    EXPECT_EQ(panel->keyLine()->width(), panel->hexView()->width());
    // A wider window gives the room to the tree; the panel keeps its width.
    const int treeWidth = w->keyTree()->width();
    ResizeClient(*w, 1036, 478);
    EXPECT_EQ(w->keyTree()->width(), treeWidth + 200);
    EXPECT_EQ(PanelWidth(w), panelWidth + 200);
}

TEST(Layout, ListModeFillsTheWindowAndHidesThePanel) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w->navigation().setListMode(true);
    ResizeClient(*w, 900, 500);
    EXPECT_EQ(w->entryList()->geometry(), QRect(0, 0, 900, 500));
    for (int i = 0; i < kDetailFieldCount; ++i) EXPECT_FALSE(w.field(i)->isVisible()) << i;
    w->navigation().setListMode(false);
    EXPECT_TRUE(w.field(kHeaderIdField)->isVisible());
}

TEST(Layout, AShortWindowScrollsThePanelRatherThanHidingFields) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    ResizeClient(*w, 836, 250);
    auto* scroller = w->findChild<QScrollArea*>("detailsScroller");
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
    for (int i = 0; i < kDetailFieldCount; ++i) EXPECT_TRUE(w.field(i)->isVisible()) << i;
    scroller->ensureWidgetVisible(w.panel()->modifyButton());
    QCoreApplication::processEvents();
    const QRect shown = scroller->viewport()->rect();
    const QRect button(w.panel()->modifyButton()->mapTo(scroller->viewport(), QPoint(0, 0)),
                       w.panel()->modifyButton()->size());
    EXPECT_TRUE(shown.contains(button));
}

// However small the window is made, no field is cut: the panel keeps its least width.
TEST(Layout, ASmallWindowKeepsEveryFieldWhole) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w.showKey("/setting/system/nickName");
    ResizeClient(*w, 450, 350);
    DetailsPanel* panel = w.panel();
    EXPECT_GE(panel->width(), panel->minimumSizeHint().width());
    EXPECT_GE(w->keyTree()->width(), 120);
    for (int i = 0; i < kDetailFieldCount; ++i) {
        const QRect field(panel->field(i)->mapTo(panel, QPoint(0, 0)), panel->field(i)->size());
        EXPECT_TRUE(panel->rect().contains(field)) << i;
    }
}

}  // namespace
}  // namespace thornbeck::test
