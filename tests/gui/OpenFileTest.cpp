#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <random>

#include "DeepNamesImage.h"
#include "RegistryBuilder.h"
#include "cli/CliRun.h"
#include "gui/TestWindow.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

QString Cell(MainWindow& window, int row, int column) {
    return window.listModel()->index(row, column).data().toString();
}

TEST(OpenFile, BuildsTheTreeAndTheListAndShowsTheFirstNode) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    EXPECT_EQ(w->caption(), Q(SamplePath()));
    EXPECT_EQ(w->document().path(), Q(SamplePath()));
    EXPECT_FALSE(w->document().hasUnsavedChanges());
    auto* tree = w->keyTree();
    auto* list = w->entryList();
    EXPECT_TRUE(tree->isVisible());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(w->treeModel()->nodeOf(tree->currentIndex()), 0);
    EXPECT_EQ(w->detailsPanel()->keyLine()->text(), "/setting");
    EXPECT_EQ(w->listModel()->rowCount(), static_cast<int>(w->document().index().rows().size()));
    // The first list row is the first entry, with the texts of the first of its repeated name.
    EXPECT_EQ(Cell(*w, 0, 0), "/setting/system/language");
    EXPECT_EQ(Cell(*w, 0, 1), "00000001");
    EXPECT_EQ(Cell(*w, 0, 3), "Integer");
    EXPECT_EQ(Cell(*w, 0, 4), "1A2B");
    EXPECT_EQ(Cell(*w, 0, 6), "010000");
    // Every node is expanded, as the load leaves them.
    const QModelIndex system =
        w->treeModel()->indexOfNode(*w->document().index().findNode("/setting/system"));
    EXPECT_TRUE(tree->isExpanded(system));
}

TEST(OpenFile, ValuesRoundTripEveryByteThroughTheListTexts) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    const auto& index = w->document().index();
    const auto& rows = index.rows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const ListRow& r) {
        return index.keyOf(r) == "/setting/system/binaryMixed";
    });
    ASSERT_NE(row, rows.end());
    // The row's text keeps every byte; the cell draws a Binary value as hex pairs.
    const auto position = static_cast<int32_t>(row - rows.begin());
    EXPECT_EQ(w->listModel()->cellText(position, 1), std::string("\x01\x00\x02\xFF", 4));
    EXPECT_EQ(Cell(*w, position, 1), "01 00 02 FF");
}

// A refused file is said in the key line and the status bar, in the words Compare With and
// thornbeck-cli use, without a box to click away.
TEST(OpenFile, ARefusedFileIsSaidWithItsReasonWithoutABox) {
    TempFolder folder;
    const auto path = folder.write("short.sys", std::vector<uint8_t>(65519, 0x4D));
    const auto empty = folder.write("empty.sys", {});
    TestWindow w;
    w->openFile(Q(SamplePath()));
    const std::vector<std::pair<std::filesystem::path, QString>> refused = {
        {path,
         "Could not open short.sys: not a registry file: 65519 bytes, shorter than the 65520 "
         "bytes of a registry file"},
        {empty,
         "Could not open empty.sys: not a registry file: 0 bytes, shorter than the 65520 bytes "
         "of a registry file"},
        {folder.path() / "missing.sys",
         "Could not open missing.sys: cannot read: No such file or directory"},
    };
    // The file that was open stays open and shown, with its unsaved changes.
    w.makeUnsavedChange();
    const QString shownKey = w->detailsPanel()->keyLine()->text();
    const QString caption = w->caption();
    const int rows = w->listModel()->rowCount();
    for (const auto& [file, said] : refused) {
        w.prompts->answers = {QMessageBox::No};
        w->openFile(Q(file));
        EXPECT_EQ(w->caption(), caption);
        EXPECT_EQ(w->document().path(), QDir::toNativeSeparators(Q(SamplePath())));
        EXPECT_TRUE(w->document().hasUnsavedChanges());
        EXPECT_EQ(w->detailsPanel()->keyLine()->text(), shownKey);
        EXPECT_EQ(w->statusBar()->currentMessage(), said);
        EXPECT_EQ(w->listModel()->rowCount(), rows);
        EXPECT_TRUE(w->findChild<QAction*>("saveAction")->isEnabled());
    }
    TestWindow fresh;
    fresh->openFile(Q(path));
    EXPECT_EQ(fresh->document().path(), "");
    EXPECT_EQ(fresh->treeModel()->rowCount(), 0);
    EXPECT_EQ(fresh->detailsPanel()->keyLine()->text(), refused[0].second);
    fresh->openFile(Q(folder.path()));
    EXPECT_TRUE(fresh->detailsPanel()->keyLine()->text().startsWith("Could not open "));
    w.prompts->messages.clear();
    EXPECT_TRUE(w.prompts->messages.empty());
    // The command line says the same of the same file.
    const auto info = RunCli({"list", path.string()});
    EXPECT_NE(info.err.find("not a registry file: 65519 bytes, shorter than the 65520 bytes"),
              std::string::npos)
        << info.err;
}

