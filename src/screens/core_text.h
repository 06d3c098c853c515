// SPDX-License-Identifier: MIT
#pragma once
// The boundary between the windows' text (QString) and the core's: names are Windows-1252 bytes,
// messages (status texts, message boxes, the reasons of a Status) are UTF-8.

#include <QString>

#include <string>
#include <string_view>

#include "app/status.h"

namespace livrano {

// A core name for display.
QString fromCore(std::string_view text);

// A core message for display.
QString fromMessage(std::string_view message);

// Typed text for the core into `out`; fails, leaving `out` alone, for a character the code page
// lacks, with a message that names it. `what` names the value in the message.
Status toCore(std::string_view what, const QString& text, std::string& out);

// Typed text for comparing with core text; a character the code page lacks matches nothing.
std::string toCoreOrEmpty(const QString& text);

} // namespace livrano
