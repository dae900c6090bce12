#pragma once

#include "core/tweak/Tweak.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"
#include "core/load/RegistryFile.h"

class QAction;
class QHBoxLayout;
class QDockWidget;
class QLabel;
class QMainWindow;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;

namespace thornbeck {

class DifferenceModel;
class FailureBarrier;
class NavigationController;
class Prompts;
class RegistryDocument;

// Compare With: the open file against a second one by key, in a pane below the views, and Take
// Other's Fields from it. The second file is read once and never written; only its bytes (and
// the index built from them) are kept, until the pane is closed or another file is opened.
class CompareController : public QObject {
    Q_OBJECT
public:
    // The pane docks in `window`; a chosen row's entry is shown through `navigation`. Each
    // command runs inside `barrier`.
    CompareController(QMainWindow& window, RegistryDocument& document, Prompts& prompts,
                      FailureBarrier& barrier, NavigationController& navigation);
    ~CompareController() override;

    QAction* compareAction() const { return compareWith; }
    QAction* nextAction() const { return nextDifference; }
    QAction* previousAction() const { return previousDifference; }
    QAction* takeAction() const { return takeFields; }
    QAction* showMyChangesAction() const { return myChanges; }
    QDockWidget* pane() const { return dock; }
    QTreeView* view() const { return table; }
    DifferenceModel* model() const { return differences; }
    bool comparing() const { return other.has_value(); }

    // How the other file is read: OpenRegistryFile, unless a test puts another in its place.
    using FileOpener = std::function<OpenOutcome(const std::filesystem::path&)>;
    void setFileOpener(FileOpener opener) { openOther = std::move(opener); }

    // Opens the file at `path` as the window opens one and shows its differences with the open
    // file; a file that is refused is reported with the reason and changes nothing.
    void compareFile(const QString& path);
    // The comparison as the open file now stands; nothing while no compare runs.
    void refresh();
    // Ends the compare: the pane closes and the second file is forgotten.
    void end();
    // Steps the pane's current row by +1 or -1 in the order shown, and shows its key's entry.
    void step(int direction);
    // Takes the other file's fields into the entries of the selected "changed" rows, after the
    // question about edits not yet applied.
    void takeSelected();
    // Asked before a take would drop the panel's unapplied edits: true to go on.
    void setLeaveEntryQuestion(std::function<bool()> question) { leaveEntry = std::move(question); }
    // Compares the open file with itself as it was opened or last saved, so that the pane lists
    // every field the user changed since.
    void showMyChanges();
    // Whether the pane compares with the file as it was opened or saved.
    bool showingMyChanges() const { return withSaved && other.has_value(); }
    // The tweak of the selected rows (every row when none is selected) that Modify can write: it
    // turns this file's texts into the other's, or, for Show My Changes, the file as it was
    // opened or saved into the file as it is now.
    Tweak tweakOfRows() const;
    // A button for `action` in the pane's bar, beside Take Other's Fields.
    void addPaneButton(QAction* action, const QString& objectName);

signals:
    // What just happened, for the status bar.
    void status(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct OtherFile {
        RegistryImage image;
        RegistryIndex index;
    };

    void createPane();
    void chooseFile();
    void compareNow(const QString& path);
    // Puts `file` in the pane as the other file, `saved` when it is the document as opened or
    // saved; `name` and `path` say which it is.
    void startCompare(OtherFile file, bool saved, const QString& name, const QString& path);
    void refreshNow();
    void takeNow();
    void rowChosen(const QModelIndex& current);
    void updateCount();
    QString countText() const;

    QMainWindow& window;
    NavigationController& navigation;
    RegistryDocument& document;
    Prompts& prompts;
    FailureBarrier& barrier;
    FileOpener openOther = [](const std::filesystem::path& path) { return OpenRegistryFile(path); };
    std::optional<OtherFile> other;
    std::function<bool()> leaveEntry;
    bool restoring = false;  // a refresh puts the current row back; it shows nothing
    bool withSaved = false;  // the other file is the document as it was opened or saved

    QAction* compareWith = nullptr;
    QAction* nextDifference = nullptr;
    QAction* previousDifference = nullptr;
    QAction* takeFields = nullptr;
    QAction* myChanges = nullptr;
    QDockWidget* dock = nullptr;
    QHBoxLayout* paneBar = nullptr;
    QLabel* count = nullptr;
    QLabel* otherName = nullptr;
    QPushButton* takeButton = nullptr;
    QTreeView* table = nullptr;
    DifferenceModel* differences = nullptr;
    QSortFilterProxyModel* sorted = nullptr;
};

}  // namespace thornbeck
