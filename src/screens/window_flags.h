// SPDX-License-Identifier: MIT
#pragma once
// The program's windows and the flags the windows keep. The window order is fixed: it is the
// order of start-up and shutdown.

#include <array>
#include <cstddef>

namespace livrano {

enum class Screen : std::size_t {
    Main,
    SelectAircraft,
    SelectTemplate,
    Variation,
    Folder,
    TailNumber,
    Callsign,
};
inline constexpr std::size_t kScreenCount = 7;

struct WindowFlags {
    bool WizardActive = false;
    std::array<bool, kScreenCount> ScreenLoaded{};

    bool& screenLoaded(Screen s) { return ScreenLoaded[static_cast<std::size_t>(s)]; }
};

} // namespace livrano
