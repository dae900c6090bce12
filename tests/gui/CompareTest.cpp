// Compare With, the differences pane and Take Other's Fields in the real window.
#include <gtest/gtest.h>

#include <QAction>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTreeView>
#include <sstream>

#include "cli/Cli.h"
#include "cli/EscapedText.h"
#include "core/compare/EntryCompare.h"
#include "gui/TestWindow.h"
#include "gui/controllers/CompareController.h"
#include "gui/models/DifferenceModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/DetailsPanel.h"
#include "support/CompareFiles.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

struct Comparing {
    TempFolder folder;
    ComparePair pair;
    std::filesystem::path a;
    std::filesystem::path b;
    TestWindow w;
    CompareController* compare = w->findChild<CompareController*>("compareController");
    QTreeView* table = w->findChild<QTreeView*>("differencesTable");

    explicit Comparing(bool typeClash = false)
        : pair(CompareImages(typeClash)),
          a(folder.write("a.sys", pair.a)),
          b(folder.write("b.sys", pair.b)) {
        w->openFile(Q(a));
        w.prompts->files.push_back(Q(b));
        w->findChild<QAction*>("compareAction")->trigger();
    }
    // The pane's rows as diff prints them: its kinds named as diff names them, texts escaped.
    std::string paneLines() const {
        std::string lines;
        const QAbstractItemModel* shown = table->model();
        for (int row = 0; row < shown->rowCount(); ++row) {
            const auto cell = [&](int column) {
                const int role = column == DifferenceModel::kThisColumn ||
                                         column == DifferenceModel::kOtherColumn
                                     ? DifferenceModel::kTextRole
                                     : Qt::DisplayRole;
                return cli::VisibleText(
                    ToByteText(shown->index(row, column).data(role).toString()));
            };
            const std::string kind = cell(DifferenceModel::kKindColumn);
            if (kind == "changed") {
                lines += "changed\t" + cell(DifferenceModel::kKeyColumn) + '\t' +
                         cell(DifferenceModel::kFieldColumn) + '\t' +
                         cell(DifferenceModel::kThisColumn) + '\t' +
                         cell(DifferenceModel::kOtherColumn) + '\n';
            } else {
                lines += (kind == "only in this file" ? "only in A\t" : "only in B\t") +
                         cell(DifferenceModel::kKeyColumn) + '\n';
            }
        }
        return lines;
    }
    std::string diffLines(const std::filesystem::path& left) const {
        const std::vector<std::string> args = {"diff", left.string(), b.string()};
        std::ostringstream out, err;
        cli::RunCli(args, out, err);
        return out.str();
    }
    // diff between the window's image as it now stands and B.
    std::string diffNow() const { return diffLines(folder.write("now.sys", bytes())); }
    std::vector<uint8_t> bytes() const {
        return {w->document().image().bytes().begin(), w->document().image().bytes().end()};
    }
    QString count() const { return w->findChild<QLabel*>("differencesCount")->text(); }
};

TEST(Compare, PaneRowsEqualTheLinesOfDiffAndFollowModifyUndoAndRedo) {
    Comparing c;
    ASSERT_TRUE(c.compare->comparing());
    EXPECT_TRUE(c.compare->pane()->isVisibleTo(&*c.w));
    EXPECT_EQ(c.paneLines(), c.diffLines(c.a));
    EXPECT_EQ(c.count(), "10 differences");
    EXPECT_EQ(c.w.prompts->fileQuestions.back().title, "Compare With");

    // The rows sort by a column and back; the only-in-the-other row says why it cannot be taken.
    c.table->sortByColumn(DifferenceModel::kKeyColumn, Qt::DescendingOrder);
    EXPECT_EQ(c.table->model()->index(0, 0).data().toString(), "/c/text");
    c.table->sortByColumn(DifferenceModel::kKeyColumn, Qt::AscendingOrder);
    EXPECT_EQ(c.table->model()->index(0, 0).data().toString(), "/c/bin");
    const DifferenceModel* model = c.compare->model();
    EXPECT_EQ(
        model->index(model->rowOf("/c/onlyB", -1), DifferenceModel::kNoteColumn).data().toString(),
        "Cannot be taken: entries are never added");
    c.table->sortByColumn(-1, Qt::AscendingOrder);
    EXPECT_EQ(c.paneLines(), c.diffLines(c.a));

    // Next Difference selects the first row and shows its entry as a click on its node would.
    auto* next = c.w->findChild<QAction*>("nextDifferenceAction");
    auto* previous = c.w->findChild<QAction*>("previousDifferenceAction");
    EXPECT_EQ(next->shortcut(), QKeySequence("F6"));
    EXPECT_EQ(previous->shortcut(), QKeySequence("Shift+F6"));
    next->trigger();
    next->trigger();
    next->trigger();  // /c/text's Value
    auto* key = c.w->detailsPanel()->keyLine();
    EXPECT_EQ(key->text(), "/c/text");
    EXPECT_EQ(c.w->detailsPanel()->field(kValueField)->text(), "abc");
    previous->trigger();
    EXPECT_EQ(key->text(), "/c/int");

    // A Modify that makes /c/int equal removes its rows; undo brings them back, redo removes them.
    c.w->detailsPanel()->field(kValueField)->setText("20");
    c.w->detailsPanel()->field(kChecksumField)->setText("9");
    c.w->modifyEntry();
    EXPECT_EQ(c.count(), "8 differences");
    EXPECT_EQ(c.paneLines(), c.diffNow());
    EXPECT_EQ(c.paneLines().find("/c/int"), std::string::npos);
    c.w.undo();
    EXPECT_EQ(c.count(), "10 differences");
    EXPECT_EQ(c.paneLines(), c.diffLines(c.a));
    c.w.redo();
    EXPECT_EQ(c.count(), "8 differences");

    // In list mode a row selects the entry's list row.
    c.w->navigation().setListMode(true);
    next->trigger();
    auto* list = c.w->entryList();
    EXPECT_EQ(list->currentIndex().siblingAtColumn(0).data().toString(), "/c/text");

    // Closing the pane ends the compare.
    c.compare->pane()->close();
    EXPECT_FALSE(c.compare->comparing());
    EXPECT_FALSE(next->isEnabled());
    EXPECT_EQ(c.table->model()->rowCount(), 0);
}

