// SPDX-License-Identifier: MIT
#pragma once
// A build is planned, then carried out. The plan is one value that holds every name and path the
// build will write or remove, derived once (trimmed, masked, found whatever their case) from the
// aircraft's specification, the user's choices and the files as they are, and checked as a
// whole before anything is touched. The steps take the plan and derive no name of their own.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aircraft/profile.h"
#include "app/file_stamp.h"
#include "app/status.h"
#include "output/file_operations.h"
#include "output/fltsim_entry.h"
#include "output/repaint_inputs.h"
#include "texture/bitmap_surfaces.h"
#include "texture/texture_composition.h"

namespace livrano {

struct PlannedCopy {
    std::filesystem::path source;
    std::filesystem::path destination;
};

struct BuildPlan {
    std::filesystem::path aircraftFolder; // ProgramFolder\..\..\Aircraft\AircraftDirectory
    std::filesystem::path dataFolder;     // ProgramFolder\Data.DataPath
    std::string extension;                // the folder extension as typed, trimmed
    std::string id;                       // VariationId: the extension in upper case

    std::vector<std::filesystem::path> folders; // made in this order when missing

    // TextureAssignOnly 0: the model copy, its Model.cfg naming it, the names patched into it.
    std::optional<PlannedCopy> model;
    std::filesystem::path modelCfg;
    std::string modelName;
    std::vector<FilePatch> modelPatches;
    std::optional<PlannedCopy> air; // CopyRenameAirFile 1: the flight-model copy

    std::filesystem::path installedCfg;  // the aircraft's aircraft.cfg (need not exist)
    FileStamp installedStamp;            // aircraft.cfg as the plan read it
    std::filesystem::path backupCfg;     // Aircraft.bak
    std::filesystem::path originalCfg;   // the file before the program first changed it
    std::filesystem::path dataCfg;       // the program's clean copy
    std::string dataBytes;               // the clean copy as read
    std::vector<FltsimEntry> entries;    // the installed liveries, without the one replaced
    std::vector<std::size_t> numbers;    // the N each of them is written under
    std::vector<ProfileSection> others;  // [fltsim.N] without a title or read before: kept as is
    FltsimEntry entry;                   // the new livery
    std::size_t entryNumber = 0;         // its N
    bool writesEntry = true;             // false when no new livery is added
    bool entryHasModelAndTexture = true; // false for TextureAssignOnly other than 0 and 1

    // The livery of the same title that the build replaces, and those of its files and folders
    // that the new livery does not write over (files first, a folder after its files, removed
    // only when empty). A file both liveries have is replaced in place, never removed: the
    // livery keeps the old file or the new one at every moment, and what goes is removed only
    // once aircraft.cfg names the new livery.
    std::optional<FltsimEntry> replaced;
    std::size_t entryIndex = 0; // where the livery taken out stood among the installed ones
    std::vector<std::filesystem::path> removals;

    TextureJobs textures;
    std::vector<std::string> warnings; // what the build does that the author may not expect
};

// Plans the build from the application's state and the files as they are (call it under the
// build lock): reads the installed aircraft.cfg, the clean copy and the model's size, and writes
// nothing. Fails, as Refused (the user's input cannot be used), when no template is loaded
// (TemplateSurface24 not Ready), and with a message that names the value at fault,
// when a name that becomes a file or folder would leave its folder or cannot be formed, the clean copy cannot
// be read, the installed aircraft.cfg is read-only, a texture's file in TempBitmaps is another
// texture's file of another kind, the title would not read back from aircraft.cfg, an identifier
// is not NumIdentifierCharacters long or a model offset ends past the model (TextureAssignOnly
// 0), the installed file holds more than kFltsimSlots liveries or, for a livery of a new title,
// kFltsimSlots already, the livery of the same title is one of the aircraft's own (listed in the
// clean copy), the build would write or remove a file or folder of another livery or the
// BaseTextureFolder (the message names the livery), the model or flight-model file to copy is
// missing, something other than a folder has the name of a folder to make or something other
// than a regular file the name of a file to replace, a name is too long for its file system, or
// what the build writes into the aircraft folder does not fit in the space `files` says is free
// there (the replaced livery's files count as staying).
Status planBuild(const RepaintInputs& repaint, const BitmapSurfaces& surfaces, BuildPlan& plan,
                 FileOperations& files = systemFileOperations());

// The start of every plan that works on the installed liveries: the aircraft and data folders,
// the paths of aircraft.cfg, Aircraft.bak, the original and the clean copy, the clean copy's
// bytes and the installed entries. Fails as planBuild does for these.
Status planConfigurations(const RepaintInputs& repaint, BuildPlan& plan);

// Taking out the installed livery titled `title` (case and surrounding blanks ignored): the
// plan's entries are the others (the later ones numbered down when written), `replaced` the
// livery, `removals` the files and folders only it uses, found as for a same-title replacement,
// and writesEntry is false. Fails when no livery has the title, when it is one of the aircraft's
// own liveries (listed in the clean copy), for the reasons planBuild reads the files for, or when
// rewriting aircraft.cfg would fail midway (checkCfgRewrite).
Status planLiveryRemoval(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan,
                         FileOperations& files = systemFileOperations());

// The same for sharing the livery: `removals` holds what it brings along, everything of its
// own that the aircraft's own liveries and files do not use, whatever other added liveries use.
Status planLiveryFiles(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan);

} // namespace livrano
