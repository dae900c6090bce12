#include "gui/document/TakeFieldsCommand.h"

#include "gui/document/RegistryDocument.h"

namespace thornbeck {

TakeFieldsCommand::TakeFieldsCommand(RegistryDocument& document, std::vector<EntryChange> changes)
    : QUndoCommand(changes.size() == 1
                       ? QObject::tr("Take Other's Fields (1 entry)")
                       : QObject::tr("Take Other's Fields (%1 entries)").arg(changes.size())),
      document(document),
      changes(std::move(changes)) {}

TakeFieldsCommand::TakeFieldsCommand(RegistryDocument& document, std::vector<EntryChange> changes,
                                     const QString& text)
    : QUndoCommand(text), document(document), changes(std::move(changes)) {}

void TakeFieldsCommand::undo() {
    for (auto change = changes.rbegin(); change != changes.rend(); ++change)
        document.apply(*change, false);
}

void TakeFieldsCommand::redo() {
    if (made) {
        made = false;
        return;
    }
    for (const EntryChange& change : changes) document.apply(change, true);
}

}  // namespace thornbeck
