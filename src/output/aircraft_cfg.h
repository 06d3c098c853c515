#pragma once
// The aircraft.cfg entry of a new variation. The installed file is never edited in place: its
// liveries and weight-and-balance values are read, it is kept as Aircraft.bak, and a new file is
// composed from the program's clean data copy (every carried livery, the new one, the weight and
// balance) beside it and moved into its place in one rename. Text is CRLF Windows-1252 bytes.

#include "aircraft/profile.h"
#include "app/application.h"
#include "app/status.h"
#include "output/file_operations.h"

namespace livrano {

// The installed aircraft.cfg as it was before the program first changed it, kept beside it.
inline constexpr const char* kOriginalAircraftCfg = "Aircraft.original";

// The new entry's title: the aircraft's prefix, a blank and the variation, control characters
// folded to blanks as every value of the new entry is.
std::string newEntryTitle(const Application& app);

// Refills app.fltsim from the installed aircraft.cfg as it is now (a missing file holds no
// entries). Fails, leaving the table alone, when the file cannot be read or holds too many.
Status readInstalledEntries(Application& app, FileOperations& files = systemFileOperations());

// Every titled [fltsim.N] section of the document, N ascending, whatever gaps the numbering has
// (the simulator lists them all; none may vanish). Extra values are read when the aircraft
// carries extra fields, and every other key as written. Fails, leaving `entries` alone, when more than
// kFltsimSlots are titled.
Status readFltsimEntries(const ProfileDocument& document, const ExtraFieldSpec& extraFields,
                         std::vector<FltsimEntry>& entries);

// Shows "Writing Aircraft Configuration File" and moves the bar from 8 to 20. Refills
// app.fltsim from the installed file (a missing file holds no entries), copies the installed
// file to Aircraft.bak (and, the first time, to kOriginalAircraftCfg), runs ReplaceSameTitle, then writes the
// composed file into place. Fails (with the installed file as it was) when the installed file cannot be read,
// the backup or the replacement fails, or the data copy is missing; a missing data copy fails before the
// backup and the replacement. Weight-and-balance values that cannot be read are left out.
Status WriteAircraftCfg(Application& app, FileOperations& files = systemFileOperations());

// Drops the first entry of app.fltsim whose title equals the new entry's title (prefix, blank,
// variation; case and outer blanks ignored), removes that variation's files (keeping those that
// another entry of app.fltsim still names) and makes the new variation's folders, model copy and
// flight-model copy again. At most one entry is replaced. Fails when remaking them fails;
// nothing to replace is success.
Status ReplaceSameTitle(Application& app, FileOperations& files = systemFileOperations());

} // namespace livrano
