#include "gui/models/TweakLineModel.h"

#include <QBrush>
#include <QPalette>

#include "core/compare/EntryCompare.h"
#include "core/edit/ValueText.h"
#include "gui/text/Latin1Text.h"

namespace thornbeck {
namespace {

// A text as the list draws it, so that control characters and padding stay visible.
QString Shown(const std::string& bytes) {
    return ToQString(EscapedControls(bytes, {.backslash = true, .c1 = true}));
}

}  // namespace

QString TweakStatusText(const TweakLineCheck& check) {
    switch (check.status) {
        case TweakStatus::WillChange:
            return TweakLineModel::tr("will change");
        case TweakStatus::AlreadySo:
            return TweakLineModel::tr("already so");
        case TweakStatus::Differs:
            return TweakLineModel::tr("differs from what the tweak expected");
        case TweakStatus::NoSuchKey:
            return TweakLineModel::tr("no such key");
        case TweakStatus::TypeDiffers:
            return TweakLineModel::tr("Data Type differs");
        case TweakStatus::Refused:
            return TweakLineModel::tr("refused: %1").arg(QString::fromStdString(check.reason));
    }
    return {};
}

TweakLineModel::TweakLineModel(const Tweak& tweak, const TweakOutcome& checked, QObject* parent)
    : QAbstractTableModel(parent),
      tweak(tweak),
      outcome(checked),
      checked(ChosenLines(checked, TweakChoice::Changing)) {}

int TweakLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tweak.lines.size());
}

int TweakLineModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

bool TweakLineModel::writable(int row) const {
    const TweakStatus status = outcome.lines[static_cast<size_t>(row)].status;
    return status == TweakStatus::WillChange || status == TweakStatus::Differs;
}

int TweakLineModel::chosenCount() const {
    return static_cast<int>(std::count(checked.begin(), checked.end(), true));
}

QVariant TweakLineModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<size_t>(index.row());
    const TweakLine& line = tweak.lines[row];
    const TweakLineCheck& check = outcome.lines[row];
    if (role == Qt::CheckStateRole && index.column() == kKeyColumn)
        return checked[row] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ForegroundRole && check.status == TweakStatus::Differs &&
        index.column() == kStatusColumn)
        return QBrush(Qt::red);
    if (role == Qt::ToolTipRole && index.column() >= kNowColumn && index.column() <= kTextColumn)
        return data(index, Qt::DisplayRole);
    if (role == Qt::ToolTipRole && check.status == TweakStatus::Differs)
        return tr(
            "The file holds another text than the tweak expects; check the line to write "
            "over it.");
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case kKeyColumn:
            return ToQString(line.key);
        case kFieldColumn:
            return QString::fromStdString(FieldName(line.field));
        case kNowColumn:
            return check.status == TweakStatus::NoSuchKey ? QString() : Shown(check.current);
        case kExpectedColumn:
            return line.expected ? Shown(*line.expected) : QStringLiteral("*");
        case kTextColumn:
            return Shown(line.text);
        case kStatusColumn:
            return TweakStatusText(check);
    }
    return {};
}

bool TweakLineModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != kKeyColumn ||
        !writable(index.row()))
        return false;
    checked[static_cast<size_t>(index.row())] = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit chosenChanged();
    return true;
}

Qt::ItemFlags TweakLineModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (!writable(index.row())) return Qt::ItemIsSelectable;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kKeyColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant TweakLineModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kKeyColumn:
            return tr("Key");
        case kFieldColumn:
            return tr("Field");
        case kNowColumn:
            return tr("Now");
        case kExpectedColumn:
            return tr("Expected");
        case kTextColumn:
            return tr("To Write");
        case kStatusColumn:
            return tr("Status");
    }
    return {};
}

}  // namespace thornbeck
