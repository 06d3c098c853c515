// SPDX-License-Identifier: MIT
#pragma once
// Installing a livery someone shared as a zip: a texture folder "Texture.XXX" (any case), maybe a
// model folder "Model.XXX" and a flight model ".air", and a text file that holds its
// [fltsim.X] section. The zip is hostile input: everything is checked before anything is
// written, and a zip that fails a check leaves the aircraft as it was.

#include <filesystem>
#include <string>
#include <vector>

#include "app/frontend.h"
#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/repaint_inputs.h"
#include "output/zip_archive.h"

namespace livrano {

struct InstalledFile {
    std::size_t zipIndex = 0;
    std::filesystem::path destination;
};

struct InstallPlan {
    // For the aircraft.cfg rewrite: the installed entries and, last, the livery's, carried as its
    // section reads; `entry` and `entryNumber` are the livery's.
    BuildPlan cfg;
    std::vector<std::filesystem::path> folders; // the missing ones, made in order
    std::vector<InstalledFile> files;
    std::vector<std::string> leftOut; // names in the zip that are not installed (read-me texts...)
};

// Plans installing the opened zip into the loaded aircraft as its next livery. One folder that
// holds everything is looked into. Refuses, with a message naming the entry: a name with "..",
// an absolute name, a drive letter, a backslash or a character a file name may not hold; a
// link; a name Windows-1252 cannot spell (read as the zip says: UTF-8 when flagged, else CP437);
// a file, folder or link that exists already (only the shared "Texture" folder may, for new
// files in it); two entries of one name, or folders whose names differ only in case; a folder or
// a title that another livery has; a file that removing the livery would leave behind (in a
// folder its entry does not name, in a folder below its texture folder, or not one of its
// textures, model file, Model.cfg or flight model as the aircraft names them). Refuses, too, no
// [fltsim.X] section or more than one; a section holding a control character or a value that
// would not read back from aircraft.cfg (checkFltsimValue); an entry that names a texture
// folder, model folder or flight model outside the aircraft folder, or one that neither the zip
// nor the aircraft has; and what the file system would refuse midway: something other than a
// folder where a folder goes, a name too long for it, more than `files` says is free.
Status planLiveryInstall(const RepaintInputs& repaint, const ZipReader& zip, InstallPlan& plan,
                         FileOperations& files = systemFileOperations());

// Notes the work in the aircraft's journal (work_journal.h), makes the folders, writes every file
// and rewrites aircraft.cfg with the new entry, which is the moment the livery is installed. When
// a step fails, what it wrote is taken away again; when the run is killed, the next command does
// that. The entry's extra fields are named by `extraFields`.
Status InstallLivery(const ExtraFieldSpec& extraFields, Frontend& frontend, const ZipReader& zip,
                     const InstallPlan& plan, FileOperations& files = systemFileOperations());

} // namespace livrano
