#pragma once

#include <QObject>

#include "core/report/RegistryReport.h"

class QAction;
class QDockWidget;
class QListWidget;
class QMainWindow;

namespace thornbeck {

class FailureBarrier;
class NavigationController;
class Prompts;
class RegistryDocument;

// The whole file in view: the Problems pane (every problem and note of the file's report, each
// leading to its entry), View > File Layout (the regions and the loose values of the tail) and
// File > Save Copy to Share (a copy with the tail cleared and personal values masked).
class ReportController : public QObject {
    Q_OBJECT
public:
    ReportController(QMainWindow& window, RegistryDocument& document, Prompts& prompts,
                     FailureBarrier& barrier, NavigationController& navigation);

    QAction* problemsAction() const { return showProblems; }
    QAction* layoutAction() const { return showLayout; }
    QAction* shareAction() const { return saveShared; }
    QDockWidget* pane() const { return dock; }
    // The open file's report as it was last made (at open, and after each change while the pane
    // shows).
    const RegistryReport& report() const { return current; }

    // Shows the entry that lies at `offset`, in the view that has it.
    void showEntryAt(int64_t offset);

signals:
    // What just happened, for the status bar.
    void status(const QString& text);

private:
    void createPane();
    void refresh();
    void fillPane();
    void layoutNow();
    void shareNow();
    void updateActions();

    QMainWindow& window;
    RegistryDocument& document;
    Prompts& prompts;
    FailureBarrier& barrier;
    NavigationController& navigation;
    RegistryReport current;
    QAction* showProblems = nullptr;
    QAction* showLayout = nullptr;
    QAction* saveShared = nullptr;
    QDockWidget* dock = nullptr;
    QListWidget* list = nullptr;
};

}  // namespace thornbeck
