// What the panel says beside and about its fields: a String's padding, an Integer's number, a
// refused keystroke, and why Modify refused a field.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "gui/TestWindow.h"
#include "gui/models/ValueHexModel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

struct Notes {
    TempFolder folder;
    TestWindow w;
    Notes() { w->openFile(Q(folder.write("xRegistry.sys", SampleBytes()))); }
    std::vector<uint8_t> bytes() const {
        return {w->document().image().bytes().begin(), w->document().image().bytes().end()};
    }
    QString status() const { return w->statusBar()->currentMessage(); }
};

TEST(PanelNotes, AStringsPaddingIsShownAsFreeBytesAndAFullValueSaysSo) {
    Notes n;
    n.w.showKey("/setting/system/nickName");
    DetailFieldEdit* value = n.w.field(kValueField);
    EXPECT_EQ(value->text(), "PS3-CONSOLE");  // not 117 invisible zero bytes after it
    QLabel* note = n.w.panel()->valueNote();
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), "117 bytes free");
    value->setFocus();
    value->end(false);
    QTest::keyClicks(value, "!");
    EXPECT_EQ(note->text(), "116 bytes free");

    n.w.showKey("/setting/system/shortText");  // "ten chars!", full
    const auto before = n.bytes();
    EXPECT_EQ(note->text(), "0 bytes free");
    value->setFocus();
    value->end(false);
    QTest::keyClick(value, Qt::Key_X);
    EXPECT_EQ(value->text(), "ten chars!");
    EXPECT_EQ(n.status(),
              "The value is full: it holds 10 bytes. Raise its Data Size to make room.");
    EXPECT_FALSE(n.w.panel()->modifyButton()->isEnabled());
    n.w->modifyEntry();
    EXPECT_EQ(n.bytes(), before);
    EXPECT_FALSE(n.w->document().hasUnsavedChanges());
}

TEST(PanelNotes, ASizeModifyCannotWriteLeavesThePreviewWhole) {
    Notes n;
    n.w.showKey("/setting/system/shortText");
    DetailFieldEdit* size = n.w.field(kDataSizeField);
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, "99999");
    EXPECT_EQ(size->text(), "99999");
    EXPECT_EQ(n.w.field(kValueField)->text(), "ten chars!");
    EXPECT_EQ(n.w.panel()->hexModel()->bytes(), "ten chars!");
    const auto before = n.bytes();
    n.w->modifyEntry();
    ASSERT_EQ(n.w.prompts->messages.size(), 1u);
    EXPECT_EQ(n.w.prompts->messages[0].text, "Invalid value");
    EXPECT_EQ(n.status(), "Invalid value: Data Size is more than 65535");
    EXPECT_EQ(n.w.field(kValueField)->text(), "ten chars!");
    EXPECT_EQ(n.bytes(), before);
}

TEST(PanelNotes, AnIntegerSaysItIsHexAndItsNumberAndARefusalSaysWhy) {
    Notes n;
    n.w.showKey("/setting/system/timeZone");
    QLabel* note = n.w.panel()->valueNote();
    EXPECT_EQ(note->text(), "hex, 60 in decimal");
    DetailFieldEdit* value = n.w.field(kValueField);
    value->setFocus();
    value->selectAll();
    QTest::keyClicks(value, "7F");
    EXPECT_EQ(note->text(), "hex, 127 in decimal");
    QTest::keyClick(value, Qt::Key_G);
    EXPECT_EQ(n.status(), "Value takes hex digits only (0-9, A-F).");
    value->clear();
    EXPECT_EQ(note->text(), "hex");
    n.w->modifyEntry();
    ASSERT_EQ(n.w.prompts->messages.size(), 1u);
    EXPECT_EQ(n.w.prompts->messages[0].text, "Invalid value");
    EXPECT_EQ(n.status(), "Invalid value: Value is empty: give 1 to 8 hex digits");
    value->setText("7F");
    n.w.field(kFlagsField)->setText("");
    n.w->modifyEntry();
    EXPECT_EQ(n.w.prompts->messages.back().text, "Invalid value");
    EXPECT_EQ(n.status(), "Invalid value: Flags is empty: give 1 to 4 hex digits");
}

}  // namespace
}  // namespace thornbeck::test
