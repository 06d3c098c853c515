// SPDX-License-Identifier: MIT
#pragma once
// The airline callsigns offered for a repaint, read once at start-up from airlines.cfg.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/status.h"

namespace livrano {

struct AirlineList {
    std::vector<std::string> AirlineEntries; // in file order
    std::int32_t AirlineLastIndex = -1;      // entries - 1
};

// The line that stands for "no callsign"; it heads the callsign screen's list and is never in a file.
inline constexpr std::string_view kNoCallsign = "*NONE*";

// Splits the text of an airlines.cfg file into its entries. Entries are separated by line ends
// (CRLF, LF or CR) or commas. Blanks (spaces and tabs) before an entry are skipped, and so are
// blanks after an unquoted one. An entry that begins with a double quotation mark runs to the
// next one, across line ends; the marks are dropped, commas, blanks and line ends between them
// belong to the entry, and anything after the closing mark up to the next separator is ignored.
// A mark that is never closed ends its entry at the line end, so a stray mark cannot swallow the
// file.
// Entries that come out empty (blank lines, ",,", "") are not entries: a callsign screen line
// that says nothing helps nobody, and the counting and the reading share this one rule.
std::vector<std::string> splitAirlineEntries(std::string_view text);

// Reads the list: the program's own ProgramFolder\Data\airlines.cfg, unless the simulator's
// ProgramFolder\..\..\Aircraft\airlines.cfg exists and holds more than 10 entries, in which case
// that one supplies every entry (the two are never merged). Names are found without regard to
// case. Fails, leaving `list` untouched, when the program's own file is missing, whatever the
// simulator's file holds; the message is the one the user must see before the program ends.
Status LoadAirlineList(const std::filesystem::path& programFolder, AirlineList& list);

// The callsign screen's lines: kNoCallsign first, then every entry in list order. The first
// line is the one to select.
std::vector<std::string> callsignLines(const AirlineList& list);

} // namespace livrano
