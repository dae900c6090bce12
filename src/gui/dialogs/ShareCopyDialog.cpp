#include "gui/dialogs/ShareCopyDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/text/Latin1Text.h"

namespace thornbeck {

ShareCopyDialog::ShareCopyDialog(const RegistryIndex& index, const std::vector<int32_t>& proposed,
                                 QWidget* parent)
    : QDialog(parent), list(new QListWidget(this)), count(new QLabel(this)) {
    setObjectName(QStringLiteral("shareCopyDialog"));
    setWindowTitle(tr("Save Copy to Share"));
    auto* note = new QLabel(
        tr("The copy clears every byte after the end marker and masks the checked values with a "
           "filler of the same length. Every entry, key, size and offset stays. The copy is for "
           "sharing, not for putting back on a console."),
        this);
    note->setWordWrap(true);
    auto* search = new QLineEdit(this);
    search->setObjectName(QStringLiteral("shareKeyFilter"));
    search->setPlaceholderText(tr("Show keys containing..."));
    search->setClearButtonEnabled(true);
    list->setObjectName(QStringLiteral("shareKeys"));
    list->setAccessibleName(tr("Keys to mask"));
    list->setUniformItemSizes(true);
    for (size_t row = 0; row < index.rows().size(); ++row) {
        auto* item = new QListWidgetItem(ToQString(index.keyOf(index.rows()[row])), list);
        item->setData(Qt::UserRole, static_cast<int>(row));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool masked =
            std::binary_search(proposed.begin(), proposed.end(), static_cast<int32_t>(row));
        item->setCheckState(masked ? Qt::Checked : Qt::Unchecked);
    }
    count->setObjectName(QStringLiteral("shareCount"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&Save Copy..."), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("saveShareCopyButton"));
    buttons->addButton(QDialogButtonBox::Cancel)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::itemChanged, this, &ShareCopyDialog::updateCount);
    connect(search, &QLineEdit::textChanged, this, &ShareCopyDialog::filter);
    auto* box = new QVBoxLayout(this);
    box->addWidget(note);
    box->addWidget(search);
    box->addWidget(list, 1);
    box->addWidget(count);
    box->addWidget(buttons);
    updateCount();
    resize(560, 520);
}

std::vector<int32_t> ShareCopyDialog::chosenRows() const {
    std::vector<int32_t> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            rows.push_back(list->item(i)->data(Qt::UserRole).toInt());
    return rows;
}

void ShareCopyDialog::updateCount() {
    const auto chosen = chosenRows().size();
    count->setText(chosen == 1 ? tr("1 value will be masked.")
                               : tr("%1 values will be masked.").arg(chosen));
}

void ShareCopyDialog::filter(const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setHidden(!list->item(i)->text().contains(text, Qt::CaseInsensitive));
}

}  // namespace thornbeck
