#pragma once

#include <QString>
#include <functional>
#include <utility>

class QWidget;

namespace thornbeck {

class Prompts;

// Where the window's commands start. A command runs inside `run`: whatever it throws ends the
// command there, is said in a box and in the status bar, and goes no further, so the program
// lives on. The document changes all or nothing in each of its operations, so the open file and
// its unsaved changes stay as they were before the command.
class FailureBarrier {
public:
    using StatusSink = std::function<void(const QString&)>;
    FailureBarrier(Prompts& prompts, QWidget* dialogOwner, StatusSink status);

    // Runs `command`; `doing` names it in the words "Not enough memory to <doing>" ("export as
    // CSV"). False when it failed.
    bool run(const QString& doing, const std::function<void()>& command) noexcept;

    // A slot that runs `command` inside the barrier (a signal's arguments are not passed on).
    auto guard(QString doing, std::function<void()> command) {
        return
            [this, doing = std::move(doing), command = std::move(command)] { run(doing, command); };
    }

private:
    void report(const QString& text) noexcept;

    Prompts& prompts;
    QWidget* dialogOwner;
    StatusSink status;
};

}  // namespace thornbeck
