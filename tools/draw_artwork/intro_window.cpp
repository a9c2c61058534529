// The intro window's background, its book-introduction panel and the answering-centres panel
// with the centres' logos.

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include <QPainterPath>
#include <QRadialGradient>

#include "artwork.h"
#include "painting.h"

namespace art {

namespace {

constexpr int kIntroWidth = 450;
constexpr int kIntroHeight = 478;

// Where the intro window's controls lie.
constexpr QRectF kBookLabel{285, 317, 75, 18};    // "book introduction"
constexpr QRectF kCentresLabel{88, 317, 84, 18};  // "answering centres"
constexpr QRectF kEntryLabel{188, 363, 81, 18};   // the program's name: enter
constexpr QRectF kMinimiseHotSpot{391, 10, 17, 17};
constexpr QRectF kCloseHotSpot{416, 10, 17, 17};
constexpr qreal kLinkLineTop = 452;  // the publisher link and the version label below this

constexpr qreal kIntroBand = 38;

const QString kCollectionTitle = QStringLiteral("پرسش و پاسخ درباره نبوت");
const QString kBookIntroduction = QStringLiteral("معرفي کتاب");

// A pointed arch: straight sides up to `springY`, two curves meeting at `apexY`.
QPainterPath archPath(qreal left, qreal right, qreal springY, qreal apexY, qreal bottom) {
    const qreal mid = (left + right) / 2;
    const qreal rise = springY - apexY;
    QPainterPath path;
    path.moveTo(left, bottom);
    path.lineTo(left, springY);
    path.cubicTo(QPointF(left, springY - rise * 0.55),
                 QPointF(mid - (right - left) * 0.16, apexY + rise * 0.18), QPointF(mid, apexY));
    path.cubicTo(QPointF(mid + (right - left) * 0.16, apexY + rise * 0.18),
                 QPointF(right, springY - rise * 0.55), QPointF(right, springY));
    path.lineTo(right, bottom);
    path.closeSubpath();
    return path;
}

void drawTopBand(QPainter& painter, qreal width, qreal height) {
    verticalGradient(painter, QRectF(0, 0, width, height), kBandTop, kBandBottom);
    painter.save();
    painter.setPen(QPen(kGold, 1));
    painter.drawLine(QPointF(0, height - 0.5), QPointF(width, height - 0.5));
    painter.setPen(QPen(QColor(255, 255, 245, 150), 1));
    painter.drawLine(QPointF(0, height + 0.5), QPointF(width, height + 0.5));
    painter.restore();
}

// A framed slot a menu label sits in, centred on the label, with room for a caption that a
// substitute font draws wider than the label's designed width.
void drawLabelSlot(QPainter& painter, const QRectF& label) {
    constexpr qreal minimumWidth = 120;
    const qreal width = std::max(label.width() + 36, minimumWidth);
    const QRectF slot(label.center().x() - width / 2, label.top() - 6, width, label.height() + 12);
    drawFrame(painter, slot, QColor(250, 251, 240), slot.height() / 2);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(206, 176, 98, 150), 1));
    painter.drawRoundedRect(slot.adjusted(3, 3, -3, -3), slot.height() / 2 - 3,
                            slot.height() / 2 - 3);
    painter.restore();
}

void drawMedallion(QPainter& painter, QPointF centre, qreal radius) {
    QRadialGradient glow(centre, radius * 1.9);
    glow.setColorAt(0, QColor(255, 250, 220, 200));
    glow.setColorAt(1, QColor(255, 250, 220, 0));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius * 1.9, radius * 1.9);
    painter.restore();
    drawStar(painter, centre, radius, QColor(236, 212, 140), QColor(176, 142, 66));
    drawStar(painter, centre, radius * 0.78, QColor(82, 146, 94), QColor(250, 240, 200));
    drawStar(painter, centre, radius * 0.42, QColor(250, 244, 218), Qt::transparent);
}

}  // namespace

