#include "gui/controllers/FileController.h"

#include <QApplication>
#include <QDir>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "core/export/CsvExport.h"
#include "core/fileio/AtomicSave.h"
#include "core/fileio/FileFunctions.h"
#include "core/fileio/PathFunctions.h"
#include "core/version/ProgramVersion.h"
#include "gui/document/RegistryDocument.h"
#include "gui/models/RegistryListModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"
#include "gui/window/FailureBarrier.h"
#include "gui/window/Prompts.h"

namespace thornbeck {

namespace {
const QString kProgramName = QString::fromUtf8(ProgramName());

QString FolderText(const QString& path) {
    return FromPathText(FolderOf(ToPathText(path)));
}

QString FirstLocalFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

// The wait cursor while it lives, however the work ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

FileController::FileController(RegistryDocument& document, const RegistryListModel& listModel,
                               Prompts& prompts, FailureBarrier& barrier, QWidget* dialogOwner)
    : QObject(dialogOwner),
      document(document),
      listModel(listModel),
      prompts(prompts),
      barrier(barrier),
      dialogOwner(dialogOwner) {
    setObjectName(QStringLiteral("fileController"));
}

QString StartupFile(const QString& commandLine, const QString& appPath) {
    const QString path = FromPathText(StripQuotes(ToPathText(commandLine)));
    if (!path.isEmpty()) return path;
    const auto found = FindFileInFolder(ToFsPath(appPath), "xRegistry.sys");
    return found.empty() ? QString()
                         : appPath + QString::fromStdU16String(found.filename().u16string());
}

void FileController::openFile(QString path) {
    if (deferWhileOpening([this, path] { openFile(path); })) return;
    if (leaveEntry && !leaveEntry()) return;
    if (!maybeSave()) return;
    openAsked(path);
}

void FileController::openAsked(const QString& path) {
    const QString name = FromPathText(FileNameOf(ToPathText(path), true));
    if (!barrier.run(tr("open %1").arg(name), [&] { openNow(path); }))
        emit openRefused(path, tr("not enough room to read it"));
}

void FileController::openNow(const QString& path) {
    const QScopedValueRollback whileOpening(opening, true);
    const QScopedValueRollback again(rereading, !rereadPath.isNull() && path == rereadPath);
    rereadPath = QString();
    emit openingStarted(FromPathText(FileNameOf(ToPathText(path), true)));
    // Paint the word, but let no input in: a drop, a close or a key would run inside the load.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const BusyCursor busy;
    const auto refusal = document.open(path);
    // Said in the window, not in a box: the reason stays readable while the user picks another.
    if (refusal) emit openRefused(path, QString::fromStdString(refusal->reason));
}

bool FileController::deferWhileOpening(std::function<void()> action) {
    if (!opening) return false;
    QTimer::singleShot(0, this, std::move(action));
    return true;
}

bool FileController::carriesFile(const QMimeData* mime) {
    return !FirstLocalFile(mime).isEmpty();
}

bool FileController::openDroppedFile(const QMimeData* mime) {
    const QString path = FirstLocalFile(mime);
    if (path.isEmpty()) return false;
    // Open once the drop has returned, so the source is not kept waiting on a prompt.
    QTimer::singleShot(0, this, [this, path] { openFile(path); });
    return true;
}

void FileController::chooseAndOpen() {
    const QString path =
        prompts.openFile(dialogOwner, QStringLiteral("xRegistry.sys (*.sys);;All files (*)"),
                         QStringLiteral("Open xRegistry.sys"), FolderText(document.path()),
                         QStringLiteral("xRegistry.sys"));
    if (!path.isEmpty()) openFile(path);
}

bool FileController::maybeSave() {
    if (!document.isOpen() || !document.hasUnsavedChanges()) return true;
    const auto answer =
        prompts.message(dialogOwner, QMessageBox::Question, kProgramName,
                        QStringLiteral("Do you want to save modifications to the current file?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return save();
    return answer == QMessageBox::No;
}

bool FileController::askOverwrite(DiskChange change) {
    const QString text =
        change == DiskChange::Removed
            ? tr("The file has been deleted since it was opened. Save it again?")
            : tr("The file has changed on disk since it was opened. Overwrite it?");
    // A file still there may be read again instead.
    const auto buttons = change == DiskChange::Removed
                             ? QMessageBox::SaveAll | QMessageBox::Cancel
                             : QMessageBox::SaveAll | QMessageBox::Reset | QMessageBox::Cancel;
    const auto answer =
        prompts.message(dialogOwner, QMessageBox::Question, kProgramName, text, buttons);
    // Reading the file again throws the unsaved changes away: asked once more, Cancel first.
    if (answer == QMessageBox::Reset && document.hasUnsavedChanges() &&
        prompts.message(dialogOwner, QMessageBox::Warning, kProgramName,
                        tr("Reload %1 from disk and lose your unsaved changes?")
                            .arg(QDir::toNativeSeparators(document.path())),
                        QMessageBox::Reset | QMessageBox::Cancel) != QMessageBox::Reset)
        return false;
    if (answer == QMessageBox::Reset) {
        // Reload: the user chose the file on disk over the changes, twice.
        const QString path = document.path();
        // Asked already: a file that can no longer be read leaves the changes open.
        QTimer::singleShot(0, this, [this, path] {
            if (deferWhileOpening([this, path] { openAsked(path); })) return;
            rereadPath = path;
            openAsked(path);
        });
    }
    return answer == QMessageBox::SaveAll;
}

void FileController::reload() {
    if (!document.isOpen()) return;
    rereadPath = document.path();
    openFile(rereadPath);
}

void FileController::warn(const QString& text) {
    prompts.message(dialogOwner, QMessageBox::Warning, kProgramName, text, QMessageBox::Ok);
}

void FileController::reportNotSaved(const QString& path, const QString& failure) {
    if (failure.isEmpty()) {
        emit status(tr("Not saved: %1 is as it was").arg(path));  // the user cancelled
        return;
    }
    emit status(tr("Could not save %1").arg(path));
    warn(tr("Could not save %1.\n\n%2").arg(path, failure));
}

void FileController::reportSaved() {
    const QString backup = QString::fromStdU16String(
        BackupPathOf(SaveTargetOf(ToFsPath(document.path()))).u16string());
    std::error_code unknown;
    emit status(std::filesystem::exists(ToFsPath(backup), unknown)
                    ? tr("Saved %1; the previous file is kept as %2").arg(document.path(), backup)
                    : tr("Saved %1").arg(document.path()));
}

bool FileController::save() {
    bool saved = false;
    barrier.run(tr("save %1").arg(document.path()), [&] { saved = saveNow(); });
    return saved;
}

bool FileController::saveNow() {
    if (!document.isOpen()) return false;
    const auto outcome = document.save([this](DiskChange change) { return askOverwrite(change); });
    if (!outcome.saved) reportNotSaved(document.path(), outcome.failure);
    if (outcome.saved) reportSaved();
    if (outcome.nothingToSave)
        emit status(tr("Nothing to save: %1 is as it was read").arg(document.path()));
    return outcome.saved || outcome.nothingToSave;
}

void FileController::saveAs() {
    if (!document.isOpen()) return;
    const QString path = prompts.saveFile(
        dialogOwner, QStringLiteral("xRegistry.sys (*.sys)"), QStringLiteral("Save xRegistry.sys"),
        FolderText(document.path()), QStringLiteral("xRegistry.sys"));
    if (path.isEmpty()) return;
    RegistryDocument::SaveOutcome outcome;
    barrier.run(tr("save %1").arg(path), [&] {
        outcome = document.saveAs(path, [this](DiskChange change) { return askOverwrite(change); });
    });
    if (!outcome.saved) reportNotSaved(path, outcome.failure);
    if (outcome.saved) reportSaved();
    if (outcome.nothingToSave)
        emit status(tr("Nothing to save: %1 is as it was read").arg(document.path()));
}

void FileController::exportCsv() {
    const QString proposed =
        FromPathText(FileNameOf(ToPathText(document.path()), false)) + QStringLiteral(".csv");
    const QString path = prompts.saveFile(dialogOwner, QStringLiteral("xRegistry.csv (*.csv)"),
                                          QStringLiteral("Export xRegistry.sys as CSV"),
                                          FolderText(document.path()), proposed);
    if (path.isEmpty()) return;
    // Streamed: the rows' keys can add up to far more than the file.
    if (const auto failure = ExportCsvFile(ToFsPath(path), document.image(), document.index(),
                                           listModel.displayOrder())) {
        warn(tr("Could not export to %1.\n\n%2")
                 .arg(path, QString::fromLocal8Bit(failure->reason.c_str())));
        return;
    }
    const auto lines = document.index().rows().size();
    emit status(lines == 1 ? tr("Exported 1 line to %1").arg(path)
                           : tr("Exported %1 lines to %2").arg(lines).arg(path));
}

}  // namespace thornbeck
