// SPDX-License-Identifier: MIT
#pragma once
// The frontend of livrano-cli: status lines and a progress bar on stderr. On a terminal the
// bar redraws in place; otherwise each status text is one line, its detail on the lines after it
// (a text repeated at once is not written again), and the bar is left out.

#include <cstdio>
#include <string>

#include "app/headless_frontend.h"

namespace livrano::cli {

class TerminalFrontend : public HeadlessFrontend {
public:
    explicit TerminalFrontend(std::FILE* out = stderr);
    ~TerminalFrontend() override;

    void setStatus(const std::string& text, const std::string& detail) override;
    void showProgressArea() override;
    void hideProgressArea() override;
    void setProgress(double percent) override;
    void showMessage(const std::string& text) override;

private:
    void drawLine();
    void endLine();

    std::FILE* m_out;
    bool m_tty;
    bool m_progressShown = false;
    bool m_lineOpen = false;
    double m_percent = 0;
    std::string m_status;
};

} // namespace livrano::cli
