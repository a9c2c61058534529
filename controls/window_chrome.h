#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace controls {

// Makes `window` one of the program's borderless windows: no frame, title bar or system
// buttons (its window controls are drawn into its picture and served by hot spots), a client
// size fixed at `clientSize` that the user cannot change, and a place in the middle of the
// desktop taken the first time it is shown and kept after that. Its title becomes the
// application's display name, so whatever the desktop lists for it (taskbar, window switcher)
// reads the program's name and never the window's own caption; its window role (on X11) is its
// objectName, which still tells the windows apart. Call once, after setting the objectName and
// before the window is first shown.
void applyWindowChrome(QWidget& window, const QSize& clientSize);

// Minimises `window`, leaving it alone when it is minimised already. The state follows the
// desktop: once the desktop has restored the window, this minimises it again.
void minimiseWindow(QWidget& window);

// The top-left corner that centres a window of `size` in `desktop` (the screen's available
// area); an odd pixel left over goes to the right and bottom margins.
QPoint centredPosition(const QSize& size, const QRect& desktop);

}  // namespace controls
