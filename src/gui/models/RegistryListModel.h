#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <string>

#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// The entry list over a RegistryIndex: one row per list row, the key in column 0 and the eight
// field texts in columns 1 to 8 ("Value", "Size", "Type", "Checksum", "Flags", "Data Offset",
// "Key Offset", "Header ID"). Rows can be sorted by a column's text.
class RegistryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 9;
    static constexpr int kValueColumn = 1;
    static constexpr int kTypeColumn = 3;

    explicit RegistryListModel(QObject* parent = nullptr);

    // Shows another index (or none) of `image`, sorted as the list is sorted. The texts are read
    // from the image as they are shown.
    void setRegistryIndex(const RegistryIndex* index, const RegistryImage* image = nullptr);

    // Orders the rows by the text of `column`, byte by byte; equal texts stay in load order.
    // The order holds for later indexes and for rows whose texts change, until the next call.
    void sortBy(int column, Qt::SortOrder order);
    bool isSorted() const { return sorted; }
    int sortColumn() const { return sortedColumn; }
    Qt::SortOrder sortOrder() const { return sortedOrder; }

    // The list rows in the order the list shows them.
    const std::vector<int32_t>& displayOrder() const { return order; }

    QModelIndex indexOfRow(int32_t row) const;
    // Tells the view that a row's texts have changed; a sorted list moves the row to its place.
    void rowChanged(int32_t row);
    // The same for several rows at once: a sorted list sorts again.
    void rowsChanged(const std::vector<int32_t>& rows);
    // The list row shown at a model index, -1 for none.
    int32_t rowOf(const QModelIndex& index) const;
    // The texts of a column as the list shows them, the key included.
    std::string cellText(int32_t row, int column) const;
    // What a row sorts by in a column: its text, numbers padded so that they sort as numbers.
    std::string sortText(int32_t row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // Whether list row `a` with text `textA` comes before row `b` with `textB` in the current
    // sort.
    bool before(std::string_view textA, int32_t a, std::string_view textB, int32_t b) const;
    void sortOrderVector();
    void updatePositions();

    const RegistryIndex* registry = nullptr;
    const RegistryImage* bytes = nullptr;
    std::vector<int32_t> order;      // position -> list row
    std::vector<int32_t> positions;  // list row -> position
    bool sorted = false;
    int sortedColumn = 0;
    Qt::SortOrder sortedOrder = Qt::AscendingOrder;
    QIcon rowIcon;
};

}  // namespace thornbeck
