#include "gui/widgets/DetailsPanel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/edit/EntryTexts.h"
#include "core/edit/FieldRules.h"
#include "core/edit/HexText.h"
#include "core/edit/ValueText.h"
#include "gui/models/ValueHexModel.h"
#include "gui/text/Latin1Text.h"
#include "gui/widgets/DetailFieldEdit.h"
#include "gui/widgets/HexView.h"

namespace thornbeck {

namespace {
// The field names screen readers say and tests find the fields by, in field order.
constexpr std::array<const char*, kDetailFieldCount> kFieldNames = {
    "valueField", "dataSizeField",   "dataTypeField",  "checksumField",
    "flagsField", "dataOffsetField", "keyOffsetField", "headerIdField"};
constexpr int kNarrowFieldWidth = 93;  // eight digits and a margin
constexpr int kTypicalValueHeight = 70;

QColor ReadOnlyColour() {
    return QApplication::palette().color(QPalette::Button);
}
QColor EditableColour() {
    return QApplication::palette().color(QPalette::Base);
}
QString Plain(const char* caption) {
    return QString::fromLatin1(caption).remove('&').remove(':');
}
}  // namespace

DetailsPanel::DetailsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("detailsPanel"));
    createFields();
    createLayout();
    connect(modify, &QPushButton::clicked, this, &DetailsPanel::modifyRequested);
    // Modify can write only an entry of a known data type: not a folder, not a type byte other
    // than Binary, Integer or String.
    connect(this, &DetailsPanel::fieldChanged, modify,
            [this] { modify->setEnabled(type.has_value()); });
}

void DetailsPanel::createFields() {
    keyText = new QLineEdit(this);
    keyText->setObjectName(QStringLiteral("keyLine"));
    keyText->setAccessibleName(tr("Key"));
    keyText->setReadOnly(true);
    keyText->installEventFilter(this);
    for (int i = 0; i < kDetailFieldCount; ++i) {
        const size_t at = static_cast<size_t>(i);
        auto* label = new QLabel(QString::fromLatin1(kFieldCaptions[at]), this);
        label->setObjectName(QString::fromLatin1(kFieldNames[at]).replace("Field", "Caption"));
        auto* edit = new DetailFieldEdit(i, this);
        edit->setObjectName(QString::fromLatin1(kFieldNames[at]));
        edit->setAccessibleName(Plain(kFieldCaptions[at]));
        edit->setReadOnly(true);
        edit->setCharacters(CharactersOf(i, std::nullopt));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { fieldEdited(i); });
        connect(edit, &DetailFieldEdit::moveRequested, this, &DetailsPanel::moveFocus);
        // Enter applies the fields, as the Modify button does, when there is something to apply.
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (modify->isEnabled()) emit modifyRequested();
        });
        connect(edit, &DetailFieldEdit::siblingRequested, this,
                [this](int, int step) { emit siblingRequested(step); });
        connect(edit, &DetailFieldEdit::focused, this, [edit] {
            // After the click that focused it has placed the caret.
            QTimer::singleShot(0, edit, &DetailFieldEdit::selectAllFromStart);
        });
        captions[at] = label;
        fields[at] = edit;
        setEditable(i, false);
    }
    decimal = new QLabel(QStringLiteral("< decimal"), this);
    decimal->setObjectName(QStringLiteral("decimalNote"));
    decimal->hide();
    hexBytes = new ValueHexModel(this);
    hexTable = new HexView(hexBytes, this);
    connect(field(kValueField), &QLineEdit::textChanged, this, &DetailsPanel::showValueBytes);
    connect(hexBytes, &ValueHexModel::byteEdited, this, &DetailsPanel::hexByteEdited);
    const std::array<QString, 2> infoNames = {QStringLiteral("descriptionBox"),
                                              QStringLiteral("typicalValueBox")};
    const std::array<QString, 2> infoTitles = {tr("Description"), tr("Typical value")};
    for (size_t i = 0; i < infoBoxes.size(); ++i) {
        auto* info = new QLineEdit(this);
        info->setObjectName(infoNames[i]);
        info->setAccessibleName(infoTitles[i]);
        info->setReadOnly(true);
        info->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the tall lower box reads from its top
        info->hide();
        infoBoxes[i] = info;
    }
    infoBoxes[1]->setFixedHeight(kTypicalValueHeight);
    credits = new QLabel(this);
    credits->setObjectName(QStringLiteral("creditsLabel"));
    credits->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255);"));
    credits->setCursor(Qt::PointingHandCursor);
    credits->installEventFilter(this);
    modify = new QPushButton(tr("&Modify"), this);
    modify->setObjectName(QStringLiteral("modifyButton"));
    modify->setAccessibleName(tr("Modify"));
    modify->setEnabled(false);
}

