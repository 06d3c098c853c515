// SPDX-License-Identifier: MIT
#pragma once
// The user's choices for the repaint being built. The pending set is what a screen holds while
// the user chooses; the confirmed set is what the main window shows and the build uses.

#include <cstdint>
#include <string>

namespace livrano {

struct RepaintSettings {
    std::int32_t AircraftIndex = 0;
    std::string PendingAircraftName;
    std::string PendingTemplateTitle;
    std::string PendingTemplatePath;
    std::string PendingVariation;
    std::string PendingFolderExtension;
    std::string PendingTailNumber;
    std::string PendingCallsign;
    std::string AircraftName;
    std::string TemplateTitle;
    std::string TemplatePath;
    std::string Variation;
    std::string FolderExtension;
    std::string TailNumber;
    std::string Callsign;
};

} // namespace livrano
