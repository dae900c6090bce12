#include "helpers/FileDialogs.h"

#include <QFileDialog>

#include "helpers/DialogFilter.h"
#include "helpers/Latin1Text.h"

namespace thornbeck {
namespace {

QString RunDialog(QFileDialog& dialog, const QString& filter, const QString& defaultName) {
    QStringList names;
    for (const std::string& name : NameFilters(filter.toStdString()))
        names << QString::fromStdString(name);
    dialog.setNameFilters(names);
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return FromPathText(TrimAtNull(ToPathText(dialog.selectedFiles().constFirst())));
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
    QString extension = QString::fromStdString(DefaultExtension(filter.toStdString()));
    if (extension.startsWith('.')) extension.remove(0, 1);
    dialog.setDefaultSuffix(extension);
    return RunDialog(dialog, filter, defaultName);
}

}  // namespace thornbeck
