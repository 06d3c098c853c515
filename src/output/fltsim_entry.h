#pragma once
// The liveries of an installed aircraft.cfg, one [fltsim.N] section each, as the last build read
// them. The table lives in the Application for the whole run: the Create command's same-title
// replacement works on what the previous build of this run read.

#include <cstdint>
#include <string>
#include <utility>
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
    // Every other key of the section (the simulator's own, a painter's), name and value exactly
    // as written, in file order: the writer carries them through unchanged.
    std::vector<std::pair<std::string, std::string>> otherKeys;
};

// At most this many entries are carried from one aircraft.cfg.
inline constexpr std::size_t kFltsimSlots = 1000;

struct FltsimTable {
    std::vector<FltsimEntry> FltsimEntries; // in the order they were read, renumbered from 0
    int LastEntryIndex() const { return static_cast<int>(FltsimEntries.size()) - 1; }
};

} // namespace livrano
