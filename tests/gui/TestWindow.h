#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <string_view>

#include "gui/FakePrompts.h"
#include "gui/controllers/CompareController.h"
#include "gui/controllers/EditController.h"
#include "gui/controllers/FileController.h"
#include "gui/controllers/FindController.h"
#include "gui/controllers/NavigationController.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "gui/window/MainWindow.h"

class QAction;

namespace thornbeck::test {

// How long a test waits for a condition at most: far beyond what any takes on a loaded machine,
// so that only a condition that never comes fails.
constexpr int kGenerousWaitMs = 120000;

// A path as the window takes it.
QString Q(const std::filesystem::path& path);

// The real main window, shown on the offscreen screen, with prompts a test scripts, and named
// ways to reach what a user reaches.
struct TestWindow {
    TestWindow();
    FakePrompts* prompts;
    std::unique_ptr<MainWindow> window;
    MainWindow* operator->() const { return window.get(); }
    MainWindow& operator*() const { return *window; }

    // An action by its object name (docs/architecture.md lists them); fails the test if absent.
    QAction* action(const char* name) const;
    void trigger(const char* name) const;
    void undo() const { trigger("undoAction"); }
    void redo() const { trigger("redoAction"); }
    DetailsPanel* panel() const;
    DetailFieldEdit* field(int index) const;
    // Shows the entry or folder of `key` as a click on its tree node does; its node, -1 (and a
    // failed test) when the open file has no such key.
    int32_t showKey(std::string_view key) const;
    // The same by a real mouse click on the node.
    void clickKey(std::string_view key) const;
    // The entry of `key`'s node as the index holds it now.
    EntryRef entryOf(std::string_view key) const;
    // Leaves the open file with unsaved changes and the image as it was loaded: the Flags of
    // /setting/system/timeZone changed and changed back by two Modify steps.
    void makeUnsavedChange() const;
};

}  // namespace thornbeck::test

// Readable test failure output for Qt strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
