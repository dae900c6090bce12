#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QLockFile>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <future>

#include "gui/TestWindow.h"
#include "gui/window/Application.h"
#include "gui/window/HandOffQueue.h"
#include "gui/window/InstanceServer.h"
#include "gui/window/ProgramOptions.h"
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
}

// A file named on the command line that cannot be opened is said, in the words of an Open.
TEST(StartUp, ACommandLineFileThatCannotBeOpenedIsSaid) {
    TempFolder folder;
    const auto empty = folder.write("empty.sys", {});
    for (const auto& path : {folder.path() / "missing.sys", empty, folder.path()}) {
        TestWindow w;
        w->start(Q(path), Q(folder.path()));
        EXPECT_EQ(w->document().path(), "");
        const QString said = w->statusBar()->currentMessage();
        EXPECT_TRUE(said.startsWith("Could not open ")) << said.toStdString();
        EXPECT_EQ(w->detailsPanel()->keyLine()->text(), said);
    }
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
    // Files opened later keep the order and the widths the user gave.
    auto* list = w->entryList();
    w->openFile(Q(SamplePath()));
    list->header()->resizeSection(2, 111);
    w->openFile(Q(SamplePath()));
    EXPECT_EQ(header->logicalIndex(6), 8);
    EXPECT_EQ(header->sectionSize(2), 111);
    // The Key and Value columns take the room the others leave.
    w->navigation().setListMode(true);
    QCoreApplication::processEvents();
    int others = 0;
    for (int column = 1; column < header->count(); ++column) others += header->sectionSize(column);
    EXPECT_EQ(header->sectionSize(0) + others, list->viewport()->width());
}

TEST(StartUp, TheCommandLineIsTheRemainingArgumentsJoined) {
    EXPECT_EQ(CommandLinePath({"thornbeck", "\"/tmp/a", "b.sys\""}), "/tmp/a b.sys");
    EXPECT_EQ(CommandLinePath({"thornbeck"}), "");
    EXPECT_EQ(CommandLinePath({"thornbeck", "--", "-odd.sys"}), "-odd.sys");
}

TEST(StartUp, HelpAndVersionAnswerBeforeQtAndAnUnknownOptionIsAnError) {
    const auto help = EarlyOptionAnswer({"thornbeck", "--help"});
    ASSERT_TRUE(help);
    EXPECT_EQ(help->exitCode, 0);
    EXPECT_TRUE(help->text.startsWith("Usage: thornbeck"));
    EXPECT_EQ(EarlyOptionAnswer({"thornbeck", "-h"})->exitCode, 0);
    const auto version = EarlyOptionAnswer({"thornbeck", "--version"});
    ASSERT_TRUE(version);
    EXPECT_EQ(version->text, VersionLine() + "\n");
    EXPECT_TRUE(VersionLine().startsWith("thornbeck 1."));
    const auto unknown = EarlyOptionAnswer({"thornbeck", "--colour"});
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->exitCode, 2);
    EXPECT_TRUE(unknown->text.contains("unknown option --colour"));
    EXPECT_FALSE(EarlyOptionAnswer({"thornbeck", "/tmp/x.sys"}));
    EXPECT_FALSE(EarlyOptionAnswer({"thornbeck", "--", "--help"}));
    // Once Qt has taken its own options, what is left and looks like one is unknown.
    EXPECT_EQ(RemainingOptionAnswer({"thornbeck", "-x"})->exitCode, 2);
    EXPECT_FALSE(RemainingOptionAnswer({"thornbeck", "/tmp/x.sys"}));
    EXPECT_FALSE(RemainingOptionAnswer({"thornbeck", "--", "-odd.sys"}));
}

// The second launch hands its file to the running copy over a local socket; one without a file
// only asks for the window. A socket a crashed copy left behind does not block the next start.
TEST(StartUp, ALaterLaunchHandsItsFileToTheRunningCopy) {
    TempFolder folder;
    const QString name = InstanceServer::nameIn(Q(folder.path()));
    folder.write("thornbeck.socket", {'x'});  // left by a crash
    InstanceServer server(name);
    ASSERT_TRUE(server.listen());
    QStringList requested;
    QObject::connect(&server, &InstanceServer::requested,
                     [&requested](const QString& path) { requested << path; });
    // The later launch is another process; here another thread, while this one's event loop
    // serves (a Windows pipe takes a write only as the server reads it).
    const auto handOver = [&name](const QString& path) {
        return std::async(std::launch::async,
                          [&name, path] { return InstanceServer::handOver(name, path, 5000); });
    };
    auto first = handOver(QStringLiteral("/tmp/my dump \u00E9.sys"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return requested.size() == 1; }, kGenerousWaitMs));
    EXPECT_TRUE(first.get());
    auto second = handOver(QString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return requested.size() == 2; }, kGenerousWaitMs));
    EXPECT_TRUE(second.get());
    EXPECT_EQ(requested, QStringList({QStringLiteral("/tmp/my dump \u00E9.sys"), QString()}));
    // Nobody listens on another name.
    EXPECT_FALSE(InstanceServer::handOver(name + "-none", QString(), 1000));
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
#ifdef _WIN32
    // Qt's lock file names the machine by COMPUTERNAME on Windows.
    const QString host = qEnvironmentVariable("COMPUTERNAME");
#else
    const QString host = QSysInfo::machineHostName();
#endif
    stale.write("999999999\nthornbeck\n" + host.toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(TakeInstanceLock(Q(folder.path())));
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// A file handed over while a question is open waits for its answer, so the answer applies to
// the file it was asked about: here the close question about a modified a.sys is open when
// b.sys arrives; Cancel keeps the window, then b.sys's open asks about a.sys, and Yes saves a.sys,
// never b.sys.
TEST(StartUp, HandOffsWaitForTheOpenQuestionAndComeOneAtATime) {
    TempFolder folder;
    const auto a = folder.write("a.sys", SampleBytes());
    const auto b = folder.write("b.sys", SampleBytes());
    TestWindow w;
    w->openFile(Q(a));
    w.makeUnsavedChange();
    HandOffQueue handOffs(*w);
    w.prompts->answers = {QMessageBox::Cancel, QMessageBox::Yes};
    w.prompts->whileAsking = [&] {
        QDialog question;  // the box the user is looking at
        question.setModal(true);
        question.show();
        handOffs.push(Q(b));
        question.hide();
    };
    EXPECT_FALSE(w->close());
    QTRY_VERIFY_WITH_TIMEOUT(w->document().path() == QDir::toNativeSeparators(Q(b)),
                             kGenerousWaitMs);
    EXPECT_EQ(w.prompts->deepest, 1);
    ASSERT_EQ(w.prompts->messages.size(), 2u);
    EXPECT_EQ(w.prompts->messages[1].text,
              "Do you want to save modifications to the current file?");
    EXPECT_TRUE(std::filesystem::exists(a.string() + ".bak"));
    EXPECT_FALSE(std::filesystem::exists(b.string() + ".bak"));
    EXPECT_EQ(ReadBytes(b), SampleBytes());
    EXPECT_EQ(handOffs.waiting(), 0);
}

}  // namespace
}  // namespace thornbeck::test
