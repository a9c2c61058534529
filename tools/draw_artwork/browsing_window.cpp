// The browsing window's background, its topic marker and the advanced-search panel.
//
// The window lays its controls over the background at fixed positions; every frame, slot and
// heading below is placed around those controls, never under them, so the memos, the filter box
// and the grid sit in framed areas of their own.

#include <array>

#include <QPainterPath>

#include "artwork.h"
#include "painting.h"

namespace art {

namespace {

constexpr int kWidth = 865;
constexpr int kHeight = 682;

// Where the window's controls lie (left, top, width, height).
constexpr QRectF kTitleText{288, 120, 217, 17};
constexpr QRectF kQuestionMemo{40, 152, 513, 97};
constexpr QRectF kAnswerMemo{32, 272, 521, 201};
constexpr QRectF kFootnoteMemo{40, 496, 513, 97};
constexpr QRectF kTitlesGrid{656, 456, 169, 211};
constexpr QRectF kFilterBox{704, 376, 106, 19};
constexpr QRectF kCloseHotSpot{826, 15, 17, 17};
constexpr QRectF kMinimiseHotSpot{800, 16, 17, 17};
constexpr QRectF kEmblemHotSpot{20, 1, 137, 128};
constexpr QRectF kAddressHotSpot{244, 656, 137, 25};
constexpr qreal kMenuLeft = 658;
constexpr qreal kMarkerWidth = 165;
constexpr qreal kMarkerHeight = 28;
constexpr std::array<qreal, 6> kMarkerTops{107, 142, 176, 210, 243, 277};

// The frames drawn around them.
constexpr qreal kBandHeight = 52;
constexpr QRectF kTitleStrip{282, 111, 308, 31};
constexpr qreal kTitleLabelEdge = 530;  // the "topic" label's zone starts here
constexpr qreal kPaneRight = 620;
constexpr qreal kHeadingColumnLeft = 561;  // pane headings stand right of the memos
constexpr qreal kPaneLeft = 24;            // the answer memo, the widest, starts at 32
constexpr QRectF kQuestionPane{kPaneLeft, 146, kPaneRight - kPaneLeft, 110};
constexpr QRectF kAnswerPane{kPaneLeft, 265, kPaneRight - kPaneLeft, 216};
constexpr QRectF kFootnotePane{kPaneLeft, 489, kPaneRight - kPaneLeft, 111};
constexpr QRectF kToolsPane{kPaneLeft, 605, kPaneRight - kPaneLeft, 41};
constexpr QRectF kMenuFrame{630, 62, 227, 250};  // ends above the advanced-search panel
constexpr QRectF kSearchFrame{630, 322, 227, 353};

const QString kQuestionHeading = QStringLiteral("پرسش");
const QString kAnswerHeading = QStringLiteral("پاسخ");
const QString kSourcesHeading = QStringLiteral("منابع و پاورقي");
const QString kToolsHeading = QStringLiteral("ابزار");
const QString kTopicsHeading = QStringLiteral("موضوعات");
const QString kTopicSearchHeading = QStringLiteral("جستجوي موضوعي");
const QString kCollectionTitle = QStringLiteral("پرسش و پاسخ درباره نبوت");
const QString kAdvancedSearchHeading = QStringLiteral("جستجوي پيشرفته");

void drawPage(QPainter& painter, const QRectF& rect) {
    verticalGradient(painter, rect, kPageTop, kPageBottom);
}

void drawTitleBand(QPainter& painter) {
    const QRectF band(0, 0, kWidth, kBandHeight);
    verticalGradient(painter, band, kBandTop, kBandBottom);
    painter.save();
    painter.setPen(QPen(kGold, 1));
    painter.drawLine(QPointF(0, kBandHeight - 0.5), QPointF(kWidth, kBandHeight - 0.5));
    painter.setPen(QPen(QColor(255, 255, 245, 150), 1));
    painter.drawLine(QPointF(0, kBandHeight + 0.5), QPointF(kWidth, kBandHeight + 0.5));
    painter.restore();

    // Collection title in Persian, the program's name to its left, a star between them.
    const QFont titleFont = naskhFont(21, true);
    const QFont nameFont = latinFont(14, true);
    const qreal titleWidth = QFontMetricsF(titleFont).horizontalAdvance(kCollectionTitle);
    const qreal nameWidth = QFontMetricsF(nameFont).horizontalAdvance(kProgramName);
    const qreal gap = 28;
    const qreal centreX = 470;
    const qreal left = centreX - (titleWidth + gap + nameWidth) / 2;
    const QRectF nameBox(left, 0, nameWidth, kBandHeight - 2);
    const QRectF titleBox(left + nameWidth + gap, 0, titleWidth, kBandHeight - 4);
    painter.save();
    painter.setFont(nameFont);
    painter.setPen(QColor(236, 246, 226));
    painter.drawText(nameBox, Qt::AlignCenter, kProgramName);
    painter.restore();
    drawHeading(painter, titleBox, kCollectionTitle, titleFont, kCream, Qt::AlignCenter);
    drawStar(painter, QPointF(left + nameWidth + gap / 2, kBandHeight / 2 - 1), 5, kGold,
             Qt::transparent);
}

// A record pane: a frame whose right end carries the heading in a tinted column.
void drawPane(QPainter& painter, const QRectF& pane, const QString& heading, bool centred) {
    constexpr qreal radius = 8;
    drawFrame(painter, pane, kWindowGreen, radius);

    const QRectF column(kHeadingColumnLeft, pane.top() + 1, pane.right() - 1 - kHeadingColumnLeft,
                        pane.height() - 2);
    QPainterPath clip;
    clip.addRoundedRect(pane.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    painter.save();
    painter.setClipPath(clip);
    QLinearGradient gradient(column.topLeft(), column.topRight());
    gradient.setColorAt(0, kHeadingBottom);
    gradient.setColorAt(1, kHeadingTop);
    painter.fillRect(column, gradient);
    painter.restore();

    painter.save();
    painter.setPen(QPen(QColor(150, 196, 154), 1));
    painter.drawLine(QPointF(column.left() + 0.5, pane.top() + 6),
                     QPointF(column.left() + 0.5, pane.bottom() - 6));
    painter.restore();

    const QFont font = naskhFont(15, true);
    const QRectF textBox = column.adjusted(3, 4, -6, 0);
    if (centred) {
        drawHeading(painter, QRectF(textBox.left(), pane.top(), textBox.width(), pane.height()),
                    heading, font);
        return;
    }
    painter.save();
    painter.setFont(font);
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.setPen(kHeadingText);
    QRectF used;
    painter.drawText(textBox, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextWordWrap,
                     heading, &used);
    painter.restore();
    const qreal starY = used.bottom() + 9;
    if (starY + 6 < pane.bottom()) {
        drawStar(painter, QPointF(used.center().x(), starY), 5.5, kGold, Qt::transparent);
    }
}

void drawTitleStrip(QPainter& painter) {
    drawFrame(painter, kTitleStrip, QColor(250, 252, 242), 7);
    const QRectF zone(kTitleLabelEdge, kTitleStrip.top() + 1,
                      kTitleStrip.right() - 1 - kTitleLabelEdge, kTitleStrip.height() - 2);
    QPainterPath clip;
    clip.addRoundedRect(kTitleStrip.adjusted(1, 1, -1, -1), 6, 6);
    painter.save();
    painter.setClipPath(clip);
    QLinearGradient gradient(zone.topLeft(), zone.topRight());
    gradient.setColorAt(0, kHeadingBottom);
    gradient.setColorAt(1, kHeadingTop);
    painter.fillRect(zone, gradient);
    painter.setPen(QPen(QColor(150, 196, 154), 1));
    painter.drawLine(QPointF(zone.left() + 0.5, zone.top() + 4),
                     QPointF(zone.left() + 0.5, zone.bottom() - 4));
    painter.restore();
}

// A frame of the right-hand column with its heading at the top, right-aligned, over a rule.
void drawColumnFrame(QPainter& painter, const QRectF& frame, const QString& heading) {
    drawFrame(painter, frame, kMenuPanel, 9);
    const QRectF headingBox(frame.left() + 10, frame.top() + 5, frame.width() - 22, 30);
    drawHeading(painter, headingBox, heading, naskhFont(16, true));
    const qreal ruleY = headingBox.bottom() + 3.5;
    drawFadingRule(painter, frame.left() + 8, frame.right() - 8, ruleY, kFrame);
}

void drawFilterSlot(QPainter& painter) {
    const QRectF slot = kFilterBox.adjusted(-4, -4, 4, 4);
    drawFrame(painter, slot, kEditGreen, 5);
}

void drawGridFrame(QPainter& painter) {
    painter.save();
    const QRectF outline = kTitlesGrid.adjusted(-0.5, -0.5, 0.5, 0.5);
    painter.setPen(QPen(QColor(60, 100, 60, 30), 3));
    painter.drawRect(outline.translated(0, 1.5));
    painter.fillRect(kTitlesGrid, QColor(253, 254, 249));
    painter.setPen(QPen(kFrame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(kTitlesGrid.adjusted(-1, -1, 0, 0));
    painter.restore();
}

void drawAddress(QPainter& painter) {
    const QRectF pill = kAddressHotSpot.adjusted(0, 2, 0, -2);
    painter.save();
    painter.setPen(QPen(QColor(150, 190, 152), 1));
    painter.setBrush(QColor(250, 252, 242, 200));
    painter.drawRoundedRect(pill.adjusted(0.5, 0.5, -0.5, -0.5), pill.height() / 2,
                            pill.height() / 2);
    // The widest size that fits inside the rounded ends.
    int size = 13;
    QFont font = latinFont(size);
    while (size > 8 && QFontMetricsF(font).horizontalAdvance(kPublisherAddress) >
                           pill.width() - pill.height() + 4) {
        font = latinFont(--size);
    }
    painter.setFont(font);
    painter.setPen(QColor(0, 104, 104));
    painter.drawText(pill, Qt::AlignCenter, kPublisherAddress);
    painter.restore();
}

}  // namespace

QImage browsingBackground() {
    QImage image = newPicture(kWidth, kHeight, kPageBottom);
    QPainter painter(&image);
    prepare(painter);

    drawPage(painter, QRectF(0, 0, kWidth, kHeight));
    drawTitleBand(painter);
    drawPublisherEmblem(painter, kEmblemHotSpot);
    drawMinimiseSymbol(painter, kMinimiseHotSpot);
    drawCloseSymbol(painter, kCloseHotSpot);

    drawTitleStrip(painter);
    drawPane(painter, kQuestionPane, kQuestionHeading, false);
    drawPane(painter, kAnswerPane, kAnswerHeading, false);
    drawPane(painter, kFootnotePane, kSourcesHeading, false);
    drawPane(painter, kToolsPane, kToolsHeading, true);

    drawColumnFrame(painter, kMenuFrame, kTopicsHeading);
    for (const qreal top : kMarkerTops) {
        drawMenuSlot(painter, QRectF(kMenuLeft, top, kMarkerWidth, kMarkerHeight));
    }
    drawColumnFrame(painter, kSearchFrame, kTopicSearchHeading);
    drawFilterSlot(painter);
    drawGridFrame(painter);

    drawAddress(painter);
    return image;
}

QImage topicMarker() {
    QImage image =
        newPicture(static_cast<int>(kMarkerWidth), static_cast<int>(kMarkerHeight), kMenuPanel);
    QPainter painter(&image);
    prepare(painter);
    drawMarkerBar(painter, QRectF(0, 0, kMarkerWidth, kMarkerHeight));
    return image;
}

QImage searchPanel() {
    constexpr int width = 255;
    constexpr int height = 368;
    // Where the panel's controls lie, relative to the panel.
    constexpr QRectF searchBox{56, 61, 143, 22};
    constexpr QRectF optionsBox{40, 96, 193, 89};
    constexpr QRectF resultsGrid{41, 192, 189, 160};

    QImage image = newPicture(width, height, kPageBottom);
    QPainter painter(&image);
    prepare(painter);
    verticalGradient(painter, QRectF(0, 0, width, height), kPageTop, kPageBottom);

    // The panel opens over the window: a band on top and a frame line set it apart.
    verticalGradient(painter, QRectF(0, 0, width, 44), kBandTop, kBandBottom);
    painter.save();
    painter.setPen(QPen(kGold, 1));
    painter.drawLine(QPointF(0, 43.5), QPointF(width, 43.5));
    painter.restore();
    drawHeading(painter, QRectF(10, 0, width - 36, 42), kAdvancedSearchHeading, naskhFont(18, true),
                kCream);
    drawStar(painter, QPointF(width - 16, 21), 5, kGold, Qt::transparent);

    // A decorated frame behind the search box: gold corners around an edit-coloured slot.
    const QRectF decoration = searchBox.adjusted(-17, -8, 17, 8);
    drawFrame(painter, decoration, kMenuPanel, 8);
    drawFrame(painter, searchBox.adjusted(-3, -3, 3, 3), kEditGreen, 4);
    drawStar(painter, QPointF(decoration.left() + 7, decoration.center().y()), 4, kGold,
             Qt::transparent);
    drawStar(painter, QPointF(decoration.right() - 7, decoration.center().y()), 4, kGold,
             Qt::transparent);

    // The group box draws its own frame; a soft well around it and the grid keeps them apart
    // from the page.
    drawFrame(painter, optionsBox.adjusted(-4, -4, 4, 4), kMenuPanel, 6);
    painter.fillRect(optionsBox, kWindowGreen);
    drawFrame(painter, resultsGrid.adjusted(-4, -4, 4, 4), kMenuPanel, 6);
    painter.fillRect(resultsGrid, Qt::white);

    painter.setPen(QPen(kFrame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(0, 0, width - 1, height - 1);
    return image;
}

}  // namespace art
