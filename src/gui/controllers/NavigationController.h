#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "core/edit/EntryChange.h"

class QAction;
class QModelIndex;
class QStackedWidget;
class QTreeView;

namespace thornbeck {

class DetailsPanel;
class KeyInformation;
class RegistryDocument;
class RegistryListModel;
class RegistryTreeModel;

// What the navigation works on: the window's two views with their models, the page that shows
// one of them, the details panel and the view-mode actions.
struct NavigationViews {
    QStackedWidget* pages;  // page 0 the tree with the panel, page 1 the list
    QTreeView* keyTree;
    RegistryTreeModel* treeModel;
    QTreeView* entryList;
    RegistryListModel* listModel;
    DetailsPanel* panel;
    QAction* treeModeAction;
    QAction* listModeAction;
};

// Tree and list: the one owner of the node the panel shows (the tree's current node always is
// that node), the view modes with the selection following by key, the list's sorting and
// double-click. It follows the document: a file opened fills the views (a file read again keeps
// the user's place), and every changed entry is drawn again and shown.
class NavigationController : public QObject {
    Q_OBJECT
public:
    NavigationController(const RegistryDocument& document, const NavigationViews& views,
                         const KeyInformation& keyInfo, QWidget* parent);

    // Asked before the panel's unapplied edits would be lost (another node shown, the view
    // mode switched): true to go on, the edits applied or dropped.
    void setLeaveEntryQuestion(std::function<bool()> question) { leaveEntry = std::move(question); }

    // Shows one tree node, after the question about unapplied edits: its key in the key line and
    // its entry in the panel, and selects it. False when the user stayed with the edits.
    bool showNode(const QModelIndex& node);
    // Shows the entry of `key` as a click on its tree node or list row would; nothing for a key
    // the open file does not have.
    void showKey(std::string_view key);
    // The tree node the panel shows, -1 for none; its key, for messages.
    int32_t shownNode() const { return shown; }
    QString shownKey() const;
    // The panel shows a list row's own entry, which is not the entry of its node (a key that
    // several entries share): it is there to be read, Modify cannot write it.
    bool showsRowEntry() const { return showingRowEntry; }

    bool isListMode() const { return listMode; }
    // The selected entry follows by key.
    void setListMode(bool list);
    void toggleViewMode() { setListMode(!isListMode()); }

    // The list's selected position in the order shown, -1 for none; selecting one scrolls to it.
    int listPosition() const;
    void selectListPosition(int position);
    // Find's hit in the tree: expanded, selected and shown.
    void showFoundNode(int32_t node);

    // A click on a list header: sorts by the column, the second click on it reverses.
    void sortListBy(int column);
    // A double-click in the list (or Enter on it) shows the row's node in tree mode.
    void listActivated();
    // A double-click on a tree node puts the focus into the Value field.
    void treeActivated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where the user was in a file, so that reading the same file again goes back there.
    struct Place {
        QString path;
        std::string shownKey;
        std::string listKey;
        int treeScroll = 0;
        int listScroll = 0;
    };

    void fileOpened();
    void fileClosing();
    void expandTree();
    void restorePlace();
    // Shows `node` in the panel and selects it, asking nothing.
    void present(int32_t node);
    void showRowInTree(int32_t row);
    void selectTreeNode(const QModelIndex& node);
    void showSibling(int step);
    // After a Modify, a take, an undo or a redo: the rows it touched drawn again, its entry shown.
    void entryChanged(const EntryChange& change);

    const RegistryDocument& document;
    NavigationViews views;
    const KeyInformation& keyInfo;
    // The views' viewports, watched for presses and double-clicks.
    QObject* treeViewport = nullptr;
    QObject* listViewport = nullptr;
    bool selecting = false;  // the tree's current node is being set to the shown one
    int32_t shown = -1;      // the node the panel shows
    bool showingRowEntry = false;
    bool listMode = false;
    Place place;
    std::function<bool()> leaveEntry;
    bool pressedCurrentNode = false;
};

// Makes `index` the view's current item and scrolls it into view.
void SelectAndReveal(QTreeView* view, const QModelIndex& index);

}  // namespace thornbeck
