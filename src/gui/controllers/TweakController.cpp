#include "gui/controllers/TweakController.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/fileio/AtomicSave.h"
#include "core/fileio/RegularFile.h"
#include "core/tweak/TweakParser.h"
#include "core/tweak/TweakWriter.h"
#include "core/version/ProgramVersion.h"
#include "gui/controllers/CompareController.h"
#include "gui/dialogs/TweakPreviewDialog.h"
#include "gui/document/RegistryDocument.h"
#include "gui/text/PathText.h"
#include "gui/window/FailureBarrier.h"
#include "gui/window/Prompts.h"

namespace thornbeck {
namespace {

const QString kTweakFilter = QStringLiteral("Thornbeck tweak (*.tweak);;All files (*)");

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

}  // namespace

TweakController::TweakController(QWidget& window, RegistryDocument& document, Prompts& prompts,
                                 FailureBarrier& barrier, CompareController& compare,
                                 SettleEdits settle)
    : QObject(&window),
      window(window),
      document(document),
      prompts(prompts),
      barrier(barrier),
      compare(compare),
      settle(std::move(settle)) {
    setObjectName(QStringLiteral("tweakController"));
    applyTweak = new QAction(tr("Appl&y Tweak..."), this);
    applyTweak->setObjectName(QStringLiteral("applyTweakAction"));
    applyTweak->setStatusTip(tr("Write the changes of a tweak file into the open file"));
    exportTweak = new QAction(tr("Export as T&weak..."), this);
    exportTweak->setObjectName(QStringLiteral("exportTweakAction"));
    exportTweak->setStatusTip(
        tr("Write the selected rows of the compare pane (or all of them) as a tweak"));
    connect(applyTweak, &QAction::triggered, this,
            barrier.guard(tr("apply a tweak"), [this] { chooseAndApply(); }));
    connect(exportTweak, &QAction::triggered, this,
            barrier.guard(tr("export a tweak"), [this] { exportNow(); }));
    connect(&document, &RegistryDocument::pathChanged, this, &TweakController::updateActions);
    connect(&compare, &CompareController::status, this, &TweakController::updateActions);
    updateActions();
}

void TweakController::updateActions() {
    applyTweak->setEnabled(document.isOpen());
    exportTweak->setEnabled(compare.comparing());
}

bool TweakController::isTweakFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray start = file.read(static_cast<qint64>(kTweakHeader.size()) + 3);
    if (start.startsWith("\xEF\xBB\xBF")) start.remove(0, 3);
    return start == QByteArray(kTweakHeader.data(), static_cast<qsizetype>(kTweakHeader.size()));
}

void TweakController::chooseAndApply() {
    if (!document.isOpen()) return;
    const QString path = prompts.openFile(&window, kTweakFilter, tr("Apply Tweak"),
                                          QFileInfo(document.path()).absolutePath(), QString());
    if (!path.isEmpty()) applyNow(QDir::toNativeSeparators(path));
}

void TweakController::applyFile(const QString& path) {
    barrier.run(tr("apply a tweak"), [&] { applyNow(QDir::toNativeSeparators(path)); });
}

void TweakController::applyNow(const QString& path) {
    if (!document.isOpen() || !settle()) return;
    const FileRead read = ReadRegularFile(ToFsPath(path));
    QString problem;
    std::optional<Tweak> tweak;
    if (!read.failure.empty()) {
        problem = QString::fromStdString(read.failure);
    } else {
        auto parsed = ParseTweak(
            std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
        if (const auto* error = std::get_if<TweakFileError>(&parsed))
            problem =
                tr("line %1: %2").arg(error->line).arg(QString::fromStdString(error->message));
        else
            tweak = std::get<Tweak>(std::move(parsed));
    }
    if (!tweak) {
        const QString text = tr("%1 is not a tweak: %2").arg(path, problem);
        prompts.message(&window, QMessageBox::Warning, QString::fromUtf8(ProgramName()), text,
                        QMessageBox::Ok);
        emit status(text);
        return;
    }
    const TweakOutcome checked = document.checkTweak(*tweak);
    TweakPreviewDialog preview(*tweak, checked, &window);
    if (prompts.runDialog(preview) != QDialog::Accepted) {
        emit status(tr("Tweak not applied: %1").arg(FileName(path)));
        return;
    }
    const QString step = tweak->title.empty() ? tr("Apply Tweak %1").arg(FileName(path))
                                              : QString::fromStdString(tweak->title);
    const TweakOutcome applied = document.applyTweak(*tweak, preview.chosen(), step);
    int refused = 0;
    for (const TweakLineCheck& line : applied.lines) refused += line.status == TweakStatus::Refused;
    QString text = tr("Applied %1: %2 fields of %3 entries changed")
                       .arg(FileName(path))
                       .arg(applied.fieldsChanged)
                       .arg(applied.entriesChanged);
    if (refused > 0) text += tr("; %1 lines refused").arg(refused);
    emit status(text);
}

void TweakController::exportNow() {
    if (!compare.comparing()) return;
    const Tweak tweak = compare.tweakOfRows();
    if (tweak.lines.empty()) {
        emit status(tr("Nothing to export: no row of the compare pane can be written as a tweak"));
        return;
    }
    const QString proposed =
        QFileInfo(document.path()).completeBaseName() + QStringLiteral(".tweak");
    const QString path = prompts.saveFile(&window, kTweakFilter, tr("Export as Tweak"),
                                          QFileInfo(document.path()).absolutePath(), proposed);
    if (path.isEmpty()) return;
    const std::string text = TweakFileText(tweak);
    const auto failure = SaveWholeFile(
        ToFsPath(path), std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
        SaveOptions{.backup = false, .writer = {}});
    const QString shown = QDir::toNativeSeparators(path);
    if (failure) {
        const QString message =
            tr("Could not export %1: %2").arg(shown, QString::fromStdString(failure->reason));
        prompts.message(&window, QMessageBox::Warning, QString::fromUtf8(ProgramName()), message,
                        QMessageBox::Ok);
        emit status(message);
        return;
    }
    emit status(tr("Exported %1 lines as a tweak to %2").arg(tweak.lines.size()).arg(shown));
}

}  // namespace thornbeck
