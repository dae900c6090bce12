#include "gui/document/RegistryDocument.h"

#include <QDir>
#include <QLockFile>
#include <filesystem>

#include "core/fileio/AtomicSave.h"
#include "core/fileio/LockFile.h"
#include "core/fileio/PathFunctions.h"
#include "gui/document/ModifyCommand.h"
#include "gui/document/TakeFieldsCommand.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"

namespace thornbeck {

RegistryDocument::RegistryDocument(QObject* parent) : QObject(parent) {
    connect(&history, &QUndoStack::indexChanged, this, &RegistryDocument::historyChanged);
    connect(&history, &QUndoStack::cleanChanged, this, &RegistryDocument::cleanChanged);
}

QAction* RegistryDocument::createUndoAction(QObject* parent, const QString& prefix) {
    return history.createUndoAction(parent, prefix);
}

QAction* RegistryDocument::createRedoAction(QObject* parent, const QString& prefix) {
    return history.createRedoAction(parent, prefix);
}

ModifyResult RegistryDocument::modify(int32_t node, const ModifyRequest& request) {
    ModifyResult result = ModifyEntry(bytes, entries, node, request);
    if (result.kind == ModifyResult::Modified) {
        // A hostile file's key can be thousands of characters long; a menu shows its end.
        QString key = ToQString(entries.nodes()[static_cast<size_t>(node)].key);
        if (key.size() > 80) key = QChar(0x2026) + key.right(79);
        history.push(new ModifyCommand(*this, result.change, key));
    }
    return result;
}

std::optional<OpenRefusal> RegistryDocument::open(const QString& givenPath) {
    // One spelling of a path however it came (dialog, drop, command line), so that the caption
    // shows it alike and Save As can tell the same path from another: Windows' separators there.
    const QString path = QDir::toNativeSeparators(givenPath);
    close();
    OpenOutcome outcome = OpenRegistryFile(ToFsPath(path));
    if (!outcome.file) return outcome.refusal;
    bytes = std::move(outcome.file->image);
    entries = std::move(outcome.file->index);
    stampPath = path;
    diskStamp = outcome.file->stamp;
    filePath = path;
    emit pathChanged(filePath);
    emit opened();
    return std::nullopt;
}

void RegistryDocument::close() {
    history.clear();
    history.setClean();
    // The views let go of the index before it is emptied.
    emit closed();
    bytes = RegistryImage();
    entries = RegistryIndex();
    stampPath.clear();
    diskStamp = {};
    if (filePath.isEmpty()) return;
    filePath.clear();
    emit pathChanged(filePath);
}

RegistryDocument::SaveOutcome RegistryDocument::save(const OverwriteQuestion& overwrite) {
    return saveAs(filePath, overwrite);
}

RegistryDocument::SaveOutcome RegistryDocument::saveAs(const QString& givenPath,
                                                       const OverwriteQuestion& overwrite) {
    const QString path = QDir::toNativeSeparators(givenPath);
    if (!isOpen() || path.isEmpty()) return {false, tr("No file is open.")};
    const auto lockPath = LockPathOf(ToFsPath(path));
    if (const auto problem = NotALockReason(lockPath))
        return {false, QString::fromStdString(*problem)};
    QLockFile lock(QString::fromStdU16String(lockPath.u16string()));
    if (!lock.tryLock(2500))
        return {false, lock.error() == QLockFile::LockFailedError
                           ? tr("Another program is saving it. Try again later.")
                           : tr("The lock file beside it cannot be made.")};
    if (const DiskChange change = changeOnDisk(path);
        change != DiskChange::None && !overwrite(change))
        return {};
    DiskStamp written;
    // The lock is held: what an ended writer left beside the file may go.
    const SaveOptions options{.backup = true, .writer = {}, .clearLeftovers = true};
    if (const auto failure = SaveWholeFile(ToFsPath(path), bytes.bytes(), options, &written))
        return {false,
                QStringLiteral("%1: %2").arg(QString::fromStdU16String(failure->path.u16string()),
                                             QString::fromLocal8Bit(failure->reason.c_str()))};
    stampPath = path;
    diskStamp = written;
    const bool moved = path != filePath;
    filePath = path;
    // A save that leaves the history clean already tells nobody; the path and caption follow.
    history.setClean();
    if (moved) emit pathChanged(filePath);
    emit cleanChanged(true);
    return {true, {}};
}

TakeOutcome RegistryDocument::takeOtherFields(const RegistryImage& other,
                                              const RegistryIndex& otherIndex,
                                              std::span<const TakeItem> items) {
    TakeOutcome outcome = TakeOtherFields(bytes, entries, other, otherIndex, items);
    if (outcome.changes.empty()) return outcome;
    for (const EntryChange& change : outcome.changes) emit stepApplied(change);
    history.push(new TakeFieldsCommand(*this, std::move(outcome.changes)));
    outcome.changes.clear();
    return outcome;
}

DiskChange RegistryDocument::changeOnDisk(const QString& path) const {
    if (path.isEmpty() || path != stampPath) return DiskChange::None;
    return CompareWithDisk(ToFsPath(path), diskStamp);
}

void RegistryDocument::apply(const EntryChange& change, bool forward) {
    if (forward) {
        ApplyChange(bytes, entries, change);
    } else {
        RevertChange(bytes, entries, change);
    }
    emit stepApplied(change);
}

}  // namespace thornbeck
