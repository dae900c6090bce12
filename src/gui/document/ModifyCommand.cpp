#include "gui/document/ModifyCommand.h"

#include "gui/document/RegistryDocument.h"

namespace thornbeck {

ModifyCommand::ModifyCommand(RegistryDocument& document, EntryChange change, const QString& key)
    : QUndoCommand(QStringLiteral("Modify ") + key),
      document(document),
      change(std::move(change)) {}

void ModifyCommand::undo() {
    document.apply(change, false);
}

void ModifyCommand::redo() {
    if (made) {
        made = false;
        return;
    }
    document.apply(change, true);
}

}  // namespace thornbeck
