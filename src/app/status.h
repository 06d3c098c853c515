// SPDX-License-Identifier: MIT
#pragma once
// A failure as a value: the core never throws across its API. Every failure has a kind, which
// decides what follows from it (the CLI's exit status among others); its message is for people
// and is never compared to decide anything.

#include <string>
#include <utility>

namespace livrano {

class Status {
public:
    enum class Kind {
        Ok,
        Refused, // the user's input cannot be used: a value, a file or a plan to fix; nothing was written
        Failed,  // a step failed, possibly after writing began
        Locked,  // another build holds the lock: try again later; nothing was written
    };

    static Status Ok() { return Status(); }
    // A step that failed.
    static Status Error(std::string message) { return Status(Kind::Failed, std::move(message)); }
    // Input the user can fix.
    static Status Refused(std::string message) { return Status(Kind::Refused, std::move(message)); }
    // Another build holds the lock.
    static Status Locked(std::string message) { return Status(Kind::Locked, std::move(message)); }

    bool ok() const { return m_kind == Kind::Ok; }
    explicit operator bool() const { return ok(); }
    Kind kind() const { return m_kind; }
    // Empty when ok(); otherwise a sentence a user can act on, in UTF-8.
    const std::string& message() const { return m_message; }

private:
    Status() = default;
    Status(Kind kind, std::string message) : m_kind(kind), m_message(std::move(message)) {}

    Kind m_kind = Kind::Ok;
    std::string m_message;
};

} // namespace livrano
