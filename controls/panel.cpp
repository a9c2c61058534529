#include "controls/panel.h"

#include <QApplication>

namespace controls {

Panel::Panel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFocusPolicy(Qt::NoFocus);
    // The face is the desktop's button colour, not the colour of the window around it.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(colours);
    setAutoFillBackground(true);
}

}  // namespace controls
