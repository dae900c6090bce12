#include "gui/widgets/DetailFieldEdit.h"

#include <QKeyEvent>
#include <QTimer>

namespace thornbeck {

DetailFieldEdit::DetailFieldEdit(int index, QWidget* parent) : QLineEdit(parent), index(index) {
    // The panel enforces every length limit itself; the edit's own default (32767) would cut a
    // long value silently.
    setMaxLength(std::numeric_limits<int>::max());
}

bool DetailFieldEdit::accepts(const QString& typed) const {
    for (const QChar c : typed) {
        const char16_t code = c.unicode();
        if (code < 32) continue;  // control characters: Backspace, copy, cut, paste
        if (hexDigitsOnly) {
            if (!((code >= '0' && code <= '9') || (code >= 'A' && code <= 'F') ||
                  (code >= 'a' && code <= 'f')))
                return false;
        } else if (code > 0xFF || (code >= 0x7F && code < 0xA0)) {
            return false;  // a character without a byte, or not printable
        }
    }
    return true;
}

void DetailFieldEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Down:
            emit moveRequested(index, 1);
            return;
        case Qt::Key_Up:
            emit moveRequested(index, -1);
            return;
        case Qt::Key_PageDown:
            emit siblingRequested(index, 1);
            return;
        case Qt::Key_PageUp:
            emit siblingRequested(index, -1);
            return;
        default:
            break;
    }
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (!shortcut && !event->text().isEmpty() && !accepts(event->text())) return;
    QLineEdit::keyPressEvent(event);
}

void DetailFieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focused(index);
}

}  // namespace thornbeck
