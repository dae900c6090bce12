// The window's menus and the commands behind them.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QUrl>

#include "core/export/CsvExport.h"
#include "core/fileio/AtomicSave.h"
#include "core/fileio/PathFunctions.h"
#include "gui/controllers/CompareController.h"
#include "gui/models/RegistryListModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/window/AboutBox.h"
#include "gui/window/MainWindow.h"
#include "gui/window/NewAction.h"

namespace thornbeck {

namespace {
const QString kProgramName = QStringLiteral("Thornbeck");

QString FolderText(const QString& path) {
    return FromPathText(FolderOf(ToPathText(path)));
}
}  // namespace

void MainWindow::createActions() {
    mnuFileOpen =
        NewAction(this, "mnuFileOpen", tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSave = NewAction(this, "mnuFileSave", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = NewAction(this, "mnuFileSaveAs", tr("Save &As..."));
    mnuFileExportCSV = NewAction(this, "mnuFileExportCSV", tr("&Export as CSV..."));
    mnuFileExit = NewAction(this, "mnuFileExit", tr("E&xit"));
    // The history's own actions: their texts name the step, and they are disabled when there is
    // nothing to take back or make again. A detail field keeps Ctrl+Z for its own text.
    mnuEditUndo = document.undoStack()->createUndoAction(this, tr("&Undo"));
    mnuEditUndo->setObjectName(QStringLiteral("mnuEditUndo"));
    mnuEditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuEditRedo = document.undoStack()->createRedoAction(this, tr("&Redo"));
    mnuEditRedo->setObjectName(QStringLiteral("mnuEditRedo"));
    mnuEditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    mnuEditFind =
        NewAction(this, "mnuEditFind", tr("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuFindNext = NewAction(this, "mnuFindNext", tr("Find &Next"), QKeySequence(Qt::Key_F3));
    mnuViewMode[0] = NewAction(this, "mnuViewMode0", tr("Tree Mode"), QKeySequence(Qt::Key_F7));
    mnuViewMode[1] = NewAction(this, "mnuViewMode1", tr("List Mode"), QKeySequence(Qt::Key_F8));
    mnuHelpAbout = NewAction(this, "mnuHelpAbout", tr("About..."));
    for (QAction* mode : mnuViewMode) mode->setCheckable(true);
    mnuViewMode[0]->setChecked(true);

    // Escape toggles the view mode wherever the focus is.
    viewToggle =
        NewAction(this, "viewToggle", tr("Toggle View Mode"), QKeySequence(Qt::Key_Escape));
    addAction(viewToggle);

    connect(mnuFileOpen, &QAction::triggered, this, &MainWindow::mnuFileOpen_Click);
    connect(mnuFileSave, &QAction::triggered, this, [this] { save(); });
    connect(mnuFileSaveAs, &QAction::triggered, this, &MainWindow::mnuFileSaveAs_Click);
    connect(mnuFileExportCSV, &QAction::triggered, this, &MainWindow::mnuFileExportCSV_Click);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuViewMode[0], &QAction::triggered, this, [this] { ApplyViewMode(0); });
    connect(mnuViewMode[1], &QAction::triggered, this, [this] { ApplyViewMode(1); });
    connect(viewToggle, &QAction::triggered, this, [this] { ApplyViewMode(isListMode() ? 0 : 1); });
    connect(mnuHelpAbout, &QAction::triggered, this, &MainWindow::mnuHelpAbout_Click);
    connect(mnuEditFind, &QAction::triggered, this, &MainWindow::mnuEditFind_Click);
    connect(mnuFindNext, &QAction::triggered, this, &MainWindow::mnuFindNext_Click);
}

void MainWindow::createMenus() {
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(mnuFileOpen);
    mnuFile->addAction(mnuFileSave);
    mnuFile->addAction(mnuFileSaveAs);
    mnuFile->addAction(compare->compareAction());
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFileExportCSV);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFileExit);
    connect(mnuFile, &QMenu::aboutToShow, this, &MainWindow::updateFileActions);

    QMenu* mnuEdit = menuBar()->addMenu(tr("&Edit"));
    mnuEdit->addAction(mnuEditUndo);
    mnuEdit->addAction(mnuEditRedo);
    mnuEdit->addSeparator();
    mnuEdit->addAction(mnuEditFind);
    mnuEdit->addAction(mnuFindNext);
    mnuEdit->addAction(compare->takeAction());

    QMenu* mnuView = menuBar()->addMenu(tr("&View"));
    mnuView->addAction(mnuViewMode[0]);
    mnuView->addAction(mnuViewMode[1]);
    mnuView->addSeparator();
    mnuView->addAction(compare->nextAction());
    mnuView->addAction(compare->previousAction());

    QMenu* mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelp->addAction(mnuHelpAbout);

    lblCredits->setText(CopyrightLine());
    lblCredits->setToolTip(HomePage());
    lblCredits->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255);"));
    lblCredits->setCursor(Qt::PointingHandCursor);
}

void MainWindow::updateFileActions() {
    const bool open = !regPath.isEmpty();
    mnuFileSave->setEnabled(open);
    mnuFileSaveAs->setEnabled(open);
}

void MainWindow::mnuFileOpen_Click() {
    const QString path = prompts->openFile(
        this, QStringLiteral("xRegistry.sys (*.sys);;All files (*)"),
        QStringLiteral("Open xRegistry.sys"), FolderText(regPath), QStringLiteral("xRegistry.sys"));
    if (!path.isEmpty()) OpenRegistryFile(path);
}

bool MainWindow::save() {
    if (regPath.isEmpty()) return false;
    const auto outcome = document.save(regPath, [this] {
        return prompts->message(
                   this, QMessageBox::Question, kProgramName,
                   tr("The file has changed on disk since it was opened. Overwrite it?"),
                   QMessageBox::SaveAll | QMessageBox::Cancel) == QMessageBox::SaveAll;
    });
    if (!outcome.saved) {
        if (!outcome.failure.isEmpty())
            prompts->message(this, QMessageBox::Warning, kProgramName,
                             tr("Could not save %1.\n\n%2").arg(regPath, outcome.failure),
                             QMessageBox::Ok);
        return false;
    }
    setCaption(regPath);
    return true;
}

void MainWindow::mnuFileSaveAs_Click() {
    const QString path = prompts->saveFile(this, QStringLiteral("xRegistry.sys (*.sys)"),
                                           QStringLiteral("Save xRegistry.sys"),
                                           FolderText(regPath), QStringLiteral("xRegistry.sys"));
    if (path.isEmpty()) return;
    const QString previousPath = regPath;
    const QString previousCaption = captionText;
    regPath = path;
    if (!save()) {
        regPath = previousPath;
        setCaption(previousCaption);
    }
    updateFileActions();
}

void MainWindow::mnuFileExportCSV_Click() {
    const QString proposed = FromPathText(FileNameOf(ToPathText(regPath), false)) + ".csv";
    const QString path = prompts->saveFile(this, QStringLiteral("xRegistry.csv (*.csv)"),
                                           QStringLiteral("Export xRegistry.sys as CSV"),
                                           FolderText(regPath), proposed);
    if (path.isEmpty()) return;
    const std::string csv = CsvOfRows(regData, index, lvRegModel->displayOrder());
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(csv.data()), csv.size());
    if (const auto failure =
            SaveWholeFile(ToFsPath(path), bytes, SaveOptions{.backup = false, .writer = {}})) {
        prompts->message(this, QMessageBox::Warning, kProgramName,
                         tr("Could not export to %1.\n\n%2")
                             .arg(path, QString::fromLocal8Bit(failure->reason.c_str())),
                         QMessageBox::Ok);
    }
}

void MainWindow::mnuHelpAbout_Click() {
    // A message box shows CR LF as two line breaks; the box's text uses plain line feeds.
    QString text = AboutText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prompts->message(this, QMessageBox::Information, QString(), text, QMessageBox::Ok);
}

void MainWindow::lblCredits_Click() {
    prompts->openUrl(QUrl(lblCredits->toolTip()));
}

}  // namespace thornbeck
