#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include "RegistryBuilder.h"
#include "cli/CliRun.h"
#include "core/edit/EntryTexts.h"
#include "gui/TestWindow.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

struct Editing {
    TestWindow w;
    Editing() { w->openFile(Q(SamplePath())); }
    int32_t show(std::string_view key) { return w.showKey(key); }
    DetailFieldEdit* field(int i) const { return w->detailsPanel()->field(i); }
    std::vector<uint8_t> bytes() const {
        return {w->document().image().bytes().begin(), w->document().image().bytes().end()};
    }
    QString rowCell(int32_t node, int column) const {
        const int32_t row = w->document().index().nodes()[static_cast<size_t>(node)].listRow;
        return w->listModel()->indexOfRow(row).siblingAtColumn(column).data().toString();
    }
    void pressModify() { QTest::mouseClick(w->detailsPanel()->modifyButton(), Qt::LeftButton); }
};

TEST(ModifyCommand, WritesRefreshesTheRowAndMarksTheFile) {
    Editing e;
    const int32_t node = e.show("/setting/net/proxy/port");
    e.field(kValueField)->setFocus();
    e.field(kValueField)->setText("1F");
    e.pressModify();
    const EntryRef ref = *e.w->document().index().nodes()[static_cast<size_t>(node)].entry;
    EXPECT_EQ(e.w->document().image().readNumber(ref.offset + 9, 4), 0x1Fu);
    EXPECT_EQ(e.field(kValueField)->text(), "0000001F");
    EXPECT_EQ(e.rowCell(node, 1), "0000001F");
    EXPECT_TRUE(e.w->document().hasUnsavedChanges());
    EXPECT_EQ(e.w->caption(), Q(SamplePath()) + "*");
    EXPECT_FALSE(e.w->detailsPanel()->modifyButton()->isEnabled());
    e.field(kChecksumField)->setText("ABCD");
    e.pressModify();
    EXPECT_EQ(e.w->caption(), Q(SamplePath()) + "*");  // no second "*"
    EXPECT_EQ(e.rowCell(node, 4), "ABCD");
}

// A Modify that changes no byte leaves the file clean: no undo step, no "*", and the status
// bar says there was nothing to change.
TEST(ModifyCommand, AModifyThatChangesNoByteIsNoStep) {
    Editing e;
    e.show("/setting/net/proxy/port");
    const auto before = e.bytes();
    e.field(kValueField)->setText(e.field(kValueField)->text().toLower());
    e.w->modifyEntry();
    EXPECT_EQ(e.bytes(), before);
    EXPECT_FALSE(e.w->document().hasUnsavedChanges());
    EXPECT_FALSE(e.w.action("undoAction")->isEnabled());
    EXPECT_EQ(e.w->caption(), Q(SamplePath()));
    EXPECT_EQ(e.w->statusBar()->currentMessage(), "Nothing to change in /setting/net/proxy/port");
}

// After a size change every list row, and so the CSV, equals what a fresh load of the image gives.
TEST(ModifyCommand, ASizeChangeRefreshesTheOffsetsOfEveryLaterRow) {
    Editing e;
    const int32_t node = e.show("/setting/system/nickName");
    e.field(kDataSizeField)->setText("140");
    e.pressModify();
    ASSERT_TRUE(e.w->document().hasUnsavedChanges());
    const RegistryIndex fresh = IndexRegistry(e.w->document().image());
    ASSERT_EQ(fresh.rows().size(), e.w->document().index().rows().size());
    size_t moved = 0;
    for (size_t r = 0; r < fresh.rows().size(); ++r) {
        const FieldTexts texts =
            DescribeEntry(e.w->document().image(), fresh.rows()[r].entry).texts;
        for (int column = 1; column < RegistryListModel::kColumnCount; ++column)
            EXPECT_EQ(e.w->listModel()->cellText(static_cast<int32_t>(r), column),
                      texts[static_cast<size_t>(column - 1)])
                << r;
        const QModelIndex shown = e.w->listModel()->indexOfRow(static_cast<int32_t>(r));
        EXPECT_EQ(shown.siblingAtColumn(6).data().toString(),
                  QString::fromStdString(texts[kDataOffsetField]));
        moved += fresh.rows()[r].entry.offset >
                 e.w->document().index().nodes()[static_cast<size_t>(node)].entry->offset;
    }
    EXPECT_GT(moved, 100u);
}

