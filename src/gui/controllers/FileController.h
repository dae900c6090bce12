#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "core/fileio/DiskStamp.h"

class QMimeData;
class QWidget;

namespace thornbeck {

class FailureBarrier;
class Prompts;
class RegistryDocument;
class RegistryListModel;

// The File menu's work: open (from the dialog, a drop or the command line), save, save as,
// export as CSV, and the unsaved-changes question before anything would drop the changes.
class FileController : public QObject {
    Q_OBJECT
public:
    // `listModel` gives the rows' order for the CSV export; `dialogOwner` owns every dialog. Each
    // command runs inside `barrier`.
    FileController(RegistryDocument& document, const RegistryListModel& listModel, Prompts& prompts,
                   FailureBarrier& barrier, QWidget* dialogOwner);

    // Opens the file at `path` after the unsaved-changes question (a copy: the document's own
    // path is emptied on the way). A request made while an open
    // runs (a drop, a second Open) waits for it to finish.
    void openFile(QString path);
    // A drop on the window, the tree or the list: opens the first local file it carries once
    // the drop has returned. False when it carries none.
    bool openDroppedFile(const QMimeData* mime);
    // True when it carries a local file to open.
    static bool carriesFile(const QMimeData* mime);
    bool isOpening() const { return opening; }
    // The open in progress reads the open file again (Reload), rather than another one.
    bool isRereading() const { return opening && rereading; }

    void chooseAndOpen();
    bool save();
    void saveAs();
    void exportCsv();
    // Reads the open file from disk again, after the unsaved-changes question.
    void reload();
    // Asks about unsaved changes; false when the user cancels.
    bool maybeSave();
    // Asked before an open would drop the panel's unapplied edits: true to go on.
    void setLeaveEntryQuestion(std::function<bool()> question) { leaveEntry = std::move(question); }

signals:
    // An open begins: `name` is the file's name, for a word while it is read.
    void openingStarted(const QString& name);
    // The file at `path` was not opened, for `reason` (OpenRefusal's words).
    void openRefused(const QString& path, const QString& reason);
    // What just happened, for the status bar.
    void status(const QString& text);

private:
    // Opens `path` once every question has been answered; a refusal keeps the open file.
    void openAsked(const QString& path);
    void openNow(const QString& path);
    bool saveNow();
    // Runs `action` now, or once the open in progress has finished.
    bool deferWhileOpening(std::function<void()> action);
    // Asks whether to write over a file another program changed or removed; a Reload answer
    // reads the file from disk instead (and the save does not happen).
    bool askOverwrite(DiskChange change);
    // Says where the file went and where its backup is.
    void reportSaved();
    // Says that `path` was not saved: why in a box, and in the status bar; a cancelled save only
    // in the status bar.
    void reportNotSaved(const QString& path, const QString& failure);
    void warn(const QString& text);

    RegistryDocument& document;
    const RegistryListModel& listModel;
    Prompts& prompts;
    FailureBarrier& barrier;
    QWidget* dialogOwner;
    bool opening = false;
    bool rereading = false;
    QString rereadPath;  // the file a Reload asked for, until its open begins
    std::function<bool()> leaveEntry;
};

// The file the program opens at start: the one named on the command line, else xRegistry.sys
// from the program's folder (in any letter case); "" when there is none.
QString StartupFile(const QString& commandLine, const QString& appPath);

}  // namespace thornbeck
