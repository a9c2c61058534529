#include "controls/speed_button.h"

#include <QPainter>

namespace controls {

SpeedButton::SpeedButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    // Repaints on entering and leaving, which is when a flat button's frame comes and goes.
    setAttribute(Qt::WA_Hover);
}

void SpeedButton::setFlat(bool flat) {
    m_flat = flat;
    update();
}

void SpeedButton::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

QColor SpeedButton::fontColor() const {
    return palette().color(QPalette::ButtonText);
}

void SpeedButton::setFontColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::ButtonText, color);
    setPalette(colours);
}

namespace {
struct Placement {
    QRect picture;
    QRect caption;
};

Placement placeContent(const QRect& area, const QSize& pictureSize, int captionWidth,
                       int captionHeight, int spacing, Qt::LayoutDirection direction) {
    const bool hasPicture = !pictureSize.isEmpty();
    const bool hasCaption = captionWidth > 0;
    const int gap = hasPicture && hasCaption ? spacing : 0;
    const int total = (hasPicture ? pictureSize.width() : 0) + gap + captionWidth;
    const int start = area.x() + (area.width() - total) / 2;
    Placement placement;
    // Lay out picture-then-caption from the left, then mirror the pair for right-to-left.
    int x = start;
    if (hasPicture) {
        placement.picture =
            QRect(QPoint(x, area.y() + (area.height() - pictureSize.height()) / 2), pictureSize);
        x += pictureSize.width() + gap;
    }
    if (hasCaption)
        placement.caption =
            QRect(x, area.y() + (area.height() - captionHeight) / 2, captionWidth, captionHeight);
    if (direction == Qt::RightToLeft) {
        const auto mirror = [&](QRect& r) {
            if (!r.isNull()) r.moveLeft(2 * start + total - r.x() - r.width());
        };
        mirror(placement.picture);
        mirror(placement.caption);
    }
    return placement;
}

QSize pictureSizeOf(const SpeedButton& button) {
    return button.picture().isNull() ? QSize() : button.picture().deviceIndependentSize().toSize();
}

Placement placementOf(const SpeedButton& button) {
    const QFontMetrics metrics = button.fontMetrics();
    const int captionWidth = button.text().isEmpty() ? 0 : metrics.horizontalAdvance(button.text());
    return placeContent(button.rect(), pictureSizeOf(button), captionWidth, metrics.height(),
                        SpeedButton::kSpacing, button.layoutDirection());
}
}  // namespace

QRect SpeedButton::pictureRect() const {
    return placementOf(*this).picture;
}

QRect SpeedButton::captionRect() const {
    return placementOf(*this).caption;
}

QSize SpeedButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const QSize pictureSize = pictureSizeOf(*this);
    const int captionWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const int gap = !pictureSize.isEmpty() && captionWidth > 0 ? kSpacing : 0;
    return {pictureSize.width() + gap + captionWidth + 8,
            std::max(pictureSize.height(), metrics.height()) + 6};
}

void SpeedButton::drawFrame(QPainter& painter, bool sunken) const {
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    const QColor& topLeft = sunken ? dark : light;
    const QColor& bottomRight = sunken ? light : dark;
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    if (!m_flat) {
        // A raised face has a second, inner bevel.
        const QRect inner = r.adjusted(1, 1, -1, -1);
        painter.setPen(sunken ? palette().color(QPalette::Shadow)
                              : palette().color(QPalette::Midlight));
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
        painter.setPen(sunken ? palette().color(QPalette::Midlight)
                              : palette().color(QPalette::Shadow));
        painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomRight());
    }
}

void SpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool sunken = isDown() || isChecked();
    if (!m_flat) painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!m_flat || sunken || (underMouse() && isEnabled())) drawFrame(painter, sunken);

    const QPoint shift = sunken ? QPoint(1, 1) : QPoint();
    const QRect pictureBox = pictureRect().translated(shift);
    if (!pictureBox.isNull()) painter.drawPixmap(pictureBox.topLeft(), m_picture);
    const QRect captionBox = captionRect().translated(shift);
    if (!captionBox.isNull()) {
        painter.setPen(isEnabled() ? fontColor()
                                   : palette().color(QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(captionBox, Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}

}  // namespace controls