// Whatever the next file holds, nothing of the previous file's entry stays in the panel.
TEST(OpenFile, EveryOpenEmptiesThePanelBeforeReading) {
    TempFolder folder;
    const auto shortFile = folder.write("short.sys", std::vector<uint8_t>(100, 1));
    const auto noMarker = folder.write("nomarker.sys", std::vector<uint8_t>(65520, 0));
    TestWindow w;
    DetailsPanel* panel = w->detailsPanel();
    auto* modify = w->detailsPanel()->modifyButton();
    w->start(Q(SamplePath()), Q(SamplePath().parent_path()));  // with the descriptions file
    // A refused file leaves the open one shown as it was.
    for (const auto& next : {shortFile, folder.path() / "missing.sys", folder.path()}) {
        w->openFile(Q(SamplePath()));
        w.showKey("/setting/system/language");
        const QString value = panel->field(kValueField)->text();
        w->openFile(Q(next));
        EXPECT_EQ(panel->keyLine()->text(), "/setting/system/language") << next;
        EXPECT_EQ(panel->field(kValueField)->text(), value) << next;
        EXPECT_FALSE(panel->field(kValueField)->isReadOnly()) << next;
        EXPECT_FALSE(panel->infoBox(0)->text().isEmpty()) << next;
    }
    for (const auto& next : {noMarker}) {
        w->openFile(Q(SamplePath()));
        w->navigation().showNode(w->treeModel()->indexOfNode(
            *w->document().index().findNode("/setting/system/language")));
        ASSERT_FALSE(panel->field(kValueField)->text().isEmpty());
        ASSERT_FALSE(panel->infoBox(0)->text().isEmpty());  // the sample has its description
        w->openFile(Q(next));
        for (int i = 0; i < kDetailFieldCount; ++i) {
            EXPECT_EQ(panel->field(i)->text(), "") << next << i;
            EXPECT_TRUE(panel->field(i)->isReadOnly()) << next << i;
            EXPECT_EQ(panel->field(i)->palette().color(QPalette::Base),
                      QApplication::palette().color(QPalette::Button));
        }
        EXPECT_EQ(panel->infoBox(0)->text(), "");
        EXPECT_EQ(panel->infoBox(1)->text(), "");
        EXPECT_FALSE(modify->isEnabled()) << next;
        // Typing gets nowhere: no text, no Modify.
        panel->field(kValueField)->setFocus();
        QTest::keyClicks(panel->field(kValueField), "12");
        EXPECT_EQ(panel->field(kValueField)->text(), "");
        EXPECT_FALSE(modify->isEnabled()) << next;
    }
}

// An open, a close or a drop that arrives while a file is opening waits for the open to end.
TEST(OpenFile, RequestsDuringAnOpenWaitForItToFinish) {
    TempFolder folder;
    const auto other = folder.write("other.sys", SampleBytes());
    TestWindow w;
    QString captionWhenDropped;
    QTimer::singleShot(0, &*w, [&] {
        captionWhenDropped = w->caption();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(Q(other))});
        w->openDroppedFile(&mime);
        w->openFile(Q(other));
        w->close();
    });
    w->openFile(Q(SamplePath()));
    // The requests ran inside the open's paint of the status line, before the file was read.
    EXPECT_EQ(captionWhenDropped, "");
    EXPECT_EQ(w->caption(), Q(SamplePath()));
    EXPECT_GT(w->treeModel()->rowCount(), 0);
    EXPECT_TRUE(w->isVisible());
    // The deferred requests run once the event loop turns: the other file opens, then the close.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isVisible(); }, kGenerousWaitMs));
    EXPECT_EQ(w->caption(), Q(other));
    EXPECT_GT(w->treeModel()->rowCount(), 0);
    EXPECT_FALSE(w->isVisible());
}

