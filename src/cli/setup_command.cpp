// SPDX-License-Identifier: MIT
// livrano-cli setup: the program folder inside a simulator, for a Linux installation whose
// programs live in bin/ and whose read-only files live in share/livrano/.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/program_folder.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/kit_every_aircraft.h"
#include "cli/terminal_text.h"
#include "output/program_setup.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string simulator;
    bool dryRun = false;
    bool kits = false;
};

const char* verb(SetupFile::Action action, bool dryRun) {
    switch (action) {
    case SetupFile::Action::Write:
        return dryRun ? "write" : "wrote";
    case SetupFile::Action::Refresh:
        return dryRun ? "update" : "updated";
    case SetupFile::Action::Keep:
        return dryRun ? "keep" : "kept";
    case SetupFile::Action::Current:
        break;
    }
    return nullptr;
}

int run(const Options& o) {
    const std::optional<fs::path> shared = findSharedFiles(executableFolder(nullptr));
    if (!shared) {
        say(stderr,
            "livrano-cli setup: the installed files (share/livrano) are missing beside %s. Please reinstall Livrano.\n",
            executableFolder(nullptr).string().c_str());
        return kUnusableInput;
    }
    ProgramSetup setup;
    const Status status = setUpProgramFolder(*shared, o.simulator, o.dryRun, setup);
    // Refused, or another build or setup at work: nothing was written.
    if (!status && setup.files.empty() && setup.folders.empty()) {
        say(stderr, "livrano-cli setup: %s\n", status.text().c_str());
        return exitStatus(status);
    }
    say(stdout, "%s %s\n", o.dryRun ? "Plan for the program folder" : "Program folder",
        setup.programFolder.string().c_str());
    for (const fs::path& folder : setup.folders)
        say(stdout, "  %-8s %s/\n", o.dryRun ? "create" : "created", folder.string().c_str());
    int current = 0;
    for (const SetupFile& file : setup.files) {
        const char* why = file.path == setup.newAirlineList
                              ? " (the installed list, beside the one changed here)"
                          : file.action == SetupFile::Action::Keep ? " (changed here: left as it is)"
                                                                   : "";
        if (const char* what = verb(file.action, o.dryRun))
            say(stdout, "  %-8s %s%s\n", what, file.path.string().c_str(), why);
        else
            ++current;
    }
    if (current > 0)
        say(stdout, "  %d file%s already up to date\n", current, current == 1 ? "" : "s");
    if (!status) {
        say(stderr, "livrano-cli setup: %s\n", status.text().c_str());
        return kFailed;
    }
    if (!o.dryRun)
        say(stdout,
            "\nlivrano and livrano-cli now use this program folder (recorded in %s).\n"
            "Aircraft makers' configurations go into %s.\n",
            setup.record.string().c_str(),
            (setup.programFolder / "Aircraft Configurations").string().c_str());
    if (!o.kits)
        return kDone;
    say(stdout, "\n");
    return kitEveryAircraft(setup.programFolder, o.dryRun);
}

} // namespace

CommandRun defineSetupCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    command
        .add_option("SIMULATOR_FOLDER", o->simulator, "the simulator's folder, the one that holds Aircraft")
        ->required();
    command.add_flag("--dry-run", o->dryRun, "print what would be made, written and kept, and stop");
    command.add_flag("--kits", o->kits,
                     "then make a paint kit for every aircraft without a configuration (as kit --all)");
    command.footer(
        "Lays out SIMULATOR_FOLDER/Corvane Software/Livrano: copies of the installed airlines.cfg,\n"
        "skin files and manual, and empty Templates, TempBitmaps and Aircraft Configurations. It\n"
        "records what it wrote and the version (Livrano.sha256), so a second run, or a run after\n"
        "an upgrade, refreshes only the files nobody has changed and names the ones it keeps; a\n"
        "changed airlines.cfg gets the installed one beside it as airlines.cfg.new. After an\n"
        "upgrade, livrano and every command using the folder do the same when they start. The\n"
        "folder it makes becomes the one livrano and livrano-cli use when no other is given.\n\n"
        "Exit status:\n"
        "  0  set up (--dry-run: planned); with --kits, every kit made too\n"
        "  1  a file could not be written after others were\n"
        "  2  usage, a folder that is not a simulator's, missing installed files, or (--kits) an\n"
        "     aircraft the kit cannot describe\n"
        "  3  another build or setup at work on the program folder\n");
    return [o] { return run(*o); };
}

} // namespace livrano::cli
