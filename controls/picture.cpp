#include "controls/picture.h"

#include <QPainter>

namespace controls {

Picture::Picture(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void Picture::setPixmap(const QPixmap& pixmap) {
    m_pixmap = pixmap;
    update();
}

bool Picture::load(const QString& path) {
    QPixmap pixmap;
    const bool loaded = pixmap.load(path);
    setPixmap(loaded ? pixmap : QPixmap());
    return loaded;
}

void Picture::paintEvent(QPaintEvent*) {
    if (m_pixmap.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pixmap);
}

}  // namespace controls
