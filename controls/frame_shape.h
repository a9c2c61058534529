#pragma once

#include <QColor>
#include <QWidget>

namespace controls {

// A rectangle outline one pixel wide, drawn just inside its bounds and combined with what lies
// beneath by a bitwise AND: on a light picture it shows about its own colour, and it never
// lightens a pixel. The inside is left as it is. It reacts to no pointer: what lies under it
// gets the events.
class FrameShape : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrameShape)

public:
    explicit FrameShape(QWidget* parent);

    QColor penColor() const { return m_penColor; }
    void setPenColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_penColor = Qt::black;
};

}  // namespace controls
