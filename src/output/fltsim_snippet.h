// SPDX-License-Identifier: MIT
#pragma once
// The aircraft.cfg entry that travels with a shared livery: one [fltsim.X] section in a text
// file of its own, which the painter who installs it pastes (or has pasted) into aircraft.cfg.

#include <string>
#include <string_view>

#include "aircraft/aircraft_spec.h"
#include "app/status.h"
#include "output/fltsim_entry.h"

namespace livrano {

// An entry's section as read from aircraft.cfg (FltsimEntry::section), its header written
// [fltsim.X], every line ended CRLF and the blank lines after it left out.
std::string fltsimSnippet(std::string_view section);

// True when the text holds a line that opens an [fltsim.…] section.
bool holdsFltsimSection(std::string_view text);

// Reads the one [fltsim.…] section of the text (Windows-1252, or UTF-8 with or without a byte
// order mark) as aircraft.cfg would hold it. Fails when the text holds no such section or more
// than one, UTF-8 text holds a character Windows-1252 cannot, or the section has no title.
Status readFltsimSnippet(const ExtraFieldSpec& extraFields, std::string_view text, FltsimEntry& entry);

} // namespace livrano
