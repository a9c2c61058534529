#include "shell/taskbar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#ifdef KELVORA_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace shell {

namespace {

#ifdef KELVORA_HAVE_X11
Display* x11Display() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

bool hasState(Display* display, Window id, Atom state, Atom wanted) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, id, state, 0, 1024, False, XA_ATOM, &type, &format, &count,
                           &remaining, &data) != Success)
        return false;
    bool found = false;
    if (data != nullptr && type == XA_ATOM && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !found; ++i) found = atoms[i] == wanted;
    }
    if (data != nullptr) XFree(data);
    return found;
}

// Before the window is mapped the client writes the property itself; the toolkit keeps atoms
// it finds there when it adds its own. The desktop removes the property whenever the window is
// withdrawn, so this runs before every show.
void skipTaskbarBeforeMapping(Display* display, Window id) {
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom skip = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);
    if (hasState(display, id, state, skip)) return;
    XChangeProperty(display, id, state, XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<const unsigned char*>(&skip), 1);
    XFlush(display);
}

// Once the window is managed, only the window manager changes the property, on request.
void requestSkipTaskbar(Display* display, Window id, bool skip) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = skip ? 1 : 0;  // add : remove
    event.xclient.data.l[1] =
        static_cast<long>(XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False));
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = 1;  // the request comes from an application
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}
#endif

class TaskbarHint : public QObject {
    Q_DISABLE_COPY_MOVE(TaskbarHint)

public:
    explicit TaskbarHint(QWidget& window) : QObject(&window), m_window(window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_window) return false;
#ifdef KELVORA_HAVE_X11
        Display* display = x11Display();
        if (display == nullptr) return false;
        if (event->type() == QEvent::Show && !m_window.isMinimized()) {
            // The show event comes before the window is handed to the desktop.
            skipTaskbarBeforeMapping(display, static_cast<Window>(m_window.winId()));
        } else if (event->type() == QEvent::WindowStateChange && m_window.isVisible()) {
            requestSkipTaskbar(display, static_cast<Window>(m_window.winId()),
                               !m_window.isMinimized());
        }
#else
        Q_UNUSED(event);
#endif
        return false;
    }

private:
    QWidget& m_window;
};

}  // namespace

void keepOffTaskbar(QWidget& window) {
    new TaskbarHint(window);
}

}  // namespace shell
