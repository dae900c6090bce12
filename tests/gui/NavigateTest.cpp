#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <fstream>

#include "RegistryBuilder.h"
#include "gui/TestWindow.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

using sample::BigEndian;
using sample::Bytes;

constexpr uint8_t kInteger = 1;
constexpr uint8_t kString = 2;

// Tree nodes in load order: /net, /net/proxy, /net/port, /net/[x], /media, /media/empty,
// /media/a[]b. List rows: the five entries in that order.
std::vector<uint8_t> NavigationImage() {
    sample::RegistryBuilder b;
    auto add = [&](std::string_view name, uint8_t type, std::vector<uint8_t> value,
                   uint16_t checksum, uint16_t flags) {
        sample::RegistryBuilder::Entry entry;
        entry.keyOffset = b.keyFor(name);
        entry.type = type;
        entry.value = std::move(value);
        entry.checksum = checksum;
        entry.flags = flags;
        b.addEntry(std::move(entry));
    };
    add("/net/proxy", kString, Bytes("HOST.LOCAL"), 0x0300, 0x0002);
    add("/net/port", kInteger, BigEndian(8080, 4), 0x0100, 0x0003);
    add("/net/[x]", kString, Bytes("brackets"), 0x0200, 0x0001);
    add("/media/empty", kString, {}, 0x0100, 0x0000);
    add("/media/a[]b", kString, Bytes("x"), 0x0400, 0x0004);
    return b.build();
}

struct Navigation {
    TempFolder folder;
    TestWindow w;
    QTreeView* tree = w->keyTree();
    QTreeView* list = w->entryList();
    QLineEdit* key = w->detailsPanel()->keyLine();

    Navigation() {
        w->openFile(Q(folder.write("xRegistry.sys", NavigationImage())));
        w->activateWindow();
    }
    void show(std::string_view name) { w.showKey(name); }
    QString listKey(int position) const {
        return list->model()->index(position, 0).data().toString();
    }
    QStringList listKeys() const {
        QStringList keys;
        for (int p = 0; p < list->model()->rowCount(); ++p) keys << listKey(p);
        return keys;
    }
    QString selectedListKey() const { return list->currentIndex().data().toString(); }
    void clickHeader(int column) {
        QHeaderView* header = list->header();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }
    void find(const QString& text) {
        w.prompts->inputs.push_back(text);
        w->finding().find();
    }
};

TEST(ViewModes, EscapeTwiceReturnsAndTheSelectionFollowsBothWays) {
    Navigation n;
    n.show("/net/port");
    auto* value = n.w->detailsPanel()->field(kValueField);
    value->setFocus();
    QCoreApplication::processEvents();  // the focus rule selects the text
    ASSERT_TRUE(value->hasSelectedText());
    QTest::keyClick(n.tree, Qt::Key_Escape);
    EXPECT_TRUE(n.w->isListMode());
    EXPECT_FALSE(value->hasSelectedText());
    EXPECT_EQ(n.selectedListKey(), "/net/port");
    n.list->setCurrentIndex(n.list->model()->index(3, 0));
    QTest::keyClick(n.list, Qt::Key_Escape);
    EXPECT_FALSE(n.w->isListMode());
    EXPECT_EQ(n.key->text(), "/media/empty");
    EXPECT_TRUE(n.tree->isExpanded(n.tree->currentIndex().parent()));

    // A key folder has no row: the list keeps its own selection.
    n.show("/net");
    n.w->navigation().setListMode(true);
    EXPECT_EQ(n.selectedListKey(), "/media/empty");
    // Choosing the mode shown takes that view's own selection.
    n.list->setCurrentIndex(n.list->model()->index(1, 0));
    n.w->navigation().setListMode(true);
    EXPECT_EQ(n.selectedListKey(), "/net/port");
}

TEST(ListSort, HeadersSortByTextToggleAndHoldForLaterFilesAndEdits) {
    Navigation n;
    n.w->navigation().setListMode(true);
    const QStringList loadOrder = n.listKeys();
    EXPECT_EQ(loadOrder,
              QStringList({"/net/proxy", "/net/port", "/net/[x]", "/media/empty", "/media/a[]b"}));
    n.clickHeader(4);  // Checksum; equal checksums keep their load order either way
    EXPECT_EQ(n.listKeys(),
              QStringList({"/net/port", "/media/empty", "/net/[x]", "/net/proxy", "/media/a[]b"}));
    n.clickHeader(4);
    EXPECT_EQ(n.listKeys(),
              QStringList({"/media/a[]b", "/net/proxy", "/net/[x]", "/net/port", "/media/empty"}));
    n.clickHeader(5);  // Flags
    EXPECT_EQ(n.listKeys(),
              QStringList({"/media/empty", "/net/[x]", "/net/proxy", "/net/port", "/media/a[]b"}));
    EXPECT_EQ(n.list->header()->sortIndicatorSection(), 5);

    // A row that Modify refreshes takes its place in the sort.
    n.w->navigation().setListMode(false);
    n.show("/media/a[]b");
    n.w->detailsPanel()->field(kFlagsField)->setText("0000");
    n.w->modifyEntry();
    EXPECT_EQ(n.listKeys(),
              QStringList({"/media/empty", "/media/a[]b", "/net/[x]", "/net/proxy", "/net/port"}));

    // Another file opens sorted the same way: by Flags, as text.
    n.w.prompts->answers.push_back(QMessageBox::No);
    n.w->openFile(Q(SamplePath()));
    const auto* model = n.w->listModel();
    const auto& order = model->displayOrder();
    ASSERT_GT(order.size(), 100u);
    for (size_t p = 1; p < order.size(); ++p) {
        const auto a = model->cellText(order[p - 1], 5);
        const auto b = model->cellText(order[p], 5);
        ASSERT_TRUE(a < b || (a == b && order[p - 1] < order[p])) << p;
    }
}

