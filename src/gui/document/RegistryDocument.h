#pragma once

#include <QObject>
#include <QUndoStack>
#include <functional>

#include "core/edit/EntryChange.h"
#include "core/edit/ModifyEntry.h"
#include "core/edit/TakeFields.h"
#include "core/fileio/DiskStamp.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"
#include "core/load/RegistryFile.h"
#include "core/tweak/TweakApply.h"

class QAction;

namespace thornbeck {

// The open file: its image and index, its path, the history of its changes and what the file on
// disk looked like when it was read or last saved. It is the file's only owner: everything else
// reads it const and changes it through the operations below, and follows it by the signals.
// Every change to the image is one undo step (a Modify, or one Take Other's Fields).
class RegistryDocument : public QObject {
    Q_OBJECT
public:
    explicit RegistryDocument(QObject* parent = nullptr);

    const RegistryImage& image() const { return bytes; }
    const RegistryIndex& index() const { return entries; }
    // The open file's path; "" while none is open.
    const QString& path() const { return filePath; }
    bool isOpen() const { return !filePath.isEmpty(); }
    // The image differs from what was loaded or last saved exactly while the history is not at
    // its clean state.
    bool hasUnsavedChanges() const { return !history.isClean(); }

    // Undo and Redo as menu actions: their texts name the step, and they are disabled when
    // there is nothing to take back or make again.
    QAction* createUndoAction(QObject* parent, const QString& prefix);
    QAction* createRedoAction(QObject* parent, const QString& prefix);
    // What Undo and Redo would take back or make again ("Modify /setting/system/timeZone").
    QString undoText() const { return history.undoText(); }
    QString redoText() const { return history.redoText(); }
    bool canUndo() const { return history.canUndo(); }
    bool canRedo() const { return history.canRedo(); }

    // Opens the file at `path` through OpenRegistryFile. A refused file leaves the open one as it
    // was; an opened one replaces it: emits closed, then opened.
    std::optional<OpenRefusal> open(const QString& path);
    // Forgets the open file and its history.
    void close();

    // Whether the open file was marked read-only when it was opened: Save refuses it.
    bool isReadOnly() const { return readOnly; }

    struct SaveOutcome {
        bool saved = false;
        // Nothing was written: no unsaved changes, and the file is still as it was read.
        bool nothingToSave = false;
        QString failure;  // why not, for a message; "" when the user cancelled
    };
    // Asked when the file has changed on disk (or was removed) since it was read or saved:
    // true to write it anyway.
    using OverwriteQuestion = std::function<bool(DiskChange)>;
    // Writes the image over the open file through the core's SaveRegistry, as thornbeck-cli
    // saves: with a backup, holding the lock file beside it, so that the command line and
    // another window wait their turn. A saved state is the clean one.
    SaveOutcome save(const OverwriteQuestion& overwrite);
    // Save to `path`; the document's path becomes `path` only when the save succeeds.
    SaveOutcome saveAs(const QString& path, const OverwriteQuestion& overwrite);
    // Modify of the entry at tree node `node`; a successful one becomes one undo step and is
    // announced through stepApplied.
    ModifyResult modify(int32_t node, const ModifyRequest& request);
    // Take Other's Fields: the other file's fields written into the entries of `items` (see
    // TakeOtherFields), as one undo step when any entry was written. Each written entry is
    // announced through stepApplied.
    TakeOutcome takeOtherFields(const RegistryImage& other, const RegistryIndex& otherIndex,
                                std::span<const TakeItem> items);
    // What each line of the tweak finds in the image, with Modify's refusals of the chosen lines
    // (all that will change when `chosen` is empty); the image is left as it was.
    TweakOutcome checkTweak(const Tweak& tweak, const std::vector<bool>& chosen = {});
    // Writes the chosen lines of the tweak (see ApplyTweak) as one undo step named `step`, when
    // any entry was written; each written entry is announced through stepApplied.
    TweakOutcome applyTweak(const Tweak& tweak, const std::vector<bool>& chosen,
                            const QString& step);

    // The file as it was opened or last saved, for Show My Changes: every step since taken back
    // on a copy of the image, or the file read again when the history no longer reaches that
    // state. Nothing when no file is open or that state cannot be had.
    struct SavedState {
        RegistryImage image;
        RegistryIndex index;
    };
    std::optional<SavedState> savedState() const;

signals:
    void opened();
    void closed();
    void pathChanged(const QString& path);
    // An entry was changed: by a Modify, by a take (once for each entry written), or by a step
    // made again (redo) or taken back (undo). The image and index already show it.
    void stepApplied(const thornbeck::EntryChange& change);
    // Any move of the history: a Modify, a take, an undo or a redo.
    void historyChanged();
    void cleanChanged(bool clean);

private:
    friend class ModifyCommand;
    friend class TakeFieldsCommand;
    void apply(const EntryChange& change, bool forward);

    RegistryImage bytes;
    RegistryIndex entries;
    QUndoStack history;
    QString filePath;
    // What the file on disk was when it was read or last saved, and its path, so that a save
    // can tell whether another program has changed it since.
    QString stampPath;
    DiskStamp diskStamp;
    bool readOnly = false;
};

}  // namespace thornbeck
