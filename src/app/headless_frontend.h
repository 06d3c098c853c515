// SPDX-License-Identifier: MIT
#pragma once
// A frontend without a window: every call that only changes the window does nothing. Tools
// without a screen start from it and override what they do show (the CLI its status lines and
// progress bar).

#include "app/frontend.h"

namespace livrano {

class HeadlessFrontend : public Frontend {
public:
    void setStatus(const std::string&, const std::string&) override {}
    void showProgressArea() override {}
    void hideProgressArea() override {}
    void setProgress(double) override {}
    void setTextureList(const std::vector<std::string>&) override {}
    void showEmptyChoices() override {}
    void showTailNumber(const std::string&) override {}
    void showPreview(const PreviewPicture&) override {}
    void setAlphaPreviewAvailable(bool) override {}
    void templateLoaded() override {}
    void refreshStatusLine() override {}
    void setBusy(bool) override {}
    void showMessage(const std::string&) override {}
    void playSound(const std::filesystem::path&) override {}
};

} // namespace livrano
