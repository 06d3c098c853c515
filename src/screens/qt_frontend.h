// SPDX-License-Identifier: MIT
#pragma once
// The core's port to the screen, drawn on the main window and the wizard screens. Every call
// repaints what it changed at once: a build blocks the GUI thread, and these calls are the only
// moments the painter sees progress.

#include "app/frontend.h"

namespace livrano {

class Program;

class QtFrontend : public Frontend {
public:
    explicit QtFrontend(Program& program) : m_program(program) {}

    void setStatus(const std::string& text, const std::string& detail) override;
    void showProgressArea() override;
    void hideProgressArea() override;
    void setProgress(double percent) override;
    void setTextureList(const std::vector<std::string>& lines) override;
    void showEmptyChoices() override;
    // The tail number's label; a tail number that is not empty also checks its step.
    void showTailNumber(const std::string& tailNumber) override;
    void showPreview(const PreviewPicture& picture) override;
    void setAlphaPreviewAvailable(bool available) override;
    void templateLoaded() override;
    void refreshStatusLine() override;
    void setBusy(bool busy) override;
    void showMessage(const std::string& text) override;
    void playSound(const std::filesystem::path& wavFile) override;

private:
    Program& m_program;
};

} // namespace livrano
