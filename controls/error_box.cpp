#include "controls/error_box.h"

#include <exception>

#include <QApplication>
#include <QMessageBox>

namespace controls {

namespace {
ErrorBoxHandler& handlerSlot() {
    static ErrorBoxHandler handler;
    return handler;
}
ConfirmBoxHandler& confirmSlot() {
    static ConfirmBoxHandler handler;
    return handler;
}

// A window manager may hand the focus to another of our windows when a box closes (openbox
// passes over windows kept off the taskbar); the keyboard belongs to the window the box
// interrupted.
void giveBackFocus(QWidget* owner) {
    if (owner != nullptr && owner->isVisible() && !owner->isMinimized()) owner->activateWindow();
}
}  // namespace

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void setErrorBoxHandler(ErrorBoxHandler handler) {
    handlerSlot() = std::move(handler);
}

void showErrorBox(const QString& message) {
    const QString caption = QGuiApplication::applicationDisplayName();
    const QString text = errorBoxText(message);
    if (handlerSlot()) {
        handlerSlot()(caption, text);
        return;
    }
    QWidget* owner = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
    box.exec();
    giveBackFocus(owner);
}

void setConfirmBoxHandler(ConfirmBoxHandler handler) {
    confirmSlot() = std::move(handler);
}

bool confirmBox(const QString& question) {
    const QString caption = QStringLiteral("Confirm");
    if (confirmSlot()) return confirmSlot()(caption, question);
    QWidget* owner = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Ok | QMessageBox::Cancel,
                    owner);
    box.setDefaultButton(QMessageBox::Ok);
    const bool confirmed = box.exec() == QMessageBox::Ok;
    giveBackFocus(owner);
    return confirmed;
}

bool guarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        showErrorBox(QString::fromUtf8(error.what()));
    }
    return false;
}

}  // namespace controls
