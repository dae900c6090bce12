#pragma once

#include <QObject>
#include <functional>

#include "core/tweak/Tweak.h"

class QAction;
class QWidget;

namespace thornbeck {

class CompareController;
class FailureBarrier;
class Prompts;
class RegistryDocument;

// Tweaks in the window: Edit > Apply Tweak (or a tweak file dropped on the window) reads one,
// previews what each line finds in the open file and writes the lines the user keeps as one undo
// step; Export as Tweak writes the compare pane's rows as a tweak.
class TweakController : public QObject {
    Q_OBJECT
public:
    // Asked before a tweak is applied: false when the user keeps edits typed but not applied.
    using SettleEdits = std::function<bool()>;
    TweakController(QWidget& window, RegistryDocument& document, Prompts& prompts,
                    FailureBarrier& barrier, CompareController& compare, SettleEdits settle);

    QAction* applyAction() const { return applyTweak; }
    QAction* exportAction() const { return exportTweak; }

    // Reads the tweak file at `path`, previews it and applies what the user keeps.
    void applyFile(const QString& path);
    // Whether a dropped file is a tweak (by its first line) rather than a registry file.
    static bool isTweakFile(const QString& path);

signals:
    // What just happened, for the status bar.
    void status(const QString& text);

private:
    void chooseAndApply();
    void applyNow(const QString& path);
    void exportNow();
    void updateActions();

    QWidget& window;
    RegistryDocument& document;
    Prompts& prompts;
    FailureBarrier& barrier;
    CompareController& compare;
    SettleEdits settle;
    QAction* applyTweak = nullptr;
    QAction* exportTweak = nullptr;
};

}  // namespace thornbeck
