// SPDX-License-Identifier: MIT
#include "support/recording_frontend.h"

#include <sstream>

namespace livrano::testkit {

void RecordingFrontend::setStatus(const std::string& text, const std::string& detail) {
    statusTexts.push_back(text);
    statusDetail = detail;
    events.push_back("status: " + text);
}

void RecordingFrontend::showProgressArea() {
    progressVisible = true;
    events.emplace_back("show-progress");
}

void RecordingFrontend::hideProgressArea() {
    progressVisible = false;
    events.emplace_back("hide-progress");
}

void RecordingFrontend::setProgress(double percent) {
    progressValues.push_back(percent);
    std::ostringstream s;
    s << "progress: " << percent;
    events.push_back(s.str());
}

void RecordingFrontend::setTextureList(const std::vector<std::string>& lines) {
    textureList = lines;
    events.emplace_back("texture-list");
}

void RecordingFrontend::showTailNumber(const std::string& text) {
    tailNumber = text;
    events.push_back("tail-number: " + text);
}

void RecordingFrontend::showPreview(const PreviewPicture& picture) {
    previews.push_back(picture);
    events.emplace_back("preview");
}

void RecordingFrontend::setAlphaPreviewAvailable(bool available) {
    alphaPreviewAvailable = available;
    events.push_back(available ? "alpha-preview: on" : "alpha-preview: off");
}

void RecordingFrontend::showMessage(const std::string& text) {
    messages.push_back(text);
    events.push_back("message: " + text);
}

void RecordingFrontend::playSound(const std::filesystem::path& wavFile) {
    sounds.push_back(wavFile.filename().string());
    events.push_back("sound: " + wavFile.filename().string());
}

} // namespace livrano::testkit
