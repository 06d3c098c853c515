// SPDX-License-Identifier: MIT
// livrano-cli pack: a livery as a zip to share, in the form painters pass liveries around.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/code_page.h"
#include "cli/command.h"
#include "cli/livery_cli.h"
#include "cli/terminal_text.h"
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

void describe(CLI::App& command, Options& o) {
    command.add_option("OUT.zip", o.zip, "the zip to write (an existing one is replaced)")->required();
    addAircraftOptions(
        command, o.aircraft,
        "Packs one livery into a zip to share: its texture folder (on aircraft that share one texture\n"
        "folder, its own textures in it), its model and flight-model copies where it has its own,\n"
        "fltsim.cfg holding its aircraft.cfg entry as [fltsim.X], and README.txt with the install\n"
        "steps.");
    command.add_option("--title", o.title, "the livery's title in aircraft.cfg (case is ignored)")
        ->required();
}

int run(Options& o) {
    return onAircraft(o.aircraft, "pack", [&](const RepaintInputs& repaint, Frontend&) {
        std::string title;
        if (Status s = windows1252FromUtf8("--title text", o.title, title); !s)
            return failed(kName, s);
        std::vector<ZipMember> members;
        {
            // Held while the files are read, so no build changes them half-way.
            BuildLock lock;
            if (std::optional<int> exit = takeLock(lock, repaint, kName, o.aircraft.dryRun))
                return *exit;
            BuildPlan plan;
            if (Status s = planLiveryFiles(repaint, title, plan); !s)
                return failed(kName, s);
            if (Status s = packLivery(plan, repaint.settings.AircraftName, members); !s)
                return failed(kName, s);
        }
        for (const ZipMember& m : members)
            say(stdout, "  %-9s%s (%zu bytes)\n", o.aircraft.dryRun ? "would add" : "add", m.name.c_str(),
                m.bytes.size());
        // Made and checked in a dry run too, so that it ends as the packing itself would.
        std::string zip;
        if (Status s = makeZip(members, zip); !s)
            return failed(kName, s);
        if (Status s = checkPackTarget(o.zip, zip.size()); !s)
            return failed(kName, s);
        if (o.aircraft.dryRun)
            return kDone;
        if (Status s = systemFileOperations().replaceFile(o.zip, zip); !s)
            return failed(kName, s);
        say(stdout, "Packed %s (%zu bytes)\n", o.zip.c_str(), zip.size());
        return kDone;
    });
}

} // namespace

CommandRun definePackCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    describe(command, *o);
    return [o] { return run(*o); };
}

} // namespace livrano::cli
