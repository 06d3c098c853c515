#pragma once
// What must hold before a build may write or remove anything. The same-title replacement that
// precedes a build deletes files, so a build that would fail on a bad name or a model it would
// corrupt has to be refused before it starts, not at the step that trips over it.

#include "app/application.h"
#include "app/status.h"

namespace livrano {

// Every check, reading only: names that become files or folders (aircraft folder, data folder,
// folder extension, model, flight-model, texture and extra texture names, and the masked names
// made from them) must stay inside their folder; no texture's file in TempBitmaps may be another
// texture's file of another kind; the new title must read back from aircraft.cfg; an aircraft
// whose variations patch the model (TextureAssignOnly 0) needs an identifier of exactly
// NumIdentifierCharacters characters and model offsets whose names end inside the model file;
// the installed aircraft.cfg may hold at most kFltsimSlots titled entries, and no livery of
// another title may own the folders or files the build writes (the message names it), nor may
// they be the BaseTextureFolder. The message names the value at fault.
Status checkBuild(const Application& app);

} // namespace livrano
