#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"
#include "core/fileio/FileFunctions.h"
#include "core/fileio/PathFunctions.h"
#include "core/format/RegistryFormat.h"
#include "core/keyinfo/TypicalValue.h"
#include "gui/controllers/CompareController.h"
#include "gui/models/RegistryListModel.h"
#include "gui/models/RegistryTreeModel.h"
#include "gui/text/DisplayText.h"
#include "gui/text/Latin1Text.h"
#include "gui/widgets/DetailsPanel.h"

namespace thornbeck {

namespace {
const QString kProgramName = QStringLiteral("Thornbeck");
constexpr int kHeaderIdColumn = 8;
constexpr int kHeaderIdPosition = 6;
}  // namespace

MainWindow::MainWindow(std::unique_ptr<Prompts> prompts, QWidget* parent)
    : QMainWindow(parent),
      prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>()) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    setFont(font);
    createControls();
    createActions();
    compare = std::make_unique<CompareController>(*this, document, *this->prompts);
    createMenus();
    setAcceptDrops(true);
    setCaption({});
    updateFileActions();
    resize(836, 478 + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() {
    // The views outlive the index during the widgets' own destruction; let them forget it first.
    tvRegModel->setRegistryIndex(nullptr);
    lvRegModel->setRegistryIndex(nullptr);
    // The history says it is clean again as it goes; the window is no longer there to hear it.
    document.undoStack()->disconnect(this);
    document.disconnect(this);
    for (QObject* watched :
         {static_cast<QObject*>(client), static_cast<QObject*>(tvReg->viewport()),
          static_cast<QObject*>(lblKey), static_cast<QObject*>(lblCredits),
          static_cast<QObject*>(lvReg), static_cast<QObject*>(lvReg->viewport())})
        watched->removeEventFilter(this);
}

void MainWindow::createControls() {
    client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);

    tvRegModel = new RegistryTreeModel(this);
    tvReg = new QTreeView(client);
    tvReg->setObjectName(QStringLiteral("tvReg"));
    tvReg->setHeaderHidden(true);
    tvReg->setUniformRowHeights(true);
    tvReg->setModel(tvRegModel);
    // A press on a node that is not current shows it through the current-change below; a press
    // on the current node shows it again. Either way each click shows the node once.
    tvReg->viewport()->installEventFilter(this);
    connect(tvReg, &QTreeView::pressed, this, [this](const QModelIndex& node) {
        if (pressedCurrentNode) tvReg_NodeClick(node);
    });
    connect(tvReg->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!showingNode) tvReg_NodeClick(current);
            });

    lvRegModel = new RegistryListModel(this);
    lvReg = new QTreeView(client);
    lvReg->setObjectName(QStringLiteral("lvReg"));
    lvReg->setRootIsDecorated(false);
    lvReg->setUniformRowHeights(true);
    lvReg->setAllColumnsShowFocus(true);
    lvReg->setModel(lvRegModel);
    // Every column fits the window's first size, so that no column starts out of reach: keys
    // and values get the room, the fixed-width numbers what their headers need.
    constexpr std::array<int, RegistryListModel::kColumnCount> kColumnWidths = {
        212, 150, 44, 60, 70, 50, 80, 80, 70};
    for (int column = 0; column < RegistryListModel::kColumnCount; ++column)
        lvReg->header()->resizeSection(column, kColumnWidths[static_cast<size_t>(column)]);
    lvReg->header()->setSectionsClickable(true);
    lvReg->header()->setSortIndicatorShown(false);  // unsorted until a header is clicked
    lvReg->installEventFilter(this);
    connect(lvReg->header(), &QHeaderView::sectionClicked, this, &MainWindow::lvReg_ColumnClick);
    // A double-click anywhere in the list switches modes, over a row or not.
    lvReg->viewport()->installEventFilter(this);
    connect(lvRegModel, &RegistryListModel::rowChecked, this, &MainWindow::lvReg_ItemCheck);
    connect(tvReg, &QTreeView::doubleClicked, this, &MainWindow::tvReg_DblClick);
    lvReg->hide();

    lblKey = new QLineEdit(client);
    lblKey->setObjectName(QStringLiteral("lblKey"));
    lblKey->setReadOnly(true);

    frmSep = new QFrame(client);
    frmSep->setFrameShape(QFrame::HLine);
    frmSep->setFrameShadow(QFrame::Sunken);

    btnSave = new QPushButton(QStringLiteral("Modify"), client);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setEnabled(false);

    lblCredits = new QLabel(client);
    lblCredits->setObjectName(QStringLiteral("lblCredits"));
    lblCredits->installEventFilter(this);
    lblKey->installEventFilter(this);

    details = new DetailsPanel(client);
    connect(details, &DetailsPanel::fieldChanged, btnSave, [this] { btnSave->setEnabled(true); });
    connect(details, &DetailsPanel::siblingRequested, this, &MainWindow::showSibling);
    connect(btnSave, &QPushButton::clicked, this, &MainWindow::btnSave_Click);
    connect(&document, &RegistryDocument::stepApplied, this, &MainWindow::showStep);
    connect(document.undoStack(), &QUndoStack::cleanChanged, this,
            &MainWindow::historyCleanChanged);
    lvReg->raise();
}

