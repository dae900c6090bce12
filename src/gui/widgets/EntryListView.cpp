#include "gui/widgets/EntryListView.h"

#include <QHeaderView>
#include <array>

#include "core/edit/DetailField.h"
#include "gui/models/RegistryListModel.h"

namespace thornbeck {

namespace {
constexpr int kFirstNumberColumn = 2;
}  // namespace

EntryListView::EntryListView(RegistryListModel* model, QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("entryList"));
    setAccessibleName(tr("Entries"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setModel(model);
    // The Key and Value columns share the room the others leave; those fit their contents once
    // the first file opens, and the user may widen them.
    constexpr std::array<int, RegistryListModel::kColumnCount> kColumnWidths = {
        212, 150, 44, 60, 70, 50, 80, 80, 70};
    QHeaderView* columns = header();
    for (int column = 0; column < RegistryListModel::kColumnCount; ++column)
        columns->resizeSection(column, kColumnWidths[static_cast<size_t>(column)]);
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(0, QHeaderView::Stretch);
    columns->setSectionResizeMode(1, QHeaderView::Stretch);
    columns->setResizeContentsPrecision(500);
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(false);  // unsorted until a header is clicked
    // A column keeps its index wherever it is shown: sorting and the CSV go by the index.
    for (size_t at = 0; at < kListFieldOrder.size(); ++at)
        columns->moveSection(columns->visualIndex(1 + kListFieldOrder[at]),
                             1 + static_cast<int>(at));
}

void EntryListView::fitNumberColumnsOnce() {
    if (numberColumnsFitted || model()->rowCount() == 0) return;
    numberColumnsFitted = true;
    for (int column = kFirstNumberColumn; column < RegistryListModel::kColumnCount; ++column)
        resizeColumnToContents(column);
}

}  // namespace thornbeck
