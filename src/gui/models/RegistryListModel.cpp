#include "gui/models/RegistryListModel.h"

#include "gui/models/RegistryTreeModel.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>
#include <array>

#include "core/edit/EntryTexts.h"
#include "core/edit/ValueText.h"
#include "gui/text/DisplayText.h"

namespace thornbeck {

namespace {
constexpr std::array<const char*, RegistryListModel::kColumnCount> kHeaders = {
    "Key", "Value", "Size", "Type", "Checksum", "Flags", "Data Offset", "Key Offset", "Header ID"};
}

RegistryListModel::RegistryListModel(QObject* parent) : QAbstractTableModel(parent) {
    rowIcon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

void RegistryListModel::setRegistryIndex(const RegistryIndex* index, const RegistryImage* image) {
    beginResetModel();
    registry = index && image ? index : nullptr;
    bytes = image;
    const size_t count = registry ? index->rows().size() : 0;
    order.resize(count);
    for (size_t i = 0; i < count; ++i) order[i] = static_cast<int32_t>(i);
    if (sorted) sortOrderVector();
    updatePositions();
    endResetModel();
}

bool RegistryListModel::before(std::string_view textA, int32_t a, std::string_view textB,
                               int32_t b) const {
    // string_view compares bytes as unsigned values, so the order is by character code.
    const int compared = textA.compare(textB);
    if (compared != 0) return sortedOrder == Qt::AscendingOrder ? compared < 0 : compared > 0;
    return a < b;
}

void RegistryListModel::sortOrderVector() {
    if (!registry) return;
    const auto& rows = registry->rows();
    if (sortedColumn == 0) {
        std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            return before(registry->keyOf(rows[static_cast<size_t>(a)]), a,
                          registry->keyOf(rows[static_cast<size_t>(b)]), b);
        });
        return;
    }
    // Each row's text is read once, not at every comparison.
    std::vector<std::string> texts(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        texts[r] = sortText(static_cast<int32_t>(r), sortedColumn);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return before(texts[static_cast<size_t>(a)], a, texts[static_cast<size_t>(b)], b);
    });
}

void RegistryListModel::updatePositions() {
    positions.resize(order.size());
    for (size_t p = 0; p < order.size(); ++p)
        positions[static_cast<size_t>(order[p])] = static_cast<int32_t>(p);
}

void RegistryListModel::sortBy(int column, Qt::SortOrder direction) {
    if (column < 0 || column >= kColumnCount) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<int32_t> persistentRows;
    for (const QModelIndex& index : persistent) persistentRows.push_back(rowOf(index));
    sorted = true;
    sortedColumn = column;
    sortedOrder = direction;
    sortOrderVector();
    updatePositions();
    for (qsizetype i = 0; i < persistent.size(); ++i) {
        const int32_t row = persistentRows[static_cast<size_t>(i)];
        changePersistentIndex(persistent[i], row < 0 ? QModelIndex()
                                                     : index(positions[static_cast<size_t>(row)],
                                                             persistent[i].column()));
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QModelIndex RegistryListModel::indexOfRow(int32_t row) const {
    if (row < 0 || row >= rowCount()) return {};
    return index(positions[static_cast<size_t>(row)], 0);
}

void RegistryListModel::rowChanged(int32_t row) {
    if (row < 0 || row >= rowCount()) return;
    if (sorted) {
        // The row leaves its place and goes where the sort puts it now; the rest stay in order.
        const int from = positions[static_cast<size_t>(row)];
        std::vector<int32_t> rest = order;
        rest.erase(rest.begin() + from);
        const std::string text = sortText(row, sortedColumn);
        const auto place =
            std::lower_bound(rest.begin(), rest.end(), row, [&](int32_t other, int32_t) {
                return before(sortText(other, sortedColumn), other, text, row);
            });
        const int to = static_cast<int>(place - rest.begin());
        if (to != from) {
            beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
            rest.insert(place, row);
            order = std::move(rest);
            updatePositions();
            endMoveRows();
        }
    }
    const QModelIndex first = indexOfRow(row);
    emit dataChanged(first, first.siblingAtColumn(kColumnCount - 1));
}

void RegistryListModel::rowsChanged(const std::vector<int32_t>& rows) {
    if (rows.size() == 1) return rowChanged(rows.front());
    if (rows.empty() || rowCount() == 0) return;
    if (sorted) sortBy(sortedColumn, sortedOrder);
    emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

int32_t RegistryListModel::rowOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return -1;
    return order[static_cast<size_t>(index.row())];
}

std::string RegistryListModel::cellText(int32_t row, int column) const {
    const ListRow& listRow = registry->rows()[static_cast<size_t>(row)];
    if (column == 0) return std::string(registry->keyOf(listRow));
    return FieldText(*bytes, listRow.entry, static_cast<DetailField>(column - 1));
}

std::string RegistryListModel::sortText(int32_t row, int column) const {
    std::string text = cellText(row, column);
    // The size (decimal) and the header numbers and offsets (upper-case hex) sort by their
    // numbers: padded to one width, their texts compare as the numbers do.
    const auto field = static_cast<DetailField>(column - 1);
    const bool number = column > 0 && field != kValueField && field != kDataTypeField;
    constexpr size_t kWidth = 12;
    if (number && text.size() < kWidth) text.insert(0, kWidth - text.size(), '0');
    return text;
}

int RegistryListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(order.size());
}

int RegistryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant RegistryListModel::data(const QModelIndex& index, int role) const {
    const int32_t row = rowOf(index);
    if (row < 0) return {};
    if (role == Qt::DisplayRole) {
        // A value is drawn readably (hex pairs, no NUL padding); the row's text stays its bytes.
        if (index.column() == kValueColumn) {
            constexpr size_t kDrawn = 1024;  // a cell paints no more
            const FieldTexts texts =
                DescribeEntry(*bytes, registry->rows()[static_cast<size_t>(row)].entry).texts;
            return DisplayText(ReadableValue(std::string_view(texts[kValueField]).substr(0, kDrawn),
                                             texts[kDataTypeField]));
        }
        return DisplayText(cellText(row, index.column()));
    }
    if (index.column() != 0) return {};
    if (role == Qt::DecorationRole) return rowIcon;
    if (role == Qt::ToolTipRole) {
        const int32_t shared =
            registry->entriesWithKeyOf(registry->rows()[static_cast<size_t>(row)].node);
        return shared < 2 ? QVariant() : QVariant(SharedKeyNote(shared));
    }
    return {};
}

QVariant RegistryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount)
        return {};
    return QString::fromLatin1(kHeaders[static_cast<size_t>(section)]);
}

}  // namespace thornbeck
