#pragma once

#include <QAction>
#include <QKeySequence>
#include <QString>

namespace thornbeck {

// A menu action owned by `owner`, named so that tests and the window can find it by name.
QAction* NewAction(QObject* owner, const char* name, const QString& caption,
                   const QKeySequence& shortcut = {});

}  // namespace thornbeck
