#pragma once
// The airline callsigns offered for a repaint, read once at start-up from airlines.cfg.

#include <cstdint>
#include <string>
#include <vector>

namespace livrano {

struct AirlineList {
    std::vector<std::string> AirlineEntries; // in file order
    std::int32_t AirlineLastIndex = -1;       // entries - 1
};

} // namespace livrano
