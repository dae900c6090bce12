#include "gui/window/FileDialogs.h"

#include <QFileDialog>

#include <QRegularExpression>

namespace thornbeck {
namespace {

QString RunDialog(QFileDialog& dialog, const QString& filter, const QString& defaultName) {
    dialog.setNameFilter(filter);
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString ShowOpenDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder, const QString& defaultName) {
    QFileDialog dialog(owner, title, initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunDialog(dialog, filter, defaultName);
}

QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder, const QString& defaultName) {
    QFileDialog dialog(owner, title, initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the first filter's ("csv" of "*.csv").
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.(\\w+)"));
    dialog.setDefaultSuffix(firstPattern.match(filter).captured(1));
    return RunDialog(dialog, filter, defaultName);
}

}  // namespace thornbeck