// The Size column and the hex columns sort by their numbers, not by their texts: 3 before 22.
TEST(ListSort, NumberColumnsSortByNumber) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    auto* model = w->listModel();
    for (const int column : {2, 4, 5, 6, 7, 8}) {
        w->navigation().sortListBy(column);
        const auto& order = model->displayOrder();
        const int base = column == 2 ? 10 : 16;  // Size is decimal, the others hex
        for (size_t p = 1; p < order.size(); ++p) {
            const auto a = std::stoull(model->cellText(order[p - 1], column), nullptr, base);
            const auto b = std::stoull(model->cellText(order[p], column), nullptr, base);
            ASSERT_LE(a, b) << "column " << column << " position " << p;
        }
    }
}

TEST(ListBehaviours, EnterOpensTheRowInTreeModeWithItsValueSelected) {
    Navigation n;
    n.w->navigation().setListMode(true);
    n.list->setCurrentIndex(n.list->model()->index(1, 0));
    QTest::keyClick(n.list, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(n.w->isListMode());
    EXPECT_EQ(n.key->text(), "/net/port");
    auto* value = n.w->detailsPanel()->field(kValueField);
    EXPECT_TRUE(value->hasFocus());
    EXPECT_EQ(value->selectedText(), "00001F90");

    // The rows carry no check box: it would do nothing a user could see.
    const QModelIndex first = n.list->model()->index(3, 0);
    EXPECT_FALSE(first.data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(first.flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(n.w->listModel()->setData(first, Qt::Checked, Qt::CheckStateRole));

    // A double-click on a key folder leaves the focus in the tree.
    n.show("/net");
    n.tree->setFocus();
    n.w->navigation().treeActivated();
    EXPECT_TRUE(n.tree->hasFocus());
    n.show("/net/proxy");
    n.w->navigation().treeActivated();
    EXPECT_TRUE(value->hasFocus());
}

TEST(ListBehaviours, ADoubleClickOnARowOrOnTheEmptyPartSwitchesToTreeMode) {
    Navigation n;
    n.w->navigation().setListMode(true);
    QCoreApplication::processEvents();
    const QRect second = n.list->visualRect(n.list->model()->index(1, 0));
    QTest::mouseClick(n.list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(n.list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_FALSE(n.w->isListMode());
    EXPECT_EQ(n.key->text(), "/net/port");

    n.w->navigation().setListMode(true);
    n.list->clearSelection();
    n.list->setCurrentIndex({});
    const QPoint below(20, n.list->viewport()->height() - 5);  // five rows leave room below
    ASSERT_FALSE(n.list->indexAt(below).isValid());
    QTest::mouseDClick(n.list->viewport(), Qt::LeftButton, {}, below);
    EXPECT_FALSE(n.w->isListMode());
}

TEST(ListBehaviours, ScrollingRightBringsTheRightHandColumnsIntoView) {
    TestWindow w;
    w->start(Q(SamplePath()), Q(SamplePath().parent_path()));
    w->navigation().setListMode(true);
    QCoreApplication::processEvents();
    auto* list = w->entryList();
    QScrollBar* bar = list->horizontalScrollBar();
    EXPECT_EQ(list->header()->offset(), 0);
    EXPECT_EQ(bar->value(), bar->minimum());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCoreApplication::processEvents();
    for (const int column : {6, 7}) {  // Data Offset and Key Offset
        const int left = list->header()->sectionViewportPosition(column);
        EXPECT_GE(left, 0) << column;
        EXPECT_LE(left + list->header()->sectionSize(column), list->viewport()->width()) << column;
    }
}

TEST(Find, AsksWithTheLastTextAndSearchesTheListFromTheSelection) {
    Navigation n;
    n.w->navigation().setListMode(true);
    n.list->setCurrentIndex({});
    n.find("NET");
    EXPECT_EQ(n.w.prompts->inputQuestions.back(), "Find|Find Key:|");
    EXPECT_EQ(n.selectedListKey(), "/net/port");  // nothing selected: row 1 is not tried
    n.w->finding().findNext();
    EXPECT_EQ(n.selectedListKey(), "/net/[x]");
    QTest::keyClick(n.list, Qt::Key_F3);
    EXPECT_EQ(n.selectedListKey(), "/net/proxy");  // wrapped round
    // Cancel, or an empty answer, keeps the text and searches nothing.
    n.w.prompts->inputs.push_back(std::nullopt);
    n.w->finding().find();
    n.find("");
    EXPECT_EQ(n.w.prompts->inputQuestions.back(), "Find|Find Key:|NET");
    EXPECT_EQ(n.selectedListKey(), "/net/proxy");
    // The only match selected: nothing happens.
    n.find("empty");
    n.w->finding().findNext();
    EXPECT_EQ(n.selectedListKey(), "/media/empty");
    // Brackets are literal, "[]" included; values are not searched in the list.
    n.find("[x]");
    EXPECT_EQ(n.selectedListKey(), "/net/[x]");
    n.find("[]");
    EXPECT_EQ(n.selectedListKey(), "/media/a[]b");
    n.find("host.local");
    EXPECT_EQ(n.selectedListKey(), "/media/a[]b");
    n.find("/net/p?r#");
    EXPECT_EQ(n.selectedListKey(), "/media/a[]b");
}

TEST(Find, TreeModeFindsValuesAndExpandsAndShowsTheHit) {
    Navigation n;
    n.find("host.LOCAL");
    EXPECT_EQ(n.key->text(), "/net/proxy");
    EXPECT_EQ(n.w->detailsPanel()->field(kValueField)->text(), "HOST.LOCAL");
    // A node's own text is compared, not its path.
    n.find("net/port");
    EXPECT_EQ(n.key->text(), "/net/proxy");
    n.tree->collapse(n.w->treeModel()->indexOfNode(0));
    n.show("/media/empty");
    n.find("ne");
    EXPECT_EQ(n.key->text(), "/net");
    EXPECT_TRUE(n.tree->isExpanded(n.tree->currentIndex()));
    // A text no byte can spell finds nothing.
    n.find(QStringLiteral("\u20AC"));
    EXPECT_EQ(n.key->text(), "/net");
}

TEST(KeyInfo, DescriptionsBesideTheProgramShowForTheirKeys) {
    TempFolder app;
    app.write("xRegistry.sys", NavigationImage());
    // Line feeds alone end lines too, as files saved on Linux have them.
    app.write("xRegistry_info.txt",
              Bytes("/NET/Port\tThe port the proxy listens on\t 8080 \n/net/proxy\tProxy host\t"
                    "on\r\n/net/proxy\tignored\r/media\tMedia settings\n/net/[x]\n"));
    TestWindow w;
    w->start("", Q(app.path()));
    auto* info = w->detailsPanel()->infoBox(0);
    auto* typical = w->detailsPanel()->infoBox(1);
    // The first node was shown before the table was read.
    EXPECT_FALSE(info->isVisibleTo(&*w));
    auto show = [&](std::string_view name) { w.showKey(name); };
    show("/net/port");
    EXPECT_EQ(info->text(), "The port the proxy listens on");
    EXPECT_EQ(typical->text(), "Typical Value:  8080 ");
    EXPECT_TRUE(typical->isVisibleTo(&*w));
    show("/net/proxy");
    EXPECT_EQ(info->text(), "Proxy host");
    EXPECT_EQ(typical->text(), "on");
    show("/media");
    EXPECT_EQ(info->text(), "Media settings");
    EXPECT_TRUE(typical->text().isEmpty());
    EXPECT_TRUE(typical->isVisibleTo(&*w));
    show("/net/[x]");
    EXPECT_FALSE(info->isVisibleTo(&*w));
    EXPECT_FALSE(typical->isVisibleTo(&*w));
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// Where two entries share a key, the list's row leads to its own entry (the first), shown to be
// read; the tree's node keeps leading to the last, which Modify writes.
TEST(ListBehaviours, ARowOfASharedKeyLeadsToItsOwnEntry) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    const auto& index = w->document().index();
    const int32_t node = *index.findNode("/setting/system/language");
    const int32_t row = index.nodes()[static_cast<size_t>(node)].listRow;
    w->navigation().setListMode(true);
    w->entryList()->setCurrentIndex(w->listModel()->indexOfRow(row));
    QTest::keyClick(w->entryList(), Qt::Key_Return);
    EXPECT_FALSE(w->isListMode());
    EXPECT_EQ(w.field(kValueField)->text(), "00000001");
    EXPECT_TRUE(w.field(kValueField)->isReadOnly());
    EXPECT_FALSE(w.panel()->modifyButton()->isEnabled());
    EXPECT_TRUE(w.panel()->modifyButton()->toolTip().contains("this is the first"));
    const std::vector<uint8_t> before(w->document().image().bytes().begin(),
                                      w->document().image().bytes().end());
    w->modifyEntry();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), w->document().image().bytes().begin(),
                           w->document().image().bytes().end()));
    w.showKey("/setting/system/language");
    EXPECT_EQ(w.field(kValueField)->text(), "00000002");
    EXPECT_FALSE(w.field(kValueField)->isReadOnly());
}

}  // namespace
}  // namespace thornbeck::test
