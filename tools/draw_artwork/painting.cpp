#include "painting.h"

#include <cmath>
#include <numbers>

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

namespace art {

QImage newPicture(int width, int height, const QColor& fill, bool withAlpha) {
    QImage image(width, height,
                 withAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

namespace {

QFont fontFrom(const QStringList& families, int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace

QFont persianFont(int pixelSize, bool bold) {
    return fontFrom({QStringLiteral("Noto Sans Arabic UI"), QStringLiteral("Noto Sans Arabic"),
                     QStringLiteral("DejaVu Sans")},
                    pixelSize, bold);
}

QFont naskhFont(int pixelSize, bool bold) {
    return fontFrom({QStringLiteral("Noto Naskh Arabic UI"), QStringLiteral("Noto Naskh Arabic"),
                     QStringLiteral("Noto Sans Arabic UI"), QStringLiteral("DejaVu Sans")},
                    pixelSize, bold);
}

QFont latinFont(int pixelSize, bool bold) {
    return fontFrom({QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")}, pixelSize, bold);
}

void verticalGradient(QPainter& painter, const QRectF& rect, const QColor& top,
                      const QColor& bottom, qreal radius) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    if (radius > 0) {
        painter.drawRoundedRect(rect, radius, radius);
    } else {
        painter.drawRect(rect);
    }
    painter.restore();
}

void drawFrame(QPainter& painter, const QRectF& rect, const QColor& fill, qreal radius) {
    painter.save();
    // Shadow: two faint offset outlines, enough to lift the frame off the page.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(60, 100, 60, 26), 3));
    painter.drawRoundedRect(rect.translated(0, 1.5), radius, radius);
    painter.setPen(QPen(QColor(60, 100, 60, 18), 1.5));
    painter.drawRoundedRect(rect.translated(0, 2.5), radius, radius);

    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kFrameLight, 1));
    painter.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    painter.setPen(QPen(kFrame, 1));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void drawHeading(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& colour, Qt::Alignment alignment) {
    painter.save();
    painter.setFont(font);
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.setPen(colour);
    // Absolute: under right-to-left layout Qt would otherwise mirror "right" to the left.
    painter.drawText(box, static_cast<int>(alignment | Qt::AlignAbsolute), text);
    painter.restore();
}

void drawFadingRule(QPainter& painter, qreal x1, qreal x2, qreal y, const QColor& colour) {
    QLinearGradient gradient(QPointF(x1, y), QPointF(x2, y));
    QColor clear = colour;
    clear.setAlpha(0);
    gradient.setColorAt(0, clear);
    gradient.setColorAt(0.2, colour);
    gradient.setColorAt(0.8, colour);
    gradient.setColorAt(1, clear);
    painter.save();
    painter.setPen(QPen(QBrush(gradient), 1));
    painter.drawLine(QPointF(x1, y), QPointF(x2, y));
    painter.restore();
}

void drawStar(QPainter& painter, QPointF centre, qreal radius, const QColor& fill,
              const QColor& outline) {
    QPainterPath star;
    for (int i = 0; i < 16; ++i) {
        // Alternate outer points and the inner corners where the two squares cross.
        const qreal r =
            (i % 2 == 0) ? radius
                         : radius * std::cos(std::numbers::pi / 4) / std::cos(std::numbers::pi / 8);
        const qreal angle = i * std::numbers::pi / 8 - std::numbers::pi / 2;
        const QPointF point(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0) {
            star.moveTo(point);
        } else {
            star.lineTo(point);
        }
    }
    star.closeSubpath();
    painter.save();
    painter.setBrush(fill);
    painter.setPen(outline.alpha() == 0 ? QPen(Qt::NoPen) : QPen(outline, 1));
    painter.drawPath(star);
    painter.restore();
}

void drawMenuSlot(QPainter& painter, const QRectF& rect) {
    painter.save();
    const QRectF inner = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
    gradient.setColorAt(0, QColor(232, 243, 228));
    gradient.setColorAt(1, kSlot);
    painter.setBrush(gradient);
    painter.setPen(QPen(QColor(176, 208, 176), 1));
    painter.drawRoundedRect(inner, 7, 7);
    // An inset look: a darker line just under the top edge.
    painter.setPen(QPen(QColor(150, 186, 150, 90), 1));
    painter.drawLine(QPointF(inner.left() + 6, inner.top() + 1.5),
                     QPointF(inner.right() - 6, inner.top() + 1.5));
    painter.restore();
}

void drawMarkerBar(QPainter& painter, const QRectF& rect) {
    painter.save();
    const QRectF inner = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
    gradient.setColorAt(0, QColor(255, 254, 244));
    gradient.setColorAt(0.55, QColor(252, 246, 218));
    gradient.setColorAt(1, QColor(244, 232, 190));
    painter.setBrush(gradient);
    painter.setPen(QPen(kGold, 1));
    painter.drawRoundedRect(inner, 7, 7);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.drawRoundedRect(inner.adjusted(1, 1, -1, -1), 6, 6);
    // Small stars at both ends, clear of the longest topic caption.
    const qreal midY = inner.center().y();
    drawStar(painter, QPointF(inner.left() + 7, midY), 3.6, kGold, Qt::transparent);
    drawStar(painter, QPointF(inner.right() - 7, midY), 3.6, kGold, Qt::transparent);
    painter.restore();
}

void drawPublisherEmblem(QPainter& painter, const QRectF& box) {
    painter.save();
    const qreal radius = std::min(box.width(), box.height() - 26) / 2 - 3;
    const QPointF centre(box.center().x(), box.top() + 3 + radius);

    // Soft drop shadow under the medallion.
    QRadialGradient shadow(centre + QPointF(0, 3), radius + 5);
    shadow.setColorAt(0.85, QColor(30, 70, 40, 60));
    shadow.setColorAt(1, QColor(30, 70, 40, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(centre + QPointF(0, 3), radius + 5, radius + 5);

    // Gold ring.
    QLinearGradient ring(centre - QPointF(0, radius), centre + QPointF(0, radius));
    ring.setColorAt(0, QColor(236, 214, 150));
    ring.setColorAt(1, QColor(176, 142, 66));
    painter.setBrush(ring);
    painter.drawEllipse(centre, radius, radius);

    // Green field.
    QRadialGradient field(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.2);
    field.setColorAt(0, QColor(120, 180, 128));
    field.setColorAt(1, QColor(46, 110, 64));
    painter.setBrush(field);
    painter.drawEllipse(centre, radius - 5, radius - 5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(250, 240, 200, 170), 1));
    painter.drawEllipse(centre, radius - 8, radius - 8);

    // Star with a small open book at its heart.
    drawStar(painter, centre, radius - 13, QColor(250, 244, 218), QColor(206, 176, 98));
    drawStar(painter, centre, radius - 21, QColor(66, 128, 80), Qt::transparent);
    const qreal b = (radius - 21) * 0.52;
    QPainterPath book;
    book.moveTo(centre + QPointF(0, b * 0.55));
    book.cubicTo(centre + QPointF(-b * 0.4, b * 0.2), centre + QPointF(-b * 0.8, b * 0.2),
                 centre + QPointF(-b * 1.1, b * 0.45));
    book.lineTo(centre + QPointF(-b * 1.1, -b * 0.55));
    book.cubicTo(centre + QPointF(-b * 0.8, -b * 0.8), centre + QPointF(-b * 0.4, -b * 0.8),
                 centre + QPointF(0, -b * 0.45));
    book.cubicTo(centre + QPointF(b * 0.4, -b * 0.8), centre + QPointF(b * 0.8, -b * 0.8),
                 centre + QPointF(b * 1.1, -b * 0.55));
    book.lineTo(centre + QPointF(b * 1.1, b * 0.45));
    book.cubicTo(centre + QPointF(b * 0.8, b * 0.2), centre + QPointF(b * 0.4, b * 0.2),
                 centre + QPointF(0, b * 0.55));
    book.closeSubpath();
    painter.setPen(QPen(QColor(206, 176, 98), 1));
    painter.setBrush(QColor(252, 248, 230));
    painter.drawPath(book);
    painter.drawLine(centre + QPointF(0, -b * 0.45), centre + QPointF(0, b * 0.55));

    // The publisher's name on a small ribbon under the medallion.
    const QRectF nameBox(box.left(), centre.y() + radius + 2, box.width(), 20);
    painter.setFont(latinFont(13, true));
    painter.setPen(QColor(40, 96, 56));
    painter.drawText(nameBox, Qt::AlignCenter, kPublisherName);
    painter.restore();
}

namespace {

void drawSymbolTile(QPainter& painter, const QRectF& tile, const QColor& fill) {
    const QRectF inner = tile.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
    gradient.setColorAt(0, fill.lighter(118));
    gradient.setColorAt(1, fill);
    painter.setBrush(gradient);
    painter.setPen(QPen(QColor(250, 246, 226, 220), 1));
    painter.drawRoundedRect(inner, 4, 4);
}

}  // namespace

void drawMinimiseSymbol(QPainter& painter, const QRectF& tile) {
    painter.save();
    drawSymbolTile(painter, tile, QColor(70, 128, 84));
    painter.setPen(QPen(kCream, 2, Qt::SolidLine, Qt::RoundCap));
    const qreal y = tile.top() + tile.height() * 0.66;
    painter.drawLine(QPointF(tile.left() + 5, y), QPointF(tile.right() - 5, y));
    painter.restore();
}

void drawCloseSymbol(QPainter& painter, const QRectF& tile) {
    painter.save();
    drawSymbolTile(painter, tile, QColor(168, 72, 60));
    painter.setPen(QPen(kCream, 2, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = tile.adjusted(5.5, 5.5, -5.5, -5.5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    painter.restore();
}

}  // namespace art
