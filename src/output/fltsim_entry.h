// SPDX-License-Identifier: MIT
#pragma once
// One livery of an installed aircraft.cfg, one [fltsim.N] section. A build reads them afresh
// under its lock: the same-title replacement works on the file as it is, not as an earlier
// build of this run found it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace livrano {

// Every value trimmed; a missing key reads as "" or 0.
struct FltsimEntry {
    std::string title;
    std::string sim;
    std::string model;
    std::string panel;
    std::string sound;
    std::string texture;
    std::string kb_checklists;
    std::string kb_reference;
    std::string atc_id;
    std::string atc_airline;
    std::string atc_flight_number;
    std::string ui_manufacturer;
    std::string ui_type;
    std::string ui_variation;
    std::int16_t atc_heavy = 0;
    std::int16_t visual_damage = 0;
    std::string description;
    std::vector<std::string> extraValues; // one per extra field name, when extra fields are carried
    // Its N of [fltsim.N] and its section as written (header to the next header, line ends
    // included): the values above are read through the profile limits for matching and checks,
    // but the section is written back byte for byte, renumbered at most.
    std::size_t number = 0;
    std::string section;
};

// At most this many entries are carried from one aircraft.cfg.
inline constexpr std::size_t kFltsimSlots = 1000;

} // namespace livrano