void DetailsPanel::createLayout() {
    auto* grid = new QGridLayout;
    grid->setColumnStretch(2, 1);
    for (int i = 0; i < kDetailFieldCount; ++i) {
        grid->addWidget(caption(i), i, 0);
        if (i == kValueField) {
            grid->addWidget(field(i), i, 1, 1, 2);
        } else {
            field(i)->setFixedWidth(kNarrowFieldWidth);
            grid->addWidget(field(i), i, 1);
        }
    }
    grid->addWidget(decimal, kDataSizeField, 2);
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(credits);
    bottom->addStretch();
    bottom->addWidget(modify);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 6, 4, 4);
    column->addWidget(keyText);
    column->addLayout(grid);
    column->addWidget(hexTable, 1);
    column->addWidget(infoBoxes[0]);
    column->addWidget(infoBoxes[1]);
    column->addWidget(separator);
    column->addLayout(bottom);
}

bool DetailsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == credits && event->type() == QEvent::MouseButtonRelease)
        emit creditsClicked(credits->toolTip());
    // Focusing the key text selects all of it, once the click has placed the caret.
    if (watched == keyText && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, keyText, &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}

bool DetailsPanel::hasUnappliedEdits() const {
    return modify->isEnabled();
}

void DetailsPanel::dropEdits() {
    modify->setEnabled(false);
}

void DetailsPanel::showKey(const QString& key) {
    keyText->setText(key);
}

void DetailsPanel::setCredits(const QString& text, const QString& link) {
    credits->setText(text);
    credits->setToolTip(link);
}

void DetailsPanel::showValueBytes() {
    const std::string text = ToByteText(field(kValueField)->text());
    if (integerSize == 0) return hexBytes->setBytes(text);
    const std::vector<uint8_t> number =
        HexFieldBytes(IntegerDigits(text, integerSize), integerSize);
    hexBytes->setBytes(std::string(number.begin(), number.end()));
}

void DetailsPanel::hexByteEdited(int offset, uint8_t byte) {
    DetailFieldEdit* value = field(kValueField);
    QString text = value->text();
    if (offset >= text.size()) return;
    text[offset] = QChar(byte);
    value->setText(text);
}

int DetailsPanel::limitOf(int index) const {
    return LengthLimitOf(index, valueTag);
}

// Runs after every change of a field's text; its own assignments run it again, nested.
void DetailsPanel::fieldEdited(int index) {
    DetailFieldEdit* edit = field(index);
    if (index == kDataSizeField && type != format::DataType::Integer) {
        // The limit is the size Modify would write; a text it would refuse leaves four.
        const auto size = DataSizeOfText(ToByteText(edit->text()));
        valueTag = size.value_or(field_rules::kHeaderDigits);
        cutValueToLimit();
        if (edit->text().size() > field_rules::kDataSizeDigits) {
            const int caret = edit->cursorPosition();
            edit->setText(edit->text().left(field_rules::kDataSizeDigits));
            edit->setCursorPosition(std::min(caret, field_rules::kDataSizeDigits));
        }
        setValueWide(valueTag > 10);
    } else if (index == kValueField && !cuttingValue) {
        uncutValue.clear();  // the user's own edit of the value ends what a size cut kept
    }
    if (index != kDataSizeField && edit->text().size() > limitOf(index)) {
        const int caret = edit->cursorPosition();
        edit->setText(edit->text().left(limitOf(index)));
        edit->setCursorPosition(std::min(caret, limitOf(index)));
    }
    emit fieldChanged();
}

