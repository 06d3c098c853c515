// SPDX-License-Identifier: MIT
#pragma once
// Loading one aircraft configuration into the application's specification records.

#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/aircraft_spec.h"
#include "aircraft/catalogue.h"
#include "aircraft/profile.h"
#include "app/status.h"

namespace livrano {

class Frontend;
struct RepaintSettings;
struct StateFlags;

// A value of the configuration file that the loaded aircraft record does not hold as written.
struct SpecValueNote {
    enum class Kind {
        OutOfRange, // an integer outside -32768..32767 for a 16-bit field: the field kept its value
        Cut,        // a text longer than its field's capacity: only its start was kept
    };
    Kind kind;
    std::string section;
    std::string key;
    std::string value;        // as written in the configuration (texts at most 254 characters)
    std::size_t capacity = 0; // for Cut: the field's capacity
};

// Reads a configuration's plain text into the records exactly as a load does, touching no file
// and no screen. `spec` is replaced whole. The extra records are not reset: their flags, counts
// and folder are read afresh, and their lists are rebuilt only when the flag is 1 and the count
// at least 1 (otherwise they keep what they held). 16-bit fields take a value only when it lies
// in -32768..32767, else keep their previous value; model offsets are kept as 32-bit values; a
// count of 0 or less gives an empty list. Every texture's format is kFormatDxt3 when `dxt3` is
// true, else kFormat32Alpha. When `notes` is given it receives every value not kept as written.
// Time and memory follow the text's size, not its counts. A failure, with an empty `spec`, when
// memory ran out.
Status readAircraftSpec(const ProfileDocument& profile, bool dxt3, AircraftSpec& spec,
                        ExtraTextureSpec& extraTextures, ExtraFieldSpec& extraFields,
                        std::vector<SpecValueNote>* notes = nullptr);

// Loads the enciphered configuration at `configFile` (deciphered in memory with the program's
// key; nothing is written to disk) into `spec` and the extra records. In order: sets
// SpecLoading; resets `spec` and `settings`; frontend.showEmptyChoices(); reads the aircraft
// block; sets PendingTailNumber and TailNumber to AircraftTail and calls showTailNumber; reads
// the rest, every texture's format chosen by `dxt3` as readAircraftSpec does; FillTextureList;
// clears SpecLoading. Reports nothing: a missing or undecipherable file, or one too large for
// memory, leaves an empty specification and "*Entire Template*" alone in the texture list. It
// sets neither AircraftIndex nor the aircraft names: loadCatalogueAircraft does.
void LoadAircraftSpec(const std::filesystem::path& configFile, bool dxt3, AircraftSpec& spec,
                      ExtraTextureSpec& extraTextures, ExtraFieldSpec& extraFields, RepaintSettings& settings,
                      StateFlags& flags, Frontend& frontend);

// Makes catalogue entry `index` the chosen aircraft: LoadAircraftSpec of its file (which resets
// `settings`), then AircraftIndex is `index` and AircraftName and PendingAircraftName are the
// entry's display name. An error, changing nothing, when `index` names no stored entry.
Status loadCatalogueAircraft(const AircraftCatalogue& catalogue, int index, bool dxt3, AircraftSpec& spec,
                             ExtraTextureSpec& extraTextures, ExtraFieldSpec& extraFields,
                             RepaintSettings& settings, StateFlags& flags, Frontend& frontend);

// The main window's texture list for a specification: "*Entire Template*", then each
// texture's ViewName in texture order (line k stands for texture k - 1).
std::vector<std::string> textureListLines(const AircraftSpec& spec);

// Sends textureListLines(spec) to frontend.setTextureList.
void FillTextureList(const AircraftSpec& spec, Frontend& frontend);

} // namespace livrano
