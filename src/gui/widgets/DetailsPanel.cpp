#include "gui/widgets/DetailsPanel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/edit/EntryTexts.h"
#include "core/edit/FieldRules.h"
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
}  // namespace

DetailsPanel::DetailsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("detailsPanel"));
    createFields();
    createLayout();
    connect(modify, &QPushButton::clicked, this, &DetailsPanel::modifyRequested);
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
        edit->setAccessibleName(QString::fromStdString(FieldName(static_cast<DetailField>(i))));
        edit->setReadOnly(true);
        edit->setCharacters(CharactersOf(i, std::nullopt));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { fieldEdited(i); });
        connect(edit, &DetailFieldEdit::moveRequested, this, &DetailsPanel::moveFocus);
        connect(edit, &DetailFieldEdit::typingRefused, this, &DetailsPanel::sayRefused);
        // Enter applies the fields, as the Modify button does, when there is something to apply.
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (fieldTexts.canApply()) emit modifyRequested();
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
    valueSide = new QLabel(this);
    valueSide->setObjectName(QStringLiteral("valueNote"));
    valueSide->setEnabled(false);  // drawn dimmed: a note, not a value
    valueSide->hide();
    hexBytes = new ValueHexModel(this);
    hexTable = new HexView(hexBytes, this);
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
    credits->setAccessibleName(tr("Credits"));
    // Tab reaches it, and Enter or Space opens the page as a click does.
    credits->setFocusPolicy(Qt::TabFocus);
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
            grid->addWidget(valueSide, i, 3);
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
        emit creditsClicked(creditsLink);
    if (watched == credits && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            emit creditsClicked(creditsLink);
            return true;
        }
    }
    // Focusing the key text selects all of it, once the click has placed the caret.
    if (watched == keyText && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, keyText, &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}

void DetailsPanel::dropEdits() {
    fieldTexts.revert();
    showTexts(true);
    followFields();
}

void DetailsPanel::showKey(const QString& key) {
    keyText->setText(key);
}

void DetailsPanel::setCredits(const QString& text, const QString& link) {
    credits->setText(text);
    credits->setToolTip(link);
    credits->setAccessibleDescription(link);
    creditsLink = link;
}

void DetailsPanel::hexByteEdited(int offset, uint8_t byte) {
    if (offset < 0 || offset >= fieldTexts.valueLimit() || fieldTexts.isInteger()) return;
    // A byte of the padding lengthens the text up to it; zeros at its end stay padding.
    QString text = fieldTexts.text(kValueField).leftJustified(offset + 1, QChar(0));
    text[offset] = QChar(byte);
    field(kValueField)->setText(WithoutPadding(text));
}

// Runs after every change of a field's text: the user's typing, a paste, the field's own undo.
void DetailsPanel::fieldEdited(int index) {
    if (showing) return;
    fieldTexts.edit(index, field(index)->text());
    showTexts();
    followFields();
    emit fieldChanged();
}

void DetailsPanel::sayRefused(int index, bool full) {
    const QString name = field(index)->accessibleName();
    if (full) {
        emit keystrokeRefused(
            index == kValueField && !fieldTexts.isInteger()
                ? tr("The value is full: it holds %1 bytes. Raise its Data Size "
                     "to make room.")
                      .arg(fieldTexts.valueLimit())
                : tr("%1 takes at most %2 characters.").arg(name).arg(fieldTexts.limitOf(index)));
        return;
    }
    const FieldCharacters takes = CharactersOf(index, fieldTexts.type());
    emit keystrokeRefused(takes == FieldCharacters::HexDigits
                              ? tr("%1 takes hex digits only (0-9, A-F).").arg(name)
                          : takes == FieldCharacters::DecimalDigits
                              ? tr("%1 takes decimal digits only.").arg(name)
                              : tr("%1 takes only characters of one byte (Latin-1).").arg(name));
}

void DetailsPanel::showTexts(bool fresh) {
    showing = true;
    for (int i = 0; i < kDetailFieldCount; ++i) {
        DetailFieldEdit* edit = field(i);
        const QString& text = fieldTexts.text(i);
        const int caret = edit->cursorPosition();
        // Typing stops at the field's limit: the edit refuses more, and says so. (A new maximum
        // sets the edit's text again, which moves its caret.)
        const int limit = std::max<int>(fieldTexts.limitOf(i), text.size());
        if (edit->maxLength() != limit) edit->setMaxLength(limit);
        // A text set anew also ends the field's own undo history: it belonged to other texts.
        if (fresh || edit->text() != text) edit->setText(text);
        if (edit->cursorPosition() != caret)
            edit->setCursorPosition(std::min<int>(caret, text.size()));
    }
    showing = false;
}

