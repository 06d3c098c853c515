// livrano-cli pack: a livery as a zip to share, in the form painters pass liveries around.

#include <cstdio>
#include <string>
#include <vector>

#include "app/code_page.h"
#include "app/headless_frontend.h"
#include "cli/command.h"
#include "cli/livery_cli.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/livery_pack.h"

namespace livrano::cli {

namespace {

const char* const kName = "livrano-cli pack";

struct Options {
    AircraftOptions aircraft;
    std::string title;
    std::string zip;
};

void describe(CLI::App& parser, Options& o) {
    parser.description(
        "Packs one livery into a zip to share: its texture folder (on aircraft that share one texture\n"
        "folder, its own textures in it), its model and flight-model copies where it has its own,\n"
        "fltsim.cfg holding its aircraft.cfg entry as [fltsim.X], and README.txt with the install\n"
        "steps. An existing OUT.zip is replaced.\n"
        "Exit status: 0 packed, 1 the zip could not be written, 2 usage or a refusal, 3 another build\n"
        "holds the aircraft (try again later).");
    addAircraftOptions(parser, o.aircraft);
    parser.add_option("--title", o.title, "the livery's title in aircraft.cfg (case is ignored)")->required();
    parser.add_option("OUT.zip", o.zip, "the zip to write")->required();
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
    std::string title;
    if (Status s = windows1252FromUtf8("--title text", o.title, title); !s)
        return failed(kName, s, false);
    std::vector<ZipMember> members;
    {
        // Held while the files are read, so no build changes them half-way.
        BuildLock lock;
        if (std::optional<int> exit = takeLock(lock, app, kName))
            return *exit;
        BuildPlan plan;
        if (Status s = planLiveryFiles(app, title, plan); !s)
            return failed(kName, s, false);
        if (Status s = packLivery(plan, app.settings.AircraftName, members); !s)
            return failed(kName, s, false);
    }
    for (const ZipMember& m : members)
        std::printf("  %-9s%s (%zu bytes)\n", o.aircraft.dryRun ? "would add" : "add", m.name.c_str(),
                    m.bytes.size());
    if (o.aircraft.dryRun)
        return kDone;
    std::string zip;
    if (Status s = makeZip(members, zip); !s)
        return failed(kName, s, false);
    if (Status s = systemFileOperations().replaceFile(o.zip, zip); !s)
        return failed(kName, s, true);
    std::printf("Packed %s (%zu bytes)\n", o.zip.c_str(), zip.size());
    return kDone;
}

const CommandRegistration registration({"pack",
                                        "--aircraft NAME|INDEX --title TITLE OUT.zip [--program-folder DIR] "
                                        "[--dry-run]",
                                        "pack one livery into a zip to share", run, printHelp});

} // namespace
} // namespace livrano::cli
