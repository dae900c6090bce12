#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include "gui/TestWindow.h"
#include "gui/window/Prompts.h"

namespace thornbeck::test {
namespace {

// Every button of the box says its mnemonic, and no two share one.
void ExpectUniqueMnemonics(const QMessageBox& box) {
    QStringList keys;
    for (QAbstractButton* button : box.buttons()) {
        const QString text = button->text();
        const auto amp = text.indexOf('&');
        ASSERT_TRUE(amp >= 0 && amp + 1 < text.size()) << text.toStdString();
        const QString key = text.mid(amp + 1, 1).toLower();
        EXPECT_FALSE(keys.contains(key)) << text.toStdString();
        keys << key;
    }
}

// Shown, every label of the box holds its whole text: a label on one line is as wide as its
// text, a wrapped one as high as its text needs at its width and never narrower than its
// longest unbreakable piece. The title fits too.
void ExpectWholeText(QMessageBox& box) {
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    int texts = 0;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty()) continue;
        ++texts;
        const std::string shown = label->text().left(40).toStdString();
        if (label->wordWrap()) {
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << shown;
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << shown;
        } else {
            EXPECT_GE(label->width(), label->sizeHint().width()) << shown;
            EXPECT_GE(label->height(), label->sizeHint().height()) << shown;
        }
        EXPECT_LE(label->geometry().right(), box.contentsRect().right()) << shown;
        EXPECT_LE(label->geometry().bottom(), box.contentsRect().bottom()) << shown;
    }
    EXPECT_GE(texts, 1);
    EXPECT_GE(box.width(), box.fontMetrics().horizontalAdvance(box.windowTitle()));
    box.close();
}

TEST(Prompts, EveryBoxShowsItsWholeTextAndTitle) {
    // A path as long as the dialogs allow, with no space to break at, and the program's longest
    // questions and reports.
    const QString path = "/home/user/" + QString("dumps-of-the-console/").repeated(11) + "x.sys";
    const QString key = "/setting/" + QString("a-rather-long-key-name/").repeated(6) + "leaf";
    const QStringList texts = {
        "Apply your changes to " + key + "?",
        "The file has changed on disk since it was opened. Overwrite it?",
        "The file has been deleted since it was opened. Save it again?",
        "Do you want to save modifications to the current file?",
        "Could not save " + path + ".\n\nThe lock file beside it cannot be created: " + path +
            ".lock: Permission denied",
        "Could not compare with " + path + ": not a registry file: 1000 bytes",
        "Invalid value",
        "Thornbeck v1.0.0\n\n\u00A9 2026 Thornbeck developers",
    };
    // In the window's own font, and in the platform's.
    TestWindow w;
    for (QWidget* owner : {static_cast<QWidget*>(w.window.get()), static_cast<QWidget*>(nullptr)}) {
        for (const QString& text : texts) {
            for (const QString& title : {QString("Thornbeck"), QString("Thornbeck: Data Size")}) {
                const auto box =
                    NewMessageBox(owner, QMessageBox::Question, title, text,
                                  QMessageBox::SaveAll | QMessageBox::Reset | QMessageBox::Cancel,
                                  QMessageBox::NoButton);
                ExpectWholeText(*box);
            }
        }
    }
}

TEST(Prompts, EnterNeverChoosesTheAnswerThatThrowsWorkAway) {
    using B = QMessageBox;
    const std::vector<std::pair<B::StandardButtons, B::StandardButton>> questions = {
        {B::Apply | B::Discard | B::Cancel, B::NoButton},
        {B::SaveAll | B::Reset | B::Cancel, B::NoButton},
        {B::Yes | B::No | B::Cancel, B::Yes},
        {B::Reset | B::Cancel, B::NoButton},
    };
    for (const auto& [buttons, safe] : questions) {
        const FakePrompts::Message message{B::Question, "Thornbeck", "Go on?", buttons, safe};
        const auto chosen = EnterChooses(message);
        EXPECT_EQ(chosen, DefaultButtonOf(buttons, safe));
        EXPECT_NE(chosen, B::Discard);
        EXPECT_NE(chosen, B::Reset);
        EXPECT_NE(chosen, B::No);
        const auto box = NewMessageBox(nullptr, B::Question, "Thornbeck", "Go on?", buttons, safe);
        ExpectUniqueMnemonics(*box);
    }
    EXPECT_EQ(DefaultButtonOf(B::Apply | B::Discard | B::Cancel, B::NoButton), B::Cancel);
    EXPECT_EQ(DefaultButtonOf(B::Yes | B::No | B::Cancel, B::Yes), B::Yes);
    EXPECT_EQ(ButtonCaption(B::SaveAll), "&Overwrite");
    EXPECT_EQ(ButtonCaption(B::Reset), "&Reload");
}

}  // namespace
}  // namespace thornbeck::test
