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
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void setConfirmBoxHandler(ConfirmBoxHandler handler) {
    confirmSlot() = std::move(handler);
}

bool confirmBox(const QString& question) {
    const QString caption = QStringLiteral("Confirm");
    if (confirmSlot()) return confirmSlot()(caption, question);
    QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Ok | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
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
