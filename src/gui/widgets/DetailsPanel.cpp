#include "gui/widgets/DetailsPanel.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "core/edit/EntryTexts.h"
#include "core/edit/HexText.h"
#include "core/edit/ValueText.h"
#include "gui/models/ValueHexModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/widgets/DetailFieldEdit.h"

namespace thornbeck {

namespace {
// Design tops and caption sizes, top to bottom.
constexpr std::array<int, kDetailFieldCount> kFieldTops = {39, 75, 106, 139, 170, 201, 235, 268};
constexpr std::array<int, kDetailFieldCount> kPromptTops = {42, 78, 109, 142, 174, 205, 238, 271};
constexpr std::array<int, kDetailFieldCount> kPromptWidths = {41, 75, 75, 70, 70, 70, 70, 70};
constexpr std::array<int, kDetailFieldCount> kPromptHeights = {16, 16, 16, 20, 20, 20, 20, 20};
constexpr int kFieldHeight = 21;
constexpr int kInfoHeights[2] = {19, 70};
constexpr int kPanelWidth = 437;
constexpr int kDataSizeDigits = 5;  // sizes go up to 65535
constexpr int kHeaderDigits = 4;
constexpr int kOtherLimit = 8;
constexpr int kHexRowHeight = 16;
constexpr int kHexByteWidth = 18;
constexpr int kHexMinimumHeight = 3 * kHexRowHeight + 8;

QColor ReadOnlyColour() {
    return QApplication::palette().color(QPalette::Button);
}
QColor EditableColour() {
    return QApplication::palette().color(QPalette::Base);
}
}  // namespace

DetailsPanel::DetailsPanel(QWidget* parent) : QObject(parent) {
    for (int i = 0; i < kDetailFieldCount; ++i) {
        auto* caption =
            new QLabel(QString::fromLatin1(kFieldCaptions[static_cast<size_t>(i)]), parent);
        caption->setObjectName(QStringLiteral("lblPrompt%1").arg(i));
        auto* edit = new DetailFieldEdit(i, parent);
        edit->setObjectName(QStringLiteral("txtField%1").arg(i));
        edit->setReadOnly(true);
        caption->setBuddy(edit);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { txtField_Change(i); });
        connect(edit, &DetailFieldEdit::moveRequested, this, &DetailsPanel::moveFocus);
        connect(edit, &DetailFieldEdit::siblingRequested, this,
                [this](int, int step) { emit siblingRequested(step); });
        connect(edit, &DetailFieldEdit::focused, this, [edit] {
            // After the click that focused it has placed the caret.
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        });
        lblPrompt[static_cast<size_t>(i)] = caption;
        txtField[static_cast<size_t>(i)] = edit;
    }
    lblDecimal = new QLabel(QStringLiteral("< decimal"), parent);
    lblDecimal->setObjectName(QStringLiteral("lblDecimal"));
    lblDecimal->hide();
    for (int i = 0; i < 2; ++i) {
        auto* info = new QLineEdit(parent);
        info->setObjectName(QStringLiteral("txtInfo%1").arg(i));
        info->setReadOnly(true);
        info->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the tall lower box reads from its top
        info->hide();
        txtInfo[static_cast<size_t>(i)] = info;
    }
    for (auto* edit : txtField) {
        edit->resize(kFieldWidth, kFieldHeight);
        setEditable(edit->fieldIndex(), false);
    }
    field(kValueField)->resize(kValueDesignWidth, kFieldHeight);
    createHexView(parent);
}

void DetailsPanel::createHexView(QWidget* parent) {
    hexBytes = new ValueHexModel(this);
    hexTable = new QTableView(parent);
    hexTable->setObjectName(QStringLiteral("hexView"));
    hexTable->setModel(hexBytes);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // A point smaller than the fields, so that 16 bytes and their text fit the panel's width.
    fixed.setPointSizeF(parent->font().pointSizeF() - 1.25);
    hexTable->setFont(fixed);
    hexTable->setShowGrid(false);
    hexTable->setWordWrap(false);
    hexTable->setTextElideMode(Qt::ElideNone);
    hexTable->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                              QAbstractItemView::EditKeyPressed);
    hexTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    hexTable->verticalHeader()->setDefaultSectionSize(kHexRowHeight);
    // Sixteen narrow byte columns and the text column fit the panel without scrolling sideways.
    hexTable->horizontalHeader()->setMinimumSectionSize(kHexByteWidth);
    hexTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    hexTable->horizontalHeader()->setDefaultSectionSize(kHexByteWidth);
    hexTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    hexTable->horizontalHeader()->setStretchLastSection(true);
    hexTable->hide();
    connect(field(kValueField), &QLineEdit::textChanged, this, &DetailsPanel::showValueBytes);
    connect(hexBytes, &ValueHexModel::byteEdited, this, &DetailsPanel::hexByteEdited);
}

