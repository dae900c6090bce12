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

namespace thornbeck {

// The open file's image and index with the history of its changes. Every change to the image
// goes through here, as one undo step per successful Modify; the views learn of each step that
// is made, undone or redone through stepApplied.
class RegistryDocument : public QObject {
    Q_OBJECT
public:
    explicit RegistryDocument(QObject* parent = nullptr);

    RegistryImage& image() { return bytes; }
    const RegistryImage& image() const { return bytes; }
    RegistryIndex& index() { return entries; }
    const RegistryIndex& index() const { return entries; }
    QUndoStack* undoStack() { return &history; }
    const QUndoStack* undoStack() const { return &history; }

    // The open file's path; "" while none is open (a refused file leaves none).
    QString& path() { return filePath; }
    const QString& path() const { return filePath; }

    // A new file (or none): the history starts empty and clean.
    void resetHistory();
    // Reads the file at `path` whole into the image, before anything is indexed. Gives why a file
    // cannot be read that the user should hear of (a FIFO, a device, a file too large, no
    // permission); "" when it was read, and also for a missing file or a folder, which are
    // refused silently like a short file. Only a file long enough to be a registry file stays
    // open (`path` set).
    QString read(const QString& path);
    // Builds the index of the image read. A file with more keys than its size can hold is
    // refused: the document is emptied as after a failed read and the reason returned.
    QString indexImage();

    struct SaveOutcome {
        bool saved = false;
        QString failure;  // why not, for a message; "" when the user cancelled
    };
    // Writes the image to `path` with a backup, holding the lock file beside it, so that the
    // command line and another window wait their turn. When the file is the one loaded or last
    // saved and another program has changed it since, `overwrite` decides. A saved state is the
    // clean one.
    SaveOutcome save(const QString& path, const std::function<bool()>& overwrite);
    // Modify of the entry at tree node `node`; a successful one becomes one undo step.
    ModifyResult modify(int32_t node, const ModifyRequest& request);
    // Take Other's Fields: the other file's fields written into the entries of `keys` (see
    // TakeOtherFields), as one undo step when any entry was written. Each written entry is
    // announced through stepApplied; the result's changes move into the history.
    TakeOutcome takeOtherFields(const RegistryImage& other, const RegistryIndex& otherIndex,
                                std::span<const std::string_view> keys);
    // True when the file at `path` is the one loaded or saved and has changed on disk since.
    bool changedOnDisk(const QString& path) const;

signals:
    // A step was made again (redo) or taken back (undo), or an entry of a take was written; the
    // image and index already show it.
    void stepApplied(const thornbeck::EntryChange& change);

private:
    friend class ModifyCommand;
    friend class TakeFieldsCommand;
    void apply(const EntryChange& change, bool forward);

    RegistryImage bytes;
    RegistryIndex entries;
    QUndoStack history;
    QString filePath;
    // What the file on disk was when it was loaded or last saved, and its path, so that a save
    // can tell whether another program has changed it since.
    QString stampPath;
    DiskStamp diskStamp;
};

}  // namespace thornbeck
