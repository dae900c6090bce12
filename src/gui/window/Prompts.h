#pragma once

#include <QMessageBox>
#include <QString>
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

    virtual QMessageBox::StandardButton message(QWidget* owner, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons) = 0;
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

// The real dialogs and message boxes.
class DialogPrompts : public Prompts {
public:
    QMessageBox::StandardButton message(QWidget* owner, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
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
