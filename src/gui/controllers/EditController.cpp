#include "gui/controllers/EditController.h"

#include <QAction>

#include "core/compare/EntryCompare.h"
#include "core/edit/RefusalReason.h"
#include "core/version/ProgramVersion.h"
#include "gui/controllers/NavigationController.h"
#include "gui/document/RegistryDocument.h"
#include "gui/widgets/DetailsPanel.h"
#include "gui/window/FailureBarrier.h"
#include "gui/window/Prompts.h"

namespace thornbeck {

namespace {
const QString kProgramName = QString::fromUtf8(ProgramName());

// An action of the menu that shows what `history` shows and does `command` when triggered.
QAction* Following(QAction* history, const char* name, QObject* parent) {
    auto* action = new QAction(history->text(), parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(history->isEnabled());
    QObject::connect(history, &QAction::changed, action, [history, action] {
        action->setText(history->text());
        action->setEnabled(history->isEnabled());
    });
    return action;
}
}  // namespace

EditController::EditController(RegistryDocument& document, DetailsPanel& panel,
                               NavigationController& navigation, Prompts& prompts,
                               FailureBarrier& barrier, QWidget* dialogOwner)
    : QObject(dialogOwner),
      document(document),
      panel(panel),
      navigation(navigation),
      prompts(prompts),
      barrier(barrier),
      dialogOwner(dialogOwner) {
    setObjectName(QStringLiteral("editController"));
    historyUndo = document.createUndoAction(this, tr("&Undo"));
    historyRedo = document.createRedoAction(this, tr("&Redo"));
    undo = Following(historyUndo, "undoAction", this);
    redo = Following(historyRedo, "redoAction", this);
    // A detail field keeps Ctrl+Z for its own text while it has typing to take back.
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(undo, &QAction::triggered, this, barrier.guard(tr("undo"), [this] { step(false); }));
    connect(redo, &QAction::triggered, this, barrier.guard(tr("redo"), [this] { step(true); }));
}

void EditController::modify() {
    barrier.run(tr("apply the fields"), [this] { modifyNow(); });
}

void EditController::modifyNow() {
    // Only the node's own entry takes a Modify, and only fields that differ from it.
    if (navigation.showsRowEntry() || navigation.shownNode() < 0) return;
    if (!panel.hasUnappliedEdits()) {
        emit status(tr("Nothing to change in %1").arg(navigation.shownKey()));
        return;
    }
    const ModifyRequest request = panel.request();
    const ModifyResult result = document.modify(navigation.shownNode(), request);
    if (result.kind == ModifyResult::Rejected) {
        const QString caption = QString::fromStdString(FieldName(result.field));
        const std::string why =
            RefusalReason(result.field, request.texts[static_cast<size_t>(result.field)],
                          request.type, panel.edits().entrySize(), request.valueIsLatin1);
        const QString message = QString::fromLatin1(result.message.c_str());
        QString said = tr("%1: %2 %3").arg(message, caption, QString::fromStdString(why));
        if (why.empty())
            said = result.message == kInvalidSize
                       ? tr("%1: the entries after this one would no longer fit in the file")
                             .arg(message)
                       : tr("%1: with this %2 the file would no longer read the same keys and "
                            "entries")
                             .arg(message, caption);
        emit status(said);
        // The title names the field the message is about.
        prompts.message(dialogOwner, QMessageBox::Information,
                        kProgramName + QStringLiteral(": ") + caption, message, QMessageBox::Ok);
        panel.focusField(result.field);
        return;
    }
    if (result.kind == ModifyResult::Unchanged)
        emit status(tr("Nothing to change in %1").arg(navigation.shownKey()));
    if (result.kind != ModifyResult::Modified) return;
    // The navigation has shown the entry as the image now holds it.
    panel.selectFocusedField();
    emit status(tr("Modified %1").arg(navigation.shownKey()));
}

void EditController::step(bool forward) {
    const auto can = [&] { return forward ? document.canRedo() : document.canUndo(); };
    if (!can() || !settleEdits()) return;
    // Applied edits are a step of their own, after which there may be nothing left to redo.
    if (!can()) return;
    const QString what = forward ? document.redoText() : document.undoText();
    (forward ? historyRedo : historyUndo)->trigger();
    emit status(forward ? tr("Redid %1").arg(what) : tr("Undid %1").arg(what));
}

bool EditController::settleEdits() {
    if (!panel.hasUnappliedEdits()) return true;
    const auto answer =
        prompts.message(dialogOwner, QMessageBox::Question, kProgramName,
                        tr("Apply your changes to %1?").arg(navigation.shownKey()),
                        QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Apply) {
        modify();
        // A rejected field keeps the user with the entry, its message said.
        return !panel.hasUnappliedEdits();
    }
    // Dropped: the fields show the entry as the image holds it.
    panel.dropEdits();
    return true;
}

}  // namespace thornbeck
