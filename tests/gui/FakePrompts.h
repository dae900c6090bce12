#pragma once

#include <functional>

#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "gui/window/Prompts.h"

namespace thornbeck::test {

// Answers the window's questions from scripts and records what it asked.
class FakePrompts : public Prompts {
public:
    struct Message {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton safe;  // as the window asked for it
    };
    struct FileQuestion {
        QString filter, title, folder, defaultName;
    };

    std::deque<QMessageBox::StandardButton> answers;  // Ok when empty
    std::deque<QString> files;                        // "" (cancel) when empty
    std::deque<std::optional<QString>> inputs;

    std::vector<Message> messages;
    std::vector<FileQuestion> fileQuestions;
    std::vector<QString> inputQuestions;  // "title|label|preset"
    std::vector<QUrl> openedUrls;
    // Runs once while the next message is open, as events do while a real box waits.
    std::function<void()> whileAsking;
    int deepest = 0;  // the most messages ever open at once
    int open = 0;

    QMessageBox::StandardButton message(
        QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton safe = QMessageBox::NoButton) override;
    QString openFile(QWidget*, const QString& filter, const QString& title, const QString& folder,
                     const QString& defaultName) override;
    QString saveFile(QWidget*, const QString& filter, const QString& title, const QString& folder,
                     const QString& defaultName) override;
    std::optional<QString> inputText(QWidget*, const QString& title, const QString& label,
                                     const QString& preset) override;
    void openUrl(const QUrl& url) override { openedUrls.push_back(url); }
    // Each of the program's own dialogs goes to the next of these, which may work it as a user
    // would and gives its answer; Rejected when there is none.
    std::deque<std::function<int(QDialog&)>> dialogs;
    int runDialog(QDialog& dialog) override;
};

// What Enter chooses in the real box of `message`, shown and answered by a key press.
QMessageBox::StandardButton EnterChooses(const FakePrompts::Message& message);

}  // namespace thornbeck::test
