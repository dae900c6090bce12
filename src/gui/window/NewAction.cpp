#include "gui/window/NewAction.h"

namespace thornbeck {

QAction* NewAction(QObject* owner, const char* name, const QString& caption,
                   const QKeySequence& shortcut) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

}  // namespace thornbeck