// ---- Opening a file ----

void MainWindow::Form_Load(const QString& commandLine, const QString& appPath) {
    AppPath = appPath.endsWith('/') ? appPath : appPath + '/';
    QString path = FromPathText(StripQuotes(ToPathText(commandLine)));
    if (path.isEmpty()) {
        const auto found = FindFileInFolder(ToFsPath(AppPath), "xRegistry.sys");
        path = found.empty() ? AppPath
                             : AppPath + QString::fromStdU16String(found.filename().u16string());
    }
    if (FileSize(ToFsPath(path)) > 0) OpenRegistryFile(path);
    LoadKeyInfo();
    lvReg->header()->moveSection(kHeaderIdColumn, kHeaderIdPosition);
}

void MainWindow::OpenRegistryFile(const QString& path) {
    if (deferWhileOpening([this, path] { OpenRegistryFile(path); })) return;
    if (!maybeSave()) return;
    compare->end();
    opening = true;
    setUpdatesEnabled(false);
    clearViews();
    document.resetHistory();
    setCaption({});
    lblKey->setText(QStringLiteral(" Reading ") + FromPathText(FileNameOf(ToPathText(path), true)) +
                    QStringLiteral(" ..."));
    details->clearForLoading();
    btnSave->setEnabled(false);
    setUpdatesEnabled(true);
    // Paint the status line, but let no input in: a drop, a close or a key would run inside the
    // load.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    // A FIFO, a device or a file too large is refused before a byte is read, one with more keys
    // than its size can hold before its tree is built; either is said.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure = document.read(path);
    if (failure.isEmpty() && !regPath.isEmpty()) failure = document.indexImage();
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty())
        prompts->message(this, QMessageBox::Warning, kProgramName,
                         tr("Could not open %1.\n\n%2").arg(path, failure), QMessageBox::Ok);
    if (regPath.isEmpty()) {
        setCaption({});
        updateFileActions();
        opening = false;
        return;
    }
    setCaption(path);
    setUpdatesEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    tvReg->hide();
    tvRegModel->setRegistryIndex(&index);
    lvRegModel->setRegistryIndex(&index, &regData);
    expandTree();
    tvReg->setVisible(!isListMode());
    showFirstNode();
    setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    updateFileActions();
    opening = false;
}

void MainWindow::clearViews() {
    tvRegModel->setRegistryIndex(nullptr);
    lvRegModel->setRegistryIndex(nullptr);
    index = RegistryIndex();
}

void MainWindow::expandTree() {
    // Every node is expanded, as far as the views' memory allows: each expanded level costs the
    // view about what a node costs the index, so levels share the file's node budget with the
    // nodes, top levels first. The rest expand when a node below them is shown.
    const int64_t room = index.nodeBudget() - static_cast<int64_t>(index.nodes().size());
    for (const QModelIndex& level : tvRegModel->levelsFirst(room)) tvReg->expand(level);
}

void MainWindow::showFirstNode() {
    const QModelIndex first = tvRegModel->indexOfNode(0);
    if (first.isValid()) tvReg_NodeClick(first);
}

bool MainWindow::deferWhileOpening(std::function<void()> action) {
    if (!opening) return false;
    QTimer::singleShot(0, this, std::move(action));
    return true;
}

// ---- Showing a node ----

void MainWindow::tvReg_NodeClick(const QModelIndex& node) {
    const TreeNode* shown = tvRegModel->treeNode(node);
    if (!shown) return;
    // A crafted key can be 65,535 characters long; the line shows what a cell would.
    lblKey->setText(DisplayText(shown->key));
    showKeyInfoOf(shown->key);
    selectTreeNode(node);
    if (!shown->entry || shown->entry->offset == 0) {
        details->showFolder();
        return;
    }
    details->showEntry(regData, *shown->entry);
    btnSave->setEnabled(false);
}

