#include "gui/controllers/CompareController.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "core/edit/EntryTexts.h"
#include "core/fileio/PathFunctions.h"
#include "core/load/RegistryFile.h"
#include "core/tweak/TweakWriter.h"
#include "core/version/ProgramVersion.h"
#include "gui/controllers/NavigationController.h"
#include "gui/document/RegistryDocument.h"
#include "gui/models/DifferenceModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"
#include "gui/window/FailureBarrier.h"
#include "gui/window/NewAction.h"
#include "gui/window/Prompts.h"

namespace thornbeck {

namespace {
const QString kProgramName = QString::fromUtf8(ProgramName());
// A message box lists this many refused keys; the Note column holds every one of them.
constexpr size_t kListedRefusals = 20;
}  // namespace

CompareController::CompareController(QMainWindow& window, RegistryDocument& document,
                                     Prompts& prompts, FailureBarrier& barrier,
                                     NavigationController& navigation)
    : QObject(&window),
      window(window),
      navigation(navigation),
      document(document),
      prompts(prompts),
      barrier(barrier) {
    setObjectName(QStringLiteral("compareController"));
    compareWith = NewAction(this, "compareAction", tr("Co&mpare With..."));
    nextDifference =
        NewAction(this, "nextDifferenceAction", tr("&Next Difference"), QKeySequence(Qt::Key_F6));
    previousDifference = NewAction(this, "previousDifferenceAction", tr("&Previous Difference"),
                                   QKeySequence(Qt::SHIFT | Qt::Key_F6));
    takeFields = NewAction(this, "takeFieldsAction", tr("&Take Other's Fields"));
    myChanges = NewAction(this, "showMyChangesAction", tr("Show My C&hanges"));
    myChanges->setStatusTip(tr("Compare the file with itself as it was opened or last saved"));
    connect(myChanges, &QAction::triggered, this, &CompareController::showMyChanges);
    connect(compareWith, &QAction::triggered, this, &CompareController::chooseFile);
    connect(nextDifference, &QAction::triggered, this, [this] { step(1); });
    connect(previousDifference, &QAction::triggered, this, [this] { step(-1); });
    connect(takeFields, &QAction::triggered, this, &CompareController::takeSelected);
    // Every Modify, undo, redo and take moves the history: the pane follows each one.
    connect(&document, &RegistryDocument::historyChanged, this, &CompareController::refresh);
    // Once saved, the changes are the file's own: Show My Changes starts again from there.
    connect(&document, &RegistryDocument::cleanChanged, this, [this](bool clean) {
        if (clean && showingMyChanges()) showMyChanges();
    });
    // There is nothing to compare until a file is open.
    connect(&document, &RegistryDocument::pathChanged, this, [this] {
        compareWith->setEnabled(this->document.isOpen());
        myChanges->setEnabled(this->document.isOpen());
    });
    compareWith->setEnabled(document.isOpen());
    myChanges->setEnabled(document.isOpen());
    createPane();
    end();
}

void CompareController::createPane() {
    dock = new QDockWidget(tr("Differences"), &window);
    dock->setObjectName(QStringLiteral("differencesPane"));
    dock->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    auto* body = new QWidget(dock);
    count = new QLabel(body);
    count->setObjectName(QStringLiteral("differencesCount"));
    otherName = new QLabel(body);
    otherName->setObjectName(QStringLiteral("otherFileName"));
    takeButton = new QPushButton(takeFields->text(), body);
    takeButton->setObjectName(QStringLiteral("takeFieldsButton"));
    takeButton->setAccessibleName(tr("Take Other's Fields"));
    connect(takeButton, &QPushButton::clicked, takeFields, &QAction::trigger);

    differences = new DifferenceModel(dock);
    sorted = new QSortFilterProxyModel(dock);
    sorted->setSourceModel(differences);
    table = new QTreeView(body);
    table->setObjectName(QStringLiteral("differencesTable"));
    table->setAccessibleName(tr("Differences"));
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setAllColumnsShowFocus(true);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setModel(sorted);
    // The file's own order until a header is clicked.
    table->header()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->header()->resizeSection(DifferenceModel::kKeyColumn, 260);
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CompareController::rowChosen);

    auto* bar = paneBar = new QHBoxLayout;
    bar->addWidget(count);
    bar->addSpacing(12);
    bar->addWidget(otherName);
    bar->addStretch();
    bar->addWidget(takeButton);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(table);
    dock->setWidget(body);
    dock->installEventFilter(this);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
}

void CompareController::chooseFile() {
    const QString folder = FromPathText(FolderOf(ToPathText(document.path())));
    const QString path =
        prompts.openFile(&window, QStringLiteral("xRegistry.sys (*.sys);;All files (*)"),
                         QStringLiteral("Compare With"), folder, QStringLiteral("xRegistry.sys"));
    if (!path.isEmpty()) compareFile(path);
}

