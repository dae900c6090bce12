#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QUrl;
class QWidget;

namespace thornbeck {

// Every question the window asks the user, and every dialog it shows, goes through here, so that
// tests can answer them without anything blocking.
class Prompts {
public:
    virtual ~Prompts() = default;

    // `safe` is the button Enter chooses; NoButton for the one DefaultButtonOf picks.
    virtual QMessageBox::StandardButton message(
        QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton safe = QMessageBox::NoButton) = 0;
    virtual QString openFile(QWidget* owner, const QString& filter, const QString& title,
                             const QString& folder, const QString& defaultName) = 0;
    virtual QString saveFile(QWidget* owner, const QString& filter, const QString& title,
                             const QString& folder, const QString& defaultName) = 0;
    // The text entered, or nothing when the user cancels.
    virtual std::optional<QString> inputText(QWidget* owner, const QString& title,
                                             const QString& label, const QString& preset) = 0;
    virtual void openUrl(const QUrl& url) = 0;
    // Shows one of the program's own dialogs (a preview) modally; its QDialog::DialogCode.
    virtual int runDialog(QDialog& dialog) = 0;
};

// The title a message box is given for `title`: an empty title must leave the title bar empty.
QString ShownTitle(const QString& title);

// The button Enter chooses in a box of `buttons`: `requested` when it is one of them, else
// Cancel, so that no answer given by habit throws work away; else the box's only button.
QMessageBox::StandardButton DefaultButtonOf(QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton requested);
// The caption of a standard button, with its mnemonic ("&Overwrite" for SaveAll, "&Reload" for
// Reset, the buttons the window's disk question uses).
QString ButtonCaption(QMessageBox::StandardButton button);
// The message box DialogPrompts shows, built but not yet shown: it sizes itself to its whole
// text when shown.
std::unique_ptr<QMessageBox> NewMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                           const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton safe);

// The real dialogs and message boxes.
class DialogPrompts : public Prompts {
public:
    QMessageBox::StandardButton message(
        QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton safe = QMessageBox::NoButton) override;
    QString openFile(QWidget* owner, const QString& filter, const QString& title,
                     const QString& folder, const QString& defaultName) override;
    QString saveFile(QWidget* owner, const QString& filter, const QString& title,
                     const QString& folder, const QString& defaultName) override;
    std::optional<QString> inputText(QWidget* owner, const QString& title, const QString& label,
                                     const QString& preset) override;
    void openUrl(const QUrl& url) override;
    int runDialog(QDialog& dialog) override;
};

}  // namespace thornbeck
