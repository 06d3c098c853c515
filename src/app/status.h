#pragma once
// A failure as a value: the core never throws across its API.

#include <string>
#include <utility>

namespace livrano {

class Status {
public:
    static Status Ok() { return Status(); }
    static Status Error(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    // Empty when ok(); otherwise a sentence a user can act on.
    const std::string& message() const { return m_message; }

private:
    Status() = default;
    explicit Status(std::string message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    std::string m_message;
};

} // namespace livrano
