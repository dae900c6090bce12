#pragma once

#include <QUndoCommand>

#include "core/edit/EntryChange.h"

namespace thornbeck {

class RegistryDocument;

// One Modify as an undo step: it holds only the record of what changed; the document applies it.
class ModifyCommand : public QUndoCommand {
public:
    ModifyCommand(RegistryDocument& document, EntryChange change, const QString& key);

    void undo() override;
    void redo() override;
    const EntryChange& record() const { return change; }

private:
    RegistryDocument& document;
    EntryChange change;
    bool made = true;  // the first redo is Modify's own write, already done
};

}  // namespace thornbeck
