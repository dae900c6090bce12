#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "core/export/CsvExport.h"
#include "gui/TestWindow.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/models/ValueHexModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "gui/widgets/HexView.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

struct HexViewFixture {
    TestWindow w;
    QTableView* view = w->detailsPanel()->hexView();
    ValueHexModel* model = w->detailsPanel()->hexModel();
    HexViewFixture() {
        w->resize(836, 700);  // room for the hex view below the fields
        QCoreApplication::processEvents();
        w->openFile(Q(SamplePath()));
    }
    // The shown entry; nothing for a folder.
    EntryRef show(std::string_view key) {
        const int32_t node = w.showKey(key);
        return w->document().index().nodes()[static_cast<size_t>(node)].entry.value_or(EntryRef{});
    }
    // Types into the view as the user does, from `cell`.
    void typeOver(const QModelIndex& cell, const char* text) {
        view->setFocus();
        view->setCurrentIndex(cell);
        QTest::keyClicks(view, text);
    }
    QStringList row(int r) const {
        QStringList cells;
        for (int c = 0; c < ValueHexModel::kBytesPerRow; ++c) {
            const QString cell = model->index(r, c).data().toString();
            if (!cell.isEmpty()) cells << cell;
        }
        return cells;
    }
    std::vector<uint8_t> bytes() const {
        return {w->document().image().bytes().begin(), w->document().image().bytes().end()};
    }
};

TEST(HexView, ShowsTheValueAndEditsABytePerTypedPair) {
    HexViewFixture h;
    const EntryRef mac = h.show("/setting/system/macAddress");
    ASSERT_TRUE(h.view->isVisible());
    EXPECT_EQ(h.row(0).join(' '), "00 1F A7 00 00 42 FF 00");
    EXPECT_EQ(h.model->index(0, ValueHexModel::kTextColumn).data().toString(),
              QString::fromLatin1("..\xA7..B\xFF."));
    EXPECT_EQ(h.w->detailsPanel()->field(kValueField)->toolTip(), "00 1F A7 00 00 42 FF 00");

    // Typing 83 over the third byte is an edit of the Value field; Modify writes that byte only.
    const auto before = h.bytes();
    h.typeOver(h.model->index(0, 2), "G");  // not hex: refused, the byte stays
    EXPECT_EQ(h.row(0).join(' '), "00 1F A7 00 00 42 FF 00");
    EXPECT_FALSE(h.w->detailsPanel()->modifyButton()->isEnabled());
    h.typeOver(h.model->index(0, 2), "8");  // the high nibble first
    EXPECT_EQ(h.row(0).join(' '), "00 1F 87 00 00 42 FF 00");
    QTest::keyClicks(h.view, "3");  // then the low one, and the cursor moves on
    EXPECT_EQ(h.row(0).join(' '), "00 1F 83 00 00 42 FF 00");
    EXPECT_EQ(h.view->currentIndex(), h.model->index(0, 3));
    // The zero byte at the end is padding: the field shows the text before it.
    EXPECT_EQ(h.w->detailsPanel()->field(kValueField)->text(),
              QString::fromLatin1("\x00\x1F\x83\x00\x00"
                                  "B\xFF",
                                  7));
    EXPECT_TRUE(h.w->detailsPanel()->modifyButton()->isEnabled());
    h.w->modifyEntry();
    auto after = h.bytes();
    EXPECT_EQ(after[static_cast<size_t>(mac.offset) + 9 + 2], 0x83);
    after[static_cast<size_t>(mac.offset) + 9 + 2] =
        before[static_cast<size_t>(mac.offset) + 9 + 2];
    EXPECT_EQ(after, before);
    h.w->findChild<QAction*>("undoAction")->trigger();
    EXPECT_EQ(h.bytes(), before);
    EXPECT_EQ(h.row(0).join(' '), "00 1F A7 00 00 42 FF 00");
}

