// SPDX-License-Identifier: MIT
#pragma once
// A failure as a value: the core never throws across its API. Every failure has a kind, which
// decides what follows from it (the CLI's exit status among others); its message and detail are
// for people and are never compared to decide anything.

#include <string>
#include <utility>

namespace livrano {

class [[nodiscard]] Status {
public:
    enum class Kind {
        Ok,
        Refused, // the user's input cannot be used: a value, a file or a plan to fix; nothing was written
        Failed,  // a step failed, possibly after writing began
        Locked,  // another build holds the lock: try again later; nothing was written
    };

    static Status Ok() { return Status(); }
    // A step that failed.
    static Status Error(std::string message, std::string detail = {}) {
        return Status(Kind::Failed, std::move(message), std::move(detail));
    }
    // Input the user can fix.
    static Status Refused(std::string message, std::string detail = {}) {
        return Status(Kind::Refused, std::move(message), std::move(detail));
    }
    // Another build holds the lock.
    static Status Locked(std::string message, std::string detail = {}) {
        return Status(Kind::Locked, std::move(message), std::move(detail));
    }

    bool ok() const { return m_kind == Kind::Ok; }
    explicit operator bool() const { return ok(); }
    Kind kind() const { return m_kind; }
    // Empty when ok(); otherwise a short sentence a user can act on, in UTF-8: what is wrong and
    // what to do, short enough for a window's status line (long names shortened by shortName).
    const std::string& message() const { return m_message; }
    // What the message leaves out, in UTF-8: the full paths and names, lists. Often empty.
    const std::string& detail() const { return m_detail; }
    // The message and, on a line of its own, the detail: the whole of it, as a terminal prints it.
    std::string text() const { return m_detail.empty() ? m_message : m_message + "\n" + m_detail; }

private:
    Status() = default;
    Status(Kind kind, std::string message, std::string detail)
        : m_kind(kind), m_message(std::move(message)), m_detail(std::move(detail)) {}

    Kind m_kind = Kind::Ok;
    std::string m_message;
    std::string m_detail;
};

} // namespace livrano
