// The whole file in view in the real window: the Problems pane says what `info` says, the File
// Layout dialog leads to entries and loose values, and Save Copy to Share writes what `redact`
// writes.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTreeWidget>
#include <sstream>

#include "cli/CliRun.h"
#include "core/format/RegistryFormat.h"
#include "gui/TestWindow.h"
#include "gui/controllers/ReportController.h"
#include "gui/dialogs/FileLayoutDialog.h"
#include "gui/widgets/DetailsPanel.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

// The problem and note lines of `info`, as the pane words them.
std::vector<std::string> InfoFindings(const std::string& file) {
    std::istringstream lines(RunCli({"info", file}).out);
    std::vector<std::string> findings;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("problem: ")) findings.push_back("Problem: " + line.substr(9));
        if (line.starts_with("note: ")) findings.push_back("Note: " + line.substr(6));
    }
    return findings;
}

TEST(ReportWindow, TheProblemsPaneSaysWhatInfoSaysForHostileFiles) {
    const auto sample = SampleBytes();
    auto noMarker = sample;
    noMarker[format::kMarkerOffset] = 0;
    // Cut inside the data area: no end marker, and the last entry's value runs past the end.
    std::vector<uint8_t> cut(sample.begin(), sample.begin() + 0x10000 + 0x150);
    TempFolder folder;
    int files = 0;
    for (const auto& bytes : {sample, noMarker, cut, DeepKeyImage(3000)}) {
        SCOPED_TRACE(files);
        const auto path = folder.write("f" + std::to_string(files++) + ".sys", bytes);
        TestWindow w;
        w->openFile(Q(path));
        w.trigger("problemsAction");
        const auto* list = w->findChild<QListWidget*>("problemsList");
        std::vector<std::string> shown;
        for (int i = 0; i < list->count(); ++i)
            shown.push_back(list->item(i)->text().toStdString());
        EXPECT_EQ(shown, InfoFindings(path.string()));
        const bool problems = !w->reports().report().problems.empty();
        EXPECT_EQ(w->statusBar()->currentMessage().contains("problem"), problems)
            << w->statusBar()->currentMessage().toStdString();
    }
}

TEST(ReportWindow, TheLayoutLeadsToEntriesAndLooseValuesAndTheSharedCopyIsRedacts) {
    TempFolder folder;
    const auto file = folder.write("xRegistry.sys", SampleBytes());
    const auto byWindow = folder.path() / "window-shared.sys";
    const auto byCli = folder.path() / "cli-shared.sys";
    TestWindow w;
    w->openFile(Q(file));
    QString dump;
    w.prompts->dialogs.push_back([&](QDialog& dialog) {
        auto& layout = dynamic_cast<FileLayoutDialog&>(dialog);
        QTreeWidget* regions = layout.regions();
        for (int i = 0; i < regions->topLevelItemCount(); ++i) {
            if (regions->topLevelItem(i)->text(2) == "loose value" && dump.isEmpty()) {
                regions->setCurrentItem(regions->topLevelItem(i));
                dump = layout.bytes()->toPlainText();
            }
            if (regions->topLevelItem(i)->text(2) == "entries")
                regions->setCurrentItem(regions->topLevelItem(i));
        }
        return int(QDialog::Rejected);
    });
    w.trigger("fileLayoutAction");
    EXPECT_TRUE(dump.startsWith("0x012420  2F 73 65 74")) << dump.toStdString();
    EXPECT_EQ(w.panel()->keyLine()->text(), "/setting/system/language");

    w.prompts->dialogs.push_back([](QDialog&) { return int(QDialog::Accepted); });
    w.prompts->files.push_back(Q(byWindow));
    w.trigger("shareCopyAction");
    ASSERT_EQ(RunCli({"redact", file.string(), byCli.string()}).exitCode, 0);
    EXPECT_EQ(ReadBytes(byWindow), ReadBytes(byCli)) << w->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(ReadBytes(file), SampleBytes());
}

}  // namespace
}  // namespace thornbeck::test
