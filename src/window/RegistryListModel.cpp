#include "window/RegistryListModel.h"

#include <QApplication>
#include <QStyle>
#include <array>

#include "window/DisplayText.h"

namespace thornbeck {

namespace {
constexpr std::array<const char*, RegistryListModel::kColumnCount> kHeaders = {
    "Key", "Value", "Size", "Type", "Checksum", "Flags", "Data Offset", "Key Offset", "Header ID"};
}

RegistryListModel::RegistryListModel(QObject* parent) : QAbstractTableModel(parent) {
    rowIcon = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
}

void RegistryListModel::setRegistryIndex(const RegistryIndex* index) {
    beginResetModel();
    registry = index;
    const size_t count = index ? index->rows().size() : 0;
    order.resize(count);
    positions.resize(count);
    for (size_t i = 0; i < count; ++i) order[i] = positions[i] = static_cast<int32_t>(i);
    endResetModel();
}

QModelIndex RegistryListModel::indexOfRow(int32_t row) const {
    if (row < 0 || row >= rowCount()) return {};
    return index(positions[static_cast<size_t>(row)], 0);
}

void RegistryListModel::rowChanged(int32_t row) {
    const QModelIndex first = indexOfRow(row);
    if (first.isValid()) emit dataChanged(first, first.siblingAtColumn(kColumnCount - 1));
}

int32_t RegistryListModel::rowOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return -1;
    return order[static_cast<size_t>(index.row())];
}

std::string_view RegistryListModel::cellText(int32_t row, int column) const {
    const ListRow& listRow = registry->rows()[static_cast<size_t>(row)];
    return column == 0 ? listRow.key
                       : std::string_view(listRow.texts[static_cast<size_t>(column - 1)]);
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
    if (role == Qt::DisplayRole) return DisplayText(cellText(row, index.column()));
    if (role == Qt::DecorationRole && index.column() == 0) return rowIcon;
    return {};
}

QVariant RegistryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount)
        return {};
    return QString::fromLatin1(kHeaders[static_cast<size_t>(section)]);
}

}  // namespace thornbeck
