#include "controls/window_chrome.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace controls {

namespace {

// Centres its window as the window is first shown, then removes itself. The show event comes
// before the window is handed to the desktop, so the window appears in its place at once.
class FirstShowCentring : public QObject {
    Q_DISABLE_COPY_MOVE(FirstShowCentring)

public:
    explicit FirstShowCentring(QWidget& window) : QObject(&window), m_window(window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::Show) {
            m_window.removeEventFilter(this);
            const QScreen* screen = m_window.screen();
            if (screen == nullptr) screen = QGuiApplication::primaryScreen();
            if (screen != nullptr)
                m_window.move(centredPosition(m_window.size(), screen->availableGeometry()));
            deleteLater();
        }
        return false;
    }

private:
    QWidget& m_window;
};

}  // namespace

QPoint centredPosition(const QSize& size, const QRect& desktop) {
    return {desktop.x() + (desktop.width() - size.width()) / 2,
            desktop.y() + (desktop.height() - size.height()) / 2};
}

void applyWindowChrome(QWidget& window, const QSize& clientSize) {
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(clientSize);
    window.setWindowTitle(QGuiApplication::applicationDisplayName());
    window.setWindowRole(window.objectName());
    new FirstShowCentring(window);
}

void minimiseWindow(QWidget& window) {
    if (window.isMinimized()) return;
    window.showMinimized();
}

}  // namespace controls
