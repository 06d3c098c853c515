// livrano-cli restore: puts the aircraft.cfg kept before the last change (or before the
// program's first) back in place.

#include <cstdio>
#include <string>
#include <vector>

#include "app/code_page.h"
#include "app/headless_frontend.h"
#include "cli/command.h"
#include "cli/livery_cli.h"
#include "output/aircraft_cfg.h"
#include "output/cfg_restore.h"
#include "output/livery_list.h"
#include "output/variation_layout.h"

namespace livrano::cli {

namespace {

const char* const kName = "livrano-cli restore";

struct Options {
    AircraftOptions aircraft;
    bool original = false;
};

void describe(CLI::App& parser, Options& o) {
    parser.description(
        "Puts Aircraft.bak back as the aircraft's aircraft.cfg (with --original, the file as it was\n"
        "before the program first changed it); the current file becomes Aircraft.bak, so restoring\n"
        "twice gives it back. Then names the liveries of the restored file whose files are missing.\n"
        "Exit status: 0 restored, 1 a write failed, 2 usage or nothing to restore, 3 another build\n"
        "holds the aircraft (try again later).");
    addAircraftOptions(parser, o.aircraft);
    parser.add_flag("--original", o.original, "restore " + std::string(kOriginalAircraftCfg) + " instead");
}

void printHelp(std::FILE* out) {
    Options o;
    CLI::App parser("", kName);
    describe(parser, o);
    std::fputs(parser.help().c_str(), out);
}

int run(const std::vector<std::string>& args) {
    Options o;
    CLI::App parser("", kName);
    describe(parser, o);
    if (std::optional<int> exit = parseArguments(parser, args))
        return *exit;
    HeadlessFrontend frontend;
    Application app(programFolderOf(o.aircraft), frontend);
    if (!loadAircraft(app, kName, o.aircraft.aircraft))
        return kUnusable;
    BuildLock lock;
    if (std::optional<int> exit = takeLock(lock, app, kName))
        return *exit;
    const std::filesystem::path folder = aircraftFolderPath(app);
    const std::filesystem::path kept =
        existingEntry(folder, o.original ? kOriginalAircraftCfg : "Aircraft.bak");
    std::error_code ec;
    if (o.aircraft.dryRun) {
        if (!std::filesystem::exists(kept, ec))
            return failed(kName, Status::Error("There is no " + kept.string() + " to restore."), false);
        std::printf("Would put %s back as %s; the current file would become Aircraft.bak\n",
                    kept.string().c_str(), existingEntry(folder, "Aircraft.cfg").string().c_str());
        return kDone;
    }
    if (Status s = RestoreAircraftCfg(app, o.original); !s)
        return failed(kName, s, std::filesystem::exists(kept, ec));
    std::printf("Restored %s\n", kept.string().c_str());
    std::vector<LiveryListing> liveries;
    if (Status s = listLiveries(app, liveries); !s)
        return failed(kName, s, true);
    for (const LiveryListing& l : liveries) {
        for (const LiveryFile& f : l.files) {
            if (!f.exists)
                std::printf("  [fltsim.%zu] \"%s\": its %s %s is missing\n", l.entry.section,
                            utf8FromWindows1252(l.entry.title).c_str(), f.role.c_str(),
                            f.path.string().c_str());
        }
    }
    return kDone;
}

const CommandRegistration
    registration({"restore", "--aircraft NAME|INDEX [--original] [--program-folder DIR] [--dry-run]",
                  "put the kept aircraft.cfg back", run, printHelp});

} // namespace
} // namespace livrano::cli
