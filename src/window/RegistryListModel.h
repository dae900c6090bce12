#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include "registry/RegistryIndex.h"

namespace thornbeck {

// The entry list over a RegistryIndex: one row per list row, the key in column 0 and the eight
// field texts in columns 1 to 8 ("Value", "Size", "Type", "Checksum", "Flags", "Data Offset",
// "Key Offset", "Header ID").
class RegistryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 9;

    explicit RegistryListModel(QObject* parent = nullptr);

    void setRegistryIndex(const RegistryIndex* index);

    // The list rows in the order the list shows them.
    const std::vector<int32_t>& displayOrder() const { return order; }

    QModelIndex indexOfRow(int32_t row) const;
    // Tells the view that a row's texts have changed.
    void rowChanged(int32_t row);
    // The list row shown at a model index, -1 for none.
    int32_t rowOf(const QModelIndex& index) const;
    // The texts of a column as the list shows them, the key included.
    std::string_view cellText(int32_t row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const RegistryIndex* registry = nullptr;
    std::vector<int32_t> order;      // position -> list row
    std::vector<int32_t> positions;  // list row -> position
    QIcon rowIcon;
};

}  // namespace thornbeck