void DetailsPanel::followFields() {
    hexBytes->setBytes(fieldTexts.valueBytes());
    setValueWide(!fieldTexts.isInteger() && fieldTexts.valueLimit() > 10);
    DetailFieldEdit* value = field(kValueField);
    if (!fieldTexts.isEntry() || !fieldTexts.type()) {
        valueSide->hide();
        value->setPlaceholderText({});
    } else if (fieldTexts.isInteger()) {
        const auto number = fieldTexts.integerNumber();
        valueSide->setText(number ? tr("hex, %1 in decimal").arg(*number) : tr("hex"));
        valueSide->show();
        value->setPlaceholderText({});
    } else {
        const int free = fieldTexts.freeBytes();
        valueSide->setText(free == 1 ? tr("1 byte free") : tr("%1 bytes free").arg(free));
        valueSide->show();
        // An all-zero value says so instead of looking empty.
        value->setPlaceholderText(tr("%1 zero bytes").arg(fieldTexts.valueLimit()));
    }
    modify->setEnabled(fieldTexts.canApply());
}

void DetailsPanel::moveFocus(int index, int step) {
    for (int i = index + step; i >= 0 && i < kDetailFieldCount; i += step) {
        if (field(i)->isReadOnly()) continue;
        if (field(i)->isVisible() && field(i)->isEnabled()) field(i)->setFocus();
        return;
    }
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

void DetailsPanel::clearEntry(const std::function<void(int)>& closeField) {
    fieldTexts.clear();
    for (int i = 0; i < kDetailFieldCount; ++i) {
        field(i)->deselect();
        field(i)->setToolTip({});
        closeField(i);
    }
    showTexts(true);
    decimal->setVisible(false);
    hexBytes->setEditable(false);
    followFields();
}

void DetailsPanel::showFolder() {
    clearEntry([this](int i) {
        caption(i)->setEnabled(false);
        field(i)->setEnabled(false);
        setBackground(i, false);
    });
}

void DetailsPanel::clearForLoading() {
    // Nothing of the previous file may stay editable: a refused or empty file shows no entry.
    clearEntry([this](int i) { setEditable(i, false); });
    showKeyInfo({}, {});
}

void DetailsPanel::showEntry(const EntryDisplay& shown, int32_t size,
                             const QString& readOnlyReason) {
    fieldTexts.load(shown, size);
    const std::optional<format::DataType> type = shown.type;
    const bool integer = type == format::DataType::Integer;
    for (int i = 0; i < kDetailFieldCount; ++i) {
        caption(i)->setEnabled(true);
        field(i)->setEnabled(true);
    }
    hexBytes->setEditable(type && !integer);
    hexTable->setReadOnlyReason(
        integer ? tr("An Integer's bytes follow its Value field: edit the number there.")
        : type  ? QString()
                : tr("Its data type byte is none of Binary, Integer and String."));
    // Integer values are hex digits; Binary and String values take any printable byte.
    field(kValueField)->setCharacters(CharactersOf(kValueField, type));
    setNumberTip(kValueField, integer ? shown.numbers[kValueField] : std::nullopt);
    if (!integer) {
        // The first bytes in hex, as an Integer's tooltip shows its number.
        constexpr size_t kTipBytes = 16;
        const std::string& bytes = shown.texts[kValueField];
        const std::string tip = HexPairs(std::string_view(bytes).substr(0, kTipBytes));
        field(kValueField)
            ->setToolTip(QString::fromStdString(bytes.size() > kTipBytes ? tip + " ..." : tip));
    }
    for (const int editable : {kValueField, kChecksumField, kFlagsField, kHeaderIdField})
        setEditable(editable, true);
    const bool sizeEditable = type && !integer;
    setEditable(kDataSizeField, sizeEditable);
    for (const int readOnly : {kDataTypeField, kDataOffsetField, kKeyOffsetField})
        setEditable(readOnly, false);
    decimal->setVisible(sizeEditable);
    for (const int number :
         {kChecksumField, kFlagsField, kDataOffsetField, kKeyOffsetField, kHeaderIdField})
        setNumberTip(number, shown.numbers[static_cast<size_t>(number)]);
    showTexts(true);
    // Show a long value from its start, not scrolled to its end.
    field(kValueField)->setCursorPosition(0);
    followFields();
    modify->setToolTip(type ? QString()
                            : tr("Its data type byte is none of Binary, Integer and String: "
                                 "Modify cannot write it."));
    if (!readOnlyReason.isEmpty()) {
        for (int i = 0; i < kDetailFieldCount; ++i) setEditable(i, false);
        decimal->hide();
        hexBytes->setEditable(false);
        hexTable->setReadOnlyReason(readOnlyReason);
        modify->setToolTip(readOnlyReason);
        keyText->setToolTip(readOnlyReason);
    } else {
        keyText->setToolTip({});
    }
    emit entryShown();
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
