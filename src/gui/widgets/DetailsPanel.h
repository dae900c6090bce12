#pragma once

#include <QObject>
#include <QString>
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
class QTableView;
class QWidget;

namespace thornbeck {

class DetailFieldEdit;
class ValueHexModel;

// The right-hand panel that shows one entry: the eight captioned fields, "< decimal" beside an
// editable Data Size, and the two information boxes. It applies the fields' input rules and
// tells the window when a field changed; it never touches the image.
class DetailsPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int kValueDesignWidth = 357;
    static constexpr int kFieldWidth = 93;

    explicit DetailsPanel(QWidget* parent);

    // A key folder: every field cleared and disabled.
    void showFolder();
    // An entry, read from the image: the fields end exactly as the image holds them.
    void showEntry(const RegistryImage& image, const EntryRef& entry);
    // While a file opens: every field empty, with the read-only colour.
    void clearForLoading();
    // The key's description and typical value; empty texts hide the boxes.
    void showKeyInfo(const QString& description, const QString& typical);

    ModifyRequest request() const;
    void focusField(int index);
    // Selects the whole text of the field that has the focus, if any.
    void selectFocusedField();
    void clearSelections();

    // Places the panel with its left edge at `left` and the information boxes right above
    // `separatorTop`; shows the fields that end above the boxes, none in list mode.
    void layout(int left, int separatorTop, bool treeMode);
    QLineEdit* infoBox(int index) const;
    // The hex view of the Value field's bytes.
    QTableView* hexView() const { return hexTable; }
    ValueHexModel* hexModel() const { return hexBytes; }

    DetailFieldEdit* field(int index) const { return txtField[static_cast<size_t>(index)]; }
    QLabel* prompt(int index) const { return lblPrompt[static_cast<size_t>(index)]; }
    QLabel* decimalLabel() const { return lblDecimal; }
    int valueLimit() const { return valueTag; }
    std::optional<format::DataType> dataType() const { return type; }

signals:
    // Any change of a field's text, by the user or by the panel.
    void fieldChanged();
    void siblingRequested(int step);

private:
    // Empties every field and forgets the shown entry; `closeField` then leaves each field
    // disabled (a folder) or read-only (a file opening).
    void clearEntry(const std::function<void(int)>& closeField);
    void txtField_Change(int index);
    void moveFocus(int index, int step);
    void setField(int index, const QString& text);
    void setEditable(int index, bool editable);
    // The window colour for an editable field, the button face for a read-only one.
    void setBackground(int index, bool editable);
    void setNumberTip(int index, const std::optional<uint64_t>& number);
    void setValueWidth(int width);
    void updateDecimalLabel();
    void createHexView(QWidget* parent);
    // The hex view follows the Value field: its text as bytes, an Integer's as the bytes Modify
    // would write.
    void showValueBytes();
    void hexByteEdited(int offset, uint8_t byte);
    int limitOf(int index) const;

    std::array<QLabel*, kDetailFieldCount> lblPrompt{};
    std::array<DetailFieldEdit*, kDetailFieldCount> txtField{};
    std::array<QLineEdit*, 2> txtInfo{};
    QLabel* lblDecimal = nullptr;
    QTableView* hexTable = nullptr;
    ValueHexModel* hexBytes = nullptr;
    int integerSize = 0;  // the shown Integer entry's size, 0 for other entries
    std::optional<format::DataType> type;
    int valueTag = 0;  // the Value field's length limit
    bool dataSizeEditable = false;
    bool treeMode = true;
};

}  // namespace thornbeck
