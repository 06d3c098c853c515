#pragma once
// The boundary between the windows' text (QString) and the core's (Windows-1252 bytes).

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace livrano {

// Core text for display.
QString fromCore(std::string_view text);

// Typed text for the core; nullopt when a character has no Windows-1252 byte.
std::optional<std::string> toCore(const QString& text);

// The status line's reason for typed text that toCore refuses; `what` names the value.
QString unencodableText(const QString& what);

} // namespace livrano