QImage introBackground() {
    QImage image = newPicture(kIntroWidth, kIntroHeight, kPageBottom);
    QPainter painter(&image);
    prepare(painter);
    verticalGradient(painter, QRectF(0, 0, kIntroWidth, kIntroHeight), kPageTop, kPageBottom);
    drawTopBand(painter, kIntroWidth, kIntroBand);
    drawHeading(painter, QRectF(14, 0, 200, kIntroBand - 1), kPublisherName, latinFont(13, true),
                QColor(236, 246, 226), Qt::AlignLeft | Qt::AlignVCenter);
    drawMinimiseSymbol(painter, kMinimiseHotSpot);
    drawCloseSymbol(painter, kCloseHotSpot);

    // Title artwork: an arch holding the medallion, the collection's title and the program's
    // name.
    const qreal archLeft = 62;
    const qreal archRight = kIntroWidth - 62;
    const QPainterPath arch = archPath(archLeft, archRight, 120, 52, 292);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 90, 50, 30));
    painter.drawPath(arch.translated(0, 2.5));
    QLinearGradient fill(QPointF(0, 52), QPointF(0, 292));
    fill.setColorAt(0, QColor(255, 253, 240));
    fill.setColorAt(1, QColor(232, 244, 226));
    painter.setBrush(fill);
    painter.setPen(QPen(kGold, 2));
    painter.drawPath(arch);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kFrame, 1));
    painter.drawPath(archPath(archLeft + 6, archRight - 6, 123, 60, 286));
    painter.restore();

    drawMedallion(painter, QPointF(kIntroWidth / 2.0, 122), 34);
    drawHeading(painter, QRectF(archLeft + 10, 170, archRight - archLeft - 20, 44),
                kCollectionTitle, naskhFont(26, true), kHeadingText, Qt::AlignCenter);
    drawHeading(painter, QRectF(archLeft + 10, 216, archRight - archLeft - 20, 24), kProgramName,
                latinFont(17, true), QColor(128, 30, 30), Qt::AlignCenter);
    drawFadingRule(painter, archLeft + 30, archRight - 30, 252.5, kGold);
    drawStar(painter, QPointF(kIntroWidth / 2.0, 252.5), 5, kGold, Qt::transparent);

    drawLabelSlot(painter, kBookLabel);
    drawLabelSlot(painter, kCentresLabel);
    drawLabelSlot(painter, kEntryLabel);

    // The publisher link and the version label sit on a quiet strip at the bottom.
    drawFadingRule(painter, 60, kIntroWidth - 60, kLinkLineTop - 4.5, kFrame);
    return image;
}

