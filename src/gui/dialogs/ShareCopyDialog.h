#pragma once

#include <QDialog>
#include <vector>

#include "core/index/RegistryIndex.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace thornbeck {

// File > Save Copy to Share's preview: every key of the list, those whose names suggest personal
// data checked; the user checks what else to mask and unchecks what to keep.
class ShareCopyDialog : public QDialog {
    Q_OBJECT
public:
    ShareCopyDialog(const RegistryIndex& index, const std::vector<int32_t>& proposed,
                    QWidget* parent = nullptr);

    QListWidget* keys() const { return list; }
    // The list rows to mask, in list order.
    std::vector<int32_t> chosenRows() const;

private:
    void updateCount();
    void filter(const QString& text);

    QListWidget* list;
    QLabel* count;
};

}  // namespace thornbeck
