#include "gui/document/RegistryDocument.h"

#include <QDir>
#include <filesystem>

#include "core/fileio/SaveRegistry.h"
#include "core/fileio/SystemFiles.h"
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
        emit stepApplied(result.change);
    }
    return result;
}

std::optional<OpenRefusal> RegistryDocument::open(const QString& givenPath) {
    // One spelling of a path however it came (dialog, drop, command line), so that the caption
    // shows it alike and Save As can tell the same path from another: Windows' separators there.
    const QString path = QDir::toNativeSeparators(givenPath);
    // Read into a new value first: a refused file leaves the open one, and its changes, as
    // they were.
    OpenOutcome outcome = OpenRegistryFile(ToFsPath(path));
    if (!outcome.file) return outcome.refusal;
    close();
    bytes = std::move(outcome.file->image);
    entries = std::move(outcome.file->index);
    stampPath = path;
    diskStamp = outcome.file->stamp;
    readOnly = IsMarkedReadOnly(ToFsPath(path));
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
    readOnly = false;
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
    if (!isOpen() || path.isEmpty()) return {false, false, tr("No file is open.")};
    SaveRequest request;
    request.path = ToFsPath(path);
    request.bytes = bytes.bytes();
    request.origin = {ToFsPath(stampPath), diskStamp};
    request.unsavedChanges = hasUnsavedChanges();
    const SaveResult result = SaveRegistry(request, overwrite);
    const auto text = [](const std::filesystem::path& file) {
        return QString::fromStdU16String(file.u16string());
    };
    switch (result.kind) {
        case SaveResult::Saved:
            break;
        case SaveResult::NothingToSave:
            return {false, true, {}};
        case SaveResult::Declined:
            return {};
        case SaveResult::Busy:
            return {false, false, tr("Another program is saving it. Try again later.")};
        case SaveResult::LockFailed:
            return {false, false,
                    tr("The lock file beside it cannot be made.") +
                        QStringLiteral("\n\n%1: %2")
                            .arg(text(result.problemPath), QString::fromStdString(result.reason))};
        case SaveResult::NotALock:
            return {false, false, QString::fromStdString(result.reason)};
        case SaveResult::Failed:
            return {false, false,
                    QStringLiteral("%1: %2").arg(text(result.problemPath),
                                                 QString::fromLocal8Bit(result.reason.c_str()))};
    }
    stampPath = path;
    diskStamp = result.written;
    const bool moved = path != filePath;
    filePath = path;
    // A save that leaves the history clean already tells nobody; the path and caption follow.
    history.setClean();
    if (moved) emit pathChanged(filePath);
    emit cleanChanged(true);
    return {true, false, {}};
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

TweakOutcome RegistryDocument::checkTweak(const Tweak& tweak, const std::vector<bool>& chosen) {
    return CheckTweak(bytes, entries, tweak, chosen);
}

TweakOutcome RegistryDocument::applyTweak(const Tweak& tweak, const std::vector<bool>& chosen,
                                          const QString& step) {
    TweakOutcome outcome = ApplyTweak(bytes, entries, tweak, chosen);
    if (outcome.changes.empty()) return outcome;
    for (const EntryChange& change : outcome.changes) emit stepApplied(change);
    history.push(new TakeFieldsCommand(*this, std::move(outcome.changes), step));
    outcome.changes.clear();
    return outcome;
}

std::optional<RegistryDocument::SavedState> RegistryDocument::savedState() const {
    if (!isOpen()) return std::nullopt;
    const int clean = history.cleanIndex();
    if (clean < 0) {
        // The steps that led from the saved state are gone from the history: read the file.
        OpenOutcome outcome = OpenRegistryFile(ToFsPath(filePath));
        if (!outcome.file) return std::nullopt;
        return SavedState{std::move(outcome.file->image), std::move(outcome.file->index)};
    }
    RegistryImage image = bytes;
    RegistryIndex index = entries;
    const auto changesOf = [this](int step) {
        const QUndoCommand* command = history.command(step);
        if (const auto* modify = dynamic_cast<const ModifyCommand*>(command))
            return std::vector<EntryChange>{modify->record()};
        return static_cast<const TakeFieldsCommand*>(command)->records();
    };
    // Back from here to the saved state, or forward when undo went past it.
    for (int step = history.index() - 1; step >= clean; --step) {
        const auto changes = changesOf(step);
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            RevertChange(image, index, *it);
    }
    for (int step = history.index(); step < clean; ++step)
        for (const EntryChange& change : changesOf(step)) ApplyChange(image, index, change);
    // A fresh index, so that no key name views this document's bytes.
    RegistryIndex fresh = IndexRegistry(image);
    return SavedState{std::move(image), std::move(fresh)};
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
