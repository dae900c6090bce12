#include "gui/controllers/NavigationController.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeView>

#include "core/edit/EntryTexts.h"
#include "gui/document/KeyInformation.h"
#include "gui/document/RegistryDocument.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/text/DisplayText.h"
#include "gui/widgets/DetailsPanel.h"

namespace thornbeck {

void SelectAndReveal(QTreeView* view, const QModelIndex& index) {
    view->setCurrentIndex(index);
    view->scrollTo(index);
}

NavigationController::NavigationController(const RegistryDocument& document,
                                           const NavigationViews& views,
                                           const KeyInformation& keyInfo, QWidget* parent)
    : QObject(parent), document(document), views(views), keyInfo(keyInfo) {
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
                if (!selecting) showNode(current);
            });
    connect(tree, &QTreeView::doubleClicked, this, &NavigationController::treeActivated);
    // A double-click anywhere in the list switches modes, over a row or not.
    listViewport = views.entryList->viewport();
    listViewport->installEventFilter(this);
    views.entryList->installEventFilter(this);
    connect(views.entryList->header(), &QHeaderView::sectionClicked, this,
            &NavigationController::sortListBy);
    connect(views.panel, &DetailsPanel::siblingRequested, this, &NavigationController::showSibling);
    connect(&document, &RegistryDocument::opened, this, &NavigationController::fileOpened);
    connect(&document, &RegistryDocument::closed, this, &NavigationController::fileClosing);
    connect(&document, &RegistryDocument::stepApplied, this, &NavigationController::entryChanged);
}

// ---- Following the document ----

void NavigationController::fileClosing() {
    // The document still has its path and index: note where the user was in it.
    if (document.isOpen()) {
        place = Place{document.path(),
                      {},
                      {},
                      views.keyTree->verticalScrollBar()->value(),
                      views.entryList->verticalScrollBar()->value()};
        if (shown >= 0) place.shownKey = document.index().nodes()[static_cast<size_t>(shown)].key;
        const int32_t row = views.listModel->rowOf(views.entryList->currentIndex());
        if (row >= 0)
            place.listKey =
                document.index().keyOf(document.index().rows()[static_cast<size_t>(row)]);
    }
    shown = -1;
    showingRowEntry = false;
    views.treeModel->setRegistryIndex(nullptr);
    views.listModel->setRegistryIndex(nullptr);
}

void NavigationController::fileOpened() {
    const bool focused = views.keyTree->hasFocus() || views.entryList->hasFocus();
    views.keyTree->hide();
    views.treeModel->setRegistryIndex(&document.index());
    views.listModel->setRegistryIndex(&document.index(), &document.image());
    expandTree();
    views.keyTree->show();
    if (place.path == document.path()) {
        restorePlace();
    } else {
        present(0);
    }
    place = {};
    // Hiding the tree took the focus from it; the keys go on working where they were.
    if (focused) (listMode ? views.entryList : views.keyTree)->setFocus();
}

