#include "controls/hot_spot.h"

#include <QMouseEvent>

namespace controls {

HotSpot::HotSpot(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void HotSpot::mousePressEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT pressed(event->button());
}

void HotSpot::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT pressed(event->button());
}

void HotSpot::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT pointerMoved(event->position().toPoint());
}

}  // namespace controls
