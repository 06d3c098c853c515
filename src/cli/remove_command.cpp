// SPDX-License-Identifier: MIT
// livrano-cli remove: takes one added livery out of an aircraft, its entry and the files that
// only it uses, as a failed attempt is thrown away.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/code_page.h"
#include "cli/command.h"
#include "cli/livery_cli.h"
#include "cli/terminal_text.h"
#include "output/livery_removal.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

const char* const kName = "livrano-cli remove";

struct Options {
    AircraftOptions aircraft;
    std::string title;
};

void describe(CLI::App& command, Options& o) {
    addAircraftOptions(
        command, o.aircraft,
        "Takes one livery out of an aircraft: its aircraft.cfg entry (the later entries are numbered\n"
        "down) and the files and folders no other livery, base texture or the aircraft itself uses.\n"
        "aircraft.cfg is rewritten as a build rewrites it; the file before is kept as Aircraft.bak.\n"
        "The aircraft's own liveries (those in the program's clean copy) are refused.");
    command.add_option("--title", o.title, "the livery's title in aircraft.cfg (case is ignored)")
        ->required();
}

int run(Options& o) {
    return onAircraft(o.aircraft, "remove", [&](const RepaintInputs& repaint, Frontend& frontend) {
        std::string title;
        if (Status s = windows1252FromUtf8("--title text", o.title, title); !s)
            return failed(kName, s);
        LiveryRemoval removal;
        const Status removed = RemoveLivery(repaint, frontend, title, o.aircraft.dryRun, removal);
        if (!removal.interrupted.empty())
            say(stdout, "%s\n", removal.interrupted.summary(!o.aircraft.dryRun).c_str());
        if (!removal.recovered)
            say(stderr, "%s: %s\n", kName, removal.recovered.text().c_str());
        const BuildPlan& plan = removal.plan;
        if (!plan.replaced)
            return failed(kName, removed);
        say(stdout, "%s [fltsim.%zu] \"%s\" of %s; %zu later entries numbered down\n",
            o.aircraft.dryRun ? "Would take out" : "Taking out", plan.replaced->number,
            utf8FromWindows1252(plan.replaced->title).c_str(), utf8FromPath(plan.installedCfg).c_str(),
            plan.entries.size() - plan.entryIndex);
        for (const fs::path& p : plan.removals)
            say(stdout, "  remove   %s\n", utf8FromPath(p).c_str());
        say(stdout, "  backup   %s\n", utf8FromPath(plan.backupCfg).c_str());
        if (!removed)
            return failed(kName, removed);
        std::error_code ec;
        for (const fs::path& p : plan.removals) {
            if (fs::exists(p, ec))
                say(stderr, "%s: %s could not be removed\n", kName, utf8FromPath(p).c_str());
        }
        return kDone;
    });
}

} // namespace

CommandRun defineRemoveCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    describe(command, *o);
    return [o] { return run(*o); };
}

} // namespace livrano::cli
