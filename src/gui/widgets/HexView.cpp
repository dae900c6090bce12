#include "gui/widgets/HexView.h"

#include <QFontDatabase>
#include <QHeaderView>

#include "gui/models/ValueHexModel.h"

namespace thornbeck {

namespace {
constexpr int kRowHeight = 16;
constexpr int kByteWidth = 18;
}  // namespace

HexView::HexView(ValueHexModel* model, QWidget* parent) : QTableView(parent), bytes(model) {
    setObjectName(QStringLiteral("hexView"));
    setAccessibleName(tr("Hex view"));
    setModel(model);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(parent->font().pointSizeF() - 1.25);
    setFont(fixed);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setMinimumSectionSize(kByteWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(kByteWidth);
    horizontalHeader()->setStretchLastSection(true);
    // Room for a few rows and the header, so that the view never shrinks to nothing.
    setMinimumHeight(kShownRows * kRowHeight + horizontalHeader()->sizeHint().height() +
                     2 * frameWidth());
}

}  // namespace thornbeck
