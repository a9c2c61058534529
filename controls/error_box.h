#pragma once

#include <functional>

#include <QString>

namespace controls {

// The text of the error box for an error message: the message, with a full stop added when it
// is not empty and its last character sorts after ".".
QString errorBoxText(const QString& message);

// Shows the error box: stop icon, one OK button, the application's display name as caption.
// Returns when the user has pressed OK.
void showErrorBox(const QString& message);

// Where error boxes go instead of the screen while set (tests capture them here). Receives the
// caption and the final text. An empty handler restores the real box.
using ErrorBoxHandler = std::function<void(const QString& caption, const QString& text)>;
void setErrorBoxHandler(ErrorBoxHandler handler);

// Asks the user to confirm `question`: a question box with the caption "Confirm" and the
// buttons OK and Cancel. Returns true for OK.
bool confirmBox(const QString& question);

// Where confirmation questions go instead of the screen while set (tests answer them here).
using ConfirmBoxHandler = std::function<bool(const QString& caption, const QString& text)>;
void setConfirmBoxHandler(ConfirmBoxHandler handler);

// Runs one event handler. An error it raises is shown in the error box and the rest of the
// handler is abandoned; the program goes on. Returns false when the handler failed.
bool guarded(const std::function<void()>& handler);

}  // namespace controls
