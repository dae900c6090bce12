#include <gtest/gtest.h>

#include <QLayout>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include "core/edit/ModifyEntry.h"
#include "gui/TestWindow.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

// The sample open, with one node shown as a click shows it.
struct Shown {
    TestWindow w;
    Shown() { w->openFile(Q(SamplePath())); }
    void show(std::string_view key) { w.clickKey(key); }
    DetailFieldEdit* field(int i) const { return w->detailsPanel()->field(i); }
    QString text(int i) const { return field(i)->text(); }
    QPushButton* modify() const { return w->detailsPanel()->modifyButton(); }
    QColor base(int i) const { return field(i)->palette().color(QPalette::Base); }
    // The Value field takes the panel's width, or is as narrow as the number fields.
    bool valueIsWide() const {
        w->detailsPanel()->layout()->activate();
        return field(kValueField)->width() > field(kChecksumField)->width();
    }
};

TEST(DetailsPanel, ShowsAnIntegerEntryInItsFormats) {
    Shown s;
    s.show("/setting/system/maxInteger");
    EXPECT_EQ(s.w->detailsPanel()->keyLine()->text(), "/setting/system/maxInteger");
    EXPECT_EQ(s.text(kValueField), "FFFFFFFF");
    EXPECT_EQ(s.field(kValueField)->toolTip(), "4294967295 (dec)");
    EXPECT_EQ(s.text(kDataSizeField), "4");
    EXPECT_EQ(s.text(kDataTypeField), "Integer");
    EXPECT_EQ(s.text(kChecksumField), "FFFF");
    EXPECT_EQ(s.field(kChecksumField)->toolTip(), "65535 (dec)");
    EXPECT_EQ(s.text(kDataOffsetField).size(), 6);
    EXPECT_TRUE(s.field(kDataSizeField)->isReadOnly());
    EXPECT_FALSE(s.w->detailsPanel()->decimalNote()->isVisible());
    EXPECT_FALSE(s.valueIsWide());
    EXPECT_FALSE(s.modify()->isEnabled());
    EXPECT_EQ(s.base(kDataTypeField), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(s.base(kValueField), QApplication::palette().color(QPalette::Base));
}

TEST(DetailsPanel, StringsWidenTheValueFieldFromElevenBytes) {
    Shown s;
    s.show("/setting/system/shortText");
    EXPECT_EQ(s.text(kValueField), "ten chars!");
    EXPECT_FALSE(s.valueIsWide());
    EXPECT_FALSE(s.field(kDataSizeField)->isReadOnly());
    EXPECT_TRUE(s.w->detailsPanel()->decimalNote()->isVisible());
    s.show("/setting/system/elevenText");
    EXPECT_TRUE(s.valueIsWide());
    EXPECT_EQ(s.w->detailsPanel()->valueLimit(), 11);
}

TEST(DetailsPanel, AKeyFolderClearsAndDisablesEveryField) {
    Shown s;
    s.show("/setting/system/region");
    s.field(kFlagsField)->setFocus();
    s.field(kFlagsField)->selectAll();
    QTest::keyClick(s.field(kFlagsField), Qt::Key_1);
    EXPECT_TRUE(s.modify()->isEnabled());
    s.w.prompts->answers = {QMessageBox::Discard};
    s.show("/setting/system");
    for (int i = 0; i < kDetailFieldCount; ++i) {
        EXPECT_EQ(s.text(i), "") << i;
        EXPECT_FALSE(s.field(i)->isEnabled()) << i;
        EXPECT_FALSE(s.w->detailsPanel()->caption(i)->isEnabled()) << i;
    }
    // A folder has nothing Modify could write: the button is off, and Modify does nothing.
    EXPECT_FALSE(s.modify()->isEnabled());
    const auto before = std::vector<uint8_t>(s.w->document().image().bytes().begin(),
                                             s.w->document().image().bytes().end());
    s.w->modifyEntry();
    EXPECT_EQ(std::vector<uint8_t>(s.w->document().image().bytes().begin(),
                                   s.w->document().image().bytes().end()),
              before);
    EXPECT_FALSE(s.w->document().hasUnsavedChanges());
}

TEST(DetailsPanel, HexFieldsRefuseOtherCharactersAndCutAtFourDigits) {
    Shown s;
    s.show("/setting/system/region");
    DetailFieldEdit* flags = s.field(kFlagsField);
    flags->setFocus();
    flags->setText("12");
    flags->setCursorPosition(1);
    QTest::keyClicks(flags, "G a");
    EXPECT_EQ(flags->text(), "1a2");
    QTest::keyClicks(flags, "bc");
    EXPECT_EQ(flags->text(), "1ab2");  // the fifth character is refused, and that is said
    EXPECT_EQ(flags->cursorPosition(), 3);
    EXPECT_EQ(s.w->statusBar()->currentMessage(), "Flags takes at most 4 characters.");
    // Pasted text is not filtered; only the limit applies.
    flags->selectAll();
    flags->insert("zz-top");
    EXPECT_EQ(flags->text(), "zz-t");
}

TEST(DetailsPanel, DataSizeDrivesTheValueLimitAndWidthAndKeepsWhatItCut) {
    Shown s;
    s.show("/setting/system/nickName");
    const QString value = s.text(kValueField);
    ASSERT_GT(value.size(), 1);
    DetailFieldEdit* size = s.field(kDataSizeField);
    size->setFocus();
    size->selectAll();
    QTest::keyClick(size, Qt::Key_1);
    EXPECT_EQ(s.text(kValueField), "P");
    EXPECT_FALSE(s.valueIsWide());
    // The next digit brings back what the first cut: no keystroke loses what the size keeps.
    QTest::keyClick(size, Qt::Key_1);
    EXPECT_EQ(s.text(kValueField), value.left(11));
    EXPECT_TRUE(s.valueIsWide());
    // A size Modify cannot write cuts nothing: the value keeps the room the entry has.
    size->clear();
    EXPECT_EQ(s.w->detailsPanel()->valueLimit(), 128);
    EXPECT_EQ(s.text(kValueField), value);
    QTest::keyClicks(size, "123456");
    EXPECT_EQ(size->text(), "12345");
    EXPECT_EQ(s.w->detailsPanel()->valueLimit(), 12345);
    EXPECT_EQ(s.text(kValueField), value);
    // Once the user edits the cut value, what was cut is gone for good.
    size->setText("2");
    EXPECT_EQ(s.text(kValueField), value.left(2));
    s.field(kValueField)->setFocus();
    s.field(kValueField)->end(false);
    QTest::keyClick(s.field(kValueField), Qt::Key_Backspace);
    size->setText("20");
    EXPECT_EQ(s.text(kValueField), value.left(1));
}

// Typing "14" over a size of 10 passes through "1"; Modify then writes the whole value.
TEST(DetailsPanel, TypingALargerSizeKeepsTheValue) {
    Shown s;
    s.show("/setting/system/shortText");
    ASSERT_EQ(s.text(kValueField), "ten chars!");
    DetailFieldEdit* size = s.field(kDataSizeField);
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, "14");
    EXPECT_EQ(s.text(kValueField), "ten chars!");
    s.w->modifyEntry();
    EXPECT_EQ(s.text(kDataSizeField), "14");
    EXPECT_TRUE(s.text(kValueField).startsWith("ten chars!"));
}

