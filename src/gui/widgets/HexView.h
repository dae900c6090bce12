#pragma once

#include <QTableView>

namespace thornbeck {

class ValueHexModel;

// The Value field's bytes in hex: 16 narrow byte columns and the text column, in a fixed font a
// point smaller than the fields, so that a row fits the details panel without scrolling sideways.
// It edits as a hex editor does: a typed hex digit overwrites the high nibble of the current byte,
// the next its low nibble, and the cursor moves on; in the text column a typed character is its
// byte. Other keys are refused, the arrows and page keys move, Ctrl+C copies the selected bytes
// as hex pairs. The value's length never changes here.
class HexView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kShownRows = 4;

    HexView(ValueHexModel* model, QWidget* parent);
    ValueHexModel* hexModel() const { return bytes; }
    // An Integer's bytes follow its Value field and are not edited here: the view looks
    // read-only and says why; "" makes it editable again.
    void setReadOnlyReason(const QString& reason);
    // The selected bytes as hex pairs, in offset order.
    QString selectedHexPairs() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // The byte the cursor stands on: its cell's, or in the text column the next one typed.
    int cursorOffset() const;
    void moveToOffset(int offset);
    void typeHexDigit(int digit);
    void typeCharacter(uint8_t byte);
    void write(int offset, uint8_t byte);

    ValueHexModel* bytes;
    bool lowNibble = false;  // the next digit goes into the low half of the byte
    int textPosition = 0;    // in the text column: the byte of the row typed next
};

}  // namespace thornbeck
