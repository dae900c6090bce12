#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"
#include "core/keyinfo/KeyInfoTable.h"
#include "gui/document/RegistryDocument.h"
#include "gui/window/Prompts.h"

class QAction;
class QMimeData;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeView;

namespace thornbeck {

class CompareController;
class DetailsPanel;
class KeySearch;
class RegistryListModel;
class RegistryTreeModel;

// The main window. It owns the whole state of a run: the image and its file state, the program's
// folder and both views. Its handlers stay short and call the named operations below.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `prompts` answers every question and shows every dialog; the real dialogs when null.
    explicit MainWindow(std::unique_ptr<Prompts> prompts = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window does once it exists: opens the file named on the command line, else
    // xRegistry.sys from the program's folder, and sets the list's column order.
    void Form_Load(const QString& commandLine, const QString& appPath);

    void OpenRegistryFile(const QString& path);
    // A drop on the window, the tree or the list: opens the first local file it carries.
    bool OpenDroppedFile(const QMimeData* mime);
    // Shows one tree node: its key in the status line, and selects it.
    void tvReg_NodeClick(const QModelIndex& node);
    // 0 tree mode, 1 list mode; the selected entry follows by key.
    void ApplyViewMode(int index);
    void LayoutWindow();
    // Validates the detail fields and writes them into the selected entry.
    void btnSave_Click();
    // Reads the key information file beside the program; called once, at start-up.
    void LoadKeyInfo();

    // List and tree behaviours.
    void lvReg_ColumnClick(int column);
    void lvReg_DblClick();
    // Enter does what a double-click does; true when the key was taken.
    bool lvReg_KeyDown(int key, Qt::KeyboardModifiers shift);
    void lvReg_ItemCheck(int32_t row);
    void tvReg_DblClick();

    // Asks for a text and finds it; Find Next finds it again from the selection.
    void mnuEditFind_Click();
    void mnuFindNext_Click();

    bool isListMode() const;
    const RegistryImage& image() const { return regData; }
    const RegistryIndex& registryIndex() const { return index; }
    QUndoStack* undoStack() { return document.undoStack(); }
    const QString& openPath() const { return regPath; }
    // The file differs from what was loaded or last saved exactly while its history is not clean.
    bool hasUnsavedChanges() const { return !document.undoStack()->isClean(); }
    // The caption as this window keeps it: the path, "*" after a change, "" while none is open.
    const QString& caption() const { return captionText; }
    const QString& appPath() const { return AppPath; }
    RegistryTreeModel* treeModel() const { return tvRegModel; }
    RegistryListModel* listModel() const { return lvRegModel; }
    DetailsPanel* detailsPanel() const { return details; }
    const KeyInfoTable& keyInformation() const { return keyInfo; }

    // Marks the image as changed outside its history: no undo reaches the saved state again, only
    // a save or another open does; the caption gets its "*".
    void markModified();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createActions();
    void createMenus();

    void mnuFileOpen_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExportCSV_Click();
    void mnuHelpAbout_Click();
    void lblCredits_Click();
    // Save and Save As are enabled exactly while a file is open.
    void updateFileActions();

    // Asks about unsaved changes; false when the user cancels.
    bool maybeSave();
    // Writes the image to the open file; false (after telling the user why) when it fails.
    bool save();
    void setCaption(const QString& caption);
    void clearViews();
    void expandTree();
    void showFirstNode();
    // Shows the tree node of a list row (by load order), as a click on it would; none for -1.
    void showRowInTree(int32_t row);
    void selectTreeNode(const QModelIndex& node);
    void showSibling(int step);
    // After an undo or redo: the rows it touched, and its entry selected and shown.
    void showStep(const EntryChange& change);
    // The caption follows the history's clean state.
    void historyCleanChanged(bool clean);
    // The key's description and typical value in the information boxes, or none.
    void showKeyInfoOf(std::string_view key);
    void findInList(KeySearch& search);
    void findInTree(KeySearch& search);
    // Places a control unless the size would be negative (a window too small or minimized).
    static void place(QWidget* control, int left, int top, int width, int height);
    // Runs `action` now, or once the open in progress has finished.
    bool deferWhileOpening(std::function<void()> action);

    std::unique_ptr<Prompts> prompts;

    // File state: the image and index live in the document, with their history.
    RegistryDocument document;
    RegistryImage& regData = document.image();
    RegistryIndex& index = document.index();
    QString& regPath = document.path();
    QString AppPath;
    KeyInfoTable keyInfo;
    QString findText;
    QString captionText;
    bool opening = false;
    bool showingNode = false;
    bool pressedCurrentNode = false;

    // Controls.
    QWidget* client = nullptr;
    QTreeView* tvReg = nullptr;
    QTreeView* lvReg = nullptr;
    RegistryTreeModel* tvRegModel = nullptr;
    RegistryListModel* lvRegModel = nullptr;
    QLineEdit* lblKey = nullptr;
    QFrame* frmSep = nullptr;
    QPushButton* btnSave = nullptr;
    QLabel* lblCredits = nullptr;
    DetailsPanel* details = nullptr;

    // Menus.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileExportCSV = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QAction* mnuEditFind = nullptr;
    QAction* mnuFindNext = nullptr;
    std::array<QAction*, 2> mnuViewMode{};
    QAction* mnuHelpAbout = nullptr;
    QAction* viewToggle = nullptr;

    // Compare With and its pane; declared after the document, so it goes first.
    std::unique_ptr<CompareController> compare;
};

}  // namespace thornbeck