void CompareController::compareFile(const QString& path) {
    const QString name = FromPathText(FileNameOf(ToPathText(path), true));
    if (barrier.run(tr("compare with %1").arg(name), [&] { compareNow(path); })) return;
    // Whatever was read of the other file is let go.
    end();
}

void CompareController::compareNow(const QString& path) {
    if (!document.isOpen()) {
        prompts.message(&window, QMessageBox::Information, kProgramName,
                        tr("Open a file first, then compare it with another."), QMessageBox::Ok);
        return;
    }
    OpenOutcome opened = openOther(ToFsPath(path));
    if (!opened.file) {
        const QString reason = QString::fromStdString(opened.refusal->reason);
        emit status(tr("Could not compare with %1: %2")
                        .arg(FromPathText(FileNameOf(ToPathText(path), true)), reason));
        prompts.message(&window, QMessageBox::Warning, kProgramName,
                        tr("Could not compare with %1.\n\n%2").arg(path, reason), QMessageBox::Ok);
        return;
    }
    startCompare(OtherFile{std::move(opened.file->image), std::move(opened.file->index)}, false,
                 tr("Other file: %1").arg(FromPathText(FileNameOf(ToPathText(path), true))), path);
    emit status(tr("Compared with %1: %2")
                    .arg(FromPathText(FileNameOf(ToPathText(path), true)), countText()));
}

void CompareController::startCompare(OtherFile file, bool saved, const QString& name,
                                     const QString& path) {
    other = std::move(file);
    withSaved = saved;
    otherName->setText(name);
    otherName->setToolTip(path);
    differences->setRefusals({});
    table->setCurrentIndex({});
    refresh();
    for (QAction* action : {nextDifference, previousDifference, takeFields})
        action->setEnabled(true);
    takeButton->setEnabled(true);
    if (dock->isHidden()) {
        dock->show();
        // The pane takes a third of the height; the details panel scrolls in what is left.
        window.resizeDocks({dock}, {window.height() / 3}, Qt::Vertical);
    }
}

void CompareController::showMyChanges() {
    barrier.run(tr("show your changes"), [this] {
        auto saved = document.savedState();
        if (!saved) {
            emit status(tr("Could not read the file as it was opened or saved"));
            return;
        }
        startCompare(OtherFile{std::move(saved->image), std::move(saved->index)}, true,
                     tr("Other file: %1 as opened or last saved")
                         .arg(FromPathText(FileNameOf(ToPathText(document.path()), true))),
                     document.path());
        emit status(tr("Your changes since the file was opened or saved: %1").arg(countText()));
    });
}

Tweak CompareController::tweakOfRows() const {
    if (!other) return {};
    std::vector<int> rows;
    for (const QModelIndex& selected : table->selectionModel()->selectedRows())
        rows.push_back(sorted->mapToSource(selected).row());
    if (rows.empty())
        for (int row = 0; row < differences->rowCount(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    // The chosen rows as differences of their own, a key's fields together; with Show My
    // Changes the saved file is the one the tweak starts from.
    std::vector<KeyDifference> chosen;
    for (const int row : rows) {
        const KeyDifference& difference = differences->differenceOf(row);
        const FieldChange* change = differences->changeOf(row);
        if (!change) continue;
        if (chosen.empty() || chosen.back().key != difference.key)
            chosen.push_back({KeyDifference::Changed, difference.key, {}});
        FieldChange taken = *change;
        if (withSaved) std::swap(taken.before, taken.after);
        chosen.back().changes.push_back(std::move(taken));
    }
    const RegistryImage& startImage = withSaved ? other->image : document.image();
    const RegistryIndex& startIndex = withSaved ? other->index : document.index();
    return TweakOfDifferences(chosen, [&](std::string_view key) {
        const auto node = EntryNodeOfKey(startIndex, key);
        return node ? FieldText(startImage, *startIndex.nodes()[static_cast<size_t>(*node)].entry,
                                kDataTypeField)
                    : std::string();
    });
}

void CompareController::addPaneButton(QAction* action, const QString& objectName) {
    auto* button = new QPushButton(action->text(), dock->widget());
    button->setObjectName(objectName);
    button->setAccessibleName(QString(action->text()).remove('&').remove(QStringLiteral("...")));
    button->setEnabled(action->isEnabled());
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button,
            [button, action] { button->setEnabled(action->isEnabled()); });
    paneBar->addWidget(button);
}

void CompareController::refresh() {
    if (!other) return;
    // It follows every change of the document: a failure ends the compare, never the change.
    if (!barrier.run(tr("compare the files again"), [this] { refreshNow(); })) end();
}

void CompareController::refreshNow() {
    // The current row stays where it was, by key and field, without showing anything.
    std::string key;
    int field = -1;
    const QModelIndex current = table->currentIndex();
    if (current.isValid()) {
        const int row = sorted->mapToSource(current).row();
        key = differences->differenceOf(row).key;
        if (const FieldChange* change = differences->changeOf(row)) field = change->field;
    }
    differences->setDifferences(
        DiffEntries(document.image(), document.index(), other->image, other->index, false));
    if (current.isValid()) {
        int row = differences->rowOf(key, field);
        if (row < 0) row = differences->rowOf(key, -1);
        if (row >= 0) {
            restoring = true;
            table->setCurrentIndex(sorted->mapFromSource(differences->index(row, 0)));
            restoring = false;
        }
    }
    updateCount();
}

CompareController::~CompareController() {
    // The pane outlives this controller a little, and its rows view the other file's keys.
    differences->setDifferences({});
}

void CompareController::end() {
    differences->setDifferences({});
    differences->setRefusals({});
    other.reset();
    otherName->clear();
    otherName->setToolTip({});
    for (QAction* action : {nextDifference, previousDifference, takeFields})
        action->setEnabled(false);
    takeButton->setEnabled(false);
    if (!dock->isHidden()) dock->hide();
    updateCount();
}

bool CompareController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dock && event->type() == QEvent::Close) end();
    return QObject::eventFilter(watched, event);
}

