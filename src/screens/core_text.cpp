// SPDX-License-Identifier: MIT
#include "screens/core_text.h"

#include "app/code_page.h"

namespace livrano {

QString fromCore(std::string_view text) {
    return QString::fromStdString(utf8FromWindows1252(text));
}

QString fromMessage(std::string_view message) {
    return QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
}

Status toCore(std::string_view what, const QString& text, std::string& out) {
    return windows1252FromUtf8(what, text.toStdString(), out);
}

std::string toCoreOrEmpty(const QString& text) {
    std::string out;
    return toCore("text", text, out) ? out : std::string();
}

} // namespace livrano
