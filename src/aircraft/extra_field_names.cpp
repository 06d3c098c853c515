// SPDX-License-Identifier: MIT
#include "aircraft/extra_field_names.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "aircraft/profile.h"
#include "app/code_page.h"
#include "app/text.h"

namespace livrano {

namespace {

// The keys of an entry that the aircraft.cfg entry writer writes itself: an extra field of the
// same name would give the entry the key twice, and the simulator reads only the first.
const char* const kEntryKeys[] = {"title",
                                  "sim",
                                  "model",
                                  "panel",
                                  "sound",
                                  "texture",
                                  "kb_checklists",
                                  "kb_reference",
                                  "atc_id",
                                  "atc_airline",
                                  "atc_flight_number",
                                  "atc_heavy",
                                  "ui_manufacturer",
                                  "ui_type",
                                  "ui_variation",
                                  "visual_damage",
                                  "description"};

} // namespace

bool isEntryKey(std::string_view key) {
    return std::any_of(std::begin(kEntryKeys), std::end(kEntryKeys),
                       [&](const char* known) { return equalsNoCase(key, known); });
}

std::vector<ExtraFieldNameFault> extraFieldNameFaults(const ExtraFieldSpec& fields, std::size_t count) {
    std::vector<ExtraFieldNameFault> faults;
    std::unordered_map<std::string, std::size_t> first; // upper-case name -> its first field
    for (std::size_t k = 0; k < count; ++k) {
        const std::string name = trim(fields.ExtraFieldNames[k]);
        const std::string shown =
            "\"" + utf8FromWindows1252(name) + "\" (ExtraField." + twoDigits(static_cast<int>(k)) + ")";
        const auto [earlier, isFirst] = first.emplace(toUpper(name), k);
        if (!ProfileDocument::writable("fltsim.0", name) || name.find_first_of("[]") != std::string::npos)
            faults.push_back(
                {k,
                 shown +
                     " cannot be a key of an aircraft.cfg entry (empty, or holds '=', '[', ']', a line break or a leading ';')."});
        else if (isEntryKey(name))
            faults.push_back({k, shown + " is a key the program writes into every entry itself."});
        else if (!isFirst)
            faults.push_back(
                {k, shown + " repeats ExtraField." + twoDigits(static_cast<int>(earlier->second)) + "."});
    }
    return faults;
}

} // namespace livrano
