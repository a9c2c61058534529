#pragma once

class QWidget;

namespace shell {

// Keeps `window` off the desktop's taskbar while it is shown and not minimised, so that the
// program has one taskbar entry: the intro window's, captioned with the application title.
// While `window` is minimised it has an entry of its own, which is how the desktop brings it
// back (the program itself offers no control for that). Works on X11 through the window's
// _NET_WM_STATE; on any other platform it does nothing. Call once, while building the window.
void keepOffTaskbar(QWidget& window);

}  // namespace shell
