// SPDX-License-Identifier: MIT
#include "cli/livery_cli.h"

#include <algorithm>
#include <cstdio>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "aircraft/configuration_file.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/headless_frontend.h"
#include "cli/program_folder_option.h"
#include "cli/terminal_text.h"
#include "output/interrupted_work.h"
#include "output/variation_layout.h"

namespace livrano::cli {

namespace fs = std::filesystem;

void addAircraftOptions(CLI::App& command, AircraftOptions& options, const std::string& about, bool optional,
                        bool writes) {
    CLI::Option* aircraft =
        command
            .add_option("--aircraft", options.aircraft,
                        "display name of an aircraft configuration, or its catalogue index")
            ->type_name("NAME|INDEX");
    if (!optional)
        aircraft->required();
    addProgramFolderOption(command, options.programFolder);
    if (writes)
        command.add_flag("--dry-run", options.dryRun, "say what would change, and change nothing");
    // Only a command that writes can fail part-way or find the aircraft locked.
    command.footer(about + "\n\nExit status:\n  0  done\n" +
                   (writes ? "  1  a step failed after writing began\n" : "") +
                   "  2  usage, inputs that cannot be used, or a refusal\n" +
                   (writes ? "  3  another build holds the aircraft (try again later)\n" : ""));
}

bool loadAircraft(Application& app, const char* command, const std::string& name) {
    std::string typed;
    if (Status s = windows1252FromUtf8("--aircraft text", name, typed); !s) {
        say(stderr, "%s: %s\n", command, s.text().c_str());
        return false;
    }
    app.catalogue = LoadAircraftCatalogue(app.programFolder);
    const std::optional<int> index = findAircraft(app.catalogue, typed);
    if (!index) {
        say(stderr, "%s: no aircraft configuration \"%s\" in %s. Installed:\n", command, name.c_str(),
            utf8FromPath(programLocation(app.programFolder, "\\Aircraft Configurations")).c_str());
        for (std::size_t i = 0; i < app.catalogue.Entries.size(); ++i)
            say(stderr, "  %zu  %s\n", i, utf8FromWindows1252(app.catalogue.Entries[i].DisplayName).c_str());
        return false;
    }
    const std::filesystem::path& file = catalogueEntry(app.catalogue, *index)->ConfigFile;
    Status s = usableConfiguration(file, decipherConfiguration(file));
    if (s)
        s = app.chooseAircraft(*index);
    if (!s)
        say(stderr, "%s: %s\n", command, s.text().c_str());
    return s.ok();
}

int onAircraft(const AircraftOptions& options, const char* command,
               const std::function<int(const RepaintInputs&, Frontend&)>& work) {
    const std::optional<fs::path> folder =
        programFolderOrAdvice(options.programFolder, command, options.dryRun);
    if (!folder)
        return kUnusableInput;
    HeadlessFrontend frontend;
    Application app(*folder, frontend);
    if (!loadAircraft(app, ("livrano-cli " + std::string(command)).c_str(), options.aircraft))
        return kUnusableInput;
    return work(app.repaintInputs(), app.frontend);
}

int failed(const char* command, const Status& status) {
    say(stderr, "%s: %s\n", command, status.text().c_str());
    return exitStatus(status);
}

} // namespace livrano::cli

namespace livrano::cli {

std::optional<int> takeLock(BuildLock& lock, const RepaintInputs& repaint, const char* command, bool dryRun) {
    if (Status s = lock.acquire(repaint); !s)
        return failed(command, s);
    const InterruptedWork interrupted =
        findInterruptedWork(aircraftFolderPath(repaint), repaint.programFolder);
    if (interrupted.empty())
        return std::nullopt;
    say(stdout, "%s\n", interrupted.summary(!dryRun).c_str());
    // What cannot be finished is said, and the command goes on: its plan leaves such files alone.
    if (!dryRun) {
        if (Status s = finishInterruptedWork(interrupted, systemFileOperations()); !s)
            say(stderr, "%s: %s\n", command, s.text().c_str());
    }
    return std::nullopt;
}

} // namespace livrano::cli
