#include "gui/window/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include "core/fileio/FileFunctions.h"
#include "core/fileio/PathFunctions.h"
#include "core/version/ProgramVersion.h"
#include "gui/controllers/CompareController.h"
#include "gui/controllers/EditController.h"
#include "gui/controllers/FileController.h"
#include "gui/controllers/FindController.h"
#include "gui/controllers/NavigationController.h"
#include "gui/controllers/ReportController.h"
#include "gui/controllers/TweakController.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"
#include "gui/widgets/DetailsPanel.h"
#include "gui/widgets/EntryListView.h"
#include "gui/window/AboutBox.h"
#include "gui/window/NewAction.h"

namespace thornbeck {

namespace {
const QString kProgramName = QString::fromUtf8(ProgramName());

QString FileNameText(const QString& path) {
    return FromPathText(FileNameOf(ToPathText(path), true));
}
// The first client size: the tree left of a panel as wide as the key line always was.
constexpr int kStartWidth = 836;
constexpr int kStartHeight = 478;
constexpr int kStartTreeWidth = 391;
}  // namespace

MainWindow::MainWindow(std::unique_ptr<Prompts> prompts, QWidget* parent)
    : QMainWindow(parent),
      prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>()),
      barrier(*this->prompts, this, [this](const QString& text) { showStatus(text); }) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    setFont(font);
    createViews();
    createActions();
    createControllers();
    createMenus();
    setAcceptDrops(true);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    updateCaption();
    updateFileActions();
    // Tall enough for every field, a few rows of the hex view and the key information boxes.
    panel->showKeyInfo(QStringLiteral(" "), QStringLiteral(" "));
    const int height = std::max(kStartHeight, panel->sizeHint().height());
    panel->showKeyInfo({}, {});
    resize(kStartWidth, height + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

MainWindow::~MainWindow() {
    // The document goes before the widgets: nobody hears its last signals, and the views let go
    // of its index first. The controllers go first of all, so that none of them watches a
    // widget that is half destroyed.
    doc.disconnect();
    comparer->end();
    delete reporter;
    delete tweaker;
    delete comparer;
    delete finder;
    delete editor;
    delete navigator;
    delete fileController;
    treeRows->setRegistryIndex(nullptr);
    listRows->setRegistryIndex(nullptr);
}

void MainWindow::createViews() {
    treeRows = new RegistryTreeModel(this);
    tree = new QTreeView;
    tree->setObjectName(QStringLiteral("keyTree"));
    tree->setAccessibleName(tr("Keys"));
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);
    tree->setModel(treeRows);

    panel = new DetailsPanel;
    auto* panelScroller = new QScrollArea;
    panelScroller->setObjectName(QStringLiteral("detailsScroller"));
    panelScroller->setWidget(panel);
    panelScroller->setWidgetResizable(true);
    panelScroller->setFrameShape(QFrame::NoFrame);
    panelScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // However narrow the window, every field stays whole: the panel keeps its least width and
    // scrolls when the height is short; the tree keeps room for a few letters of its keys.
    panelScroller->setMinimumWidth(panel->minimumSizeHint().width() +
                                   panelScroller->verticalScrollBar()->sizeHint().width());
    tree->setMinimumWidth(120);

    treeAndPanel = new QSplitter(Qt::Horizontal);
    treeAndPanel->setObjectName(QStringLiteral("treeAndPanel"));
    treeAndPanel->addWidget(tree);
    treeAndPanel->addWidget(panelScroller);
    treeAndPanel->setStretchFactor(0, 1);
    treeAndPanel->setStretchFactor(1, 0);
    treeAndPanel->setChildrenCollapsible(false);
    treeAndPanel->setSizes({kStartTreeWidth, kStartWidth - kStartTreeWidth});

    listRows = new RegistryListModel(this);
    list = new EntryListView(listRows);

    pages = new QStackedWidget;
    pages->setObjectName(QStringLiteral("viewPages"));
    pages->addWidget(treeAndPanel);
    pages->addWidget(list);
    setCentralWidget(pages);
}

