#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string_view>

#include "core/edit/EntryChange.h"
#include "core/keyinfo/KeyInfoTable.h"

class QAction;
class QModelIndex;
class QStackedWidget;
class QTreeView;

namespace thornbeck {

class DetailsPanel;
class KeySearch;
class Prompts;
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

// Tree and list: showing a node in the details panel, the view modes with the selection
// following by key, the list's sorting and double-click, Find and Find Next. It follows the
// document: a file opened fills the views, a step undone or redone is shown.
class NavigationController : public QObject {
    Q_OBJECT
public:
    NavigationController(const RegistryDocument& document, const NavigationViews& views,
                         Prompts& prompts, QWidget* dialogOwner);

    // Asked before the panel's unapplied edits would be lost (another node shown, the view
    // mode switched): true to go on, the edits applied or dropped.
    void setLeaveEntryQuestion(std::function<bool()> question) { leaveEntry = std::move(question); }

    // Reads the key information file from the program's folder; called once, at start-up.
    void loadKeyInfo(const QString& appPath);
    const KeyInfoTable& keyInformation() const { return keyInfo; }

    // Shows one tree node: its key in the key line and its entry in the panel, and selects it.
    void showNode(const QModelIndex& node);
    // Shows the entry of `key` as a click on its tree node or list row would; nothing for a key
    // the open file does not have.
    void showKey(std::string_view key);
    // The tree node shown, -1 for none.
    int32_t currentNode() const;

    bool isListMode() const;
    // The selected entry follows by key.
    void setListMode(bool list);
    void toggleViewMode() { setListMode(!isListMode()); }

    // A click on a list header: sorts by the column, the second click on it reverses.
    void sortListBy(int column);
    // A double-click in the list (or Enter on it) shows the row's node in tree mode.
    void listActivated();
    // A double-click on a tree node puts the focus into the Value field.
    void treeActivated();

    // Asks for a text and finds it; Find Next finds it again from the selection.
    void find();
    void findNext();

signals:
    // What just happened, for the status bar.
    void status(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fileOpened();
    void fileClosed();
    void expandTree();
    void showRowInTree(int32_t row);
    void selectTreeNode(const QModelIndex& node);
    void showSibling(int step);
    // After an undo or redo: the rows it touched, and its entry selected and shown.
    void showStep(const EntryChange& change);
    void showKeyInfoOf(std::string_view key);
    // Each selects and shows the next hit; false when there is none.
    bool findInList(KeySearch& search);
    bool findInTree(KeySearch& search);

    const RegistryDocument& document;
    NavigationViews views;
    // The views' viewports, watched for presses and double-clicks.
    QObject* treeViewport = nullptr;
    QObject* listViewport = nullptr;
    Prompts& prompts;
    QWidget* dialogOwner;
    KeyInfoTable keyInfo;
    QString findText;
    bool showingNode = false;
    int32_t shownNode = -1;  // the node the panel shows
    std::function<bool()> leaveEntry;
    bool pressedCurrentNode = false;
};

}  // namespace thornbeck
