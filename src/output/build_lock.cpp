// SPDX-License-Identifier: MIT
#include "output/build_lock.h"

#include <system_error>

#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

Status take(FolderLock& lock, const fs::path& folder, bool exclusive, const std::string& what) {
    const Status taken = lock.tryLock(folder, exclusive);
    if (taken)
        return Status::Ok();
    if (taken.kind() == Status::Kind::Locked)
        return Status::Locked("Another build is running on " + what + ": build again when it has finished.",
                              "Another build is running on " + what + " " + utf8FromPath(folder) + ".");
    // A folder that cannot be locked (missing, not writable) cannot take a build.
    return Status::Refused("The build cannot lock " + what + ": check that it exists and can be written to.",
                           "The build cannot lock " + what + " " + utf8FromPath(folder) + ": " +
                               taken.message() + ".");
}

} // namespace

Status BuildLock::acquire(const RepaintInputs& repaint) {
    *this = BuildLock();
    BuildLock taken;
    if (Status s = take(taken.m_program, repaint.programFolder, true, "the program folder"); !s)
        return s;
    const fs::path simulator = resolveCaseless(programLocation(repaint.programFolder, "\\..\\..\\Aircraft"));
    const std::string directory = trim(repaint.spec.AircraftDirectory);
    const fs::path aircraft = aircraftFolderPath(repaint);
    std::error_code ec;
    const bool haveAircraft =
        checkSafeFileName("aircraft folder", directory) && fs::is_directory(aircraft, ec);
    if (Status s = take(taken.m_simulator, simulator, !haveAircraft, "the aircraft folder"); !s)
        return s;
    if (haveAircraft) {
        if (Status s = take(taken.m_aircraft, aircraft, true, "the aircraft folder"); !s)
            return s;
    }
    *this = std::move(taken);
    return Status::Ok();
}

Status BuildLock::acquireProgramFolder(const fs::path& programFolder) {
    *this = BuildLock();
    return take(m_program, programFolder, true, "the program folder");
}

Status BuildLock::acquireInstallation(const fs::path& programFolder, const fs::path& simulatorAircraft) {
    *this = BuildLock();
    BuildLock taken;
    std::error_code ec;
    const fs::path program = resolveCaseless(programFolder);
    if (fs::is_directory(program, ec)) {
        if (Status s = take(taken.m_program, program, true, "the program folder"); !s)
            return s;
    }
    const fs::path simulator = resolveCaseless(simulatorAircraft);
    if (fs::is_directory(simulator, ec)) {
        if (Status s = take(taken.m_simulator, simulator, true, "the aircraft folder"); !s)
            return s;
    }
    *this = std::move(taken);
    return Status::Ok();
}

Status BuildLock::acquireForFile(const fs::path& file) {
    *this = BuildLock();
    BuildLock taken;
    std::error_code ec;
    const fs::path absolute = fs::absolute(file, ec).lexically_normal();
    bool program = false;
    bool aircraft = false;
    for (fs::path folder = absolute.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        if (!program &&
            fs::is_regular_file(resolveCaseless(programLocation(folder, "\\Data\\airlines.cfg")), ec)) {
            program = true;
            if (Status s = take(taken.m_program, folder, true, "the program folder"); !s)
                return s;
        }
        if (!aircraft && equalsNoCase(folder.parent_path().filename().string(), "Aircraft") &&
            fs::is_directory(folder, ec)) {
            aircraft = true;
            if (Status s = take(taken.m_simulator, folder.parent_path(), false, "the aircraft folder"); !s)
                return s;
            if (Status s = take(taken.m_aircraft, folder, true, "the aircraft folder"); !s)
                return s;
        }
        if (folder == folder.root_path())
            break;
    }
    *this = std::move(taken);
    return Status::Ok();
}

} // namespace livrano
