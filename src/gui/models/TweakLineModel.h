#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/tweak/TweakApply.h"

namespace thornbeck {

// The preview of a tweak: one row per line with its key, field, the text now, the text
// expected, the text to write and what the line finds. Lines that will change start checked;
// lines whose field differs from the expected text start unchecked and may be checked to write
// over it; lines that cannot be written (no such key, another Data Type, refused, already so)
// are disabled.
class TweakLineModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        kKeyColumn,
        kFieldColumn,
        kNowColumn,
        kExpectedColumn,
        kTextColumn,
        kStatusColumn
    };
    static constexpr int kColumnCount = 6;

    TweakLineModel(const Tweak& tweak, const TweakOutcome& checked, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The lines the user lets the tweak write.
    const std::vector<bool>& chosen() const { return checked; }
    int chosenCount() const;
    // Whether a line can be written at all.
    bool writable(int row) const;

signals:
    void chosenChanged();

private:
    const Tweak& tweak;
    const TweakOutcome& outcome;
    std::vector<bool> checked;
};

// What a line finds, in the words of the preview: "will change", "already so", ...
QString TweakStatusText(const TweakLineCheck& check);

}  // namespace thornbeck