void MainWindow::showKeyInfoOf(std::string_view key) {
    const KeyInfoTable::Columns* columns = keyInfo.find(key);
    QString description;
    QString typical;
    if (columns && columns->size() > 1) description = ToQString((*columns)[1]);
    if (columns && columns->size() > 2) typical = ToQString(TypicalValueText((*columns)[2]));
    details->showKeyInfo(description, typical);
}

void MainWindow::showSibling(int step) {
    const QModelIndex current = tvReg->currentIndex();
    if (!current.isValid()) return;
    const QModelIndex sibling = current.sibling(current.row() + step, 0);
    if (sibling.isValid()) tvReg_NodeClick(sibling);
}

void MainWindow::btnSave_Click() {
    const int32_t node = tvRegModel->nodeOf(tvReg->currentIndex());
    const ModifyResult result = document.modify(node, details->request());
    if (result.kind == ModifyResult::Rejected) {
        prompts->message(this, QMessageBox::Information, kProgramName,
                         QString::fromLatin1(result.message.c_str()), QMessageBox::Ok);
        details->focusField(result.field);
        return;
    }
    if (result.kind != ModifyResult::Modified) return;
    btnSave->setEnabled(false);
    tvReg_NodeClick(tvReg->currentIndex());
    details->selectFocusedField();
    // The list draws the edited row and every row whose entry moved again.
    lvRegModel->rowsChanged(RowsTouchedBy(index, result.change));
}

void MainWindow::showStep(const EntryChange& change) {
    lvRegModel->rowsChanged(RowsTouchedBy(index, change));
    tvReg_NodeClick(tvRegModel->indexOfNode(change.node));
    if (isListMode() && change.row >= 0) {
        const QModelIndex row = lvRegModel->indexOfRow(change.row);
        lvReg->setCurrentIndex(row);
        lvReg->scrollTo(row);
    }
}

void MainWindow::historyCleanChanged(bool clean) {
    if (clean) return setCaption(regPath);
    if (!captionText.isEmpty() && !captionText.endsWith('*')) setCaption(captionText + '*');
}

void MainWindow::selectTreeNode(const QModelIndex& node) {
    showingNode = true;
    tvReg->setCurrentIndex(node);
    tvReg->scrollTo(node);
    showingNode = false;
}

// ---- Unsaved changes and saving ----

void MainWindow::setCaption(const QString& caption) {
    captionText = caption;
    // Qt reads "[*]" in a title as the modified marker; doubling it shows it literally.
    QString shown = caption.isEmpty() ? kProgramName : caption;
    setWindowTitle(shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void MainWindow::markModified() {
    document.undoStack()->resetClean();
    historyCleanChanged(false);
}

bool MainWindow::maybeSave() {
    if (regPath.isEmpty() || !hasUnsavedChanges()) return true;
    const auto answer =
        prompts->message(this, QMessageBox::Question, kProgramName,
                         QStringLiteral("Do you want to save modifications to the current file?"),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return save();
    return answer == QMessageBox::No;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (opening) {
        event->ignore();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (maybeSave()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// ---- Drops ----

namespace {
QString FirstLocalFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}
}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (OpenDroppedFile(event->mimeData())) event->acceptProposedAction();
}

bool MainWindow::OpenDroppedFile(const QMimeData* mime) {
    const QString path = FirstLocalFile(mime);
    if (path.isEmpty()) return false;
    // Open once the drop has returned, so the source is not kept waiting on a prompt.
    QTimer::singleShot(0, this, [this, path] { OpenRegistryFile(path); });
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client && event->type() == QEvent::Resize) LayoutWindow();
    if (tvReg && watched == tvReg->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QModelIndex node = tvReg->indexAt(press->position().toPoint());
        pressedCurrentNode = node.isValid() && node == tvReg->currentIndex();
    }
    if (watched == lblCredits && event->type() == QEvent::MouseButtonRelease) lblCredits_Click();
    if (lvReg && watched == lvReg->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The press before it has already selected the row under the pointer, if any.
        lvReg_DblClick();
        return true;
    }
    if (watched == lvReg && event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        if (lvReg_KeyDown(press->key(), press->modifiers())) return true;
    }
    // Focusing the key text selects all of it, once the click has placed the caret.
    if (watched == lblKey && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, lblKey, &QLineEdit::selectAll);
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace thornbeck
