// Small pictures: the button glyphs and the program icon. All have an alpha channel so that
// they sit on whatever the button or the desktop paints behind them.

#include <array>
#include <cmath>
#include <numbers>

#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include "artwork.h"
#include "painting.h"

namespace art {

namespace {

void drawGreenDisc(QPainter& painter, const QRectF& box) {
    const QPointF centre = box.center();
    const qreal radius = box.width() / 2 - 0.5;
    QRadialGradient gradient(centre - QPointF(radius * 0.35, radius * 0.45), radius * 1.6);
    gradient.setColorAt(0, QColor(132, 206, 120));
    gradient.setColorAt(0.6, QColor(58, 150, 70));
    gradient.setColorAt(1, QColor(30, 106, 46));
    painter.setBrush(gradient);
    painter.setPen(QPen(QColor(24, 90, 38), 1));
    painter.drawEllipse(centre, radius - 0.5, radius - 0.5);
}

// A white shape with a faint dark edge so it reads on the disc's light top as well.
void drawWhiteShape(QPainter& painter, const QPainterPath& shape) {
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(20, 80, 30, 110), 0.6));
    painter.drawPath(shape);
}

QPainterPath triangle(QPointF tip, qreal baseX, qreal halfHeight) {
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(baseX, tip.y() - halfHeight);
    path.lineTo(baseX, tip.y() + halfHeight);
    path.closeSubpath();
    return path;
}

QPainterPath gearPath(QPointF centre, qreal outer, qreal inner, qreal hole, int teeth) {
    QPainterPath gear;
    const qreal step = 2 * std::numbers::pi / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step;
        // Each tooth: rise, flat top, fall, flat root.
        const std::array<std::pair<qreal, qreal>, 4> corners{{{a - step * 0.28, inner},
                                                              {a - step * 0.16, outer},
                                                              {a + step * 0.16, outer},
                                                              {a + step * 0.28, inner}}};
        for (std::size_t c = 0; c < corners.size(); ++c) {
            const auto [angle, r] = corners[c];
            const QPointF point(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
            if (i == 0 && c == 0) {
                gear.moveTo(point);
            } else {
                gear.lineTo(point);
            }
        }
    }
    gear.closeSubpath();
    QPainterPath axle;
    axle.addEllipse(centre, hole, hole);
    return gear.subtracted(axle);
}

// An open book seen from the front: two pages curving up from the spine, on a cover.
void drawOpenBook(QPainter& painter, const QRectF& box, const QColor& cover, const QColor& page,
                  const QColor& line) {
    const qreal x = box.left();
    const qreal y = box.top();
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal mid = x + w / 2;

    QPainterPath coverPath;
    coverPath.moveTo(x, y + h * 0.22);
    coverPath.lineTo(mid, y + h * 0.36);
    coverPath.lineTo(x + w, y + h * 0.22);
    coverPath.lineTo(x + w, y + h);
    coverPath.lineTo(mid, y + h * 0.96 + 0.8);
    coverPath.lineTo(x, y + h);
    coverPath.closeSubpath();
    painter.setBrush(cover);
    painter.setPen(QPen(cover.darker(140), 0.8));
    painter.drawPath(coverPath);

    for (const int side : {-1, 1}) {
        QPainterPath pagePath;
        const qreal outerX = mid + side * (w / 2 - w * 0.07);
        pagePath.moveTo(mid, y + h * 0.2);
        pagePath.cubicTo(QPointF(mid + side * w * 0.14, y), QPointF(outerX, y),
                         QPointF(outerX, y + h * 0.06));
        pagePath.lineTo(outerX, y + h * 0.86);
        pagePath.cubicTo(QPointF(outerX, y + h * 0.8), QPointF(mid + side * w * 0.14, y + h * 0.8),
                         QPointF(mid, y + h * 0.92));
        pagePath.closeSubpath();
        painter.setBrush(page);
        painter.setPen(QPen(line, 0.8));
        painter.drawPath(pagePath);
    }
}

}  // namespace