QImage introPanel() {
    constexpr int width = 285;
    constexpr int height = 376;
    constexpr qreal artHeight = 124;  // the credit lines start below this
    QImage image = newPicture(width, height, kPageBottom);
    QPainter painter(&image);
    prepare(painter);
    verticalGradient(painter, QRectF(0, 0, width, height), kPageTop, kPageBottom);

    const QPainterPath arch = archPath(10, width - 10, 62, 8, artHeight);
    painter.save();
    QLinearGradient fill(QPointF(0, 8), QPointF(0, artHeight));
    fill.setColorAt(0, kBandTop);
    fill.setColorAt(1, kBandBottom);
    painter.setBrush(fill);
    painter.setPen(QPen(kGold, 1.5));
    painter.drawPath(arch);
    painter.restore();
    drawStar(painter, QPointF(width / 2.0, 44), 20, QColor(236, 212, 140), QColor(250, 240, 200));
    drawStar(painter, QPointF(width / 2.0, 44), 11, QColor(82, 146, 94), Qt::transparent);
    drawHeading(painter, QRectF(10, 70, width - 20, 38), kBookIntroduction, naskhFont(22, true),
                kCream, Qt::AlignCenter);
    drawFadingRule(painter, 30, width - 30, artHeight + 4.5, kGold);

    painter.setPen(QPen(kFrame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(0, 0, width - 1, height - 1);
    return image;
}

QImage centresPanel() {
    QImage image = newPicture(408, 478, kPageBottom);
    QPainter painter(&image);
    prepare(painter);
    verticalGradient(painter, QRectF(0, 0, 408, 478), QColor(252, 251, 240), QColor(222, 238, 218));
    return image;
}

namespace {

void drawLogoCard(QPainter& painter, const QColor& accent) {
    const QRectF card(0.5, 0.5, 145, 107);
    QLinearGradient gradient(card.topLeft(), card.bottomLeft());
    gradient.setColorAt(0, QColor(255, 254, 248));
    gradient.setColorAt(1, QColor(238, 244, 232));
    painter.setBrush(gradient);
    painter.setPen(QPen(accent.lighter(150), 1));
    painter.drawRoundedRect(card, 8, 8);
}

QPainterPath regularPolygon(QPointF centre, qreal radius, int corners, qreal rotation) {
    QPainterPath path;
    for (int i = 0; i < corners; ++i) {
        const qreal angle = rotation + i * 2 * std::numbers::pi / corners;
        const QPointF point(centre.x() + radius * std::cos(angle),
                            centre.y() + radius * std::sin(angle));
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    path.closeSubpath();
    return path;
}

}  // namespace

QImage centreLogo(int row) {
    // Transparent outside the rounded card, so the panel's gradient shows at the corners.
    QImage image = newPicture(146, 108, Qt::transparent, true);
    QPainter painter(&image);
    prepare(painter);
    const QPointF c(73, 54);

    switch (row) {
        case 1: {  // a green star in a ring
            const QColor accent(40, 120, 60);
            drawLogoCard(painter, accent);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(accent, 3));
            painter.drawEllipse(c, 40, 40);
            drawStar(painter, c, 32, accent, Qt::transparent);
            drawStar(painter, c, 14, QColor(250, 244, 218), Qt::transparent);
            break;
        }
        case 2: {  // a blue dome over three arches
            const QColor accent(36, 86, 170);
            drawLogoCard(painter, accent);
            QPainterPath dome;
            dome.moveTo(38, 64);
            dome.cubicTo(QPointF(38, 30), QPointF(108, 30), QPointF(108, 64));
            dome.closeSubpath();
            painter.setPen(Qt::NoPen);
            painter.setBrush(accent);
            painter.drawPath(dome);
            painter.drawRect(QRectF(34, 64, 78, 28));
            painter.setBrush(QColor(250, 248, 236));
            for (const qreal x : {46.0, 66.0, 86.0}) {
                painter.drawPath(archPath(x, x + 14, 76, 68, 92));
            }
            painter.setBrush(kGold);
            painter.drawEllipse(QPointF(73, 26), 4, 4);
            painter.drawRect(QRectF(72, 29, 2, 7));
            break;
        }
        case 3: {  // a teal open book
            const QColor accent(0, 120, 120);
            drawLogoCard(painter, accent);
            for (const int side : {-1, 1}) {
                QPainterPath page;
                page.moveTo(73, 36);
                page.cubicTo(QPointF(73 + side * 14, 26), QPointF(73 + side * 38, 26),
                             QPointF(73 + side * 44, 32));
                page.lineTo(73 + side * 44, 80);
                page.cubicTo(QPointF(73 + side * 38, 74), QPointF(73 + side * 14, 74),
                             QPointF(73, 84));
                page.closeSubpath();
                painter.setBrush(side < 0 ? accent : accent.lighter(125));
                painter.setPen(QPen(accent.darker(130), 1));
                painter.drawPath(page);
                painter.setPen(QPen(QColor(230, 248, 246), 1.5));
                for (int line = 0; line < 4; ++line) {
                    const qreal y = 42 + line * 9;
                    painter.drawLine(QPointF(73 + side * 10, y), QPointF(73 + side * 36, y - 3));
                }
            }
            break;
        }
        case 4: {  // a brown oil lamp with its flame
            const QColor accent(150, 92, 40);
            drawLogoCard(painter, accent);
            QPainterPath lamp;
            lamp.moveTo(40, 64);
            lamp.cubicTo(QPointF(46, 84), QPointF(92, 84), QPointF(100, 66));
            lamp.lineTo(112, 58);
            lamp.lineTo(104, 60);
            lamp.cubicTo(QPointF(96, 58), QPointF(50, 56), QPointF(40, 64));
            lamp.closeSubpath();
            painter.setPen(Qt::NoPen);
            painter.setBrush(accent);
            painter.drawPath(lamp);
            painter.drawRect(QRectF(58, 80, 26, 5));
            QPainterPath flame;
            flame.moveTo(110, 56);
            flame.cubicTo(QPointF(100, 46), QPointF(112, 34), QPointF(108, 24));
            flame.cubicTo(QPointF(122, 36), QPointF(118, 50), QPointF(110, 56));
            QRadialGradient fire(QPointF(110, 46), 14);
            fire.setColorAt(0, QColor(255, 236, 150));
            fire.setColorAt(1, QColor(236, 150, 40));
            painter.setBrush(fire);
            painter.drawPath(flame);
            break;
        }
        case 5: {  // a purple hexagonal rosette
            const QColor accent(110, 60, 140);
            drawLogoCard(painter, accent);
            painter.setPen(QPen(accent, 2));
            painter.setBrush(accent.lighter(170));
            painter.drawPath(regularPolygon(c, 40, 6, 0));
            painter.setBrush(Qt::NoBrush);
            for (int i = 0; i < 6; ++i) {
                const qreal angle = i * std::numbers::pi / 3;
                painter.drawEllipse(
                    QPointF(c.x() + 20 * std::cos(angle), c.y() + 20 * std::sin(angle)), 20, 20);
            }
            painter.setBrush(accent);
            painter.drawEllipse(c, 6, 6);
            break;
        }
        case 6: {  // an olive branch
            const QColor accent(104, 124, 40);
            drawLogoCard(painter, accent);
            painter.setPen(QPen(accent.darker(130), 3, Qt::SolidLine, Qt::RoundCap));
            painter.setBrush(Qt::NoBrush);
            QPainterPath stem;
            stem.moveTo(36, 88);
            stem.cubicTo(QPointF(60, 70), QPointF(86, 46), QPointF(112, 20));
            painter.drawPath(stem);
            painter.setPen(Qt::NoPen);
            for (int i = 0; i < 5; ++i) {
                const qreal t = 0.15 + i * 0.17;
                const QPointF at = stem.pointAtPercent(t);
                const qreal angle = -stem.angleAtPercent(t);
                for (const int side : {-1, 1}) {
                    painter.save();
                    painter.translate(at);
                    painter.rotate(angle + side * 50);
                    painter.setBrush(side < 0 ? accent : accent.lighter(130));
                    painter.drawEllipse(QRectF(0, -4.5, 22, 9));
                    painter.restore();
                }
            }
            painter.setBrush(QColor(60, 70, 30));
            painter.drawEllipse(QPointF(92, 58), 5, 6.5);
            break;
        }
        case 7: {  // a navy pen nib over a line of writing
            const QColor accent(30, 44, 120);
            drawLogoCard(painter, accent);
            QPainterPath nib;
            nib.moveTo(73, 84);
            nib.lineTo(54, 44);
            nib.cubicTo(QPointF(60, 30), QPointF(86, 30), QPointF(92, 44));
            nib.closeSubpath();
            painter.setPen(Qt::NoPen);
            painter.setBrush(accent);
            painter.drawPath(nib);
            painter.setBrush(QColor(250, 248, 236));
            painter.drawEllipse(QPointF(73, 52), 4, 4);
            painter.setPen(QPen(QColor(250, 248, 236), 1.6));
            painter.drawLine(QPointF(73, 56), QPointF(73, 80));
            painter.setPen(QPen(accent, 1.6, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(28, 92), QPointF(118, 92));
            break;
        }
        default: {  // the publisher's own centre
            drawLogoCard(painter, kFrame);
            drawPublisherEmblem(painter, QRectF(18, 2, 110, 104));
            break;
        }
    }
    return image;
}

}  // namespace art
