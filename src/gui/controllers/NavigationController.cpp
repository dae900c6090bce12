#include "gui/controllers/NavigationController.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTreeView>

#include "core/fileio/FileFunctions.h"
#include "core/find/KeySearch.h"
#include "core/keyinfo/TypicalValue.h"
#include "gui/document/RegistryDocument.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/text/DisplayText.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"
#include "gui/widgets/DetailsPanel.h"
#include "gui/window/Prompts.h"

namespace thornbeck {

NavigationController::NavigationController(const RegistryDocument& document,
                                           const NavigationViews& views, Prompts& prompts,
                                           QWidget* dialogOwner)
    : QObject(dialogOwner),
      document(document),
      views(views),
      prompts(prompts),
      dialogOwner(dialogOwner) {
    setObjectName(QStringLiteral("navigationController"));
    QTreeView* tree = views.keyTree;
    // A press on a node that is not current shows it through the current-change below; a press
    // on the current node shows it again. Either way each click shows the node once.
    treeViewport = tree->viewport();
    treeViewport->installEventFilter(this);
    connect(tree, &QTreeView::pressed, this, [this](const QModelIndex& node) {
        if (pressedCurrentNode) showNode(node);
    });
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!showingNode) showNode(current);
            });
    connect(tree, &QTreeView::doubleClicked, this, &NavigationController::treeActivated);
    // A double-click anywhere in the list switches modes, over a row or not.
    listViewport = views.entryList->viewport();
    listViewport->installEventFilter(this);
    views.entryList->installEventFilter(this);
    connect(views.entryList->header(), &QHeaderView::sectionClicked, this,
            &NavigationController::sortListBy);
    connect(views.listModel, &RegistryListModel::rowChecked, this,
            &NavigationController::showRowInTree);
    connect(views.panel, &DetailsPanel::siblingRequested, this, &NavigationController::showSibling);
    connect(&document, &RegistryDocument::opened, this, &NavigationController::fileOpened);
    connect(&document, &RegistryDocument::closed, this, &NavigationController::fileClosed);
    connect(&document, &RegistryDocument::stepApplied, this, &NavigationController::showStep);
}