TEST(Compare, TakingEveryDifferenceIsOneUndoStepThatRestoresTheFileByteForByte) {
    Comparing c;
    c.table->selectAll();
    c.w->findChild<QAction*>("takeFieldsAction")->trigger();
    EXPECT_TRUE(c.w.prompts->messages.empty());
    EXPECT_EQ(c.count(), "2 differences");
    EXPECT_EQ(c.paneLines(), c.diffNow());
    const RegistryImage other(c.pair.b);
    const RegistryIndex otherIndex = IndexRegistry(other);
    for (const KeyDifference& left :
         DiffEntries(c.w->document().image(), c.w->document().index(), other, otherIndex, true))
        for (const FieldChange& change : left.changes)
            EXPECT_TRUE(change.field == kDataOffsetField || change.field == kKeyOffsetField);
    EXPECT_TRUE(c.w->document().hasUnsavedChanges());

    c.w.undo();
    EXPECT_FALSE(c.w.action("undoAction")->isEnabled());  // the take was one step
    EXPECT_EQ(c.bytes(), c.pair.a);
    EXPECT_EQ(c.paneLines(), c.diffLines(c.a));
    EXPECT_FALSE(c.w->document().hasUnsavedChanges());
    c.w.redo();
    EXPECT_EQ(c.count(), "2 differences");
}

TEST(Compare, ARefusedEntryIsReportedWithItsKeyAndReasonAndTheOthersAreTaken) {
    Comparing c(true);
    c.table->selectAll();
    c.w->findChild<QAction*>("takeFieldsAction")->trigger();
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    EXPECT_EQ(c.w.prompts->messages[0].text,
              "5 of 6 entries were taken. These were not:\n\n/c/clash: its Data Type differs: "
              "Integer here, String in the other file");
    EXPECT_EQ(c.count(), "5 differences");  // /c/clash's three, and the two missing keys
    EXPECT_EQ(c.paneLines(), c.diffNow());
    const int row = c.compare->model()->rowOf("/c/clash", kValueField);
    EXPECT_EQ(c.compare->model()->index(row, DifferenceModel::kNoteColumn).data().toString(),
              "Not taken: its Data Type differs: Integer here, String in the other file");
    c.w.undo();
    EXPECT_EQ(c.bytes(), c.pair.a);
}

