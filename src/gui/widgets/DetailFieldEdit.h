#pragma once

#include <QLineEdit>

#include "core/edit/FieldRules.h"

namespace thornbeck {

// One detail field: a single-line edit that refuses typed characters the field does not take, or
// that would make it longer than its maximum length, and says so; it turns the arrow and page
// keys into requests, so the panel decides what they do.
class DetailFieldEdit : public QLineEdit {
    Q_OBJECT
public:
    DetailFieldEdit(int index, QWidget* parent);

    // Which characters may be typed (pasted text is not filtered; the panel limits its length).
    void setCharacters(FieldCharacters accepted) { characters = accepted; }

    // Selects the whole text with the caret at its start, so that a long value padded with
    // zero bytes shows its beginning, not its padding.
    void selectAllFromStart() {
        setSelection(static_cast<int>(text().size()), -static_cast<int>(text().size()));
    }

signals:
    void moveRequested(int index, int step);     // Down +1, Up -1
    void siblingRequested(int index, int step);  // Page Down +1, Page Up -1
    void focused(int index);
    // A typed character was refused: `full` when the field had no room, else not a character
    // the field takes.
    void typingRefused(int index, bool full);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool accepts(const QString& typed) const;

    int index;
    FieldCharacters characters = FieldCharacters::HexDigits;
};

}  // namespace thornbeck
