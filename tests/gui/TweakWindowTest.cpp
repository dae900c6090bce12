// Tweaks in the real window: Apply Tweak against thornbeck-cli apply, undo, and Show My Changes
// exported as a tweak that turns the file as it was opened into the edited one.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QStatusBar>

#include "cli/CliRun.h"
#include "gui/TestWindow.h"
#include "gui/dialogs/TweakPreviewDialog.h"
#include "gui/models/TweakLineModel.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "support/CompareFiles.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

std::vector<uint8_t> ImageBytes(const MainWindow& window) {
    const auto bytes = window.document().image().bytes();
    return {bytes.begin(), bytes.end()};
}

TEST(TweakWindow, AppliesAsTheCommandLineDoesAsOneStepThatUndoes) {
    TempFolder folder;
    const ComparePair pair = CompareImages();
    const auto a = folder.write("a.sys", pair.a);
    const auto b = folder.write("b.sys", pair.b);
    const auto byCli = folder.write("c.sys", pair.a);
    const auto diff = RunCli({"diff", "--format", "tweak", a.string(), b.string()});
    const std::string text = "# Thornbeck tweak 1\n# title: Like B\n" +
                             diff.out.substr(diff.out.find('\n') + 1) +
                             "/c/nowhere\tFlags\t*\t0001\n";
    const auto tweak = folder.write("like-b.tweak", std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_EQ(RunCli({"apply", byCli.string(), tweak.string(), "--partial"}).exitCode, 1);

    TestWindow w;
    w->openFile(Q(a));
    w.prompts->files.push_back(Q(tweak));
    int shownLines = 0;
    bool missingKeyWritable = true;
    w.prompts->dialogs.push_back([&](QDialog& dialog) {
        auto& preview = dynamic_cast<TweakPreviewDialog&>(dialog);
        const TweakLineModel& lines = preview.lines();
        shownLines = lines.rowCount();
        missingKeyWritable = lines.writable(lines.rowCount() - 1);
        return int(QDialog::Accepted);
    });
    w.trigger("applyTweakAction");
    EXPECT_EQ(shownLines, 14);  // 13 lines of the differences and the missing key
    EXPECT_FALSE(missingKeyWritable);
    EXPECT_EQ(ImageBytes(*w), ReadBytes(byCli));
    EXPECT_TRUE(w->statusBar()->currentMessage().startsWith("Applied like-b.tweak: "))
        << w->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(w.action("undoAction")->text(), "&Undo Like B");
    w.undo();
    EXPECT_EQ(ImageBytes(*w), pair.a);
}

TEST(TweakWindow, MyChangesExportedAsATweakMakeTheOpenedFileTheEditedOne) {
    TempFolder folder;
    const auto original = SampleBytes();
    const auto file = folder.write("xRegistry.sys", original);
    const auto other = folder.write("other.sys", original);
    const auto exported = folder.path() / "mine.tweak";
    TestWindow w;
    w->openFile(Q(file));
    w.showKey("/setting/system/region");
    w.field(kDataSizeField)->setText("6");
    w.field(kValueField)->setText("PS3-US");
    w->modifyEntry();
    w.showKey("/setting/system/timeZone");
    w.field(kChecksumField)->setText("ABCD");
    w->modifyEntry();
    ASSERT_NE(ImageBytes(*w), original);

    w.trigger("showMyChangesAction");
    w.prompts->files.push_back(Q(exported));
    w.trigger("exportTweakAction");
    ASSERT_TRUE(std::filesystem::exists(exported)) << w->statusBar()->currentMessage().toStdString();
    const auto applied = RunCli({"apply", other.string(), exported.string()});
    ASSERT_EQ(applied.exitCode, 0) << applied.out << applied.err;
    EXPECT_EQ(ReadBytes(other), ImageBytes(*w));
}

}  // namespace
}  // namespace thornbeck::test
