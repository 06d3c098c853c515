#pragma once
// The frontend of livrano-cli: status lines and a progress bar on stderr. On a terminal the
// bar redraws in place; otherwise each status text is one line and the bar is left out.

#include <cstdio>
#include <string>

#include "app/frontend.h"

namespace livrano::cli {

class TerminalFrontend : public Frontend {
public:
    explicit TerminalFrontend(std::FILE* out = stderr);
    ~TerminalFrontend() override;

    // What dxt3Checked answers while a specification loads (the --dxt3 option).
    void setDxt3(bool on) { m_dxt3 = on; }

    void setStatusText(const std::string& text) override;
    void showProgressArea() override;
    void hideProgressArea() override;
    void setProgress(double percent) override;
    void setTextureList(const std::vector<std::string>&) override {}
    bool dxt3Checked() const override { return m_dxt3; }
    void showEmptyChoices() override {}
    void showTailNumber(const std::string&) override {}
    void showPreview(const PreviewPicture&) override {}
    void setAlphaPreviewAvailable(bool) override {}
    void templateLoaded() override {}
    void setBusy(bool) override {}
    void showMessage(const std::string& text) override;
    void playSound(const std::filesystem::path&) override {}

private:
    void drawLine();
    void endLine();

    std::FILE* m_out;
    bool m_tty;
    bool m_progressShown = false;
    bool m_lineOpen = false;
    bool m_dxt3 = false;
    double m_percent = 0;
    std::string m_status;
};

} // namespace livrano::cli
