#include "gui/widgets/HexView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>
#include <vector>

#include "core/edit/FieldRules.h"
#include "core/edit/ValueText.h"
#include "core/text/TextFunctions.h"
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
    // Typing edits in place, a nibble at a time; no cell editor opens.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setMinimumSectionSize(kByteWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(kByteWidth);
    horizontalHeader()->setStretchLastSection(true);
    // Room for a few rows and the header, so that the view never shrinks to nothing.
    setMinimumHeight(kShownRows * kRowHeight + horizontalHeader()->sizeHint().height() +
                     2 * frameWidth() + 4);
}

void HexView::setReadOnlyReason(const QString& reason) {
    QPalette shade = palette();
    shade.setColor(QPalette::Base, QApplication::palette().color(
                                       reason.isEmpty() ? QPalette::Base : QPalette::Button));
    setPalette(shade);
    setToolTip(reason);
}

int HexView::cursorOffset() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return -1;
    const int column =
        current.column() == ValueHexModel::kTextColumn ? textPosition : current.column();
    const int offset = current.row() * ValueHexModel::kBytesPerRow + column;
    return offset < static_cast<int>(bytes->bytes().size()) ? offset : -1;
}

void HexView::moveToOffset(int offset) {
    if (offset < 0 || offset >= static_cast<int>(bytes->bytes().size())) return;
    const bool inText = currentIndex().column() == ValueHexModel::kTextColumn;
    const int row = offset / ValueHexModel::kBytesPerRow;
    const int column = offset % ValueHexModel::kBytesPerRow;
    setCurrentIndex(bytes->index(row, inText ? ValueHexModel::kTextColumn : column));
    textPosition = column;
}

void HexView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    lowNibble = false;
    if (current.row() != previous.row() || previous.column() != ValueHexModel::kTextColumn)
        textPosition = 0;
}

void HexView::typeHexDigit(int digit) {
    const int offset = cursorOffset();
    if (offset < 0) return;
    const auto old = static_cast<uint8_t>(bytes->bytes()[static_cast<size_t>(offset)]);
    const bool second = lowNibble;
    const auto byte =
        static_cast<uint8_t>(second ? (old & 0xF0) | digit : (digit << 4) | (old & 0x0F));
    write(offset, byte);
    if (second) moveToOffset(offset + 1);
    lowNibble = !second;
}

void HexView::write(int offset, uint8_t byte) {
    bytes->setData(
        bytes->index(offset / ValueHexModel::kBytesPerRow, offset % ValueHexModel::kBytesPerRow),
        QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')), Qt::EditRole);
}

void HexView::typeCharacter(uint8_t byte) {
    const int offset = cursorOffset();
    if (offset < 0) return;
    write(offset, byte);
    if (offset + 1 < static_cast<int>(bytes->bytes().size())) {
        if ((offset + 1) % ValueHexModel::kBytesPerRow == 0) {
            setCurrentIndex(bytes->index((offset + 1) / ValueHexModel::kBytesPerRow,
                                         ValueHexModel::kTextColumn));
            textPosition = 0;
        } else {
            textPosition = (offset + 1) % ValueHexModel::kBytesPerRow;
        }
    }
}

QString HexView::selectedHexPairs() const {
    std::vector<int> offsets;
    for (const QModelIndex& index : selectedIndexes()) {
        if (index.column() >= ValueHexModel::kBytesPerRow) continue;
        const int offset = index.row() * ValueHexModel::kBytesPerRow + index.column();
        if (offset < static_cast<int>(bytes->bytes().size())) offsets.push_back(offset);
    }
    std::sort(offsets.begin(), offsets.end());
    std::string selected;
    for (const int offset : offsets) selected += bytes->bytes()[static_cast<size_t>(offset)];
    return QString::fromStdString(HexPairs(selected));
}

void HexView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(selectedHexPairs());
        return;
    }
    const QString typed = event->text();
    const bool plain =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && typed.size() == 1 && typed[0].unicode() >= 0x20 && typed[0].unicode() != 0x7F) {
        // A typed character edits, or is refused; it never reaches the table's own handling.
        if (!bytes->isEditable()) return;
        const char16_t code = typed[0].unicode();
        if (currentIndex().column() == ValueHexModel::kTextColumn) {
            if (AcceptsTyped(FieldCharacters::Bytes, code))
                typeCharacter(static_cast<uint8_t>(code));
            return;
        }
        if (const int digit = HexDigitValue(code); digit >= 0) typeHexDigit(digit);
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace thornbeck
