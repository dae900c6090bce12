#include <gtest/gtest.h>

#include <QWindow>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeView>

#include "gui/FakePrompts.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/window/AboutBox.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

TEST(Menus, CaptionsAndShortcutsFollowTheMenuTable) {
    TestWindow w;
    QStringList menus;
    for (QAction* menu : w->menuBar()->actions()) menus << menu->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "&Help"}));
    const std::vector<std::tuple<const char*, const char*, QKeySequence>> items = {
        {"mnuFileOpen", "&Open...", QKeySequence("Ctrl+O")},
        {"mnuFileSave", "&Save", QKeySequence("Ctrl+S")},
        {"mnuFileSaveAs", "Save &As...", QKeySequence()},
        {"mnuFileExportCSV", "&Export as CSV...", QKeySequence()},
        {"mnuFileExit", "E&xit", QKeySequence()},
        {"mnuEditFind", "&Find...", QKeySequence("Ctrl+F")},
        {"mnuFindNext", "Find &Next", QKeySequence("F3")},
        {"mnuViewMode0", "Tree Mode", QKeySequence("F7")},
        {"mnuViewMode1", "List Mode", QKeySequence("F8")},
        {"mnuHelpAbout", "About...", QKeySequence()},
    };
    for (const auto& [name, caption, shortcut] : items) {
        auto* action = w->findChild<QAction*>(name);
        ASSERT_TRUE(action) << name;
        EXPECT_EQ(action->text(), caption) << name;
        EXPECT_EQ(action->shortcut(), shortcut) << name;
    }
    EXPECT_TRUE(w->findChild<QAction*>("mnuViewMode0")->isChecked());
    EXPECT_FALSE(w->findChild<QAction*>("mnuViewMode1")->isChecked());
}

TEST(Menus, SaveIsEnabledExactlyWhileAFileIsOpen) {
    TestWindow w;
    auto* save = w->findChild<QAction*>("mnuFileSave");
    auto* saveAs = w->findChild<QAction*>("mnuFileSaveAs");
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(saveAs->isEnabled());
    w->OpenRegistryFile(Q(SamplePath()));
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(saveAs->isEnabled());
    EXPECT_TRUE(w->findChild<QAction*>("mnuFileExportCSV")->isEnabled());
}

TEST(Menus, EscapeTogglesTheViewModeWhereverTheFocusIs) {
    TestWindow w;
    w->OpenRegistryFile(Q(SamplePath()));
    auto* key = w->findChild<QLineEdit*>("lblKey");
    auto* list = w->findChild<QTreeView*>("lvReg");
    key->setFocus();
    QTest::keyClick(key, Qt::Key_Escape);
    EXPECT_TRUE(w->isListMode());
    EXPECT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(w->isListMode());
    QTest::keyClick(w->findChild<QTreeView*>("tvReg"), Qt::Key_F8);
    EXPECT_TRUE(w->isListMode());
    QTest::keyClick(list, Qt::Key_F7);
    EXPECT_FALSE(w->isListMode());
}

TEST(Menus, TheSelectedEntryFollowsBetweenTheViews) {
    TestWindow w;
    w->OpenRegistryFile(Q(SamplePath()));
    const auto& index = w->registryIndex();
    const int32_t node = *index.findNode("/setting/net/proxy/port");
    w->tvReg_NodeClick(w->treeModel()->indexOfNode(node));
    w->ApplyViewMode(1);
    auto* list = w->findChild<QTreeView*>("lvReg");
    EXPECT_EQ(list->currentIndex().data().toString(), "/setting/net/proxy/port");
    list->setCurrentIndex(list->model()->index(0, 0));
    w->ApplyViewMode(0);
    EXPECT_EQ(w->findChild<QLineEdit*>("lblKey")->text(), "/setting/system/language");
}

TEST(Menus, AboutShowsTitleVersionAndCopyrightInAnUntitledBox) {
    TestWindow w;
    w->findChild<QAction*>("mnuHelpAbout")->trigger();
    ASSERT_EQ(w.prompts->messages.size(), 1u);
    const auto& about = w.prompts->messages[0];
    EXPECT_EQ(about.title, "");
    EXPECT_EQ(about.icon, QMessageBox::Information);
    EXPECT_EQ(about.buttons, QMessageBox::Ok);
    EXPECT_EQ(about.text, "Thornbeck v1.0.0\n\n" + CopyrightLine());
    EXPECT_EQ(AboutText(), "Thornbeck v1.0.0\r\n\r\n" + CopyrightLine());
}

TEST(Menus, TheCreditsLabelOpensTheAddressInItsTooltipEachClick) {
    TestWindow w;
    auto* credits = w->findChild<QLabel*>("lblCredits");
    EXPECT_EQ(credits->text(), CopyrightLine());
    QTest::mouseClick(credits, Qt::LeftButton);
    credits->setToolTip("https://changed.invalid/");
    QTest::mouseClick(credits, Qt::LeftButton);
    ASSERT_EQ(w.prompts->openedUrls.size(), 2u);
    EXPECT_EQ(w.prompts->openedUrls[0], QUrl(HomePage()));
    EXPECT_EQ(w.prompts->openedUrls[1], QUrl("https://changed.invalid/"));
}

TEST(Menus, OpenAsksWithTheOpenDialogAndCancelDoesNothing) {
    TestWindow w;
    w->findChild<QAction*>("mnuFileOpen")->trigger();
    ASSERT_EQ(w.prompts->fileQuestions.size(), 1u);
    const auto& asked = w.prompts->fileQuestions[0];
    EXPECT_EQ(asked.filter, "xRegistry.sys (*.sys);;All files (*)");
    EXPECT_EQ(asked.title, "Open xRegistry.sys");
    EXPECT_EQ(asked.folder, "");
    EXPECT_EQ(asked.defaultName, "xRegistry.sys");
    EXPECT_EQ(w->openPath(), "");
    w.prompts->files = {Q(SamplePath())};
    QTest::keyClick(w.window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(w->openPath(), Q(SamplePath()));
    w->findChild<QAction*>("mnuFileOpen")->trigger();
    ASSERT_EQ(w.prompts->fileQuestions.size(), 3u);
    EXPECT_EQ(w.prompts->fileQuestions[2].folder, Q(SamplePath().parent_path()) + "/");
}

TEST(Menus, ACaptionHoldingTheModifiedPlaceholderIsShownLiterally) {
    TempFolder folder;
    const auto path = folder.write("odd[*].sys", SampleBytes());
    TestWindow w;
    w->OpenRegistryFile(Q(path));
    EXPECT_EQ(w->caption(), Q(path));
    // What the title bar shows, after Qt has read its "[*]" marker.
    EXPECT_EQ(w->windowHandle()->title(), Q(path));
}

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
