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

QMessageBox::StandardButton DefaultButtonOf(QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton requested) {
    if (requested != QMessageBox::NoButton && buttons.testFlag(requested)) return requested;
    if (buttons.testFlag(QMessageBox::Cancel)) return QMessageBox::Cancel;
    const auto bits = buttons.toInt();
    const bool onlyOne = bits != 0 && (bits & (bits - 1)) == 0;
    return onlyOne ? static_cast<QMessageBox::StandardButton>(bits) : QMessageBox::NoButton;
}

QString ButtonCaption(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return QObject::tr("&OK");
        case QMessageBox::Yes:
            return QObject::tr("&Yes");
        case QMessageBox::No:
            return QObject::tr("&No");
        case QMessageBox::Cancel:
            return QObject::tr("&Cancel");
        case QMessageBox::Apply:
            return QObject::tr("&Apply");
        case QMessageBox::Discard:
            return QObject::tr("&Discard");
        // The window asks to write over a file another program changed with this button...
        case QMessageBox::SaveAll:
            return QObject::tr("&Overwrite");
        // ... or to read it from disk again.
        case QMessageBox::Reset:
            return QObject::tr("&Reload");
        default:
            return {};
    }
}

std::unique_ptr<QMessageBox> NewMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton safe) {
    // No style sheet and no fixed sizes: the box measures its own text (wrapping a long path
    // anywhere when it must) and its title.
    auto box = std::make_unique<QMessageBox>(icon, ShownTitle(title), text, buttons, owner);
    box->setTextFormat(Qt::PlainText);
    for (QAbstractButton* button : box->buttons())
        if (const QString caption = ButtonCaption(box->standardButton(button)); !caption.isEmpty())
            button->setText(caption);
    if (const auto enter = DefaultButtonOf(buttons, safe); enter != QMessageBox::NoButton)
        box->setDefaultButton(enter);
    // Escape answers Cancel where there is one, and nothing that would throw work away.
    if (buttons.testFlag(QMessageBox::Cancel)) box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

QMessageBox::StandardButton DialogPrompts::message(QWidget* owner, QMessageBox::Icon icon,
                                                   const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton safe) {
    const auto box = NewMessageBox(owner, icon, title, text, buttons, safe);
    return static_cast<QMessageBox::StandardButton>(box->exec());
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
