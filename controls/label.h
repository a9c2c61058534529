#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

namespace controls {

// A transparent one-line caption drawn straight onto whatever lies beneath it (the window's
// picture, the marker), aligned to the start of the reading order and to the top, cut at its
// edges. It reports pointer moves, the pointer leaving, and left-button clicks.
class Label : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Label)

public:
    // How the label's box follows its text. The box is the one given to place(); the edge at
    // the start of the reading order (the right edge in right-to-left) and the top stay put.
    enum class AutoSize {
        off,   // the box as placed; a longer text is cut
        grow,  // the box as placed, widened and heightened when the text would not fit
        fit,   // exactly as wide as the text (an empty text measures as one blank), at least
               // as high as placed
    };

    explicit Label(QWidget* parent);

    const QString& text() const { return m_text; }
    void setText(const QString& text);

    QColor fontColor() const;
    // Setting the colour the label already has does not repaint it.
    void setFontColor(const QColor& color);

    AutoSize autoSize() const { return m_autoSize; }
    void setAutoSize(AutoSize autoSize);

    // Sets the box in the parent's coordinates; see AutoSize.
    void place(const QRect& box);
    const QRect& placedBox() const { return m_box; }

Q_SIGNALS:
    void clicked();
    void pointerMoved(const QPoint& position);
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void adjustBounds();

    QString m_text;
    AutoSize m_autoSize = AutoSize::off;
    QRect m_box;
    bool m_pressed = false;
};

}  // namespace controls
