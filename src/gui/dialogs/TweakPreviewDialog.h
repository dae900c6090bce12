#pragma once

#include <QDialog>

#include "core/tweak/TweakApply.h"

class QLabel;
class QPushButton;
class QTableView;

namespace thornbeck {

class TweakLineModel;

// Apply Tweak's preview: the tweak's title and description, every line with what it finds in the
// open file, and check boxes for the lines to write. Apply is enabled while a line is checked.
class TweakPreviewDialog : public QDialog {
    Q_OBJECT
public:
    TweakPreviewDialog(const Tweak& tweak, const TweakOutcome& checked, QWidget* parent = nullptr);

    TweakLineModel& lines() const { return *model; }
    const std::vector<bool>& chosen() const;

private:
    void updateCount();

    TweakLineModel* model;
    QTableView* table;
    QLabel* countLabel;
    QPushButton* applyButton;
};

}  // namespace thornbeck
