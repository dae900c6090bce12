#include "gui/TestWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <QTreeView>

#include "gui/controllers/NavigationController.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"

namespace thornbeck::test {

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

TestWindow::TestWindow() {
    auto fake = std::make_unique<FakePrompts>();
    prompts = fake.get();
    window = std::make_unique<MainWindow>(std::move(fake));
    window->show();
    window->activateWindow();
    (void)QTest::qWaitForWindowExposed(window.get());
}

QAction* TestWindow::action(const char* name) const {
    auto* found = window->findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void TestWindow::trigger(const char* name) const {
    if (QAction* found = action(name)) found->trigger();
}

DetailsPanel* TestWindow::panel() const {
    return window->detailsPanel();
}

DetailFieldEdit* TestWindow::field(int index) const {
    return panel()->field(index);
}

int32_t TestWindow::showKey(std::string_view key) const {
    const auto node = window->document().index().findNode(key);
    if (!node) {
        ADD_FAILURE() << "no key " << key;
        return -1;
    }
    window->navigation().showNode(window->treeModel()->indexOfNode(*node));
    return *node;
}

void TestWindow::clickKey(std::string_view key) const {
    const auto node = window->document().index().findNode(key);
    ASSERT_TRUE(node) << key;
    const QModelIndex index = window->treeModel()->indexOfNode(*node);
    QTreeView* tree = window->keyTree();
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
}

EntryRef TestWindow::entryOf(std::string_view key) const {
    const auto node = window->document().index().findNode(key);
    if (!node || !window->document().index().nodes()[static_cast<size_t>(*node)].entry) {
        ADD_FAILURE() << "no entry " << key;
        return {};
    }
    return *window->document().index().nodes()[static_cast<size_t>(*node)].entry;
}

void TestWindow::makeUnsavedChange() const {
    showKey("/setting/system/timeZone");
    const QString flags = field(kFlagsField)->text();
    field(kFlagsField)->setText(flags == "0001" ? "0002" : "0001");
    window->modifyEntry();
    field(kFlagsField)->setText(flags);
    window->modifyEntry();
    ASSERT_TRUE(window->document().hasUnsavedChanges());
}

}  // namespace thornbeck::test