void DetailsPanel::showValueBytes() {
    const std::string text = ToByteText(field(kValueField)->text());
    if (integerSize == 0) return hexBytes->setBytes(text);
    const std::vector<uint8_t> number = HexFieldBytes(text, integerSize);
    hexBytes->setBytes(std::string(number.begin(), number.end()));
}

void DetailsPanel::hexByteEdited(int offset, uint8_t byte) {
    DetailFieldEdit* value = field(kValueField);
    QString text = value->text();
    if (offset >= text.size()) return;
    text[offset] = QChar(byte);
    value->setText(text);
}

QLineEdit* DetailsPanel::infoBox(int index) const {
    return txtInfo[static_cast<size_t>(index)];
}

int DetailsPanel::limitOf(int index) const {
    switch (index) {
        case kValueField:
            return valueTag;
        case kDataSizeField:
            return kDataSizeDigits;
        case kChecksumField:
        case kFlagsField:
        case kHeaderIdField:
            return kHeaderDigits;
        default:
            return kOtherLimit;
    }
}

// Runs after every change of a field's text; its own assignments run it again, nested.
void DetailsPanel::txtField_Change(int index) {
    DetailFieldEdit* edit = field(index);
    if (index == kDataSizeField && type != format::DataType::Integer) {
        // The limit is the size Modify would write; a text it would refuse leaves four.
        const auto size = DataSizeOfText(ToByteText(edit->text()));
        valueTag = size.value_or(kHeaderDigits);
        DetailFieldEdit* value = field(kValueField);
        if (value->text().size() > valueTag) value->setText(value->text().left(valueTag));
        if (edit->text().size() > kDataSizeDigits) {
            const int caret = edit->cursorPosition();
            edit->setText(edit->text().left(kDataSizeDigits));
            edit->setCursorPosition(std::min(caret, kDataSizeDigits));
        }
        setValueWidth(valueTag > 10 ? kValueDesignWidth : kFieldWidth);
    } else if (index != kDataSizeField && edit->text().size() > limitOf(index)) {
        const int caret = edit->cursorPosition();
        edit->setText(edit->text().left(limitOf(index)));
        edit->setCursorPosition(std::min(caret, limitOf(index)));
    }
    emit fieldChanged();
}

void DetailsPanel::moveFocus(int index, int step) {
    for (int i = index + step; i >= 0 && i < kDetailFieldCount; i += step) {
        if (field(i)->isReadOnly()) continue;
        if (field(i)->isVisible() && field(i)->isEnabled()) field(i)->setFocus();
        return;
    }
}

void DetailsPanel::setField(int index, const QString& text) {
    field(index)->setText(text);
}

void DetailsPanel::setBackground(int index, bool editable) {
    QPalette palette = field(index)->palette();
    palette.setColor(QPalette::Base, editable ? EditableColour() : ReadOnlyColour());
    field(index)->setPalette(palette);
}

void DetailsPanel::setEditable(int index, bool editable) {
    field(index)->setReadOnly(!editable);
    setBackground(index, editable);
}

void DetailsPanel::setNumberTip(int index, const std::optional<uint64_t>& number) {
    field(index)->setToolTip(number ? QStringLiteral("%1 (dec)").arg(*number) : QString());
}

void DetailsPanel::setValueWidth(int width) {
    field(kValueField)->resize(width, kFieldHeight);
}

void DetailsPanel::updateDecimalLabel() {
    lblDecimal->setVisible(dataSizeEditable && treeMode && field(kDataSizeField)->isVisible());
}

void DetailsPanel::clearEntry(const std::function<void(int)>& closeField) {
    for (int i = 0; i < kDetailFieldCount; ++i) {
        field(i)->deselect();
        setField(i, {});
        field(i)->setToolTip({});
        closeField(i);
    }
    type.reset();
    dataSizeEditable = false;
    updateDecimalLabel();
    integerSize = 0;
    hexBytes->setEditable(false);
    hexBytes->setBytes({});
}

void DetailsPanel::showFolder() {
    clearEntry([this](int i) {
        prompt(i)->setEnabled(false);
        field(i)->setEnabled(false);
        setBackground(i, false);
    });
}

void DetailsPanel::clearForLoading() {
    // Nothing of the previous file may stay editable: a refused or empty file shows no entry.
    clearEntry([this](int i) { setEditable(i, false); });
    valueTag = 0;
    showKeyInfo({}, {});
}

