// The view modes, the behaviours of the list and the tree besides selection, Find, and the key
// information file.
#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "core/fileio/FileFunctions.h"
#include "core/find/KeySearch.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/widgets/DetailsPanel.h"
#include "gui/window/MainWindow.h"

namespace thornbeck {

void MainWindow::LoadKeyInfo() {
    const auto path = FindFileInFolder(ToFsPath(AppPath), "xRegistry_info.txt");
    if (path.empty()) return;
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    keyInfo = KeyInfoTable::Parse(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// ---- View modes ----

bool MainWindow::isListMode() const {
    return mnuViewMode[1]->isChecked();
}

void MainWindow::ApplyViewMode(int mode) {
    const bool tree = mode == 0;
    mnuViewMode[0]->setChecked(tree);
    mnuViewMode[1]->setChecked(!tree);
    lblKey->setVisible(tree);
    tvReg->setVisible(tree);
    btnSave->setVisible(tree);
    lvReg->setVisible(!tree);
    details->clearSelections();
    LayoutWindow();
    if (!tree) {
        const TreeNode* selected = tvRegModel->treeNode(tvReg->currentIndex());
        if (selected && selected->listRow >= 0) {
            const QModelIndex row = lvRegModel->indexOfRow(selected->listRow);
            lvReg->setCurrentIndex(row);
            lvReg->scrollTo(row);
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        lvReg->setFocus();
    } else {
        const int32_t row = lvRegModel->rowOf(lvReg->currentIndex());
        showRowInTree(row);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        tvReg->setFocus();
    }
}

// ---- The list ----

void MainWindow::lvReg_ColumnClick(int column) {
    const bool reverse = lvRegModel->isSorted() && lvRegModel->sortColumn() == column;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (reverse && lvRegModel->sortOrder() == Qt::AscendingOrder) order = Qt::DescendingOrder;
    lvRegModel->sortBy(column, order);
    lvReg->header()->setSortIndicatorShown(true);
    lvReg->header()->setSortIndicator(column, order);
    const QModelIndex current = lvReg->currentIndex();
    if (current.isValid()) lvReg->scrollTo(current);
}

void MainWindow::lvReg_DblClick() {
    const int32_t row = lvRegModel->rowOf(lvReg->currentIndex());
    ApplyViewMode(0);
    showRowInTree(row);
    details->focusField(kValueField);
}

bool MainWindow::lvReg_KeyDown(int key, Qt::KeyboardModifiers) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    lvReg_DblClick();
    return true;
}

void MainWindow::lvReg_ItemCheck(int32_t row) {
    showRowInTree(row);
}

void MainWindow::showRowInTree(int32_t row) {
    if (row < 0 || static_cast<size_t>(row) >= index.rows().size()) return;
    tvReg_NodeClick(tvRegModel->indexOfNode(index.rows()[static_cast<size_t>(row)].node));
}

// ---- The tree ----

void MainWindow::tvReg_DblClick() {
    // A folder's Value field is disabled and does not take the focus.
    details->focusField(kValueField);
}

// ---- Find ----

void MainWindow::mnuEditFind_Click() {
    const auto answer =
        prompts->inputText(this, QStringLiteral("Find"), QStringLiteral("Find Key:"), findText);
    if (!answer || answer->isEmpty()) return;
    findText = *answer;
    mnuFindNext_Click();
}

void MainWindow::mnuFindNext_Click() {
    // Keys and values are bytes: a character without a byte can match none of them.
    if (!IsByteText(findText)) return;
    KeySearch search(ToByteText(findText));
    if (isListMode()) {
        findInList(search);
    } else {
        findInTree(search);
    }
}

void MainWindow::findInList(KeySearch& search) {
    const QModelIndex current = lvReg->currentIndex();
    const size_t start = current.isValid() ? static_cast<size_t>(current.row()) + 1 : 0;
    const auto found = FindNextListPosition(index, lvRegModel->displayOrder(), start, search);
    if (!found) return;
    const QModelIndex item = lvRegModel->index(static_cast<int>(*found - 1), 0);
    lvReg->setCurrentIndex(item);
    lvReg->scrollTo(item);
}

void MainWindow::findInTree(KeySearch& search) {
    const int32_t current = tvRegModel->nodeOf(tvReg->currentIndex());
    const size_t start = current >= 0 ? static_cast<size_t>(current) + 1 : 0;
    const auto found =
        FindNextTreeNode(regData, index, start, search, RegistryTreeModel::kMaxShownDepth);
    if (!found) return;
    const QModelIndex node = tvRegModel->indexOfNode(*found);
    tvReg->expand(node);
    tvReg_NodeClick(node);
}

}  // namespace thornbeck