// Data Size is decimal: typed letters are refused, and a pasted "1A" is no size at all.
TEST(DetailsPanel, DataSizeTakesDecimalDigitsOnly) {
    Shown s;
    s.show("/setting/system/shortText");
    DetailFieldEdit* size = s.field(kDataSizeField);
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, "1A");
    EXPECT_EQ(size->text(), "1");
    size->setText("1A");
    s.w->modifyEntry();
    ASSERT_EQ(s.w.prompts->messages.size(), 1u);
    EXPECT_EQ(s.w.prompts->messages[0].text, "Invalid value");
    EXPECT_FALSE(s.w->document().hasUnsavedChanges());
}

// The Value limit the panel applies is the size Modify writes, for every text.
TEST(DetailsPanel, TheValueLimitIsTheSizeModifyWrites) {
    Shown s;
    s.show("/setting/system/nickName");
    DetailFieldEdit* size = s.field(kDataSizeField);
    for (const char* text : {"1E2", "12AB", "0", "3d1", "-5", "", "99999", "1e9"}) {
        size->setText(QString::fromLatin1(text));
        const auto written = DataSizeOfText(text);
        // A text Modify refuses keeps the entry's own size.
        EXPECT_EQ(s.w->detailsPanel()->valueLimit(), written.value_or(128)) << text;
    }
    // A pasted "-5" cuts nothing: it is no size the value could get.
    s.show("/setting/system/nickName");
    const QString value = s.text(kValueField);
    size->selectAll();
    size->insert("-5");
    EXPECT_EQ(s.text(kValueField), value);
}