void MainWindow::createControllers() {
    fileController = new FileController(doc, *listRows, *prompts, barrier, this);
    navigator = new NavigationController(
        doc, {pages, tree, treeRows, list, listRows, panel, treeModeAction, listModeAction},
        keyInfo, this);
    editor = new EditController(doc, *panel, *navigator, *prompts, barrier, this);
    finder = new FindController(doc, *listRows, *navigator, *prompts, this);
    comparer = new CompareController(*this, doc, *prompts, barrier, *navigator);
    tweaker = new TweakController(*this, doc, *prompts, barrier, *comparer,
                                  [this] { return settleEdits(); });
    comparer->addPaneButton(tweaker->exportAction(), QStringLiteral("exportTweakButton"));
    reporter = new ReportController(*this, doc, *prompts, barrier, *navigator);
    connect(reporter, &ReportController::status, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(tweaker, &TweakController::status, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(fileController, &FileController::openingStarted, this, [this](const QString& name) {
        comparer->end();
        panel->clearForLoading();
        panel->showKey(QStringLiteral(" Reading ") + name + QStringLiteral(" ..."));
    });
    connect(fileController, &FileController::openRefused, this, &MainWindow::reportRefusal);
    connect(fileController, &FileController::status, this, &MainWindow::showStatus);
    connect(editor, &EditController::status, this, &MainWindow::showStatus);
    connect(finder, &FindController::status, this, &MainWindow::showStatus);
    connect(comparer, &CompareController::status, this, &MainWindow::showStatus);
    connect(panel, &DetailsPanel::keystrokeRefused, this, &MainWindow::showStatus);
    connect(&doc, &RegistryDocument::opened, this, &MainWindow::reportOpened);
    connect(&doc, &RegistryDocument::opened, list, &EntryListView::fitNumberColumnsOnce);
    connect(panel, &DetailsPanel::modifyRequested, editor, &EditController::modify);
    navigator->setLeaveEntryQuestion([this] { return settleEdits(); });
    fileController->setLeaveEntryQuestion([this] { return settleEdits(); });
    comparer->setLeaveEntryQuestion([this] { return settleEdits(); });
    connect(panel, &DetailsPanel::creditsClicked, this,
            [this](const QString& link) { prompts->openUrl(QUrl(link)); });
    connect(&doc, &RegistryDocument::pathChanged, this, &MainWindow::updateCaption);
    connect(&doc, &RegistryDocument::pathChanged, this, &MainWindow::updateFileActions);
    connect(&doc, &RegistryDocument::cleanChanged, this, &MainWindow::updateCaption);
    panel->setCredits(CopyrightLine(), HomePage());
}

void MainWindow::createActions() {
    openAction = NewAction(this, "openAction", tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    saveAction = NewAction(this, "saveAction", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAsAction = NewAction(this, "saveAsAction", tr("Save &As..."));
    reloadAction =
        NewAction(this, "reloadAction", tr("&Reload"), QKeySequence(Qt::CTRL | Qt::Key_R));
    exportCsvAction = NewAction(this, "exportCsvAction", tr("&Export as CSV..."));
    exitAction = NewAction(this, "exitAction", tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    findAction = NewAction(this, "findAction", tr("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    findNextAction = NewAction(this, "findNextAction", tr("Find &Next"), QKeySequence(Qt::Key_F3));
    treeModeAction = NewAction(this, "treeModeAction", tr("Tree Mode"), QKeySequence(Qt::Key_F7));
    listModeAction = NewAction(this, "listModeAction", tr("List Mode"), QKeySequence(Qt::Key_F8));
    aboutAction = NewAction(this, "aboutAction", tr("About..."));
    // One of the two modes is always checked; the navigation keeps which.
    auto* modes = new QActionGroup(this);
    modes->setExclusive(true);
    for (QAction* mode : {treeModeAction, listModeAction}) {
        mode->setCheckable(true);
        modes->addAction(mode);
    }
    treeModeAction->setChecked(true);
    // Escape toggles the view mode wherever the focus is.
    toggleViewAction =
        NewAction(this, "toggleViewAction", tr("Toggle View Mode"), QKeySequence(Qt::Key_Escape));
    addAction(toggleViewAction);
}

void MainWindow::createMenus() {
    connect(openAction, &QAction::triggered, fileController, &FileController::chooseAndOpen);
    connect(saveAction, &QAction::triggered, fileController, &FileController::save);
    connect(saveAsAction, &QAction::triggered, fileController, &FileController::saveAs);
    connect(reloadAction, &QAction::triggered, fileController, &FileController::reload);
    connect(exportCsvAction, &QAction::triggered, fileController,
            barrier.guard(tr("export as CSV"), [this] { fileController->exportCsv(); }));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    connect(findAction, &QAction::triggered, finder,
            barrier.guard(tr("find"), [this] { finder->find(); }));
    connect(findNextAction, &QAction::triggered, finder,
            barrier.guard(tr("find"), [this] { finder->findNext(); }));
    connect(treeModeAction, &QAction::triggered, navigator,
            [this] { navigator->setListMode(false); });
    connect(listModeAction, &QAction::triggered, navigator,
            [this] { navigator->setListMode(true); });
    connect(toggleViewAction, &QAction::triggered, navigator,
            &NavigationController::toggleViewMode);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAbout);

    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    fileMenu->addActions(
        {openAction, saveAction, saveAsAction, reloadAction, comparer->compareAction()});
    fileMenu->addSeparator();
    fileMenu->addActions({exportCsvAction, tweaker->exportAction(), reporter->shareAction()});
    fileMenu->addSeparator();
    fileMenu->addAction(exitAction);
    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::updateFileActions);

    QMenu* editMenu = menuBar()->addMenu(tr("&Edit"));
    editMenu->setObjectName(QStringLiteral("editMenu"));
    editMenu->addActions({editor->undoAction(), editor->redoAction()});
    editMenu->addSeparator();
    editMenu->addActions({findAction, findNextAction, comparer->takeAction()});
    editMenu->addSeparator();
    editMenu->addAction(tweaker->applyAction());

    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->setObjectName(QStringLiteral("viewMenu"));
    viewMenu->addActions({treeModeAction, listModeAction});
    viewMenu->addSeparator();
    viewMenu->addActions(
        {comparer->nextAction(), comparer->previousAction(), comparer->showMyChangesAction()});
    viewMenu->addSeparator();
    viewMenu->addActions({reporter->layoutAction(), reporter->problemsAction()});

    QMenu* helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpMenu->addAction(aboutAction);
}

void MainWindow::start(const QString& commandLine, const QString& appPath) {
    programFolder = appPath.endsWith('/') ? appPath : appPath + '/';
    const QString path = StartupFile(commandLine, programFolder);
    // A file named that cannot be opened is said, as an Open that fails says it.
    if (!path.isEmpty()) openFile(path);
    keyInfo = KeyInformation::LoadFrom(programFolder);
}

void MainWindow::openFile(const QString& path) {
    fileController->openFile(path);
}

bool MainWindow::openDroppedFile(const QMimeData* mime) {
    return fileController->openDroppedFile(mime);
}

bool MainWindow::isListMode() const {
    return navigator->isListMode();
}

QTreeView* MainWindow::entryList() const {
    return list;
}

void MainWindow::modifyEntry() {
    editor->modify();
}

bool MainWindow::settleEdits() {
    return editor->settleEdits();
}

void MainWindow::showStatus(const QString& text) {
    statusBar()->showMessage(text);
}

void MainWindow::reportRefusal(const QString& path, const QString& reason) {
    const QString text = tr("Could not open %1: %2").arg(FileNameText(path), reason);
    // The file that was open stays open, shown where it was.
    if (doc.isOpen())
        navigator->showNode(tree->currentIndex());
    else
        panel->showKey(text);
    showStatus(text);
}

void MainWindow::reportOpened() {
    // Entries as `info` counts them: every entry, also those of a name that several share.
    const auto entries = static_cast<int>(doc.index().entryCount());
    const QString name = FileNameText(doc.path());
    const bool again = fileController->isRereading();
    const RegistryReport& report = reporter->report();
    QString said;
    if (entries == 0) {
        panel->showKey(tr("%1 has no entries").arg(name));
        if (!report.dataAreaMarker)
            said = again ? tr("Reloaded %1: it has no entries (no data-area marker)").arg(name)
                         : tr("Opened %1: it has no entries (no data-area marker)").arg(name);
        else
            said = again ? tr("Reloaded %1: it has no entries").arg(name)
                         : tr("Opened %1: it has no entries").arg(name);
    } else {
        said = again ? (entries == 1 ? tr("Reloaded %1: 1 entry").arg(name)
                                     : tr("Reloaded %1: %2 entries").arg(name).arg(entries))
                     : (entries == 1 ? tr("Opened %1: 1 entry").arg(name)
                                     : tr("Opened %1: %2 entries").arg(name).arg(entries));
    }
    if (const int64_t shortened = doc.index().entriesShortened(); shortened > 0)
        said += QStringLiteral(". ") + QString::fromStdString(ShortenedPathsNote(shortened));
    if (doc.isReadOnly()) said += tr(". It is read-only");
    if (const auto problems = static_cast<int>(report.problems.size()); problems > 0)
        said += problems == 1 ? tr("; 1 problem (View > Problems)")
                              : tr("; %1 problems (View > Problems)").arg(problems);
    statusBar()->showMessage(said);
}

void MainWindow::updateFileActions() {
    saveAction->setEnabled(doc.isOpen());
    saveAsAction->setEnabled(doc.isOpen());
    reloadAction->setEnabled(doc.isOpen());
}

void MainWindow::updateCaption() {
    captionText = doc.path();
    if (doc.isOpen() && doc.hasUnsavedChanges()) captionText += '*';
    // Qt reads "[*]" in a title as the modified marker; doubling it shows it literally.
    QString shown = captionText.isEmpty() ? kProgramName : captionText;
    setWindowTitle(shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void MainWindow::showAbout() {
    // A message box shows CR LF as two line breaks; the box's text uses plain line feeds.
    QString text = AboutText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prompts->message(this, QMessageBox::Information, AboutTitle(), text, QMessageBox::Ok);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (fileController->isOpening()) {
        event->ignore();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (settleEdits() && fileController->maybeSave()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (FileController::carriesFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    // A tweak file dropped on the window is applied; any other file is opened.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile() &&
        TweakController::isTweakFile(urls.first().toLocalFile())) {
        event->acceptProposedAction();
        tweaker->applyFile(urls.first().toLocalFile());
        return;
    }
    if (openDroppedFile(event->mimeData())) event->acceptProposedAction();
}

}  // namespace thornbeck