void DetailsPanel::showEntry(const RegistryImage& image, const EntryRef& entry) {
    for (int i = 0; i < kDetailFieldCount; ++i) {
        prompt(i)->setEnabled(true);
        setField(i, {});
        field(i)->setEnabled(true);
        setBackground(i, !field(i)->isReadOnly());
    }
    const EntryDisplay shown = DescribeEntry(image, entry);
    const auto& texts = shown.texts;
    type = shown.type;
    setField(kDataTypeField, ToQString(texts[kDataTypeField]));

    const bool integer = type == format::DataType::Integer;
    integerSize = integer ? entry.size : 0;
    hexBytes->setEditable(type && !integer);
    valueTag = integer ? 8 : entry.size;
    // Integer values are hex digits; Binary and String values take any printable byte.
    field(kValueField)->setHexOnly(integer);
    setField(kValueField, ToQString(texts[kValueField]));
    setNumberTip(kValueField, integer ? shown.numbers[kValueField] : std::nullopt);
    if (!integer) {
        // The first bytes in hex, as an Integer's tooltip shows its number.
        constexpr size_t kTipBytes = 16;
        const std::string& bytes = texts[kValueField];
        const std::string tip = HexPairs(std::string_view(bytes).substr(0, kTipBytes));
        field(kValueField)
            ->setToolTip(QString::fromStdString(bytes.size() > kTipBytes ? tip + " ..." : tip));
    }
    if (integer) setValueWidth(kFieldWidth);
    for (const int editable : {kValueField, kChecksumField, kFlagsField, kHeaderIdField})
        setEditable(editable, true);

    setField(kDataSizeField, ToQString(texts[kDataSizeField]));
    // Show a long value from its start, not scrolled to its (often NUL-padded) end.
    field(kValueField)->setCursorPosition(0);
    dataSizeEditable = type && !integer;
    setEditable(kDataSizeField, dataSizeEditable);
    updateDecimalLabel();

    for (const int number :
         {kChecksumField, kFlagsField, kDataOffsetField, kKeyOffsetField, kHeaderIdField}) {
        setField(number, ToQString(texts[static_cast<size_t>(number)]));
        setNumberTip(number, shown.numbers[static_cast<size_t>(number)]);
    }
}

void DetailsPanel::showKeyInfo(const QString& description, const QString& typical) {
    // Long texts are shown from their start.
    txtInfo[0]->setText(description);
    txtInfo[0]->setCursorPosition(0);
    txtInfo[1]->setText(typical);
    txtInfo[1]->setCursorPosition(0);
    // The lower box shows exactly when the upper one does.
    const bool shown = treeMode && !description.isEmpty();
    txtInfo[0]->setVisible(shown);
    txtInfo[1]->setVisible(shown);
}

ModifyRequest DetailsPanel::request() const {
    ModifyRequest request;
    for (int i = 0; i < kDetailFieldCount; ++i)
        request.texts[static_cast<size_t>(i)] = ToByteText(field(i)->text());
    request.type = type;
    request.valueIsLatin1 = IsByteText(field(kValueField)->text());
    return request;
}

void DetailsPanel::focusField(int index) {
    field(index)->setFocus();
}

void DetailsPanel::selectFocusedField() {
    for (auto* edit : txtField)
        if (edit->hasFocus()) edit->selectAll();
}

void DetailsPanel::clearSelections() {
    for (auto* edit : txtField) edit->deselect();
}

void DetailsPanel::layout(int left, int separatorTop, bool tree) {
    treeMode = tree;
    int infoTop = separatorTop;
    for (int i = 1; i >= 0; --i) {
        infoTop -= kInfoHeights[i];
        if (infoTop >= 0)
            txtInfo[static_cast<size_t>(i)]->setGeometry(left, infoTop, kPanelWidth,
                                                         kInfoHeights[i]);
    }
    const int limit = txtInfo[0]->y();
    // The hex view takes the room between the last field and the information boxes, if any.
    const int hexTop = kFieldTops[kHeaderIdField] + kFieldHeight + 8;
    const int hexHeight = limit - 6 - hexTop;
    hexTable->setGeometry(left + 4, hexTop, kPanelWidth - 4, std::max(hexHeight, 0));
    hexTable->setVisible(tree && hexHeight >= kHexMinimumHeight);
    for (int i = 0; i < kDetailFieldCount; ++i) {
        const size_t at = static_cast<size_t>(i);
        lblPrompt[at]->setGeometry(left + 4, kPromptTops[at], kPromptWidths[at],
                                   kPromptHeights[at]);
        txtField[at]->move(left + 80, kFieldTops[at]);
        txtField[at]->setVisible(tree && kFieldTops[at] + kFieldHeight < limit);
        lblPrompt[at]->setVisible(tree && kPromptTops[at] + kPromptHeights[at] < limit);
    }
    lblDecimal->setGeometry(field(kFlagsField)->x() + field(kFlagsField)->width() + 4, 78, 89, 12);
    updateDecimalLabel();
    const bool info = tree && !txtInfo[0]->text().isEmpty();
    txtInfo[0]->setVisible(info);
    txtInfo[1]->setVisible(info);
}

}  // namespace thornbeck
