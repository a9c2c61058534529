#include "controls/edit.h"

#include <QFocusEvent>

namespace controls {

Edit::Edit(QWidget* parent) : QLineEdit(parent) {}

void Edit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
        case Qt::MouseFocusReason:
        case Qt::ActiveWindowFocusReason:
        case Qt::PopupFocusReason:
            break;
        default:
            selectAll();
            break;
    }
}

}  // namespace controls