// A value longer than Qt's default limit of 32767 characters shows whole and writes back whole.
TEST(ModifyCommand, AVeryLongStringShowsWholeAndModifyWritesTheSameBytes) {
    TempFolder folder;
    sample::RegistryBuilder builder;
    builder.fileSize = 0x10000 + 0x20000;
    std::vector<uint8_t> value(40000);
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<uint8_t>('a' + i % 26);
    builder.addEntry("/long", 2, value);
    TestWindow w;
    w->openFile(Q(folder.write("long.sys", builder.build())));
    auto* field = w->detailsPanel()->field(kValueField);
    ASSERT_EQ(field->text().size(), 40000);
    EXPECT_EQ(field->text().toLatin1(),
              QByteArray(reinterpret_cast<const char*>(value.data()), 40000));
    const auto before = std::vector<uint8_t>(w->document().image().bytes().begin(),
                                             w->document().image().bytes().end());
    field->setFocus();
    w->modifyEntry();
    // Nothing differs from the entry: Modify writes nothing and marks nothing.
    EXPECT_FALSE(w->document().hasUnsavedChanges());
    EXPECT_EQ(std::vector<uint8_t>(w->document().image().bytes().begin(),
                                   w->document().image().bytes().end()),
              before);
}

TEST(ModifyCommand, TheFocusedFieldsTextIsSelectedAfterwards) {
    Editing e;
    e.show("/setting/system/region");
    e.field(kChecksumField)->setFocus();
    e.field(kChecksumField)->setText("12");
    e.pressModify();
    e.field(kChecksumField)->setFocus();
    e.field(kChecksumField)->setText("34");
    e.w->modifyEntry();
    EXPECT_EQ(e.field(kChecksumField)->text(), "0034");
    EXPECT_EQ(e.field(kChecksumField)->selectedText(), "0034");
}

TEST(ModifyCommand, ARejectionReportsFocusesAndChangesNothing) {
    Editing e;
    e.show("/setting/system/nickName");
    const auto before = e.bytes();
    e.field(kDataSizeField)->setText("12");
    e.field(kHeaderIdField)->setText("XYZ");
    e.pressModify();
    ASSERT_EQ(e.w.prompts->messages.size(), 1u);
    EXPECT_EQ(e.w.prompts->messages[0].text, "Invalid value");
    EXPECT_EQ(e.w.prompts->messages[0].title, "Thornbeck: Header ID");
    EXPECT_EQ(e.w.prompts->messages[0].icon, QMessageBox::Information);
    EXPECT_TRUE(e.field(kHeaderIdField)->hasFocus());
    EXPECT_EQ(e.bytes(), before);
    EXPECT_FALSE(e.w->document().hasUnsavedChanges());
    EXPECT_EQ(e.w->caption(), Q(SamplePath()));
    EXPECT_TRUE(e.w->detailsPanel()->modifyButton()->isEnabled());
}

TEST(ModifyCommand, ABinaryValueWithNulAndHighBytesWritesBackUnchanged) {
    Editing e;
    e.show("/setting/system/binaryMixed");
    EXPECT_EQ(e.field(kValueField)->text(), QString::fromLatin1("\x01\x00\x02\xFF", 4));
    const auto before = e.bytes();
    e.field(kFlagsField)->setText(e.field(kFlagsField)->text());
    e.w->modifyEntry();
    EXPECT_EQ(e.bytes(), before);
    EXPECT_FALSE(e.w->document().hasUnsavedChanges());
    e.field(kFlagsField)->setText(e.field(kFlagsField)->text() == "0001" ? "0002" : "0001");
    e.w->modifyEntry();
    EXPECT_TRUE(e.w->document().hasUnsavedChanges());
    EXPECT_EQ(e.w.field(kValueField)->text(), QString::fromLatin1("\x01\x00\x02\xFF", 4));
}

TEST(ModifyCommand, ASizeChangeMovesLaterEntries) {
    Editing e;
    const int32_t node = e.show("/setting/system/shortText");
    const int32_t later = *e.w->document().index().findNode("/setting/system/elevenText");
    const int32_t offset =
        e.w->document().index().nodes()[static_cast<size_t>(later)].entry->offset;
    e.field(kDataSizeField)->setText("14");
    e.w->modifyEntry();
    EXPECT_EQ(e.w->document().index().nodes()[static_cast<size_t>(node)].entry->size, 14);
    EXPECT_EQ(e.w->document().index().nodes()[static_cast<size_t>(later)].entry->offset,
              offset + 4);
    e.show("/setting/system/elevenText");
    EXPECT_EQ(e.field(kValueField)->text(), "eleven char");
}

