#include "gui/models/DifferenceModel.h"

#include "core/edit/TakeFields.h"
#include "core/edit/ValueText.h"
#include "gui/text/DisplayText.h"
#include "gui/text/Latin1Text.h"

namespace thornbeck {

QString KindText(KeyDifference::Kind kind) {
    switch (kind) {
        case KeyDifference::OnlyInA:
            return QStringLiteral("only in this file");
        case KeyDifference::OnlyInB:
            return QStringLiteral("only in the other");
        case KeyDifference::Changed:
            break;
    }
    return QStringLiteral("changed");
}

DifferenceModel::DifferenceModel(QObject* parent) : QAbstractTableModel(parent) {}

void DifferenceModel::setDifferences(std::vector<KeyDifference> differences) {
    beginResetModel();
    list = std::move(differences);
    rows.clear();
    for (size_t d = 0; d < list.size(); ++d) {
        if (list[d].kind != KeyDifference::Changed) {
            rows.push_back({d, -1});
            continue;
        }
        for (size_t c = 0; c < list[d].changes.size(); ++c)
            rows.push_back({d, static_cast<int>(c)});
    }
    endResetModel();
}

void DifferenceModel::setRefusals(std::map<std::string, std::string, std::less<>> reasons) {
    refusals = std::move(reasons);
    if (!rows.empty()) emit dataChanged(index(0, kNoteColumn), index(rowCount() - 1, kNoteColumn));
}

int DifferenceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int DifferenceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

const KeyDifference& DifferenceModel::differenceOf(int row) const {
    return list[rows[static_cast<size_t>(row)].difference];
}

const FieldChange* DifferenceModel::changeOf(int row) const {
    const Row& shown = rows[static_cast<size_t>(row)];
    return shown.change < 0 ? nullptr : &list[shown.difference].changes[shown.change];
}

int DifferenceModel::rowOf(std::string_view key, int field) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (differenceOf(row).key != key) continue;
        const FieldChange* change = changeOf(row);
        if (field < 0 || (change && change->field == field)) return row;
    }
    return -1;
}

QVariant DifferenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const KeyDifference& difference = differenceOf(index.row());
    const FieldChange* change = changeOf(index.row());
    if (role == kTextRole && change && index.column() == kThisColumn)
        return ToQString(change->before);
    if (role == kTextRole && change && index.column() == kOtherColumn)
        return ToQString(change->after);
    if (role == Qt::ToolTipRole) {
        if (QString tip = toolTip(difference, change); !tip.isEmpty()) return tip;
    } else if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case kKeyColumn:
            return DisplayText(difference.key);
        case kFieldColumn:
            return change ? QString::fromStdString(FieldName(change->field)) : QString();
        // Control characters as the list draws them (\x00), not as empty boxes.
        case kThisColumn:
            return change ? DisplayText(EscapedControls(change->before, {})) : QString();
        case kOtherColumn:
            return change ? DisplayText(EscapedControls(change->after, {})) : QString();
        case kKindColumn:
            return KindText(difference.kind);
        case kNoteColumn:
            if (difference.kind == KeyDifference::OnlyInB)
                return tr("Cannot be taken: entries are never added");
            if (const auto refused = refusals.find(difference.key); refused != refusals.end())
                return tr("Not taken: %1").arg(QString::fromStdString(refused->second));
            return {};
    }
    return {};
}

QString DifferenceModel::toolTip(const KeyDifference& difference, const FieldChange* change) const {
    if (!change)
        return tr(
            "Only in one file: an entry is never added or removed, so this row "
            "cannot be taken.");
    if (TakeFlagOf(change->field) == 0)
        return tr("%1 is never written: this row cannot be taken.")
            .arg(QString::fromStdString(FieldName(change->field)));
    if (change->field != kValueField) return {};
    for (const FieldChange& other : difference.changes)
        if (other.field == kDataSizeField)
            return tr("Taking the value brings the other file's Data Size (%1) with it.")
                .arg(QString::fromStdString(other.after));
    return {};
}

QVariant DifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[kColumnCount] = {"Key",        "Field", "This File",
                                                       "Other File", "Kind",  "Note"};
    if (section < 0 || section >= kColumnCount) return {};
    return tr(kHeaders[section]);
}

}  // namespace thornbeck
