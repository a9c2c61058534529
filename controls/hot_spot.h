#pragma once

#include <QWidget>

namespace controls {

// An invisible rectangle over part of a picture: it draws nothing, shows the hand cursor and
// reports the press of any mouse button at the moment of the press. Every press reports again,
// the second press of a double click included.
class HotSpot : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HotSpot)

public:
    explicit HotSpot(QWidget* parent);

Q_SIGNALS:
    void pressed(Qt::MouseButton button);
    void pointerMoved(const QPoint& position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace controls
