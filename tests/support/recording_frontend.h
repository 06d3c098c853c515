// SPDX-License-Identifier: MIT
#pragma once
// A frontend that records what the core showed, for exact assertions on texts and values.

#include <string>
#include <vector>

#include "app/frontend.h"

namespace livrano::testkit {

struct RecordingFrontend : Frontend {
    // Every call in order, as "status: Copying Files", "progress: 12", "show-progress", ...
    std::vector<std::string> events;
    std::vector<std::string> statusTexts;
    std::string statusDetail; // the last status text's
    std::vector<double> progressValues;
    std::vector<std::string> textureList;
    std::vector<std::string> messages;
    std::vector<PreviewPicture> previews;
    std::vector<std::string> sounds;
    bool progressVisible = false;
    bool alphaPreviewAvailable = true;
    std::string tailNumber;

    void setStatus(const std::string& text, const std::string& detail) override;
    void showProgressArea() override {
        progressVisible = true;
        events.emplace_back("show-progress");
    }
    void hideProgressArea() override {
        progressVisible = false;
        events.emplace_back("hide-progress");
    }
    void setProgress(double percent) override;
    void setTextureList(const std::vector<std::string>& lines) override {
        textureList = lines;
        events.emplace_back("texture-list");
    }
    void showEmptyChoices() override { events.emplace_back("empty-choices"); }
    void showTailNumber(const std::string& text) override {
        tailNumber = text;
        events.push_back("tail-number: " + text);
    }
    void showPreview(const PreviewPicture& picture) override {
        previews.push_back(picture);
        events.emplace_back("preview");
    }
    void setAlphaPreviewAvailable(bool available) override {
        alphaPreviewAvailable = available;
        events.push_back(available ? "alpha-preview: on" : "alpha-preview: off");
    }
    void templateLoaded() override { events.emplace_back("template-loaded"); }
    void refreshStatusLine() override { events.emplace_back("status-line"); }
    void setBusy(bool b) override { events.emplace_back(b ? "busy" : "idle"); }
    void showMessage(const std::string& text) override {
        messages.push_back(text);
        events.push_back("message: " + text);
    }
    void playSound(const std::filesystem::path& wavFile) override {
        sounds.push_back(wavFile.filename().string());
        events.push_back("sound: " + sounds.back());
    }
};

} // namespace livrano::testkit
