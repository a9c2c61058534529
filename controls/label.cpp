#include "controls/label.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

namespace controls {

Label::Label(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void Label::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    adjustBounds();
    update();
}

QColor Label::fontColor() const {
    return palette().color(QPalette::WindowText);
}

void Label::setFontColor(const QColor& color) {
    if (color == fontColor()) return;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
    update();
}

void Label::setAutoSize(AutoSize autoSize) {
    m_autoSize = autoSize;
    adjustBounds();
}

void Label::place(const QRect& box) {
    m_box = box;
    adjustBounds();
}

void Label::adjustBounds() {
    if (!m_box.isValid()) return;
    if (m_autoSize == AutoSize::off) {
        setGeometry(m_box);
        return;
    }
    const QFontMetrics metrics = fontMetrics();
    const int textWidth =
        metrics.horizontalAdvance(m_text.isEmpty() ? QStringLiteral(" ") : m_text);
    const int width = m_autoSize == AutoSize::fit ? textWidth : std::max(m_box.width(), textWidth);
    const int height = std::max(m_box.height(), metrics.height());
    const int left =
        layoutDirection() == Qt::RightToLeft ? m_box.x() + m_box.width() - width : m_box.x();
    setGeometry(left, m_box.y(), width, height);
}

void Label::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(fontColor());
    // The label's own direction, set here rather than trusted to the painter, which does not
    // always start from it when the window is painted on screen: Qt::AlignLeft lands on the
    // right edge in right-to-left, and the text is laid out in that reading order.
    painter.setLayoutDirection(layoutDirection());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
}

void Label::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_pressed = true;
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && rect().contains(event->position().toPoint())) Q_EMIT clicked();
}

void Label::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT pointerMoved(event->position().toPoint());
}

void Label::leaveEvent(QEvent*) {
    Q_EMIT pointerLeft();
}

void Label::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutDirectionChange)
        adjustBounds();
    QWidget::changeEvent(event);
}

}  // namespace controls
