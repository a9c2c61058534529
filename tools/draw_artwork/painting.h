#pragma once

// The drawing vocabulary shared by all pictures: the palette, the fonts and the few shapes that
// recur (rounded frames, pane headings, slots, the eight-pointed star, the publisher's emblem).
// Coordinates are pixels of the picture being drawn.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace art {

// The light green of the windows and of the record panes; a pane's inside must match it so
// that the borderless memos lying on it do not show an edge.
inline const QColor kWindowGreen{211, 240, 212};
// The background of the edit boxes (filter box, advanced search box).
inline const QColor kEditGreen{236, 248, 236};

inline const QColor kPageTop{246, 245, 232};     // cream at the top of a window
inline const QColor kPageBottom{228, 239, 222};  // fading into pale green at the bottom
inline const QColor kFrame{122, 168, 128};       // thin frame lines
inline const QColor kFrameLight{255, 255, 250};  // the light inner edge of a frame
inline const QColor kHeadingTop{186, 222, 188};  // heading band, top
inline const QColor kHeadingBottom{205, 235, 206};
inline const QColor kHeadingText{22, 84, 40};  // dark green of the headings
inline const QColor kBandTop{92, 150, 106};    // the title band across the top of a window
inline const QColor kBandBottom{128, 182, 136};
inline const QColor kGold{206, 176, 98};  // sparing accent: rings, rules, the marker's edge
inline const QColor kCream{252, 250, 236};
inline const QColor kSlot{240, 248, 236};  // menu slots the labels sit in

// A picture of the given size filled with `fill` (transparent pictures pass Qt::transparent).
QImage newPicture(int width, int height, const QColor& fill, bool withAlpha = false);

// A painter with antialiasing on for everything it draws.
void prepare(QPainter& painter);

// Fonts. Persian text uses a font that shapes Arabic script; the first installed family wins.
QFont persianFont(int pixelSize, bool bold = false);
QFont naskhFont(int pixelSize, bool bold = false);  // for titles: a calligraphic hand
QFont latinFont(int pixelSize, bool bold = false);

void verticalGradient(QPainter& painter, const QRectF& rect, const QColor& top,
                      const QColor& bottom, qreal radius = 0);

// A thin rounded frame with a light inner edge and a soft shadow below it, filled with `fill`.
void drawFrame(QPainter& painter, const QRectF& rect, const QColor& fill, qreal radius = 8);

// Text placed right-aligned (the reading start of Persian) inside `box`, vertically centred.
void drawHeading(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& colour = kHeadingText,
                 Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter);

// A horizontal rule that fades out at both ends.
void drawFadingRule(QPainter& painter, qreal x1, qreal x2, qreal y, const QColor& colour);

// An eight-pointed star made of two squares, centred on `centre` with outer radius `radius`.
void drawStar(QPainter& painter, QPointF centre, qreal radius, const QColor& fill,
              const QColor& outline);

// A slot of the topic menu, and the marker bar that lies in it when the topic is selected.
void drawMenuSlot(QPainter& painter, const QRectF& rect);
void drawMarkerBar(QPainter& painter, const QRectF& rect);
// The flat colour around the menu slots; the marker picture's corners are filled with it.
inline const QColor kMenuPanel{226, 242, 222};

// The publisher's emblem: a ringed medallion with a star, and the publisher's name below it.
void drawPublisherEmblem(QPainter& painter, const QRectF& box);

// The minimise (a bar) and close (a cross) symbols, each a 17x17 rounded tile.
void drawMinimiseSymbol(QPainter& painter, const QRectF& tile);
void drawCloseSymbol(QPainter& painter, const QRectF& tile);

inline const QString kPublisherName = QStringLiteral("Morvandel");
inline const QString kPublisherAddress = QStringLiteral("www.morvandel.example");
inline const QString kProgramName = QStringLiteral("Zandrel kelvora");

}  // namespace art
