#pragma once

#include <QAbstractTableModel>
#include <map>
#include <string>
#include <vector>

#include "core/compare/EntryCompare.h"

namespace thornbeck {

// The differences pane's rows over the core's difference list: one row per differing field of a
// key in both files, one per key only in one of them, in the list's order. The rows are the lines
// of `thornbeck-cli diff` for the same two files.
class DifferenceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kKeyColumn, kFieldColumn, kThisColumn, kOtherColumn, kKindColumn, kNoteColumn };
    static constexpr int kColumnCount = 6;
    // The This File and Other File texts as their bytes, one character each, unescaped.
    static constexpr int kTextRole = Qt::UserRole;

    explicit DifferenceModel(QObject* parent = nullptr);

    // A new list; its keys must outlive the model's use of it (the two indexes hold them).
    void setDifferences(std::vector<KeyDifference> differences);
    // Why a take left these keys alone, shown in the Note column until the next take or reset.
    void setRefusals(std::map<std::string, std::string, std::less<>> reasons);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The difference behind a row and its field change (null for a key only in one file).
    const KeyDifference& differenceOf(int row) const;
    const FieldChange* changeOf(int row) const;
    // The row of the key's field (any row of the key when `field` is negative), -1 for none.
    int rowOf(std::string_view key, int field) const;

private:
    // Why a row cannot be taken, or what taking it brings along.
    QString toolTip(const KeyDifference& difference, const FieldChange* change) const;

    struct Row {
        size_t difference;
        int change;  // -1 for a key only in one file
    };
    std::vector<KeyDifference> list;
    std::vector<Row> rows;
    std::map<std::string, std::string, std::less<>> refusals;
};

// The pane's text for a kind: "changed", "only in this file", "only in the other".
QString KindText(KeyDifference::Kind kind);

}  // namespace thornbeck
