#pragma once
// The aircraft.cfg entry of a new variation. The installed file is never edited in place: its
// liveries and weight-and-balance values are read, it is kept as Aircraft.bak, and a new file is
// composed from the program's clean data copy (every carried livery, the new one, the weight and
// balance) beside it and moved into its place in one rename. Text is CRLF Windows-1252 bytes.

#include <string>
#include <vector>

#include "aircraft/profile.h"
#include "app/application.h"
#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/fltsim_entry.h"

namespace livrano {

// The installed aircraft.cfg as it was before the program first changed it, kept beside it.
inline constexpr const char* kOriginalAircraftCfg = "Aircraft.original";

// Every titled [fltsim.N] section of the document, N ascending, whatever gaps the numbering has
// (the simulator lists them all; none may vanish). Extra values are read when the aircraft
// carries extra fields, and every other key as written. Fails, leaving `entries` alone, when
// more than kFltsimSlots are titled.
Status readFltsimEntries(const ProfileDocument& document, const ExtraFieldSpec& extraFields,
                         std::vector<FltsimEntry>& entries);

// The new entry's title: the aircraft's prefix, a blank and the variation, control characters
// folded to blanks as every value of the new entry is.
std::string newEntryTitle(const Application& app);

// The new livery's entry from the aircraft specification, the user's choices, the "livrano" section of
// the clean copy and the flight model's name; a control character in any value becomes a blank.
FltsimEntry newFltsimEntry(const Application& app, const ProfileDocument& dataCopy, const std::string& sim);

// Shows "Writing Aircraft Configuration File" and moves the bar from 8 to 20. Reads the
// weight-and-balance values of the installed file (those that cannot be read are left out),
// copies it to Aircraft.bak (and, the first time, to kOriginalAircraftCfg), then writes the file
// composed from the plan's clean copy, entries and new entry (unless writesEntry is false) into
// place. Fails, with the
// installed file as it was, when the installed file cannot be read or a copy or the replacement
// fails.
Status WriteAircraftCfg(Application& app, const BuildPlan& plan,
                        FileOperations& files = systemFileOperations());

} // namespace livrano
