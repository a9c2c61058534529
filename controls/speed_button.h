#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace controls {

// A button that never takes the keyboard focus and acts on a left-button click. A flat one is
// transparent and shows its thin frame only while the pointer is over it (sunken while
// pressed); a raised one always shows a filled, bevelled face. The picture and the caption are
// centred together, the picture first in reading order: to the right of the caption in
// right-to-left.
class SpeedButton : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeedButton)

public:
    explicit SpeedButton(QWidget* parent);

    bool isFlat() const { return m_flat; }
    void setFlat(bool flat);

    // A null pixmap means no picture.
    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);

    QColor fontColor() const;
    void setFontColor(const QColor& color);

    // Where the picture and the caption are drawn while the button is up, in the button's own
    // coordinates; an empty rectangle for what it does not have.
    QRect pictureRect() const;
    QRect captionRect() const;

    QSize sizeHint() const override;

    static constexpr int kSpacing = 4;  // pixels between the picture and the caption

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawFrame(QPainter& painter, bool sunken) const;

    bool m_flat = true;
    QPixmap m_picture;
};

}  // namespace controls
