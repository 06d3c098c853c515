// SPDX-License-Identifier: MIT
#pragma once
// The aircraft.cfg entry of a new variation. The installed file is never edited in place: its
// liveries and weight-and-balance values are read, it is kept as Aircraft.bak, and a new file is
// composed from the program's clean data copy (every carried livery, the new one, the weight and
// balance) beside it and moved into its place in one rename. Text is CRLF Windows-1252 bytes.

#include <string>
#include <vector>

#include "aircraft/profile.h"
#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/fltsim_entry.h"
#include "output/repaint_inputs.h"

namespace livrano {

// The installed aircraft.cfg as it was before the program first changed it, kept beside it.
inline constexpr const char* kOriginalAircraftCfg = "Aircraft.original";

// The installed aircraft.cfg's bytes as the program reads them: Windows-1252 text whose lines end
// in CRLF or LF. A file saved as UTF-16 (behind its byte-order mark) is converted, and a lone CR,
// the line end of some editors, becomes CRLF. Fails, as Refused, when a character has no
// Windows-1252 byte or the UTF-16 is broken; `file` names it in the message.
Status installedCfgText(const std::filesystem::path& file, std::string_view bytes, std::string& text);

// The installed file's [fltsim.N] sections (N in decimal without leading zeros, the only spelling
// a reader of "fltsim." + N finds). `entries`: every titled one, N ascending, whatever gaps the
// numbering has (the simulator lists them all; none may vanish); extra values are read when the
// aircraft carries extra fields. `others`: in file order, every other one, without a title or
// repeating an earlier section's name, which a build carries as it stands. Fails, leaving both
// alone, when more than kFltsimSlots are titled, or when none is read from text that holds
// "[fltsim" (in any case, NUL bytes passed over): such a file is in a form the reader does not know.
Status readFltsimEntries(const ProfileDocument& document, const ExtraFieldSpec& extraFields,
                         std::vector<FltsimEntry>& entries, std::vector<ProfileSection>& others);

// Ok while `carried` installed liveries leave room for one more; Refused, naming the limit, when
// they are kFltsimSlots. A livery that replaces one of its title needs no room.
Status checkRoomForLivery(std::size_t carried);

// The N each entry is written under, in order, then the new entry's: from 0 up, passing over the
// numbers of the other sections. An entry whose number one of them repeats keeps it,
// so that the reader still finds the same section first.
std::vector<std::size_t> fltsimNumbers(const std::vector<FltsimEntry>& entries,
                                       const std::vector<ProfileSection>& others);

// The new entry's title: the aircraft's prefix, a blank and the variation, control characters
// folded to blanks as every value of the new entry is.
std::string newEntryTitle(const RepaintInputs& repaint);

// Ok when `value`, written as the value of `key` in an [fltsim.N] section, reads back as it is
// (blanks around it aside): it holds no control character, has at most kIniStringChars
// characters (kIniLongStringChars for the description), and no quotation marks enclose it.
// Otherwise Refused, naming the key and the value.
Status checkFltsimValue(std::string_view key, std::string_view value);

// The new livery's entry from the aircraft specification, the user's choices, the "livrano" section of
// the clean copy and the flight model's name; a control character in any value becomes a blank.
FltsimEntry newFltsimEntry(const RepaintInputs& repaint, const ProfileDocument& dataCopy,
                           const std::string& sim);

// Ok when the installed file is still the one the plan read (or still missing, as the plan found
// it); Refused, naming the file, when another program has saved, made or removed it since.
Status checkInstalledCfgUnchanged(const BuildPlan& plan);

// Ok unless the installed file `installedCfg` is read-only: Refused then, saying so. Windows refuses to
// replace a read-only file, and the program does the same everywhere: the mark is not the build's to clear.
Status checkInstalledCfgWritable(const std::filesystem::path& installedCfg);

// Shows "Writing Aircraft Configuration File" and moves the bar from 8 to 20. Reads the
// weight-and-balance values of the installed file (those that cannot be read are left out), then
// composes into `bytes` the file from the plan's clean copy: each carried entry's and other
// section's bytes in place of the clean copy's section of that name (or after it), the new entry
// key by key (unless writesEntry is false), the weight and balance. Writes nothing. Fails when
// the installed file cannot be read, and, Refused, when it is no longer the one the plan read.
// The new entry's extra fields are named by `extraFields`.
Status ComposeAircraftCfg(const ExtraFieldSpec& extraFields, Frontend& frontend, const BuildPlan& plan,
                          std::string& bytes, FileOperations& files = systemFileOperations());

// Copies the installed file to Aircraft.bak (and, the first time, to kOriginalAircraftCfg), then
// puts the composed `bytes` in its place, in one replacement: the moment aircraft.cfg names what
// the plan made. Fails, with the installed file as it was, when the file is no longer the one the
// plan read, a copy fails or the replacement fails before its rename.
Status CommitAircraftCfg(const BuildPlan& plan, std::string_view bytes,
                         FileOperations& files = systemFileOperations());

// ComposeAircraftCfg, then CommitAircraftCfg at once: for the commands whose only change is the file.
Status WriteAircraftCfg(const ExtraFieldSpec& extraFields, Frontend& frontend, const BuildPlan& plan,
                        FileOperations& files = systemFileOperations());

} // namespace livrano