// Hex editor keys: digits run on from byte to byte, the text column takes characters, arrows
// move, Ctrl+C copies hex pairs; an Integer's view is read-only and says why.
TEST(HexView, EditsLikeAHexEditor) {
    HexViewFixture h;
    h.show("/setting/system/macAddress");
    h.typeOver(h.model->index(0, 0), "0102A0");
    EXPECT_EQ(h.row(0).join(' '), "01 02 A0 00 00 42 FF 00");
    EXPECT_EQ(h.view->currentIndex(), h.model->index(0, 3));
    QTest::keyClick(h.view, Qt::Key_Right);
    QTest::keyClicks(h.view, "b");
    EXPECT_EQ(h.row(0).join(' '), "01 02 A0 00 B0 42 FF 00");
    QTest::keyClick(h.view, Qt::Key_Home);
    EXPECT_EQ(h.view->currentIndex().column(), 0);
    // The text column: a typed character is its byte, then the next.
    h.typeOver(h.model->index(0, ValueHexModel::kTextColumn), "Hi");
    EXPECT_EQ(h.row(0).join(' '), "48 69 A0 00 B0 42 FF 00");
    // Ctrl+C copies the selected bytes.
    h.view->setCurrentIndex(h.model->index(0, 1));
    h.view->selectionModel()->select(QItemSelection(h.model->index(0, 1), h.model->index(0, 2)),
                                     QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(h.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "69 A0");
    // The value keeps its length whatever is typed at its end.
    h.typeOver(h.model->index(0, 7), "FFFFFF");
    EXPECT_EQ(h.w.field(kValueField)->text().size(), 8);
    // An Integer's bytes are read-only, look it and say why.
    h.show("/setting/system/timeZone");
    EXPECT_TRUE(h.view->toolTip().contains("Integer"));
    h.typeOver(h.model->index(0, 3), "77");
    EXPECT_EQ(h.row(0).join(' '), "00 00 00 3C");
}

TEST(HexView, ShowsTheBytesOfATwoByteInteger) {
    HexViewFixture h;
    h.show("/setting/system/dateFormat");
    ASSERT_EQ(h.w->detailsPanel()->field(kValueField)->text(), "00000002");
    EXPECT_EQ(h.row(0), QStringList({"00", "02"}));
}

TEST(HexView, FollowsTypingAndTheDataSize) {
    HexViewFixture h;
    h.show("/setting/system/nickName");  // 128 bytes: 8 rows
    EXPECT_EQ(h.model->rowCount(), 8);
    auto* value = h.w->detailsPanel()->field(kValueField);
    value->setFocus();
    value->selectAll();
    QTest::keyClicks(value, "Hi");
    // The bytes Modify would write: the text, then zeros up to the size.
    EXPECT_EQ(h.row(0).join(' '), "48 69 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(h.model->rowCount(), 8);
    h.w->detailsPanel()->field(kDataSizeField)->setText("1");
    EXPECT_EQ(h.model->rowCount(), 1);
    EXPECT_EQ(h.row(0).join(' '), "48");
    // An Integer's bytes are read-only; a key folder shows nothing.
    h.show("/setting/system/timeZone");
    EXPECT_EQ(h.row(0).join(' '), "00 00 00 3C");
    EXPECT_FALSE(h.model->flags(h.model->index(0, 0)) & Qt::ItemIsEditable);
    h.show("/setting");
    EXPECT_EQ(h.model->rowCount(), 0);
    h.w->navigation().setListMode(true);
    EXPECT_FALSE(h.view->isVisible());
}

// The list draws values readably, but its rows, the CSV and list-mode Find keep the bytes.
TEST(HexView, TheListDrawsReadablyWhileItsTextsStayBytes) {
    HexViewFixture h;
    const auto* list = h.w->listModel();
    const auto& index = h.w->document().index();
    const auto& rows = index.rows();
    const auto position = [&](std::string_view key) {
        for (size_t r = 0; r < rows.size(); ++r)
            if (index.keyOf(rows[r]) == key) return list->indexOfRow(static_cast<int32_t>(r));
        return QModelIndex();
    };
    EXPECT_EQ(position("/setting/system/macAddress").siblingAtColumn(1).data().toString(),
              "00 1F A7 00 00 42 FF 00");
    EXPECT_EQ(position("/setting/system/nickName").siblingAtColumn(1).data().toString(),
              "PS3-CONSOLE");
    EXPECT_EQ(list->cellText(list->rowOf(position("/setting/system/macAddress")), 1),
              std::string("\x00\x1F\xA7\x00\x00\x42\xFF\x00", 8));
    const std::string csv = CsvOfRows(h.w->document().image(), index, list->displayOrder());
    EXPECT_NE(csv.find(std::string("\"\x00\x1F\xA7\x00\x00\x42\xFF\x00\"", 10)), std::string::npos);
}

}  // namespace
}  // namespace thornbeck::test
