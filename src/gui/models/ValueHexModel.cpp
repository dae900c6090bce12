#include "gui/models/ValueHexModel.h"

#include "core/edit/HexText.h"
#include "core/edit/ValueText.h"
#include "gui/text/Latin1Text.h"

namespace thornbeck {

ValueHexModel::ValueHexModel(QObject* parent) : QAbstractTableModel(parent) {}

void ValueHexModel::setBytes(std::string bytes) {
    if (bytes == value) return;
    const int rowsBefore = rowCount();
    value = std::move(bytes);
    if (rowCount() != rowsBefore) {
        beginResetModel();
        endResetModel();
    } else if (rowsBefore > 0) {
        emit dataChanged(index(0, 0), index(rowsBefore - 1, kTextColumn));
    }
}

void ValueHexModel::setEditable(bool canEdit) {
    editable = canEdit;
}

int ValueHexModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>((value.size() + kBytesPerRow - 1) / kBytesPerRow);
}

int ValueHexModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kBytesPerRow + 1;
}

int ValueHexModel::offsetOf(const QModelIndex& index) const {
    if (!index.isValid() || index.column() >= kBytesPerRow) return -1;
    const int offset = index.row() * kBytesPerRow + index.column();
    return offset < static_cast<int>(value.size()) ? offset : -1;
}

QVariant ValueHexModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    if (index.column() == kTextColumn) {
        const size_t start = static_cast<size_t>(index.row()) * kBytesPerRow;
        std::string text = value.substr(start, kBytesPerRow);
        for (char& c : text) c = PrintableOrDot(static_cast<uint8_t>(c));
        return ToQString(text);
    }
    const int offset = offsetOf(index);
    if (offset < 0) return {};
    return QString::fromStdString(HexPairs(std::string_view(value).substr(offset, 1)));
}

bool ValueHexModel::setData(const QModelIndex& index, const QVariant& text, int role) {
    const int offset = offsetOf(index);
    const std::string digits = text.toString().trimmed().toStdString();
    if (!editable || role != Qt::EditRole || offset < 0 || !IsHexFieldText(digits, 1)) return false;
    emit byteEdited(offset,
                    static_cast<uint8_t>(HexToByte(digits.size() == 1 ? "0" + digits : digits)));
    return true;
}

Qt::ItemFlags ValueHexModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (editable && offsetOf(index) >= 0) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant ValueHexModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical)
        return QStringLiteral("%1").arg(section * kBytesPerRow, 4, 16, QLatin1Char('0')).toUpper();
    if (section == kTextColumn) return QStringLiteral("Text");
    return QString::number(section, 16).toUpper();
}

}  // namespace thornbeck
