#pragma once

#include <QUndoCommand>
#include <vector>

#include "core/edit/EntryChange.h"

namespace thornbeck {

class RegistryDocument;

// Take Other's Fields as one undo step: the records of every entry it wrote, made in order and
// taken back in reverse order, so each record meets the image as it left it.
class TakeFieldsCommand : public QUndoCommand {
public:
    TakeFieldsCommand(RegistryDocument& document, std::vector<EntryChange> changes);
    // The same for another step of several entries (an applied tweak), named `text`.
    TakeFieldsCommand(RegistryDocument& document, std::vector<EntryChange> changes,
                      const QString& text);

    void undo() override;
    void redo() override;
    const std::vector<EntryChange>& records() const { return changes; }

private:
    RegistryDocument& document;
    std::vector<EntryChange> changes;
    bool made = true;  // the first redo is the take's own writes, already done
};

}  // namespace thornbeck
