#pragma once
// A variation's place inside the installed aircraft: its folders, its copy of the flight model,
// and the removal of a replaced variation's files.

#include <string_view>
#include <vector>

#include "app/application.h"
#include "app/status.h"
#include "output/file_operations.h"
#include "output/fltsim_entry.h"

namespace livrano {

// Shows "Creating Aircraft Directories", then ensures the aircraft folder (one level: the
// simulator's "Aircraft" folder must exist) and, by TextureAssignOnly, the shared "Texture"
// folder and the variation's model folder (0) or the variation's "Texture." + extension folder
// (1); other values ensure the aircraft folder alone. With 0 the "Texture." + extension folder
// is made too when extra textures are copied into it. Existing folders are kept with their
// contents; a new model folder is named with the upper-case identifier. Fails when a folder
// cannot be made or a file stands where a folder should be.
Status CreateAircraftFolders(Application& app, FileOperations& files = systemFileOperations());

// Copies the data folder's BaseAirName + ".air" into the aircraft folder under the variation's
// masked name, replacing a file of that name (whatever its case). Fails when the source is
// missing or the copy fails.
Status CopyAirFile(Application& app, FileOperations& files = systemFileOperations());

// Deletes the files of the variation whose aircraft.cfg entry had these (trimmed) model and
// texture values: its own texture folder, or its textures in the shared folder; its model folder
// (TextureAssignOnly 0); its flight-model copy (CopyRenameAirFile 1). Every failure is passed over.
// Names that would leave the aircraft folder, the aircraft's own base model, flight-model,
// texture and extra texture files, and the BaseTextureFolder, are never deleted. Nor is what one of
// `otherEntries` still uses: the texture folder when one has the same texture value, the files named after
// the model value when one has the same model value (case ignored).
void RemoveVariationFiles(Application& app, std::string_view model, std::string_view texture,
                          FileOperations& files = systemFileOperations(),
                          const std::vector<FltsimEntry>& otherEntries = {});

} // namespace livrano
