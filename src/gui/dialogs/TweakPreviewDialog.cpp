#include "gui/dialogs/TweakPreviewDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/models/TweakLineModel.h"

namespace thornbeck {
namespace {
constexpr int kWidestColumn = 240;
}  // namespace

TweakPreviewDialog::TweakPreviewDialog(const Tweak& tweak, const TweakOutcome& checked,
                                       QWidget* parent)
    : QDialog(parent),
      model(new TweakLineModel(tweak, checked, this)),
      table(new QTableView(this)),
      countLabel(new QLabel(this)),
      applyButton(nullptr) {
    setObjectName(QStringLiteral("tweakPreview"));
    setWindowTitle(tr("Apply Tweak"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(
        tweak.title.empty() ? tr("A tweak without a title") : QString::fromStdString(tweak.title),
        this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setObjectName(QStringLiteral("tweakTitle"));
    layout->addWidget(title);
    if (!tweak.description.empty()) {
        auto* description = new QLabel(QString::fromStdString(tweak.description), this);
        description->setWordWrap(true);
        description->setObjectName(QStringLiteral("tweakDescription"));
        layout->addWidget(description);
    }
    table->setObjectName(QStringLiteral("tweakLines"));
    table->setAccessibleName(tr("Lines of the tweak"));
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    // Each column as wide as its texts, but a long value (a padded String) no wider than a
    // share of the dialog, so that the status stays in view; its tooltip holds it whole.
    table->resizeColumnsToContents();
    for (int column = 0; column < TweakLineModel::kColumnCount; ++column)
        table->setColumnWidth(column, std::min(table->columnWidth(column), kWidestColumn));
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table, 1);
    countLabel->setObjectName(QStringLiteral("tweakCount"));
    layout->addWidget(countLabel);

    auto* buttons = new QDialogButtonBox(this);
    applyButton = buttons->addButton(tr("&Apply"), QDialogButtonBox::AcceptRole);
    applyButton->setObjectName(QStringLiteral("applyTweakButton"));
    buttons->addButton(QDialogButtonBox::Cancel);
    // Enter must not write into the file unasked: Cancel is the default.
    buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(model, &TweakLineModel::chosenChanged, this, &TweakPreviewDialog::updateCount);
    updateCount();
    resize(900, 420);
}

const std::vector<bool>& TweakPreviewDialog::chosen() const {
    return model->chosen();
}

void TweakPreviewDialog::updateCount() {
    int writable = 0;
    for (int row = 0; row < model->rowCount(); ++row) writable += model->writable(row);
    countLabel->setText(tr("%1 of %2 lines will be written; %3 cannot be.")
                            .arg(model->chosenCount())
                            .arg(model->rowCount())
                            .arg(model->rowCount() - writable));
    applyButton->setEnabled(model->chosenCount() > 0);
}

}  // namespace thornbeck
