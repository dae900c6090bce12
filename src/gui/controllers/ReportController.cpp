#include "gui/controllers/ReportController.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QListWidget>
#include <QMainWindow>

#include "core/fileio/SaveRegistry.h"
#include "core/report/FileLayout.h"
#include "core/report/SharedCopy.h"
#include "core/version/ProgramVersion.h"
#include "gui/controllers/NavigationController.h"
#include "gui/dialogs/FileLayoutDialog.h"
#include "gui/dialogs/ShareCopyDialog.h"
#include "gui/document/RegistryDocument.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"
#include "gui/window/FailureBarrier.h"
#include "gui/window/Prompts.h"

namespace thornbeck {
namespace {
constexpr int kOffsetRole = Qt::UserRole;  // the entry's offset, or -1
}  // namespace

ReportController::ReportController(QMainWindow& window, RegistryDocument& document,
                                   Prompts& prompts, FailureBarrier& barrier,
                                   NavigationController& navigation)
    : QObject(&window),
      window(window),
      document(document),
      prompts(prompts),
      barrier(barrier),
      navigation(navigation) {
    setObjectName(QStringLiteral("reportController"));
    showLayout = new QAction(tr("File La&yout..."), this);
    showLayout->setObjectName(QStringLiteral("fileLayoutAction"));
    saveShared = new QAction(tr("Save Cop&y to Share..."), this);
    saveShared->setObjectName(QStringLiteral("shareCopyAction"));
    saveShared->setStatusTip(tr("Write a copy without the values that say who owns the console"));
    createPane();
    connect(showLayout, &QAction::triggered, this,
            barrier.guard(tr("show the file's layout"), [this] { layoutNow(); }));
    connect(saveShared, &QAction::triggered, this,
            barrier.guard(tr("save a copy to share"), [this] { shareNow(); }));
    connect(&document, &RegistryDocument::opened, this,
            [this] { this->barrier.run(tr("check the file"), [this] { refresh(); }); });
    connect(&document, &RegistryDocument::closed, this, [this] {
        current = {};
        fillPane();
    });
    // A change can mend or make a problem; the report follows while it is shown.
    connect(&document, &RegistryDocument::historyChanged, this, [this] {
        if (dock->isVisible()) this->barrier.run(tr("check the file"), [this] { refresh(); });
    });
    connect(&document, &RegistryDocument::pathChanged, this, &ReportController::updateActions);
    updateActions();
}

void ReportController::createPane() {
    dock = new QDockWidget(tr("Problems"), &window);
    dock->setObjectName(QStringLiteral("problemsPane"));
    list = new QListWidget(dock);
    list->setObjectName(QStringLiteral("problemsList"));
    list->setAccessibleName(tr("Problems and notes"));
    list->setUniformItemSizes(true);
    dock->setWidget(list);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    showProblems = dock->toggleViewAction();
    showProblems->setText(tr("P&roblems"));
    showProblems->setObjectName(QStringLiteral("problemsAction"));
    connect(showProblems, &QAction::toggled, this, [this](bool shown) {
        if (!shown) return;
        barrier.run(tr("check the file"), [this] { refresh(); });
        // A few lines high: the views keep most of the window.
        window.resizeDocks({dock}, {window.height() / 5}, Qt::Vertical);
    });
    connect(list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && item->data(kOffsetRole).toLongLong() >= 0)
            showEntryAt(item->data(kOffsetRole).toLongLong());
    });
}

void ReportController::updateActions() {
    showLayout->setEnabled(document.isOpen());
    saveShared->setEnabled(document.isOpen());
}

void ReportController::refresh() {
    current =
        document.isOpen() ? InspectRegistry(document.image(), document.index()) : RegistryReport{};
    fillPane();
}

void ReportController::fillPane() {
    list->clear();
    const auto add = [this](const RegistryReport::Finding& finding, const QString& kind) {
        auto* item = new QListWidgetItem(kind.arg(QString::fromStdString(finding.text)), list);
        item->setData(kOffsetRole, finding.entry ? qint64{*finding.entry} : qint64{-1});
    };
    for (const auto& problem : current.problems) add(problem, tr("Problem: %1"));
    for (const auto& note : current.notes) add(note, tr("Note: %1"));
    const auto problems = static_cast<int>(current.problems.size());
    dock->setWindowTitle(problems == 0 ? tr("Problems") : tr("Problems (%1)").arg(problems));
}

void ReportController::showEntryAt(int64_t offset) {
    const RegistryIndex& index = document.index();
    for (const ListRow& row : index.rows())
        if (row.entry.offset == offset) return navigation.showKey(index.keyOf(row));
    for (const TreeNode& node : index.nodes())
        if (node.entry && node.entry->offset == offset) return navigation.showKey(node.key);
}

void ReportController::layoutNow() {
    if (!document.isOpen()) return;
    FileLayoutDialog dialog(
        DescribeLayout(document.image()), [this](int64_t offset) { showEntryAt(offset); }, &window);
    prompts.runDialog(dialog);
}

void ReportController::shareNow() {
    if (!document.isOpen()) return;
    ShareCopyDialog preview(document.index(), ProposedMasks(document.index()), &window);
    if (prompts.runDialog(preview) != QDialog::Accepted) return;
    const QFileInfo open(document.path());
    const QString path = prompts.saveFile(
        &window, QStringLiteral("xRegistry.sys (*.sys);;All files (*)"), tr("Save Copy to Share"),
        open.absolutePath(), open.completeBaseName() + QStringLiteral("-shared.sys"));
    if (path.isEmpty()) return;
    const QString shown = QDir::toNativeSeparators(path);
    const auto fail = [&](const QString& why) {
        const QString text = tr("Could not save the copy %1: %2").arg(shown, why);
        prompts.message(&window, QMessageBox::Warning, QString::fromUtf8(ProgramName()), text,
                        QMessageBox::Ok);
        emit status(text);
    };
    if (SameFile(ToFsPath(document.path()), ToFsPath(path)))
        return fail(tr("it is the open file itself; a copy to share never replaces the original"));
    const SharedCopy copy =
        MakeSharedCopy(document.image(), document.index(), preview.chosenRows());
    const SaveResult saved =
        SaveRegistry({.path = ToFsPath(path), .bytes = copy.bytes, .origin = {}},
                     [](DiskChange) { return true; });
    if (saved.kind != SaveResult::Saved) return fail(QString::fromStdString(saved.reason));
    prompts.message(&window, QMessageBox::Information, QString::fromUtf8(ProgramName()),
                    tr("Saved the copy to share as %1.\n\n%2")
                        .arg(shown, QString::fromStdString(SharedCopyReport(copy))),
                    QMessageBox::Ok);
    emit status(tr("Saved a copy to share as %1: %2 values masked, the tail cleared")
                    .arg(shown)
                    .arg(copy.masked.size()));
}

}  // namespace thornbeck
