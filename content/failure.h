#pragma once

#include <stdexcept>

#include <QString>

namespace content {

// An operation of the content store that did not happen. The message is the text the user
// sees in the error box (without the full stop the box may add). Handlers let it propagate to
// the guard around the event, which reports it and abandons the rest of the handler.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

}  // namespace content
