// SPDX-License-Identifier: MIT
#include "cli/terminal_frontend.h"

#include <algorithm>
#include <cmath>

#include "app/platform.h"
#include "cli/terminal_text.h"

namespace livrano::cli {

TerminalFrontend::TerminalFrontend(std::FILE* out) : m_out(out), m_tty(takesEscapeSequences(out)) {}

TerminalFrontend::~TerminalFrontend() {
    endLine();
}

void TerminalFrontend::setStatus(const std::string& text, const std::string& detail) {
    // The same text again ("Moving New Textures" once per texture) adds nothing to a log.
    const bool repeated = text == m_status;
    m_status = text;
    if (m_tty && m_progressShown) {
        drawLine();
        return;
    }
    if (repeated)
        return;
    endLine();
    say(m_out, "%s\n", text.c_str());
    if (!detail.empty())
        say(m_out, "%s\n", detail.c_str());
    std::fflush(m_out);
}

void TerminalFrontend::showProgressArea() {
    m_progressShown = true;
    m_percent = 0;
}

void TerminalFrontend::hideProgressArea() {
    if (m_tty && m_progressShown) {
        m_percent = 100;
        drawLine();
    }
    endLine();
    m_progressShown = false;
}

void TerminalFrontend::setProgress(double percent) {
    m_percent = percent;
    if (m_tty && m_progressShown)
        drawLine();
}

void TerminalFrontend::showMessage(const std::string& text) {
    endLine();
    say(m_out, "%s\n", text.c_str());
    std::fflush(m_out);
}

void TerminalFrontend::drawLine() {
    constexpr int kWidth = 30;
    const double clamped = std::clamp(m_percent, 0.0, 100.0);
    const int filled = static_cast<int>(std::lround(clamped * kWidth / 100.0));
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), '.');
    std::fprintf(m_out, "\r\033[K[%s] %5.1f%%  %s", bar.c_str(), m_percent, terminalText(m_status).c_str());
    std::fflush(m_out);
    m_lineOpen = true;
}

void TerminalFrontend::endLine() {
    if (m_lineOpen) {
        std::fprintf(m_out, "\n");
        std::fflush(m_out);
        m_lineOpen = false;
    }
}

} // namespace livrano::cli