QImage stepGlyph(StepGlyph kind) {
    QImage image = newPicture(16, 16, Qt::transparent, true);
    QPainter painter(&image);
    prepare(painter);
    drawGreenDisc(painter, QRectF(0, 0, 16, 16));

    QPainterPath shape;
    switch (kind) {
        case StepGlyph::Next:
            shape = triangle(QPointF(12, 8), 6, 3.8);
            break;
        case StepGlyph::Prior:
            shape = triangle(QPointF(4, 8), 10, 3.8);
            break;
        case StepGlyph::First:
            shape = triangle(QPointF(9.6, 8), 4.4, 3.6);
            shape.addRect(QRectF(10.2, 4.4, 1.8, 7.2));
            break;
        case StepGlyph::Last:
            shape = triangle(QPointF(6.4, 8), 11.6, 3.6);
            shape.addRect(QRectF(4, 4.4, 1.8, 7.2));
            break;
    }
    drawWhiteShape(painter, shape);
    return image;
}

QImage settingsGlyph() {
    QImage image = newPicture(16, 16, Qt::transparent, true);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(8, 8);
    QRadialGradient gradient(QPointF(6, 5.5), 10);
    gradient.setColorAt(0, QColor(128, 184, 246));
    gradient.setColorAt(1, QColor(28, 84, 176));
    painter.setBrush(gradient);
    painter.setPen(QPen(QColor(20, 60, 140), 0.8));
    painter.drawPath(gearPath(centre, 7.4, 5.3, 2.1, 8));
    return image;
}

QImage advancedSearchGlyph() {
    QImage image = newPicture(24, 24, Qt::transparent, true);
    QPainter painter(&image);
    prepare(painter);
    drawOpenBook(painter, QRectF(1, 3, 19, 14), QColor(44, 96, 196), QColor(236, 244, 255),
                 QColor(60, 100, 180));
    // Lines of text on the pages.
    painter.setPen(QPen(QColor(120, 150, 210), 0.8));
    for (qreal y : {7.5, 10.0, 12.5}) {
        painter.drawLine(QPointF(3.6, y), QPointF(8.6, y + 0.3));
        painter.drawLine(QPointF(12.4, y + 0.3), QPointF(16.6, y));
    }
    // Magnifying glass over the lower right corner.
    const QPointF lens(15.5, 15);
    painter.setPen(QPen(QColor(60, 60, 70), 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(18.3, 17.8), QPointF(22.2, 21.7));
    QRadialGradient glass(lens - QPointF(1.2, 1.2), 5);
    glass.setColorAt(0, QColor(255, 255, 255, 235));
    glass.setColorAt(1, QColor(190, 220, 255, 200));
    painter.setBrush(glass);
    painter.setPen(QPen(QColor(40, 70, 150), 1.6));
    painter.drawEllipse(lens, 4.2, 4.2);
    return image;
}

QImage programIcon() {
    constexpr int size = 48;
    QImage image = newPicture(size, size, Qt::transparent, true);
    QPainter painter(&image);
    prepare(painter);

    const QRectF tile(2, 2, size - 4, size - 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 60, 30, 60));
    painter.drawRoundedRect(tile.translated(0, 1.2), 10, 10);
    QLinearGradient gradient(tile.topLeft(), tile.bottomLeft());
    gradient.setColorAt(0, QColor(112, 176, 122));
    gradient.setColorAt(1, QColor(46, 112, 64));
    painter.setBrush(gradient);
    painter.setPen(QPen(kGold, 1.5));
    painter.drawRoundedRect(tile.adjusted(0.75, 0.75, -0.75, -0.75), 10, 10);

    drawStar(painter, QPointF(24, 15), 8.5, QColor(250, 236, 180), QColor(190, 150, 70));
    drawOpenBook(painter, QRectF(9, 23, 30, 17), QColor(150, 40, 36), QColor(252, 250, 238),
                 QColor(170, 150, 110));
    return image;
}

}  // namespace art
