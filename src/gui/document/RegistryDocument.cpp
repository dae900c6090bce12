#include "gui/document/RegistryDocument.h"

#include <QLockFile>
#include <filesystem>

#include "core/fileio/AtomicSave.h"
#include "core/fileio/PathFunctions.h"
#include "core/fileio/RegularFile.h"
#include "core/format/RegistryFormat.h"
#include "gui/document/ModifyCommand.h"
#include "gui/document/TakeFieldsCommand.h"
#include "gui/text/Latin1Text.h"

namespace thornbeck {

RegistryDocument::RegistryDocument(QObject* parent) : QObject(parent) {}

void RegistryDocument::resetHistory() {
    history.clear();
    history.setClean();
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

QString RegistryDocument::read(const QString& path) {
    const auto fsPath = ToFsPath(path);
    FileRead file = ReadRegularFile(fsPath);
    bytes = RegistryImage(std::move(file.bytes));
    entries = RegistryIndex();
    stampPath = path;
    diskStamp = file.stamp;
    filePath = bytes.size() < format::kMinimumFileSize ? QString() : path;
    std::error_code error;
    if (file.failure.empty() || file.missing || std::filesystem::is_directory(fsPath, error))
        return {};
    return QString::fromLocal8Bit(file.failure.c_str());
}

QString RegistryDocument::indexImage() {
    entries = IndexRegistry(bytes);
    const auto& refused = entries.tooManyKeys();
    if (!refused) return {};
    const QString reason = QString::fromStdString(refused->reason());
    bytes = RegistryImage();
    entries = RegistryIndex();
    filePath.clear();
    return tr("The file %1. It is damaged or was made to break editors, and is not opened.")
        .arg(reason);
}

RegistryDocument::SaveOutcome RegistryDocument::save(const QString& path,
                                                     const std::function<bool()>& overwrite) {
    QLockFile lock(QString::fromStdU16String(LockPathOf(ToFsPath(path)).u16string()));
    if (!lock.tryLock(2500))
        return {false, lock.error() == QLockFile::LockFailedError
                           ? tr("Another program is saving it. Try again later.")
                           : tr("The lock file beside it cannot be made.")};
    if (changedOnDisk(path) && !overwrite()) return {};
    DiskStamp written;
    if (const auto failure = SaveWholeFile(ToFsPath(path), bytes.bytes(), {}, &written))
        return {false,
                QStringLiteral("%1: %2").arg(QString::fromStdU16String(failure->path.u16string()),
                                             QString::fromLocal8Bit(failure->reason.c_str()))};
    stampPath = path;
    diskStamp = written;
    history.setClean();
    return {true, {}};
}

TakeOutcome RegistryDocument::takeOtherFields(const RegistryImage& other,
                                              const RegistryIndex& otherIndex,
                                              std::span<const std::string_view> keys) {
    TakeOutcome outcome = TakeOtherFields(bytes, entries, other, otherIndex, keys, kTakeAll);
    if (outcome.changes.empty()) return outcome;
    for (const EntryChange& change : outcome.changes) emit stepApplied(change);
    history.push(new TakeFieldsCommand(*this, std::move(outcome.changes)));
    outcome.changes.clear();
    return outcome;
}

bool RegistryDocument::changedOnDisk(const QString& path) const {
    return !path.isEmpty() && path == stampPath &&
           CompareWithDisk(ToFsPath(path), diskStamp) != DiskChange::None;
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