TEST(OpenFile, AFileWithoutMarkerIsOpenWithEmptyViews) {
    TempFolder folder;
    const auto path = folder.write("nomarker.sys", std::vector<uint8_t>(65520, 0));
    TestWindow w;
    w->openFile(Q(path));
    EXPECT_EQ(w->caption(), Q(path));
    EXPECT_EQ(w->treeModel()->rowCount(), 0);
    EXPECT_EQ(w->detailsPanel()->keyLine()->text(), "nomarker.sys has no entries");
    EXPECT_EQ(w->statusBar()->currentMessage(),
              "Opened nomarker.sys: it has no entries (no data-area marker); 1 problem (View > "
              "Problems)");
    EXPECT_TRUE(w->findChild<QAction*>("saveAction")->isEnabled());
}

TEST(OpenFile, TheStatusCountsEntriesAsInfoDoes) {
    // The sample's 441 entries name 440 keys: /setting/system/language has two.
    TestWindow w;
    w->openFile(Q(SamplePath()));
    EXPECT_EQ(w->statusBar()->currentMessage(), "Opened xRegistry.sys: 441 entries");
}

TEST(OpenFile, ASecondFileReplacesBothViews) {
    sample::RegistryBuilder builder;
    builder.addEntry("/other/only", 2, sample::Bytes("x"));
    TempFolder folder;
    const auto path = folder.write("other.sys", builder.build());
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w->openFile(Q(path));
    EXPECT_EQ(w->listModel()->rowCount(), 1);
    EXPECT_EQ(Cell(*w, 0, 0), "/other/only");
    EXPECT_EQ(w->treeModel()->rowCount(), 1);
}

TEST(OpenFile, CancelAtThePromptKeepsEverything) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w.makeUnsavedChange();
    w.prompts->answers = {QMessageBox::Cancel};
    w->openFile(Q(SamplePath()));
    ASSERT_EQ(w.prompts->messages.size(), 1u);
    EXPECT_EQ(w.prompts->messages[0].text,
              "Do you want to save modifications to the current file?");
    EXPECT_EQ(w.prompts->messages[0].title, "Thornbeck");
    EXPECT_EQ(w.prompts->messages[0].icon, QMessageBox::Question);
    EXPECT_EQ(w.prompts->messages[0].buttons,
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(w->document().hasUnsavedChanges());
    EXPECT_EQ(w->caption(), Q(SamplePath()) + "*");
    EXPECT_GT(w->listModel()->rowCount(), 400);
}

TEST(OpenFile, OpeningInListModeKeepsTheTreeHidden) {
    TestWindow w;
    w->navigation().setListMode(true);
    w->openFile(Q(SamplePath()));
    EXPECT_FALSE(w->keyTree()->isVisible());
    EXPECT_TRUE(w->entryList()->isVisible());
}

QMimeData* FilesMime(const QList<QUrl>& urls) {
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    return mime;
}

void Drop(MainWindow& window, QMimeData* mime) {
    window.openDroppedFile(mime);
    QCoreApplication::processEvents();
    delete mime;
}

TEST(OpenFile, ADropOpensTheFirstLocalFile) {
    TempFolder folder;
    const auto copy = folder.write("copy.sys", SampleBytes());
    TestWindow w;
    Drop(*w, FilesMime({QUrl("https://example.invalid/x.sys"), QUrl::fromLocalFile(Q(copy)),
                        QUrl::fromLocalFile(Q(SamplePath()))}));
    EXPECT_EQ(w->document().path(), Q(copy));
    auto* text = new QMimeData;
    text->setText("not a file");
    Drop(*w, text);
    EXPECT_EQ(w->document().path(), Q(copy));
}

