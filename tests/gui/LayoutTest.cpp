#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QTreeView>

#include "gui/FakePrompts.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

void ResizeClient(MainWindow& window, int width, int height) {
    window.resize(width, height + (window.height() - window.centralWidget()->height()));
    QCoreApplication::processEvents();
}

TEST(Layout, TheInitialClientAreaGivesTheTreeWhatThePanelLeaves) {
    TestWindow w;
    EXPECT_EQ(w->centralWidget()->size(), QSize(836, 478));
    EXPECT_EQ(w->findChild<QTreeView*>("tvReg")->width(), 391);
    EXPECT_EQ(w->findChild<QLineEdit*>("lblKey")->x(), 395);
    EXPECT_EQ(w->detailsPanel()->field(kValueField)->x(), 395 + 80);
}

TEST(Layout, WideningMovesThePanelAndLoweringHidesTheBottomFields) {
    TestWindow w;
    w->OpenRegistryFile(QString::fromStdString(SamplePath().string()));
    ResizeClient(*w, 1036, 478);
    EXPECT_EQ(w->findChild<QTreeView*>("tvReg")->width(), 591);
    EXPECT_EQ(w->findChild<QLineEdit*>("lblKey")->width(), 437);
    DetailsPanel* panel = w->detailsPanel();
    EXPECT_TRUE(panel->field(kHeaderIdField)->isVisible());
    // The information boxes start 129 pixels above the bottom; Header ID ends at 289.
    ResizeClient(*w, 1036, 289 + 129);
    EXPECT_FALSE(panel->field(kHeaderIdField)->isVisible());
    EXPECT_TRUE(panel->field(kKeyOffsetField)->isVisible());
    ResizeClient(*w, 1036, 478);
    EXPECT_TRUE(panel->field(kHeaderIdField)->isVisible());
    w->ApplyViewMode(1);
    ResizeClient(*w, 900, 500);
    for (int i = 0; i < kDetailFieldCount; ++i) EXPECT_FALSE(panel->field(i)->isVisible()) << i;
    EXPECT_EQ(w->findChild<QTreeView*>("lvReg")->geometry(), QRect(0, 0, 900, 500));
}

TEST(Layout, ATooNarrowWindowKeepsTheTreesLastGeometry) {
    TestWindow w;
    ResizeClient(*w, 300, 200);
    EXPECT_EQ(w->findChild<QTreeView*>("tvReg")->width(), 391);
}

}  // namespace
}  // namespace thornbeck::test
