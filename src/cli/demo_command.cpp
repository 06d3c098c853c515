// SPDX-License-Identifier: MIT
// livrano-cli demo: writes the demo installation, a simulator with two aircraft ready to build on,
// a third one still without a configuration, and the program folder beside them, so every
// command, and the window, can be tried without a simulator.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/program_folder.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/terminal_text.h"
#include "demo/demo_installation.h"
#include "output/program_setup.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string dir;
    bool force = false;
};

int run(const Options& o) {
    const std::string& dir = o.dir;
    // A demo installation may have been edited since it was written: replacing it is asked for.
    std::error_code ec;
    if (!o.force && fs::exists(dir, ec) && !(fs::is_directory(dir, ec) && fs::is_empty(dir, ec))) {
        say(stderr,
            "livrano-cli demo: \"%s\" is not an empty folder; add --force to write the demo over it.\n",
            dir.c_str());
        return kUnusableInput;
    }
    DemoInstallation made;
    if (Status s = CreateDemoInstallation(dir, made); !s) {
        say(stderr, "livrano-cli demo: %s\n", s.text().c_str());
        return exitStatus(s);
    }
    // The window's skin, sound and manual, from the installed files as a setup copies them.
    const std::optional<fs::path> shared = findSharedFiles(executableFolder(nullptr));
    ProgramSetup setup;
    if (Status s = shared
                       ? completeProgramFolder(*shared, dir, setup)
                       : Status::Error("the installed files (share/livrano) are missing beside " +
                                       executableFolder(nullptr).string() +
                                       ", so the window cannot open on the demo. Please reinstall Livrano.");
        !s) {
        say(stderr, "livrano-cli demo: %s\n", s.text().c_str());
        return kFailed;
    }
    say(stdout, "Demo installation written to %s\n", dir.c_str());
    say(stdout, "Program folder: %s\n", made.programFolder.string().c_str());
    for (const DemoAircraft& a : made.aircraft) {
        say(stdout, "\n%s\n  installed in  %s\n  template      %s\n", a.displayName.c_str(),
            a.aircraftFolder.string().c_str(), a.templateFile.string().c_str());
        say(stdout,
            "  try           livrano-cli build --program-folder \"%s\" --aircraft \"%s\" \\\n"
            "                  --template \"%s\" --variation \"Demo\" --folder DMO\n",
            made.programFolder.string().c_str(), a.displayName.c_str(), a.templateFile.string().c_str());
    }
    // Installed as its maker ships it: a paint kit comes first, then builds as above.
    for (const DemoUnconfiguredAircraft& a : made.unconfigured) {
        say(stdout, "\n%s\n  installed in  %s\n", a.displayName.c_str(), a.aircraftFolder.string().c_str());
        say(stdout, "  no configuration, template or data copy yet: livrano-cli kit makes them\n");
        say(stdout, "  try           livrano-cli kit --program-folder \"%s\" \"%s\"\n",
            made.programFolder.string().c_str(), a.aircraftFolder.string().c_str());
    }
    return kDone;
}

} // namespace

CommandRun defineDemoCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    command.add_option("DIR", o->dir, "the folder to write the demo simulator into")->required();
    command.add_flag("--force", o->force, "write over a folder that is not empty (default: refuse to)");
    command.footer("Exit status:\n"
                   "  0  written\n"
                   "  1  writing the demo failed part-way\n"
                   "  2  DIR is not an empty folder (without --force)\n"
                   "  3  a build or setup is at work in DIR; nothing was written\n");
    return [o] { return run(*o); };
}

} // namespace livrano::cli
