#include "gui/window/Prompts.h"

#include <QDialog>

#include <QAbstractButton>
#include <QDesktopServices>
#include <QInputDialog>
#include <QUrl>

#include "gui/window/FileDialogs.h"

namespace thornbeck {

QString ShownTitle(const QString& title) {
    // Qt puts the application's name in a title bar whose title is empty; a space shows nothing.
    return title.isEmpty() ? QStringLiteral(" ") : title;
}

QMessageBox::StandardButton DialogPrompts::message(QWidget* owner, QMessageBox::Icon icon,
                                                   const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, ShownTitle(title), text, buttons, owner);
    // Wide enough for its title: a short text ("Invalid value") must not cut the title short.
    box.setStyleSheet(QStringLiteral("QLabel { min-width: %1px; }")
                          .arg(box.fontMetrics().horizontalAdvance(title) + 80));
    // The window asks to overwrite a file with this button.
    if (QAbstractButton* overwrite = box.button(QMessageBox::SaveAll))
        overwrite->setText(QObject::tr("Overwrite"));
    // ... or to read it from disk again.
    if (QAbstractButton* reload = box.button(QMessageBox::Reset))
        reload->setText(QObject::tr("Reload"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString DialogPrompts::openFile(QWidget* owner, const QString& filter, const QString& title,
                                const QString& folder, const QString& defaultName) {
    return ShowOpenDialog(owner, filter, title, folder, defaultName);
}

QString DialogPrompts::saveFile(QWidget* owner, const QString& filter, const QString& title,
                                const QString& folder, const QString& defaultName) {
    return ShowSaveDialog(owner, filter, title, folder, defaultName);
}

std::optional<QString> DialogPrompts::inputText(QWidget* owner, const QString& title,
                                                const QString& label, const QString& preset) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(owner, title, label, QLineEdit::Normal, preset, &accepted);
    if (!accepted) return std::nullopt;
    return text;
}

void DialogPrompts::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

int DialogPrompts::runDialog(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace thornbeck