TEST(ModifyCommand, AValueCharacterWithoutAByteIsRejected) {
    Editing e;
    e.show("/setting/system/nickName");
    e.field(kValueField)->setText(QString::fromUtf8("PS3\u20AC"));
    e.w->modifyEntry();
    ASSERT_EQ(e.w.prompts->messages.size(), 1u);
    EXPECT_TRUE(e.field(kValueField)->hasFocus());
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// Modify is off where it can write nothing: on a key folder and on an entry whose type byte is
// none of Binary, Integer and String, whatever is typed; its tooltip says why for the latter.
TEST(ModifyCommand, IsOffWhereItCanWriteNothing) {
    TempFolder folder;
    const auto path = folder.write("t.sys", CommandTestImage());
    TestWindow w;
    w->openFile(Q(path));
    QPushButton* modify = w.panel()->modifyButton();
    w.showKey("/t/odd");
    w.field(kFlagsField)->setFocus();
    w.field(kFlagsField)->selectAll();
    QTest::keyClick(w.field(kFlagsField), Qt::Key_1);
    EXPECT_FALSE(modify->isEnabled());
    EXPECT_TRUE(modify->toolTip().contains("none of Binary, Integer and String"));
    w.showKey("/t");
    EXPECT_FALSE(modify->isEnabled());
    w.showKey("/t/int");
    w.field(kFlagsField)->setFocus();
    w.field(kFlagsField)->selectAll();
    QTest::keyClick(w.field(kFlagsField), Qt::Key_1);
    EXPECT_TRUE(modify->isEnabled());
    EXPECT_EQ(modify->toolTip(), "");
}

// After a Modify, a long padded value stays selected but shows its start, not its zero bytes.
TEST(ModifyCommand, APaddedValueShowsItsStartAfterModify) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w.showKey("/setting/system/nickName");
    DetailFieldEdit* value = w.field(kValueField);
    value->setFocus();
    w.field(kFlagsField)->setText("0001");
    value->setFocus();
    w->modifyEntry();
    EXPECT_TRUE(value->hasSelectedText());
    EXPECT_EQ(value->selectedText(), value->text());
    EXPECT_EQ(value->cursorPosition(), 0);
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// Edits typed but not applied are not lost silently: showing another entry, switching the view
// or closing asks to apply them first; Cancel stays with them.
TEST(ModifyCommand, UnappliedEditsAreAskedAboutBeforeTheyWouldBeLost) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    w.showKey("/setting/system/timeZone");
    DetailFieldEdit* value = w.field(kValueField);
    value->setFocus();
    value->selectAll();
    QTest::keyClicks(value, "7F");
    const QString question = "Apply your changes to /setting/system/timeZone?";

    w.prompts->answers = {QMessageBox::Cancel};
    w.showKey("/setting/system/language");
    ASSERT_EQ(w.prompts->messages.size(), 1u);
    EXPECT_EQ(w.prompts->messages[0].text, question);
    EXPECT_EQ(w.prompts->messages[0].buttons,
              QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel);
    // Enter keeps the typing: it never drops it.
    EXPECT_EQ(EnterChooses(w.prompts->messages[0]), QMessageBox::Cancel);
    EXPECT_EQ(w.panel()->keyLine()->text(), "/setting/system/timeZone");
    EXPECT_EQ(w->treeModel()->nodeOf(w->keyTree()->currentIndex()),
              *w->document().index().findNode("/setting/system/timeZone"));
    EXPECT_EQ(value->text(), "7F");

    w.prompts->answers = {QMessageBox::Cancel};
    w->navigation().setListMode(true);
    EXPECT_FALSE(w->isListMode());
    w.prompts->answers = {QMessageBox::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(w.prompts->messages.size(), 3u);

    w.prompts->answers = {QMessageBox::Apply};
    w.showKey("/setting/system/language");
    EXPECT_EQ(w.panel()->keyLine()->text(), "/setting/system/language");
    EXPECT_TRUE(w->document().hasUnsavedChanges());
    w.showKey("/setting/system/timeZone");
    EXPECT_EQ(value->text(), "0000007F");

    value->selectAll();
    QTest::keyClicks(value, "1");
    w.prompts->answers = {QMessageBox::Discard};
    w.showKey("/setting/system/language");
    w.showKey("/setting/system/timeZone");
    EXPECT_EQ(value->text(), "0000007F");
    EXPECT_EQ(w.prompts->messages.size(), 5u);
}

}  // namespace
}  // namespace thornbeck::test
