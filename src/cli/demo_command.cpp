// livrano-cli demo: writes the demo installation, a simulator with two aircraft and the program
// folder beside them, so every command can be tried without a simulator.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command.h"
#include "cli/exit_status.h"
#include "output/demo_installation.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

int run(const std::vector<std::string>& args) {
    const bool force = !args.empty() && args.back() == "--force";
    const std::size_t count = args.size() - (force ? 1 : 0);
    if (count != 1 || args[0].empty() || args[0][0] == '-') {
        std::fprintf(stderr, "Usage: livrano-cli demo DIR [--force]\n");
        return kUnusableInput;
    }
    // A demo installation may have been edited since it was written: replacing it is asked for.
    std::error_code ec;
    if (!force && fs::exists(args[0], ec) && !(fs::is_directory(args[0], ec) && fs::is_empty(args[0], ec))) {
        std::fprintf(
            stderr,
            "livrano-cli demo: \"%s\" is not an empty folder; add --force to write the demo over it.\n",
            args[0].c_str());
        return kUnusableInput;
    }
    DemoInstallation made;
    if (Status s = CreateDemoInstallation(args[0], made); !s) {
        std::fprintf(stderr, "livrano-cli demo: %s\n", s.message().c_str());
        return exitStatus(s);
    }
    std::printf("Demo installation written to %s\n", args[0].c_str());
    std::printf("Program folder: %s\n", made.programFolder.string().c_str());
    for (const DemoAircraft& a : made.aircraft) {
        std::printf("\n%s\n  installed in  %s\n  template      %s\n", a.displayName.c_str(),
                    a.aircraftFolder.string().c_str(), a.templateFile.string().c_str());
        std::printf("  try           livrano-cli build --program-folder \"%s\" --aircraft \"%s\" \\\n"
                    "                  --template \"%s\" --variation \"Demo\" --folder DMO\n",
                    made.programFolder.string().c_str(), a.displayName.c_str(),
                    a.templateFile.string().c_str());
    }
    return kDone;
}

const CommandRegistration
    registration({"demo", "DIR [--force]",
                  "write a demo simulator with two aircraft, templates and the program folder", run});

} // namespace
} // namespace livrano::cli
