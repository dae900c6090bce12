#include "gui/document/TakeFieldsCommand.h"

#include "gui/document/RegistryDocument.h"

namespace thornbeck {

TakeFieldsCommand::TakeFieldsCommand(RegistryDocument& document, std::vector<EntryChange> changes)
    : QUndoCommand(QObject::tr("Take Other's Fields (%n entries)", nullptr,
                               static_cast<int>(changes.size()))),
      document(document),
      changes(std::move(changes)) {}

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
