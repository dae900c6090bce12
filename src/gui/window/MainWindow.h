#pragma once

#include <QMainWindow>
#include <memory>

#include "gui/document/KeyInformation.h"
#include "gui/document/RegistryDocument.h"
#include "gui/window/FailureBarrier.h"
#include "gui/window/Prompts.h"

class QAction;
class QMimeData;
class QSplitter;
class QStackedWidget;
class QTreeView;

namespace thornbeck {

class CompareController;
class ReportController;
class TweakController;
class DetailsPanel;
class EditController;
class EntryListView;
class FileController;
class FindController;
class NavigationController;
class RegistryListModel;
class RegistryTreeModel;

// The main window: it builds the views, the details panel, the actions and the menus and wires
// them to the document and to the controllers that do the work (files, navigation, editing,
// find, compare).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `prompts` answers every question and shows every dialog; the real dialogs when null.
    explicit MainWindow(std::unique_ptr<Prompts> prompts = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window does once it is shown: opens the file named on the command line, else
    // xRegistry.sys from the program's folder, and reads the key information file.
    void start(const QString& commandLine, const QString& appPath);
    void openFile(const QString& path);
    bool openDroppedFile(const QMimeData* mime);
    // Validates the detail fields and writes them into the shown entry.
    void modifyEntry();
    // Asks what to do with edits typed but not applied; false when the user cancels.
    bool settleEdits();

    const RegistryDocument& document() const { return doc; }
    FileController& files() const { return *fileController; }
    NavigationController& navigation() const { return *navigator; }
    EditController& editing() const { return *editor; }
    FindController& finding() const { return *finder; }
    CompareController& compare() const { return *comparer; }
    TweakController& tweaks() const { return *tweaker; }
    ReportController& reports() const { return *reporter; }
    bool isListMode() const;

    // The caption as this window keeps it: the path, "*" after a change, "" while none is open.
    const QString& caption() const { return captionText; }
    const QString& appPath() const { return programFolder; }
    QTreeView* keyTree() const { return tree; }
    QTreeView* entryList() const;
    QSplitter* splitter() const { return treeAndPanel; }
    RegistryTreeModel* treeModel() const { return treeRows; }
    RegistryListModel* listModel() const { return listRows; }
    DetailsPanel* detailsPanel() const { return panel; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createViews();
    void createControllers();
    void createActions();
    void createMenus();
    void updateFileActions();
    void updateCaption();
    // What an open came to, in the key line and the status bar, without a box.
    void reportRefusal(const QString& path, const QString& reason);
    void reportOpened();
    void showStatus(const QString& text);
    void showAbout();

    std::unique_ptr<Prompts> prompts;
    FailureBarrier barrier;
    RegistryDocument doc;
    QString programFolder;
    QString captionText;
    KeyInformation keyInfo;

    QStackedWidget* pages = nullptr;
    QSplitter* treeAndPanel = nullptr;
    QTreeView* tree = nullptr;
    EntryListView* list = nullptr;
    RegistryTreeModel* treeRows = nullptr;
    RegistryListModel* listRows = nullptr;
    DetailsPanel* panel = nullptr;

    QAction* openAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* saveAsAction = nullptr;
    QAction* reloadAction = nullptr;
    QAction* exportCsvAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* findAction = nullptr;
    QAction* findNextAction = nullptr;
    QAction* treeModeAction = nullptr;
    QAction* listModeAction = nullptr;
    QAction* toggleViewAction = nullptr;
    QAction* aboutAction = nullptr;

    FileController* fileController = nullptr;
    NavigationController* navigator = nullptr;
    EditController* editor = nullptr;
    FindController* finder = nullptr;
    TweakController* tweaker = nullptr;
    ReportController* reporter = nullptr;
    CompareController* comparer = nullptr;
};

}  // namespace thornbeck