// Take Other's Fields takes exactly the selected rows' fields: a user's own edit of another field
// of the same entry stays.
TEST(Compare, TakingOneRowTakesExactlyItsField) {
    Comparing c;
    c.w.showKey("/c/int");
    c.w.field(kValueField)->setText("30");
    c.w->modifyEntry();
    ASSERT_EQ(c.w.field(kValueField)->text(), "00000030");
    const int checksum = c.compare->model()->rowOf("/c/int", kChecksumField);
    ASSERT_GE(checksum, 0);
    c.table->setCurrentIndex(c.table->model()->index(checksum, 0));
    c.table->selectionModel()->select(
        c.table->currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    c.w.trigger("takeFieldsAction");
    EXPECT_TRUE(c.w.prompts->messages.empty());
    c.w.showKey("/c/int");
    EXPECT_EQ(c.w.field(kValueField)->text(), "00000030");
    EXPECT_EQ(c.w.field(kChecksumField)->text(), "0009");
    EXPECT_EQ(c.compare->model()->rowOf("/c/int", kChecksumField), -1);
    EXPECT_GE(c.compare->model()->rowOf("/c/int", kValueField), 0);
    // The redo text counts one entry in the singular.
    c.w.undo();
    EXPECT_EQ(c.w.action("redoAction")->text(), "&Redo Take Other's Fields (1 entry)");
}

// A take asks about typing not yet applied before it shows the entries it wrote.
TEST(Compare, TakingAsksAboutTypingNotAppliedFirst) {
    Comparing c;
    const int checksum = c.compare->model()->rowOf("/c/int", kChecksumField);
    ASSERT_GE(checksum, 0);
    c.table->setCurrentIndex(c.table->model()->index(checksum, 0));
    c.table->selectionModel()->select(
        c.table->currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_EQ(c.w.panel()->keyLine()->text(), "/c/int");
    c.w.field(kFlagsField)->setText("0077");
    c.w.prompts->answers = {QMessageBox::Cancel};
    c.w.trigger("takeFieldsAction");
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    EXPECT_EQ(c.w.prompts->messages[0].text, "Apply your changes to /c/int?");
    EXPECT_EQ(c.bytes(), c.pair.a);
    EXPECT_EQ(c.w.field(kFlagsField)->text(), "0077");
    c.w.prompts->answers = {QMessageBox::Discard};
    c.w.trigger("takeFieldsAction");
    EXPECT_EQ(c.w.field(kChecksumField)->text(), "0009");
    EXPECT_NE(c.w.field(kFlagsField)->text(), "0077");
}

// Taking only an Integer's Data Size row writes nothing: the row stays, and the refusal is said.
TEST(Compare, AnIntegersDataSizeRowIsRefusedAndStays) {
    TempFolder folder;
    const ComparePair pair = IntegerSizeImages();
    TestWindow w;
    w->openFile(Q(folder.write("a.sys", pair.a)));
    w.prompts->files.push_back(Q(folder.write("b.sys", pair.b)));
    w.trigger("compareAction");
    auto* compare = w->findChild<CompareController*>("compareController");
    auto* table = w->findChild<QTreeView*>("differencesTable");
    const int size = compare->model()->rowOf("/setting/bdvideo", kDataSizeField);
    ASSERT_GE(size, 0);
    table->setCurrentIndex(table->model()->index(size, 0));
    table->selectionModel()->select(
        table->currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    w.trigger("takeFieldsAction");
    EXPECT_FALSE(w->document().hasUnsavedChanges());
    EXPECT_EQ(std::vector<uint8_t>(w->document().image().bytes().begin(),
                                   w->document().image().bytes().end()),
              pair.a);
    EXPECT_GE(compare->model()->rowOf("/setting/bdvideo", kDataSizeField), 0);
    EXPECT_EQ(w->statusBar()->currentMessage(), "Taken: 0 of 1 entries; refused: 1");
}

TEST(Compare, ThePaneEscapesControlCharactersNamesTheOtherFileAndSaysWhatARowTakes) {
    Comparing c;
    const DifferenceModel* model = c.compare->model();
    const int text = model->rowOf("/c/text", kValueField);
    ASSERT_GE(text, 0);
    EXPECT_EQ(model->index(text, DifferenceModel::kThisColumn).data(Qt::ToolTipRole).toString(),
              "Taking the value brings the other file's Data Size (13) with it.");
    const int onlyB = model->rowOf("/c/onlyB", -1);
    ASSERT_GE(onlyB, 0);
    EXPECT_TRUE(model->index(onlyB, DifferenceModel::kKeyColumn)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains("cannot be taken"));
    auto* other = c.w->findChild<QLabel*>("otherFileName");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), "Other file: b.sys");
    EXPECT_EQ(other->toolTip(), Q(c.b));
    // Zero bytes read as the list writes them, not as empty boxes.
    c.w.showKey("/c/same");
    c.w.field(kValueField)->setText(QString::fromLatin1("sa\0e", 4));
    c.w->modifyEntry();
    const int same = model->rowOf("/c/same", kValueField);
    ASSERT_GE(same, 0);
    EXPECT_EQ(model->index(same, DifferenceModel::kThisColumn).data().toString(), "sa\\x00e");
}

TEST(Compare, CompareWithWaitsForAnOpenFile) {
    TestWindow w;
    EXPECT_FALSE(w.action("compareAction")->isEnabled());
    w->openFile(Q(SamplePath()));
    EXPECT_TRUE(w.action("compareAction")->isEnabled());
}

TEST(Compare, AnUnreadableFileIsReportedAndOpeningAnotherFileEndsTheCompare) {
    Comparing c;
    c.w.prompts->files.push_back(Q(c.folder.path() / "missing.sys"));
    c.w->findChild<QAction*>("compareAction")->trigger();
    ASSERT_EQ(c.w.prompts->messages.size(), 1u);
    EXPECT_TRUE(c.w.prompts->messages[0].text.startsWith("Could not compare with "));
    EXPECT_EQ(c.count(), "10 differences");  // the compare before it goes on

    const auto tooShort = c.folder.write("short.sys", std::vector<uint8_t>(100, 0));
    c.compare->compareFile(Q(tooShort));
    ASSERT_EQ(c.w.prompts->messages.size(), 2u);
    EXPECT_TRUE(c.w.prompts->messages[1].text.contains("100 bytes"));

    c.w->openFile(Q(c.b));
    EXPECT_FALSE(c.compare->comparing());
    EXPECT_FALSE(c.compare->pane()->isVisibleTo(&*c.w));
}

}  // namespace
}  // namespace thornbeck::test
