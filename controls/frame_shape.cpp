#include "controls/frame_shape.h"

#include <QPainter>

namespace controls {

FrameShape::FrameShape(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FrameShape::setPenColor(const QColor& color) {
    if (color == m_penColor) return;
    m_penColor = color;
    update();
}

void FrameShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.setPen(QPen(m_penColor, 1));
    painter.setBrush(Qt::NoBrush);
    // A one-pixel pen on the half-open rectangle stays inside the bounds.
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace controls
