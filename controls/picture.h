#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace controls {

// A picture drawn unscaled from the top-left corner of a box of fixed size. Without a picture
// (or when its file cannot be loaded) it draws nothing, and what lies beneath shows.
class Picture : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Picture)

public:
    explicit Picture(QWidget* parent);

    const QPixmap& pixmap() const { return m_pixmap; }
    void setPixmap(const QPixmap& pixmap);
    // Loads from a file or resource path (":/assets/..."); returns false, keeping no picture,
    // when it cannot be read.
    bool load(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
};

}  // namespace controls
