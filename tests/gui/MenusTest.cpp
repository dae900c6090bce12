#include <gtest/gtest.h>

#include <QWindow>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeView>

#include "gui/TestWindow.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/window/AboutBox.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

TEST(Menus, CaptionsAndShortcutsFollowTheMenuTable) {
    TestWindow w;
    QStringList menus;
    for (QAction* menu : w->menuBar()->actions()) menus << menu->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "&Help"}));
    const std::vector<std::tuple<const char*, const char*, QKeySequence>> items = {
        {"openAction", "&Open...", QKeySequence("Ctrl+O")},
        {"saveAction", "&Save", QKeySequence("Ctrl+S")},
        {"saveAsAction", "Save &As...", QKeySequence()},
        {"exportCsvAction", "&Export as CSV...", QKeySequence()},
        {"exitAction", "E&xit", QKeySequence("Ctrl+Q")},
        {"findAction", "&Find...", QKeySequence("Ctrl+F")},
        {"findNextAction", "Find &Next", QKeySequence("F3")},
        {"treeModeAction", "Tree Mode", QKeySequence("F7")},
        {"listModeAction", "List Mode", QKeySequence("F8")},
        {"aboutAction", "About...", QKeySequence()},
    };
    for (const auto& [name, caption, shortcut] : items) {
        auto* action = w->findChild<QAction*>(name);
        ASSERT_TRUE(action) << name;
        EXPECT_EQ(action->text(), caption) << name;
        EXPECT_EQ(action->shortcut(), shortcut) << name;
    }
    EXPECT_TRUE(w->findChild<QAction*>("treeModeAction")->isChecked());
    EXPECT_FALSE(w->findChild<QAction*>("listModeAction")->isChecked());
}

TEST(Menus, SaveIsEnabledExactlyWhileAFileIsOpen) {
    TestWindow w;
    auto* save = w->findChild<QAction*>("saveAction");
    auto* saveAs = w->findChild<QAction*>("saveAsAction");
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(saveAs->isEnabled());
    w->openFile(Q(SamplePath()));
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(saveAs->isEnabled());
    EXPECT_TRUE(w->findChild<QAction*>("exportCsvAction")->isEnabled());
}

TEST(Menus, EscapeTogglesTheViewModeWhereverTheFocusIs) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    auto* key = w->detailsPanel()->keyLine();
    auto* list = w->entryList();
    key->setFocus();
    QTest::keyClick(key, Qt::Key_Escape);
    EXPECT_TRUE(w->isListMode());
    EXPECT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(w->isListMode());
    QTest::keyClick(w->keyTree(), Qt::Key_F8);
    EXPECT_TRUE(w->isListMode());
    QTest::keyClick(list, Qt::Key_F7);
    EXPECT_FALSE(w->isListMode());
}

TEST(Menus, TheSelectedEntryFollowsBetweenTheViews) {
    TestWindow w;
    w->openFile(Q(SamplePath()));
    const auto& index = w->document().index();
    const int32_t node = *index.findNode("/setting/net/proxy/port");
    w->navigation().showNode(w->treeModel()->indexOfNode(node));
    w->navigation().setListMode(true);
    auto* list = w->entryList();
    EXPECT_EQ(list->currentIndex().data().toString(), "/setting/net/proxy/port");
    list->setCurrentIndex(list->model()->index(0, 0));
    w->navigation().setListMode(false);
    EXPECT_EQ(w->detailsPanel()->keyLine()->text(), "/setting/system/language");
}

TEST(Menus, AboutShowsTitleVersionAndCopyrightInATitledBox) {
    TestWindow w;
    w->findChild<QAction*>("aboutAction")->trigger();
    ASSERT_EQ(w.prompts->messages.size(), 1u);
    const auto& about = w.prompts->messages[0];
    EXPECT_EQ(about.title, "About Thornbeck");
    EXPECT_EQ(about.icon, QMessageBox::Information);
    EXPECT_EQ(about.buttons, QMessageBox::Ok);
    const QString copyright = QString::fromUtf8("\u00A9 2026 Thornbeck developers");
    EXPECT_EQ(about.text, "Thornbeck v1.0.0\n\n" + copyright);
    EXPECT_EQ(AboutText(), "Thornbeck v1.0.0\r\n\r\n" + copyright);
}

// The credits open the home page on each click, and from the keyboard: Tab reaches the label,
// which a screen reader names; what its tooltip shows is no part of it.
TEST(Menus, TheCreditsLabelOpensTheHomePageByClickAndByKeyboard) {
    TestWindow w;
    auto* credits = w->detailsPanel()->creditsLabel();
    EXPECT_EQ(credits->text(), QString::fromUtf8("\u00A9 2026 Thornbeck developers"));
    EXPECT_EQ(credits->accessibleName(), "Credits");
    EXPECT_TRUE(credits->focusPolicy() & Qt::TabFocus);
    QTest::mouseClick(credits, Qt::LeftButton);
    credits->setToolTip("https://changed.invalid/");
    QTest::mouseClick(credits, Qt::LeftButton);
    credits->setFocus();
    QTest::keyClick(credits, Qt::Key_Return);
    ASSERT_EQ(w.prompts->openedUrls.size(), 3u);
    for (const QUrl& opened : w.prompts->openedUrls) EXPECT_EQ(opened, QUrl(HomePage()));
}

TEST(Menus, OpenAsksWithTheOpenDialogAndCancelDoesNothing) {
    TestWindow w;
    w->findChild<QAction*>("openAction")->trigger();
    ASSERT_EQ(w.prompts->fileQuestions.size(), 1u);
    const auto& asked = w.prompts->fileQuestions[0];
    EXPECT_EQ(asked.filter, "xRegistry.sys (*.sys);;All files (*)");
    EXPECT_EQ(asked.title, "Open xRegistry.sys");
    EXPECT_EQ(asked.folder, "");
    EXPECT_EQ(asked.defaultName, "xRegistry.sys");
    EXPECT_EQ(w->document().path(), "");
    w.prompts->files = {Q(SamplePath())};
    QTest::keyClick(w.window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(w->document().path(), Q(SamplePath()));
    w->findChild<QAction*>("openAction")->trigger();
    ASSERT_EQ(w.prompts->fileQuestions.size(), 3u);
    EXPECT_EQ(w.prompts->fileQuestions[2].folder, Q(SamplePath().parent_path() / ""));
}

#ifndef _WIN32
// Windows allows no '*' in file names.
TEST(Menus, ACaptionHoldingTheModifiedPlaceholderIsShownLiterally) {
    TempFolder folder;
    const auto path = folder.write("odd[*].sys", SampleBytes());
    TestWindow w;
    w->openFile(Q(path));
    EXPECT_EQ(w->caption(), Q(path));
    // What the title bar shows, after Qt has read its "[*]" marker.
    EXPECT_EQ(w->windowHandle()->title(), Q(path));
}
#endif

TEST(Menus, AnEmptyMessageTitleShowsNothingInTheTitleBar) {
    QMessageBox box;
    box.setWindowTitle(ShownTitle({}));
    box.winId();
    EXPECT_FALSE(box.windowHandle()->title().isEmpty());  // else Qt shows the program's name
    EXPECT_EQ(box.windowHandle()->title().trimmed(), "");
    EXPECT_EQ(ShownTitle("Thornbeck"), "Thornbeck");
}

}  // namespace
}  // namespace thornbeck::test
