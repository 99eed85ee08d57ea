#pragma once
// The one failure type of the core: a result holds either a value or an error
// message meant for the user (it names the file or value and the cause). No
// exception crosses a layer; the window shows the message in a box, the command
// line prints it and picks an exit status.

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace fulgor {

struct Error {
    std::string message;
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Error error) : m_error(std::move(error.message)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    // Precondition: ok().
    T& value() {
        assert(ok());
        return *m_value;
    }
    const T& value() const {
        assert(ok());
        return *m_value;
    }
    // Precondition: !ok().
    const std::string& error() const { return m_error; }

private:
    std::optional<T> m_value;
    std::string m_error;
};

// A result without a value: success, or an error message.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : m_failed(true), m_error(std::move(error.message)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return m_error; }

private:
    bool m_failed = false;
    std::string m_error;
};

}  // namespace fulgor
