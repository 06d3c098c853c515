// SPDX-License-Identifier: MIT
#include "support/recording_frontend.h"

#include <sstream>

namespace livrano::testkit {

void RecordingFrontend::setStatus(const std::string& text, const std::string& detail) {
    statusTexts.push_back(text);
    statusDetail = detail;
    events.push_back("status: " + text);
}

void RecordingFrontend::setProgress(double percent) {
    progressValues.push_back(percent);
    std::ostringstream s;
    s << "progress: " << percent;
    events.push_back(s.str());
}

} // namespace livrano::testkit