void NavigationController::restorePlace() {
    const RegistryIndex& index = document.index();
    const auto node = index.findNode(place.shownKey);
    present(node ? *node : 0);
    if (const auto listed = index.findNode(place.listKey)) {
        const int32_t row = index.nodes()[static_cast<size_t>(*listed)].listRow;
        if (row >= 0) views.entryList->setCurrentIndex(views.listModel->indexOfRow(row));
    }
    // The views lay out their rows now, so that the scroll bars have their ranges again.
    views.keyTree->doItemsLayout();
    views.entryList->doItemsLayout();
    views.keyTree->verticalScrollBar()->setValue(place.treeScroll);
    views.entryList->verticalScrollBar()->setValue(place.listScroll);
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

void NavigationController::entryChanged(const EntryChange& change) {
    // Every step that changes an entry comes after the question about unapplied edits (or is
    // the Modify that applied them): what it changed is what the panel must show.
    views.listModel->rowsChanged(RowsTouchedBy(document.index(), change));
    present(change.node);
    if (listMode && change.row >= 0)
        SelectAndReveal(views.entryList, views.listModel->indexOfRow(change.row));
}

// ---- Showing a node ----

bool NavigationController::showNode(const QModelIndex& node) {
    const int32_t next = views.treeModel->nodeOf(node);
    if (next < 0) return false;
    // Showing even the same node again puts the fields back as the image holds them.
    if (leaveEntry && !leaveEntry()) {
        // The user stays with the edits: the selection goes back to their entry.
        selectTreeNode(views.treeModel->indexOfNode(shown));
        return false;
    }
    present(next);
    return true;
}

void NavigationController::present(int32_t node) {
    const QModelIndex item = views.treeModel->indexOfNode(node);
    const TreeNode* shownNode = views.treeModel->treeNode(item);
    if (!shownNode) return;
    shown = node;
    showingRowEntry = false;
    // A crafted key can be 65,535 characters long; the line shows what a cell would.
    views.panel->showKey(DisplayText(shownNode->key));
    const KeyInformation::Texts info = keyInfo.of(shownNode->key);
    views.panel->showKeyInfo(info.description, info.typical);
    selectTreeNode(item);
    if (!shownNode->entry || shownNode->entry->offset == 0) {
        views.panel->showFolder();
        return;
    }
    views.panel->showEntry(DescribeEntry(document.image(), *shownNode->entry),
                           shownNode->entry->size);
}

QString NavigationController::shownKey() const {
    if (shown < 0) return {};
    return DisplayText(document.index().nodes()[static_cast<size_t>(shown)].key);
}

void NavigationController::showKey(std::string_view key) {
    const auto node = document.index().findNode(key);
    if (!node) return;  // a key only in the other file has nothing to show here
    if (!listMode) {
        showNode(views.treeModel->indexOfNode(*node));
        return;
    }
    const int32_t row = document.index().nodes()[static_cast<size_t>(*node)].listRow;
    if (row >= 0) SelectAndReveal(views.entryList, views.listModel->indexOfRow(row));
}

void NavigationController::showFoundNode(int32_t node) {
    const QModelIndex item = views.treeModel->indexOfNode(node);
    views.keyTree->expand(item);
    showNode(item);
}

void NavigationController::showSibling(int step) {
    const QModelIndex current = views.treeModel->indexOfNode(shown);
    if (!current.isValid()) return;
    const QModelIndex sibling = current.sibling(current.row() + step, 0);
    if (sibling.isValid()) showNode(sibling);
}

void NavigationController::selectTreeNode(const QModelIndex& node) {
    selecting = true;
    SelectAndReveal(views.keyTree, node);
    selecting = false;
}

void NavigationController::showRowInTree(int32_t row) {
    const auto& rows = document.index().rows();
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    const ListRow& listed = rows[static_cast<size_t>(row)];
    if (!showNode(views.treeModel->indexOfNode(listed.node))) return;
    // Where several entries share a key, the row shows the first and the node the last: the
    // row leads to its own entry, which the panel shows to be read.
    const TreeNode& node = document.index().nodes()[static_cast<size_t>(listed.node)];
    if (!node.entry || node.entry->offset == listed.entry.offset || listed.entry.offset == 0)
        return;
    views.panel->showEntry(
        DescribeEntry(document.image(), listed.entry), listed.entry.size,
        tr("Several entries have this key; this is the first. Only the last, which the tree "
           "shows, can be modified."));
    showingRowEntry = true;
}

int NavigationController::listPosition() const {
    const QModelIndex current = views.entryList->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void NavigationController::selectListPosition(int position) {
    SelectAndReveal(views.entryList, views.listModel->index(position, 0));
}

// ---- View modes ----

void NavigationController::setListMode(bool list) {
    if (list != listMode && leaveEntry && !leaveEntry()) {
        (listMode ? views.listModeAction : views.treeModeAction)->setChecked(true);
        return;
    }
    listMode = list;
    (list ? views.listModeAction : views.treeModeAction)->setChecked(true);
    views.panel->clearSelections();
    views.pages->setCurrentIndex(list ? 1 : 0);
    if (list) {
        const TreeNode* selected = views.treeModel->treeNode(views.treeModel->indexOfNode(shown));
        if (selected && selected->listRow >= 0)
            SelectAndReveal(views.entryList, views.listModel->indexOfRow(selected->listRow));
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

}  // namespace thornbeck
