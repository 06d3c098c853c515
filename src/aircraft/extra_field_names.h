// SPDX-License-Identifier: MIT
#pragma once
// The names an aircraft configuration gives its extra fields become keys of every aircraft.cfg
// entry a build writes; config show and the build refuse the same names by this one rule.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "aircraft/aircraft_spec.h"

namespace livrano {

struct ExtraFieldNameFault {
    std::size_t field;   // k of ExtraField.k
    std::string message; // one sentence naming the field and why
};

// The names among the first `count` extra fields (at most ExtraFieldNames.size()) that cannot be
// written into an entry, in field order; empty when all can. Refused: a name that cannot be written and read
// back as a key (empty, or holding '=', '[', ']' or a line break, or beginning with ';'), a key
// the entry writer writes itself ("title", "atc_id"...), and a name an earlier field already has.
// Letter case does not count, as the simulator reads keys without regard to it.
std::vector<ExtraFieldNameFault> extraFieldNameFaults(const ExtraFieldSpec& fields, std::size_t count);

// True for a key the aircraft.cfg entry writer writes itself ("title", "atc_id"...), case ignored.
bool isEntryKey(std::string_view key);

} // namespace livrano
