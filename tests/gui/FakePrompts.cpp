#include "gui/FakePrompts.h"

#include <QDialog>
#include <QTest>
#include <algorithm>
#include <utility>

namespace thornbeck::test {

QMessageBox::StandardButton FakePrompts::message(QWidget*, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton safe) {
    messages.push_back({icon, title, text, buttons, safe});
    ++open;
    deepest = std::max(deepest, open);
    if (auto during = std::exchange(whileAsking, nullptr)) during();
    --open;
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

QMessageBox::StandardButton EnterChooses(const FakePrompts::Message& message) {
    const auto box = NewMessageBox(nullptr, message.icon, message.title, message.text,
                                   message.buttons, message.safe);
    box->show();
    box->activateWindow();
    if (!QTest::qWaitForWindowActive(box.get())) return QMessageBox::NoButton;
    QTest::keyClick(box.get(), Qt::Key_Return);
    return box->standardButton(box->clickedButton());
}

}  // namespace thornbeck::test
