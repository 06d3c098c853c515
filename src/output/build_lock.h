// SPDX-License-Identifier: MIT
#pragma once
// One build at a time per program folder (its TempBitmaps holds the build's intermediate files)
// and per aircraft folder (its aircraft.cfg is read, composed and replaced as a whole). A second
// build does not wait: the window builds on its only thread, where waiting would freeze it with
// no way to give up, so the second build is refused and its status line says why.

#include "app/platform.h"
#include "app/status.h"
#include "output/repaint_inputs.h"

namespace livrano {

class BuildLock {
public:
    // Takes the program folder's lock and the aircraft folder's, or none of them. The
    // simulator's Aircraft folder is held shared beside an existing aircraft folder and
    // exclusively when the aircraft folder is still to be made, so two first builds of one
    // aircraft exclude each other too. Fails, naming the folder, when another build holds one
    // or a folder cannot be locked (the simulator's Aircraft folder must exist).
    Status acquire(const RepaintInputs& repaint);

    // Takes the program folder's lock alone, for work that writes the program folder and no
    // aircraft (a setup refreshing its files). Fails like acquire.
    Status acquireProgramFolder(const std::filesystem::path& programFolder);

    // Takes the program folder's lock and the simulator's Aircraft folder's, both exclusively, for
    // work that writes the program folder and any aircraft (a demo written over an installation).
    // A folder that does not exist yet holds no build and is passed over. Fails like acquire.
    Status acquireInstallation(const std::filesystem::path& programFolder,
                               const std::filesystem::path& simulatorAircraft);

    // For a command writing a file the user named: the program folder it lies in (one holding
    // Data/airlines.cfg) exclusively, and the aircraft folder it lies in (a folder inside one named
    // Aircraft) exclusively with that Aircraft folder shared, as a build holds them. Nothing for
    // a file in neither. Fails like acquire.
    Status acquireForFile(const std::filesystem::path& file);

private:
    FolderLock m_program;
    FolderLock m_simulator;
    FolderLock m_aircraft;
};

} // namespace livrano