QString CompareController::countText() const {
    const int rows = differences->rowCount();
    return rows == 1 ? tr("1 difference") : tr("%1 differences").arg(rows);
}

void CompareController::updateCount() {
    count->setText(countText());
}

void CompareController::step(int direction) {
    const int rows = sorted->rowCount();
    if (!other || rows == 0) return;
    const QModelIndex current = table->currentIndex();
    const int row = current.isValid() ? current.row() + direction : direction > 0 ? 0 : rows - 1;
    if (row < 0 || row >= rows) return;
    const QModelIndex next = sorted->index(row, 0);
    table->setCurrentIndex(next);
    table->scrollTo(next);
}

void CompareController::rowChosen(const QModelIndex& current) {
    if (restoring || !current.isValid()) return;
    navigation.showKey(differences->differenceOf(sorted->mapToSource(current).row()).key);
}

void CompareController::takeSelected() {
    barrier.run(tr("take the other file's fields"), [this] { takeNow(); });
}

void CompareController::takeNow() {
    if (!other) return;
    if (leaveEntry && !leaveEntry()) return;
    // Exactly the chosen fields, gathered by entry in the list's order, which is the file's: a
    // growth of an earlier entry then meets the data area as a take of the whole file would.
    std::vector<int> rows;
    for (const QModelIndex& selected : table->selectionModel()->selectedRows())
        rows.push_back(sorted->mapToSource(selected).row());
    std::sort(rows.begin(), rows.end());
    std::vector<TakeItem> items;
    for (const int row : rows) {
        const FieldChange* change = differences->changeOf(row);
        const unsigned flag = change ? TakeFlagOf(change->field) : 0;
        if (flag == 0) continue;  // a key only in one file, a type or an offset
        const std::string_view key = differences->differenceOf(row).key;
        if (items.empty() || items.back().key != key) items.push_back({key, 0});
        items.back().fields |= flag;
    }
    if (items.empty()) {
        prompts.message(&window, QMessageBox::Information, kProgramName,
                        tr("Select differences of the kind \"changed\" to take them."),
                        QMessageBox::Ok);
        return;
    }
    const TakeOutcome outcome = document.takeOtherFields(other->image, other->index, items);
    std::map<std::string, std::string, std::less<>> reasons;
    QString listed;
    for (const TakeRefusal& refusal : outcome.refused) {
        reasons.emplace(refusal.key, refusal.reason);
        if (reasons.size() <= kListedRefusals)
            listed += ToQString(refusal.key) + QStringLiteral(": ") +
                      QString::fromStdString(refusal.reason) + '\n';
    }
    differences->setRefusals(std::move(reasons));
    const auto taken = static_cast<int>(outcome.taken.size());
    QString said = taken == 1 ? tr("Took the other file's fields into 1 entry")
                              : tr("Took the other file's fields into %1 entries").arg(taken);
    if (!outcome.refused.empty()) said += tr(", %1 refused").arg(outcome.refused.size());
    emit status(said + QStringLiteral("; ") + countText() + tr(" left"));
    if (outcome.refused.empty()) return;
    emit status(tr("Taken: %1 of %2 entries; refused: %3")
                    .arg(outcome.taken.size())
                    .arg(items.size())
                    .arg(outcome.refused.size()));
    if (outcome.refused.size() > kListedRefusals)
        listed +=
            tr("and %1 more (see the Note column)\n").arg(outcome.refused.size() - kListedRefusals);
    prompts.message(&window, QMessageBox::Information, kProgramName,
                    tr("%1 of %2 entries were taken. These were not:\n\n%3")
                        .arg(outcome.taken.size())
                        .arg(items.size())
                        .arg(listed.trimmed()),
                    QMessageBox::Ok);
}

}  // namespace thornbeck
