#pragma once

#include <string>
#include <utility>
#include <variant>

namespace jet {

// What went wrong, in words a user can read. The engine never throws: every
// operation that can fail returns a Status or a Result<T>.
enum class StatusCode {
    ok,
    notFound,         // a file, table, query or column that does not exist
    ioError,          // the operating system refused a read or write
    notJet4,          // a database of another format (Jet 3, ACE, MSISAM, ...)
    unsupported,      // a Jet 4 feature the engine does not handle (password, encryption)
    corrupt,          // the bytes contradict the format
    syntaxError,      // a statement the SQL subset cannot parse
    missingParameter, // a saved query that needs parameters
    conflict,         // another program changed the row since it was read
    readOnly,         // a write on a file opened read-only
    invalidArgument,  // a request the engine refuses as given (bad names or values for a new file)
};

class Status {
public:
    Status() = default;
    Status(StatusCode code, std::string message) : m_code(code), m_message(std::move(message)) {}

    static Status okStatus() { return {}; }

    bool ok() const { return m_code == StatusCode::ok; }
    explicit operator bool() const { return ok(); }
    StatusCode code() const { return m_code; }
    // UTF-8.
    const std::string& message() const { return m_message; }
    // Lets JET_TRY treat a Status and a Result alike.
    const Status& status() const { return *this; }

private:
    StatusCode m_code = StatusCode::ok;
    std::string m_message;
};

inline Status corrupt(std::string message) { return {StatusCode::corrupt, std::move(message)}; }

// A value or the Status that explains why there is none.
template <typename T>
class Result {
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Status status) : m_state(std::move(status)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // The failure; only meaningful when !ok().
    const Status& status() const {
        static const Status kOk;
        return ok() ? kOk : std::get<1>(m_state);
    }

private:
    std::variant<T, Status> m_state;
};

}  // namespace jet

// Early return of a failed Status or Result from a function returning Status or Result<U>.
#define JET_TRY(expr)                                      \
    do {                                                   \
        auto&& jetTryValue_ = (expr);                      \
        if (!jetTryValue_.ok()) return jetTryValue_.status(); \
    } while (0)
