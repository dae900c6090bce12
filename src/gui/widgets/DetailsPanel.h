#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "core/edit/DetailField.h"
#include "core/edit/ModifyEntry.h"
#include "core/format/EntryRef.h"
#include "core/format/RegistryFormat.h"
#include "core/format/RegistryImage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace thornbeck {

class DetailFieldEdit;
class HexView;
class ValueHexModel;

// The right-hand panel that shows one entry: the key line, the eight captioned fields, "< decimal"
// beside an editable Data Size, the hex view, the two information boxes, the credits and the
// Modify button, in layouts that grow with the panel. It applies the fields' input rules and
// says when a field changed or Modify was pressed; it never touches the image.
class DetailsPanel : public QWidget {
    Q_OBJECT
public:
    explicit DetailsPanel(QWidget* parent = nullptr);

    // The key line above the fields: the shown node's key, or a word while a file opens.
    void showKey(const QString& key);
    // A key folder: every field cleared and disabled.
    void showFolder();
    // An entry, read from the image: the fields end exactly as the image holds them.
    void showEntry(const RegistryImage& image, const EntryRef& entry);
    // While a file opens: every field empty, with the read-only colour.
    void clearForLoading();
    // The key's description and typical value; empty texts hide the boxes.
    void showKeyInfo(const QString& description, const QString& typical);
    void setCredits(const QString& text, const QString& link);

    ModifyRequest request() const;
    void focusField(int index);
    // Selects the whole text of the field that has the focus, if any.
    void selectFocusedField();
    void clearSelections();

    // Fields were edited since the entry was shown, and Modify could apply them.
    bool hasUnappliedEdits() const;
    // Forgets that the fields were edited; the next entry shown replaces them.
    void dropEdits();

    QLineEdit* keyLine() const { return keyText; }
    QLineEdit* infoBox(int index) const { return infoBoxes[static_cast<size_t>(index)]; }
    HexView* hexView() const { return hexTable; }
    ValueHexModel* hexModel() const { return hexBytes; }
    QPushButton* modifyButton() const { return modify; }
    QLabel* creditsLabel() const { return credits; }
    DetailFieldEdit* field(int index) const { return fields[static_cast<size_t>(index)]; }
    QLabel* caption(int index) const { return captions[static_cast<size_t>(index)]; }
    QLabel* decimalNote() const { return decimal; }
    int valueLimit() const { return valueTag; }
    std::optional<format::DataType> dataType() const { return type; }

signals:
    // Any change of a field's text, by the user or by the panel.
    void fieldChanged();
    void siblingRequested(int step);
    void modifyRequested();
    void creditsClicked(const QString& link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createFields();
    void createLayout();
    // Empties every field and forgets the shown entry; `closeField` then leaves each field
    // disabled (a folder) or read-only (a file opening).
    void clearEntry(const std::function<void(int)>& closeField);
    void fieldEdited(int index);
    // Cuts the Value field to the limit the Data Size gives, keeping what it cut until the user
    // edits the value or another entry is shown.
    void cutValueToLimit();
    void moveFocus(int index, int step);
    void setField(int index, const QString& text);
    void setEditable(int index, bool editable);
    // The window colour for an editable field, the button face for a read-only one.
    void setBackground(int index, bool editable);
    void setNumberTip(int index, const std::optional<uint64_t>& number);
    void setValueWide(bool wide);
    void updateDecimalNote();
    // The hex view follows the Value field: its text as bytes, an Integer's as the bytes Modify
    // would write.
    void showValueBytes();
    void hexByteEdited(int offset, uint8_t byte);
    int limitOf(int index) const;

    QLineEdit* keyText = nullptr;
    std::array<QLabel*, kDetailFieldCount> captions{};
    std::array<DetailFieldEdit*, kDetailFieldCount> fields{};
    std::array<QLineEdit*, 2> infoBoxes{};
    QLabel* decimal = nullptr;
    HexView* hexTable = nullptr;
    ValueHexModel* hexBytes = nullptr;
    QLabel* credits = nullptr;
    QPushButton* modify = nullptr;
    int integerSize = 0;  // the shown Integer entry's size, 0 for other entries
    std::optional<format::DataType> type;
    int valueTag = 0;    // the Value field's length limit
    QString uncutValue;  // the value before a typed size cut it; null when nothing is cut
    bool cuttingValue = false;
    bool dataSizeEditable = false;
};

}  // namespace thornbeck