void NavigationController::loadKeyInfo(const QString& appPath) {
    const auto path = FindFileInFolder(ToFsPath(appPath), "xRegistry_info.txt");
    if (path.empty()) return;
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    keyInfo = KeyInfoTable::Parse(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// ---- Following the document ----

void NavigationController::fileClosed() {
    shownNode = -1;
    views.treeModel->setRegistryIndex(nullptr);
    views.listModel->setRegistryIndex(nullptr);
}

void NavigationController::fileOpened() {
    views.keyTree->hide();
    views.treeModel->setRegistryIndex(&document.index());
    views.listModel->setRegistryIndex(&document.index(), &document.image());
    expandTree();
    views.keyTree->show();
    const QModelIndex first = views.treeModel->indexOfNode(0);
    if (first.isValid()) showNode(first);
}

void NavigationController::expandTree() {
    // Every node is expanded, as far as the views' memory allows: each expanded level costs the
    // view about what a node costs the index, so levels share the file's node budget with the
    // nodes, top levels first. The rest expand when a node below them is shown.
    const RegistryIndex& index = document.index();
    const int64_t room = index.nodeBudget() - static_cast<int64_t>(index.nodes().size());
    for (const QModelIndex& level : views.treeModel->levelsFirst(room))
        views.keyTree->expand(level);
}

void NavigationController::showStep(const EntryChange& change) {
    // An undo or redo shows its own entry: what it changed is what the panel must show.
    shownNode = change.node;
    views.listModel->rowsChanged(RowsTouchedBy(document.index(), change));
    showNode(views.treeModel->indexOfNode(change.node));
    if (isListMode() && change.row >= 0) {
        const QModelIndex row = views.listModel->indexOfRow(change.row);
        views.entryList->setCurrentIndex(row);
        views.entryList->scrollTo(row);
    }
}

// ---- Showing a node ----

void NavigationController::showNode(const QModelIndex& node) {
    const TreeNode* shown = views.treeModel->treeNode(node);
    if (!shown) return;
    const int32_t next = views.treeModel->nodeOf(node);
    if (next != shownNode && leaveEntry && !leaveEntry()) {
        // The user stays with the edits: the selection goes back to their entry.
        selectTreeNode(views.treeModel->indexOfNode(shownNode));
        return;
    }
    shownNode = next;
    // A crafted key can be 65,535 characters long; the line shows what a cell would.
    views.panel->showKey(DisplayText(shown->key));
    showKeyInfoOf(shown->key);
    selectTreeNode(node);
    if (!shown->entry || shown->entry->offset == 0) {
        views.panel->showFolder();
        return;
    }
    views.panel->showEntry(document.image(), *shown->entry);
}

void NavigationController::showKey(std::string_view key) {
    const auto node = document.index().findNode(key);
    if (!node) return;  // a key only in the other file has nothing to show here
    if (!isListMode()) return showNode(views.treeModel->indexOfNode(*node));
    const int32_t row = document.index().nodes()[static_cast<size_t>(*node)].listRow;
    if (row < 0) return;
    const QModelIndex item = views.listModel->indexOfRow(row);
    views.entryList->setCurrentIndex(item);
    views.entryList->scrollTo(item);
}

int32_t NavigationController::currentNode() const {
    return views.treeModel->nodeOf(views.keyTree->currentIndex());
}

void NavigationController::showKeyInfoOf(std::string_view key) {
    const KeyInfoTable::Columns* columns = keyInfo.find(key);
    QString description;
    QString typical;
    if (columns && columns->size() > 1) description = ToQString((*columns)[1]);
    if (columns && columns->size() > 2) typical = ToQString(TypicalValueText((*columns)[2]));
    views.panel->showKeyInfo(description, typical);
}

void NavigationController::showSibling(int step) {
    const QModelIndex current = views.keyTree->currentIndex();
    if (!current.isValid()) return;
    const QModelIndex sibling = current.sibling(current.row() + step, 0);
    if (sibling.isValid()) showNode(sibling);
}

void NavigationController::selectTreeNode(const QModelIndex& node) {
    showingNode = true;
    views.keyTree->setCurrentIndex(node);
    views.keyTree->scrollTo(node);
    showingNode = false;
}

void NavigationController::showRowInTree(int32_t row) {
    const auto& rows = document.index().rows();
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    showNode(views.treeModel->indexOfNode(rows[static_cast<size_t>(row)].node));
}

// ---- View modes ----

bool NavigationController::isListMode() const {
    return views.listModeAction->isChecked();
}

void NavigationController::setListMode(bool list) {
    if (list != isListMode() && leaveEntry && !leaveEntry()) {
        views.treeModeAction->setChecked(list);
        views.listModeAction->setChecked(!list);
        return;
    }
    views.treeModeAction->setChecked(!list);
    views.listModeAction->setChecked(list);
    views.panel->clearSelections();
    views.pages->setCurrentIndex(list ? 1 : 0);
    if (list) {
        const TreeNode* selected = views.treeModel->treeNode(views.keyTree->currentIndex());
        if (selected && selected->listRow >= 0) {
            const QModelIndex row = views.listModel->indexOfRow(selected->listRow);
            views.entryList->setCurrentIndex(row);
            views.entryList->scrollTo(row);
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        views.entryList->setFocus();
    } else {
        showRowInTree(views.listModel->rowOf(views.entryList->currentIndex()));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        views.keyTree->setFocus();
    }
}

// ---- The list and the tree ----

void NavigationController::sortListBy(int column) {
    RegistryListModel* model = views.listModel;
    const bool reverse = model->isSorted() && model->sortColumn() == column;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (reverse && model->sortOrder() == Qt::AscendingOrder) order = Qt::DescendingOrder;
    model->sortBy(column, order);
    QHeaderView* header = views.entryList->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, order);
    const QModelIndex current = views.entryList->currentIndex();
    if (current.isValid()) views.entryList->scrollTo(current);
}

void NavigationController::listActivated() {
    const int32_t row = views.listModel->rowOf(views.entryList->currentIndex());
    setListMode(false);
    showRowInTree(row);
    views.panel->focusField(kValueField);
}

void NavigationController::treeActivated() {
    // A folder's Value field is disabled and does not take the focus.
    views.panel->focusField(kValueField);
}

bool NavigationController::eventFilter(QObject* watched, QEvent* event) {
    QTreeView* tree = views.keyTree;
    QTreeView* list = views.entryList;
    if (watched == treeViewport && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QModelIndex node = tree->indexAt(press->position().toPoint());
        pressedCurrentNode = node.isValid() && node == tree->currentIndex();
    }
    if (watched == listViewport && event->type() == QEvent::MouseButtonDblClick) {
        // The press before it has already selected the row under the pointer, if any.
        listActivated();
        return true;
    }
    if (watched == list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            listActivated();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- Find ----

void NavigationController::find() {
    const auto answer = prompts.inputText(dialogOwner, QStringLiteral("Find"),
                                          QStringLiteral("Find Key:"), findText);
    if (!answer || answer->isEmpty()) return;
    findText = *answer;
    findNext();
}

void NavigationController::findNext() {
    // Keys and values are bytes: a character without a byte can match none of them.
    if (!IsByteText(findText)) return;
    KeySearch search(ToByteText(findText));
    const bool found = isListMode() ? findInList(search) : findInTree(search);
    if (!found) emit status(tr("No key or value matches \"%1\"").arg(findText));
}

bool NavigationController::findInList(KeySearch& search) {
    const QModelIndex current = views.entryList->currentIndex();
    const size_t start = current.isValid() ? static_cast<size_t>(current.row()) + 1 : 0;
    const auto found =
        FindNextListPosition(document.index(), views.listModel->displayOrder(), start, search);
    if (!found) return false;
    const QModelIndex item = views.listModel->index(static_cast<int>(*found - 1), 0);
    views.entryList->setCurrentIndex(item);
    views.entryList->scrollTo(item);
    return true;
}

bool NavigationController::findInTree(KeySearch& search) {
    const int32_t current = currentNode();
    const size_t start = current >= 0 ? static_cast<size_t>(current) + 1 : 0;
    const auto found = FindNextTreeNode(document.image(), document.index(), start, search,
                                        RegistryTreeModel::kMaxShownDepth);
    if (!found) return false;
    const QModelIndex node = views.treeModel->indexOfNode(*found);
    views.keyTree->expand(node);
    showNode(node);
    return true;
}

}  // namespace thornbeck
