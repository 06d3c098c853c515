// SPDX-License-Identifier: MIT
// livrano-cli restore: puts the aircraft.cfg kept before the last change (or before the
// program's first) back in place.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/code_page.h"
#include "cli/command.h"
#include "cli/livery_cli.h"
#include "cli/terminal_text.h"
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

void describe(CLI::App& command, Options& o) {
    addAircraftOptions(
        command, o.aircraft,
        "Puts Aircraft.bak back as the aircraft's aircraft.cfg (with --original, the file as it was\n"
        "before the program first changed it); the current file becomes Aircraft.bak, so restoring\n"
        "twice gives it back. Then names the liveries of the restored file whose files are missing.");
    command.add_flag("--original", o.original, "restore " + std::string(kOriginalAircraftCfg) + " instead");
}

int run(Options& o) {
    return onAircraft(o.aircraft, "restore", [&](const RepaintInputs& repaint, Frontend&) {
        BuildLock lock;
        if (std::optional<int> exit = takeLock(lock, repaint, kName, o.aircraft.dryRun))
            return *exit;
        const std::filesystem::path folder = aircraftFolderPath(repaint);
        std::filesystem::path kept;
        if (o.aircraft.dryRun) {
            std::string bytes;
            if (Status s = readKeptAircraftCfg(repaint, o.original, kept, bytes); !s)
                return failed(kName, s);
            say(stdout, "Would put %s back as %s; the current file would become Aircraft.bak\n",
                utf8FromPath(kept).c_str(), utf8FromPath(existingEntry(folder, "Aircraft.cfg")).c_str());
            return kDone;
        }
        if (Status s = RestoreAircraftCfg(repaint, o.original); !s)
            return failed(kName, s);
        kept = existingEntry(folder, o.original ? kOriginalAircraftCfg : "Aircraft.bak");
        say(stdout, "Restored %s\n", utf8FromPath(kept).c_str());
        std::vector<LiveryListing> liveries;
        if (Status s = listLiveries(repaint, liveries); !s)
            return failed(kName, Status::Error(s.message(), s.detail())); // restored, but not to be read
        for (const LiveryListing& l : liveries) {
            for (const LiveryFile& f : l.files) {
                if (!f.exists)
                    say(stdout, "  [fltsim.%zu] \"%s\": its %s %s is missing\n", l.entry.number,
                        utf8FromWindows1252(l.entry.title).c_str(), f.role.c_str(),
                        utf8FromPath(f.path).c_str());
            }
        }
        return kDone;
    });
}

} // namespace

CommandRun defineRestoreCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    describe(command, *o);
    return [o] { return run(*o); };
}

} // namespace livrano::cli