TEST(DetailsPanel, TheValueFilterFollowsTheEntrysType) {
    Shown s;
    s.show("/setting/system/region");  // a String of four bytes
    DetailFieldEdit* value = s.field(kValueField);
    value->setFocus();
    value->selectAll();
    QTest::keyClicks(value, "US");
    EXPECT_EQ(s.text(kValueField), "US");
    s.show("/setting/system/timeZone");  // Integer: hex digits only
    value->setFocus();
    value->selectAll();
    QTest::keyClicks(value, "xyz1f");
    EXPECT_EQ(s.text(kValueField), "1f");
}

TEST(DetailsPanel, ArrowsMoveBetweenEditableFieldsAndPagesBetweenSiblings) {
    Shown s;
    s.show("/setting/system/maxInteger");
    s.field(kValueField)->setFocus();
    QTest::keyClick(s.field(kValueField), Qt::Key_Up);
    EXPECT_TRUE(s.field(kValueField)->hasFocus());
    QTest::keyClick(s.field(kValueField), Qt::Key_Down);
    EXPECT_TRUE(s.field(kChecksumField)->hasFocus());  // skips the read-only Data Size and Type
    QTest::keyClick(s.field(kChecksumField), Qt::Key_Down);
    QTest::keyClick(s.field(kFlagsField), Qt::Key_Down);
    EXPECT_TRUE(s.field(kHeaderIdField)->hasFocus());
    QTest::keyClick(s.field(kHeaderIdField), Qt::Key_Down);
    EXPECT_TRUE(s.field(kHeaderIdField)->hasFocus());
    QTest::keyClick(s.field(kHeaderIdField), Qt::Key_PageDown);
    EXPECT_EQ(s.w->detailsPanel()->keyLine()->text(), "/setting/system/macAddress");
    EXPECT_TRUE(s.field(kHeaderIdField)->hasFocus());
    QTest::keyClick(s.field(kHeaderIdField), Qt::Key_PageUp);
    EXPECT_EQ(s.w->detailsPanel()->keyLine()->text(), "/setting/system/maxInteger");
}

TEST(DetailsPanel, AClickShowsTheNodeOnceAndAgainWhenClickedAgain) {
    Shown s;
    int shown = 0;
    QObject::connect(s.w->detailsPanel(), &DetailsPanel::entryShown, [&] { ++shown; });
    s.show("/setting/system/language");
    EXPECT_EQ(shown, 1);
    s.field(kFlagsField)->setText("7");
    s.show("/setting/system/language");
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(s.text(kFlagsField), "0000");
}

TEST(DetailsPanel, KeyboardSelectionInTheTreeShowsTheNode) {
    Shown s;
    s.show("/setting/system/language");
    auto* tree = s.w->keyTree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(s.w->detailsPanel()->keyLine()->text(), "/setting/system/timeZone");
    EXPECT_EQ(s.text(kDataTypeField), "Integer");
}

}  // namespace
}  // namespace thornbeck::test
