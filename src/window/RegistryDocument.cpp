#include "window/RegistryDocument.h"

#include "helpers/Latin1Text.h"
#include "helpers/PathFunctions.h"
#include "window/ModifyCommand.h"
#include "window/TakeFieldsCommand.h"

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