TEST(OpenFile, DamagedFilesOpenWithoutFault) {
    TempFolder folder;
    const auto sample = SampleBytes();
    std::mt19937 random(7);
    TestWindow w;
    for (int round = 0; round < 40; ++round) {
        auto bytes = sample;
        for (int i = 0; i < 32; ++i)
            bytes[0x10000 + random() % 0x2000] = static_cast<uint8_t>(random());
        for (int i = 0; i < 8; ++i)
            bytes[0x10 + random() % 0x4000] = static_cast<uint8_t>(random());
        w->openFile(Q(folder.write("damaged.sys", bytes)));
        EXPECT_EQ(w->document().image().size(), static_cast<int32_t>(bytes.size()));
    }
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

TEST(OpenFile, AKeyOfThousandsOfLevelsOpens) {
    for (const size_t depth : {5000u, 65535u}) {
        const auto bytes = test::DeepKeyImage(depth);
        TempFolder folder;
        TestWindow w;
        w->openFile(Q(folder.write("deep.sys", bytes)));
        EXPECT_EQ(w->document().index().nodes().size(),
                  static_cast<size_t>(RegistryIndex::kMaxDepth));
        EXPECT_EQ(w->listModel()->rowCount(), 1);
        // The tree shows the first thousand levels, the entry the last of them.
        QModelIndex level = w->treeModel()->index(0, 0);
        int shown = 0;
        for (; level.isValid(); level = w->treeModel()->index(0, 0, level)) ++shown;
        EXPECT_EQ(shown, RegistryTreeModel::kMaxShownDepth);
    }
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// Nodes that have children and are expanded in the tree, and those that have children.
std::pair<size_t, size_t> ExpandedLevels(TestWindow& w) {
    const auto* tree = w->keyTree();
    std::pair<size_t, size_t> counts;
    for (int32_t node = 0; node < static_cast<int32_t>(w->document().index().nodes().size());
         ++node)
        if (!w->document().index().childrenOf(node).empty()) {
            counts.first += tree->isExpanded(w->treeModel()->indexOfNode(node));
            ++counts.second;
        }
    return counts;
}

// Every level of a registry is expanded when it is opened.
TEST(OpenFile, TheTreeOfARegistryOpensExpanded) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    const auto [expanded, levels] = ExpandedLevels(w);
    EXPECT_GT(levels, 500u);
    EXPECT_EQ(expanded, levels);
}

// Thousands of entries whose names are about 6,000 levels deep and part after the first few:
// every entry is a list row, the first node is shown, and the status bar says how many entries
// hang below their nearest folder. No file is refused for its keys. Such a tree uses the whole
// budget of nodes, so the view expands only what showing a node needs.
TEST(OpenFile, DeepDistinctNamesOpenWithEveryEntry) {
    TestWindow w;
    TempFolder folder;
    w->openFile(Q(SamplePath()));
    for (const int entries : {1000, 2475, 19000}) {
        const auto path = Q(folder.write("deep.sys", sample::DeepNamesImage(entries)));
        w->openFile(path);
        QCoreApplication::processEvents();
        const auto& index = w->document().index();
        EXPECT_TRUE(w.prompts->messages.empty());
        EXPECT_EQ(w->caption(), path);
        EXPECT_EQ(w->listModel()->rowCount(), entries);
        EXPECT_EQ(static_cast<int64_t>(index.nodes().size()), index.nodeBudget());
        ASSERT_GT(index.entriesShortened(), 0);
        EXPECT_EQ(w->statusBar()->currentMessage(),
                  QStringLiteral("Opened deep.sys: %1 entries. ").arg(entries) +
                      QString::fromStdString(ShortenedPathsNote(index.entriesShortened())));
        const QModelIndex first = w->treeModel()->indexOfNode(0);
        ASSERT_TRUE(first.isValid());
        EXPECT_EQ(w->keyTree()->currentIndex(), first);
        // The first node is a top-level one, so nothing needed expanding to show it.
        EXPECT_EQ(ExpandedLevels(w).first, 0u);
        // The key line shows the start of a key of thousands of characters, as a cell does.
        const std::string_view key = index.nodes()[0].key;
        const QString shown = w->detailsPanel()->keyLine()->text();
        if (key.size() > 256)
            EXPECT_EQ(shown, QString::fromLatin1(key.substr(0, 256)) + QChar(0x2026));
        else
            EXPECT_EQ(shown, QString::fromLatin1(key));
    }
}

}  // namespace
}  // namespace thornbeck::test
