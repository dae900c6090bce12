#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLockFile>
#include <QTreeView>

#include "gui/TestWindow.h"
#include "gui/window/Application.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

TEST(StartUp, AQuotedCommandLinePathIsOpened) {
    TempFolder folder;
    const auto path = folder.write("my dump.sys", SampleBytes());
    TestWindow w;
    w->start("  \"" + Q(path) + "\" ", Q(folder.path() / "app"));
    EXPECT_EQ(w->document().path(), Q(path));
    EXPECT_EQ(w->appPath(), Q(folder.path() / "app") + "/");
}

TEST(StartUp, WithoutArgumentTheRegistryBesideTheProgramOpens) {
    TempFolder folder;
    folder.write("XREGISTRY.SYS", SampleBytes());
    TestWindow w;
    w->start("", Q(folder.path()) + "/");
    EXPECT_EQ(w->document().path(), Q(folder.path() / "XREGISTRY.SYS"));
}

TEST(StartUp, WithoutArgumentOrRegistryNothingOpens) {
    TempFolder folder;
    TestWindow w;
    w->start("", Q(folder.path()));
    EXPECT_EQ(w->document().path(), "");
    EXPECT_FALSE(w->findChild<QAction*>("saveAction")->isEnabled());
    w->start(Q(folder.path() / "missing.sys"), Q(folder.path()));
    EXPECT_EQ(w->document().path(), "");
}

TEST(StartUp, TheListShowsHeaderIdBeforeTheOffsets) {
    TempFolder folder;
    TestWindow w;
    w->start("", Q(folder.path()));
    const QHeaderView* header = w->entryList()->header();
    QStringList shown;
    for (int position = 0; position < header->count(); ++position)
        shown << header->model()
                     ->headerData(header->logicalIndex(position), Qt::Horizontal)
                     .toString();
    EXPECT_EQ(shown, QStringList({"Key", "Value", "Size", "Type", "Checksum", "Flags", "Header ID",
                                  "Data Offset", "Key Offset"}));
    EXPECT_EQ(header->logicalIndex(6), 8);
    // Files opened later keep the order and the widths.
    auto* list = w->entryList();
    list->header()->resizeSection(0, 333);
    w->openFile(Q(SamplePath()));
    w->openFile(Q(SamplePath()));
    EXPECT_EQ(header->logicalIndex(6), 8);
    EXPECT_EQ(header->sectionSize(0), 333);
}

TEST(StartUp, TheCommandLineIsTheRemainingArgumentsJoined) {
    EXPECT_EQ(CommandLinePath({"thornbeck", "\"/tmp/a", "b.sys\""}), "/tmp/a b.sys");
    EXPECT_EQ(CommandLinePath({"thornbeck"}), "");
}

TEST(StartUp, OnlyOneCopyRunsAndADeadCopysLockIsTakenOver) {
    TempFolder folder;
    auto first = TakeInstanceLock(Q(folder.path()));
    ASSERT_TRUE(first);
    EXPECT_FALSE(TakeInstanceLock(Q(folder.path())));
    first.reset();
    // A lock left by a process that no longer runs.
    QFile stale(Q(folder.path() / "thornbeck.lock"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\nthornbeck\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(TakeInstanceLock(Q(folder.path())));
}

}  // namespace
}  // namespace thornbeck::test
