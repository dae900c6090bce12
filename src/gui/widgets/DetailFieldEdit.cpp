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
    for (const QChar c : typed)
        if (!AcceptsTyped(characters, c.unicode())) return false;
    return true;
}

namespace {
// Ctrl+Z, and both redo keys: Ctrl+Y and Ctrl+Shift+Z.
bool IsUndoKey(const QKeyEvent* key) {
    return key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Z);
}
bool IsRedoKey(const QKeyEvent* key) {
    return key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           key->keyCombination() ==
               QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}
}  // namespace

// One rule for both directions: the field's own typing is undone or redone first, while it has
// a step that way; otherwise the keys reach the window's Undo and Redo, as from anywhere else.
bool DetailFieldEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = IsUndoKey(key);
        if (undo || IsRedoKey(key)) {
            const bool own = !isReadOnly() && (undo ? isUndoAvailable() : isRedoAvailable());
            event->setAccepted(own);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void DetailFieldEdit::keyPressEvent(QKeyEvent* event) {
    if (IsUndoKey(event) || IsRedoKey(event)) {
        if (IsUndoKey(event)) {
            undo();
        } else {
            redo();
        }
        return;
    }
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
    const QString typed = event->text();
    const bool printable =
        !typed.isEmpty() && typed.front().unicode() >= 0x20 && typed.front().unicode() != 0x7F;
    if (!shortcut && printable && !isReadOnly()) {
        if (!accepts(typed)) {
            emit typingRefused(index, false);
            return;
        }
        if (text().size() - selectedText().size() + typed.size() > maxLength()) {
            emit typingRefused(index, true);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void DetailFieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focused(index);
}

}  // namespace thornbeck
