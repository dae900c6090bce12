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
