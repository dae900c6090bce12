#pragma once

#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace thornbeck {

class DetailsPanel;
class FailureBarrier;
class NavigationController;
class Prompts;
class RegistryDocument;

// Changing the shown entry: Modify (the panel's fields written into it), Undo and Redo, and the
// question before a step would drop edits typed but not applied. What a step changed is shown by
// the navigation, which follows every step of the document.
class EditController : public QObject {
    Q_OBJECT
public:
    EditController(RegistryDocument& document, DetailsPanel& panel,
                   NavigationController& navigation, Prompts& prompts, FailureBarrier& barrier,
                   QWidget* dialogOwner);

    // Undo and Redo for the Edit menu: their texts name the step, and they are disabled when
    // there is nothing to take back or make again. Each asks about unapplied edits first.
    QAction* undoAction() const { return undo; }
    QAction* redoAction() const { return redo; }

    // Validates the panel's fields and writes them into the shown entry.
    void modify();
    // Asks what to do with edits typed but not applied: Apply, Discard or Cancel (false). True
    // at once when there are none.
    bool settleEdits();

signals:
    // What just happened, for the status bar.
    void status(const QString& text);

private:
    void modifyNow();
    // Takes back (`forward` false) or makes again the step next to the history's current one.
    void step(bool forward);

    RegistryDocument& document;
    DetailsPanel& panel;
    NavigationController& navigation;
    Prompts& prompts;
    FailureBarrier& barrier;
    QWidget* dialogOwner;
    QAction* historyUndo = nullptr;  // the history's own actions, which the menu's follow
    QAction* historyRedo = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;
};

}  // namespace thornbeck
