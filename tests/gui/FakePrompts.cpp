#include "gui/FakePrompts.h"

#include <QDialog>

namespace thornbeck::test {

QMessageBox::StandardButton FakePrompts::message(QWidget*, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons) {
    messages.push_back({icon, title, text, buttons});
    if (answers.empty()) return QMessageBox::Ok;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {
QString Next(std::deque<QString>& queue) {
    if (queue.empty()) return {};
    QString next = queue.front();
    queue.pop_front();
    return next;
}
}  // namespace

QString FakePrompts::openFile(QWidget*, const QString& filter, const QString& title,
                              const QString& folder, const QString& defaultName) {
    fileQuestions.push_back({filter, title, folder, defaultName});
    return Next(files);
}

QString FakePrompts::saveFile(QWidget*, const QString& filter, const QString& title,
                              const QString& folder, const QString& defaultName) {
    fileQuestions.push_back({filter, title, folder, defaultName});
    return Next(files);
}

std::optional<QString> FakePrompts::inputText(QWidget*, const QString& title, const QString& label,
                                              const QString& preset) {
    inputQuestions.push_back(title + '|' + label + '|' + preset);
    if (inputs.empty()) return std::nullopt;
    const bool cancelled = !inputs.front().has_value();
    const QString text = inputs.front().value_or(QString());
    inputs.pop_front();
    if (cancelled) return std::nullopt;
    return text;
}

int FakePrompts::runDialog(QDialog& dialog) {
    if (dialogs.empty()) return QDialog::Rejected;
    const auto answer = std::move(dialogs.front());
    dialogs.pop_front();
    return answer(dialog);
}

}  // namespace thornbeck::test