void DetailsPanel::cutValueToLimit() {
    // The value as it was before any size typed since cut it, so that typing "14" over "10",
    // which passes through "1", brings back what "1" cut.
    DetailFieldEdit* value = field(kValueField);
    const QString whole = uncutValue.isNull() ? value->text() : uncutValue;
    uncutValue = whole.size() > valueTag ? whole : QString();
    const QString shown = whole.left(valueTag);
    if (value->text() == shown) return;
    cuttingValue = true;
    value->setText(shown);
    cuttingValue = false;
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

void DetailsPanel::setValueWide(bool wide) {
    field(kValueField)->setMaximumWidth(wide ? QWIDGETSIZE_MAX : kNarrowFieldWidth);
}

void DetailsPanel::updateDecimalNote() {
    decimal->setVisible(dataSizeEditable);
}

void DetailsPanel::clearEntry(const std::function<void(int)>& closeField) {
    for (int i = 0; i < kDetailFieldCount; ++i) {
        field(i)->deselect();
        setField(i, {});
        field(i)->setToolTip({});
        closeField(i);
    }
    type.reset();
    uncutValue.clear();
    dataSizeEditable = false;
    updateDecimalNote();
    integerSize = 0;
    hexBytes->setEditable(false);
    hexBytes->setBytes({});
}

void DetailsPanel::showFolder() {
    clearEntry([this](int i) {
        caption(i)->setEnabled(false);
        field(i)->setEnabled(false);
        setBackground(i, false);
    });
    // A folder has nothing Modify could write.
    modify->setEnabled(false);
}

void DetailsPanel::clearForLoading() {
    // Nothing of the previous file may stay editable: a refused or empty file shows no entry.
    clearEntry([this](int i) { setEditable(i, false); });
    valueTag = 0;
    showKeyInfo({}, {});
    modify->setEnabled(false);
}

void DetailsPanel::showEntry(const RegistryImage& image, const EntryRef& entry) {
    for (int i = 0; i < kDetailFieldCount; ++i) {
        caption(i)->setEnabled(true);
        setField(i, {});
        field(i)->setEnabled(true);
        setBackground(i, !field(i)->isReadOnly());
    }
    uncutValue.clear();
    const EntryDisplay shown = DescribeEntry(image, entry);
    const auto& texts = shown.texts;
    type = shown.type;
    setField(kDataTypeField, ToQString(texts[kDataTypeField]));

    const bool integer = type == format::DataType::Integer;
    integerSize = integer ? entry.size : 0;
    hexBytes->setEditable(type && !integer);
    hexTable->setReadOnlyReason(
        integer ? tr("An Integer's bytes follow its Value field: edit the number there.")
        : type  ? QString()
                : tr("Its data type byte is none of Binary, Integer and String."));
    valueTag = integer ? field_rules::kIntegerDigits : entry.size;
    // Integer values are hex digits; Binary and String values take any printable byte.
    field(kValueField)->setCharacters(CharactersOf(kValueField, type));
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
    setValueWide(!integer && valueTag > 10);
    for (const int editable : {kValueField, kChecksumField, kFlagsField, kHeaderIdField})
        setEditable(editable, true);

    setField(kDataSizeField, ToQString(texts[kDataSizeField]));
    // Show a long value from its start, not scrolled to its (often NUL-padded) end.
    field(kValueField)->setCursorPosition(0);
    dataSizeEditable = type && !integer;
    setEditable(kDataSizeField, dataSizeEditable);
    updateDecimalNote();

    for (const int number :
         {kChecksumField, kFlagsField, kDataOffsetField, kKeyOffsetField, kHeaderIdField}) {
        setField(number, ToQString(texts[static_cast<size_t>(number)]));
        setNumberTip(number, shown.numbers[static_cast<size_t>(number)]);
    }
    // The fields show the image: nothing to apply yet.
    modify->setEnabled(false);
    modify->setToolTip(type ? QString()
                            : tr("Its data type byte is none of Binary, Integer and String: "
                                 "Modify cannot write it."));
}

void DetailsPanel::showKeyInfo(const QString& description, const QString& typical) {
    // Long texts are shown from their start.
    infoBoxes[0]->setText(description);
    infoBoxes[0]->setCursorPosition(0);
    infoBoxes[1]->setText(typical);
    infoBoxes[1]->setCursorPosition(0);
    // The lower box shows exactly when the upper one does.
    const bool shown = !description.isEmpty();
    infoBoxes[0]->setVisible(shown);
    infoBoxes[1]->setVisible(shown);
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
    for (auto* edit : fields)
        if (edit->hasFocus()) edit->selectAllFromStart();
}

void DetailsPanel::clearSelections() {
    for (auto* edit : fields) edit->deselect();
}

}  // namespace thornbeck
