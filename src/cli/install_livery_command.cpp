// SPDX-License-Identifier: MIT
// livrano-cli install-livery: adds a livery someone shared as a zip to an aircraft.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/code_page.h"
#include "cli/command.h"
#include "cli/livery_cli.h"
#include "cli/terminal_text.h"
#include "output/livery_install.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

const char* const kName = "livrano-cli install-livery";

struct Options {
    AircraftOptions aircraft;
    std::string zip;
};

void describe(CLI::App& command, Options& o) {
    command.add_option("ZIP", o.zip, "the livery's zip")->required();
    addAircraftOptions(
        command, o.aircraft,
        "Installs a livery shared as a zip (one made by pack, or the usual hand-made one: a folder\n"
        "texture.XXX, maybe model.XXX and an .air file, and a text file holding its [fltsim.X]\n"
        "section) as the aircraft's next livery. The zip is checked whole before anything is written;\n"
        "a zip that would leave the aircraft folder, overwrite a file or folder, take another livery's\n"
        "folder or title, put a file where remove would not take it away, or that is damaged, too\n"
        "large or a zip bomb is refused, and so is an entry a build would not write. Should a step\n"
        "fail after writing began, what it wrote is taken away.");
}

int run(Options& o) {
    return onAircraft(o.aircraft, "install-livery", [&](const RepaintInputs& repaint, Frontend& frontend) {
        ZipReader zip;
        if (Status s = zip.openFile(o.zip); !s)
            return failed(kName, s);
        BuildLock lock;
        if (std::optional<int> exit = takeLock(lock, repaint, kName, o.aircraft.dryRun))
            return *exit;
        InstallPlan plan;
        if (Status s = planLiveryInstall(repaint, zip, plan); !s)
            return failed(kName, s);
        const char* verb = o.aircraft.dryRun ? "would " : "";
        for (const fs::path& p : plan.folders)
            say(stdout, "  %s%-8s%s\n", verb, "folder", utf8FromPath(p).c_str());
        for (const InstalledFile& f : plan.files)
            say(stdout, "  %s%-8s%s\n", verb, "write", utf8FromPath(f.destination).c_str());
        for (const std::string& name : plan.leftOut)
            say(stdout, "  %s%-8s%s\n", verb, "skip", name.c_str());
        if (!o.aircraft.dryRun) {
            if (Status s = InstallLivery(repaint.extraFields, frontend, zip, plan); !s)
                return failed(kName, s);
        }
        say(stdout, "\"%s\" %s [fltsim.%zu] of %s\n", utf8FromWindows1252(plan.cfg.entry.title).c_str(),
            o.aircraft.dryRun ? "would become" : "is", plan.cfg.entryNumber,
            utf8FromPath(plan.cfg.installedCfg).c_str());
        return kDone;
    });
}

} // namespace

CommandRun defineInstallLiveryCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    describe(command, *o);
    return [o] { return run(*o); };
}

} // namespace livrano::cli
