// SPDX-License-Identifier: MIT
// livrano-cli build: one repaint built without a window, with the effects of the main window's
// Create button: the same checks, the same-title replacement, the same steps, status texts and
// progress, and at the end a list of every file the build wrote or removed.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/airline_list.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/folder_snapshot.h"
#include "cli/livery_cli.h"
#include "cli/program_folder_option.h"
#include "cli/terminal_frontend.h"
#include "cli/terminal_text.h"
#include "cli/watch_loop.h"
#include "output/application.h"
#include "output/build_lock.h"
#include "output/build_plan.h"
#include "output/build_repaint.h"
#include "output/interrupted_work.h"
#include "output/variation_layout.h"
#include "texture/template_loader.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string aircraft;
    std::string templateFile;
    std::string variation;
    std::string folder;
    std::optional<std::string> tail;
    std::string callsign{kNoCallsign};
    std::optional<std::string> programFolder;
    bool dxt3 = false;
    bool dryRun = false;
    bool watch = false;
    int settleMs = 300;
};

void defineOptions(CLI::App& command, Options& o) {
    command
        .add_option("--aircraft", o.aircraft,
                    "display name of an aircraft configuration, or its catalogue index")
        ->required()
        ->type_name("NAME|INDEX");
    command
        .add_option("--template", o.templateFile,
                    "the painted template; its _a.bmp companion is used when present")
        ->required()
        ->type_name("FILE.bmp");
    command
        .add_option("--variation", o.variation,
                    "the livery's name (the aircraft.cfg title is the aircraft's prefix + it)")
        ->required();
    command.add_option("--folder", o.folder, "the folder extension (Texture.EXT, Model.EXT)")
        ->required()
        ->type_name("EXT");
    command.add_option("--tail", o.tail, "the tail number (default: the aircraft's)");
    command.add_option("--callsign", o.callsign, "an airline callsign from airlines.cfg")
        ->capture_default_str();
    addProgramFolderOption(command, o.programFolder);
    command.add_flag("--dxt3", o.dxt3, "DXT3 textures instead of 32-bit ones (default: 32-bit)");
    command.add_flag("--dry-run", o.dryRun,
                     "print the build's plan, every file it would write or remove, and stop");
    command.add_flag(
        "--watch", o.watch,
        "after the build, rebuild the textures each time the template (or its _a.bmp) is saved, until Ctrl-C");
    command
        .add_option("--settle-ms", o.settleMs,
                    "how long a saved picture must stay unchanged before --watch builds from it")
        ->capture_default_str()
        ->check(CLI::Range(0, 60000));
    command.footer("A livery with the same title is replaced. With --watch, Ctrl-C ends the watch with exit\n"
                   "status 0; a livery removed or replaced meanwhile ends it with 2.\n\n"
                   "Exit status:\n"
                   "  0  built (--dry-run: the build can run)\n"
                   "  1  a step failed after writing began, or the build left textures out\n"
                   "  2  the input cannot be used: usage, unreadable or unusable files, every refusal\n"
                   "     of the plan (names, collisions with other liveries); nothing was written\n"
                   "  3  another build holds the lock; nothing was written: build again when it has\n"
                   "     finished\n"
                   "A --dry-run ends with the status its build would end with.\n");
}

// False (after printing why) when a given text cannot be used: blank names, and names the
// simulator's Windows-1252 files cannot hold.
bool checkOptions(Options& o) {
    if (isBlank(o.variation) || isBlank(o.folder)) {
        say(stderr, "livrano-cli build: %s is required\n", isBlank(o.variation) ? "--variation" : "--folder");
        return false;
    }
    // The template is a path and stays one.
    // The aircraft's name is read when the aircraft is chosen.
    const std::pair<const char*, std::string*> texts[] = {{"--variation", &o.variation},
                                                          {"--folder", &o.folder},
                                                          {"--tail", o.tail ? &*o.tail : nullptr},
                                                          {"--callsign", &o.callsign}};
    for (const auto& [option, text] : texts) {
        if (text == nullptr)
            continue;
        if (Status s = windows1252FromUtf8(std::string(option) + " text", *text, *text); !s) {
            say(stderr, "livrano-cli build: %s\n", s.text().c_str());
            return false;
        }
    }
    return true;
}

// The list's own spelling of a callsign the user typed (exact first, then ignoring case).
std::optional<std::string> listedCallsign(const AirlineList& list, const std::string& typed) {
    const std::string wanted = trim(typed);
    if (wanted == kNoCallsign)
        return std::string(kNoCallsign);
    for (const std::string& entry : list.AirlineEntries)
        if (entry == wanted)
            return entry;
    for (const std::string& entry : list.AirlineEntries)
        if (equalsNoCase(entry, wanted))
            return entry;
    return std::nullopt;
}

void printChanges(const FolderSnapshot::Changes& changes) {
    say(stdout, "\nFiles:\n");
    for (const fs::path& p : changes.createdFolders)
        say(stdout, "  created  %s/\n", p.string().c_str());
    for (const fs::path& p : changes.writtenFiles)
        say(stdout, "  wrote    %s\n", p.string().c_str());
    for (const fs::path& p : changes.removed)
        say(stdout, "  removed  %s\n", p.string().c_str());
}

void printPlan(const BuildPlan& plan) {
    auto line = [](const char* what, const fs::path& path) {
        say(stdout, "  %-9s%s\n", what, path.string().c_str());
    };
    auto copy = [](const char* what, const PlannedCopy& c) {
        say(stdout, "  %-9s%s\n           <- %s\n", what, c.destination.string().c_str(),
            c.source.string().c_str());
    };
    say(stdout, "Plan: \"%s\" becomes [fltsim.%zu] of %s\n", utf8FromWindows1252(plan.entry.title).c_str(),
        plan.entryNumber, plan.installedCfg.string().c_str());
    if (plan.replaced)
        say(stdout, "  replaces the livery \"%s\"\n", utf8FromWindows1252(plan.replaced->title).c_str());
    for (const fs::path& p : plan.removals)
        line("remove", p);
    if (!plan.removals.empty())
        say(stdout, "           removed once aircraft.cfg names the new livery\n");
    for (const fs::path& p : plan.folders)
        line("folder", p);
    if (plan.model) {
        copy("model", *plan.model);
        line("write", plan.modelCfg);
        for (const FilePatch& patch : plan.modelPatches)
            say(stdout, "  %-9s%s at byte %llu\n", "patch", utf8FromWindows1252(patch.bytes).c_str(),
                static_cast<unsigned long long>(patch.position) + 1);
    }
    if (plan.air)
        copy("copy", *plan.air);
    line("backup", plan.backupCfg);
    line("original", plan.originalCfg);
    line("write", plan.installedCfg);
    say(stdout,
        "           rebuilt from the program's clean copy: edits outside the [fltsim.N] entries do not survive\n");
    for (const TextureJob& job : plan.textures.textures) {
        if (!job.skipped.empty()) {
            say(stdout, "  %-9s%s: %s\n", "skip", utf8FromWindows1252(job.name).c_str(), job.skipped.c_str());
            continue;
        }
        const std::string name = utf8FromWindows1252(job.name);
        say(stdout, "  %-9s%s_c.bmp, %s_a.bmp, %s.bmp in TempBitmaps\n", "texture", name.c_str(),
            name.c_str(), name.c_str());
        line("", job.destination);
    }
    for (const ExtraTextureJob& job : plan.textures.extras)
        copy("extra", {job.source, job.destination});
    for (const std::string& warning : plan.warnings)
        say(stdout, "  warning: %s\n", warning.c_str());
}

// Loads the airline list, the aircraft and the template into `app` and takes the livery's
// settings from the options, as the window's choices would. The exit status when one of them
// cannot be used (the reason is printed), else nullopt.
std::optional<int> loadChoices(Application& app, const Options& o, const fs::path& programFolder,
                               const fs::path& templateFile) {
    if (Status s = LoadAirlineList(programFolder, app.airlines); !s) {
        say(stderr, "livrano-cli build: %s\n", s.text().c_str());
        return exitStatus(s);
    }
    const std::optional<std::string> callsign = listedCallsign(app.airlines, o.callsign);
    if (!callsign) {
        say(stderr,
            "livrano-cli build: the callsign \"%s\" is not in the airline list; use a callsign from that list or %s\n",
            utf8FromWindows1252(o.callsign).c_str(), std::string(kNoCallsign).c_str());
        return kUnusableInput;
    }

    if (!loadAircraft(app, "livrano-cli build", o.aircraft))
        return kUnusableInput;

    app.settings.PendingTemplateTitle = app.settings.TemplateTitle = templateFile.filename().string();
    app.settings.PendingTemplatePath = app.settings.TemplatePath = templateFile.string();
    if (Status s = LoadTemplate(app.spec, app.surfaces, app.frontend, trim(app.settings.TemplatePath)); !s) {
        say(stderr, "livrano-cli build: %s\n", s.text().c_str());
        return exitStatus(s);
    }
    app.settings.PendingVariation = app.settings.Variation = o.variation;
    app.settings.PendingFolderExtension = app.settings.FolderExtension = o.folder;
    if (o.tail)
        app.settings.PendingTailNumber = app.settings.TailNumber = *o.tail;
    app.settings.PendingCallsign = app.settings.Callsign = *callsign;
    return std::nullopt;
}

// --dry-run: prints the plan a build would carry out and ends with the status that build would.
int printDryRun(const RepaintInputs& repaint, const BitmapSurfaces& surfaces) {
    BuildLock lock;
    BuildPlan plan;
    Status planned = lock.acquire(repaint);
    if (planned)
        planned = planBuild(repaint, surfaces, plan);
    if (!planned) {
        say(stderr, "livrano-cli build: %s\n", planned.text().c_str());
        return exitStatus(planned);
    }
    const InterruptedWork interrupted =
        findInterruptedWork(aircraftFolderPath(repaint), repaint.programFolder);
    if (!interrupted.empty())
        say(stdout, "%s\n", interrupted.summary(false).c_str());
    printPlan(plan);
    // The build would leave these textures out, and end as such a build does.
    const bool leavesOut = std::any_of(plan.textures.textures.begin(), plan.textures.textures.end(),
                                       [](const TextureJob& job) { return !job.skipped.empty(); });
    return leavesOut ? kFailed : kDone;
}

int run(Options& o) {
    if (!checkOptions(o))
        return kUnusableInput;
    const std::optional<fs::path> found = programFolderOrAdvice(o.programFolder, "build", o.dryRun);
    if (!found)
        return kUnusableInput;
    const fs::path& programFolder = *found;
    std::error_code ec;

    TerminalFrontend frontend(stderr);
    Application app(programFolder, frontend);
    app.dxt3Textures = o.dxt3;

    const fs::path templateFile = fs::absolute(o.templateFile, ec);
    if (const std::optional<int> refused = loadChoices(app, o, programFolder, templateFile))
        return *refused;
    const PictureShape shape = loadedPictureShape(app.surfaces);
    const RepaintInputs repaint = app.repaintInputs();
    if (o.dryRun)
        return printDryRun(repaint, app.surfaces);

    const fs::path aircraft = aircraftFolderPath(repaint);
    const std::vector<fs::path> watched = {aircraft, programLocation(programFolder, "\\TempBitmaps")};
    const FolderSnapshot before(watched);
    TextureBuildReport textures;
    BuildPlan plan;
    const Status built = CreateRepaint(app.buildState(), systemFileOperations(), &textures, &plan);
    if (!built) {
        // A build that may not start (names the plan refuses, another build at work) has written
        // nothing and already shows its reason as the status line: said once.
        if (built.kind() != Status::Kind::Failed)
            return exitStatus(built);
        // Ends the progress line that a failed build leaves standing.
        frontend.showMessage("livrano-cli build: " + built.text());
        printChanges(before.changesTo(FolderSnapshot(watched)));
        return kFailed;
    }
    printChanges(before.changesTo(FolderSnapshot(watched)));
    say(stdout, "\n\"%s\" is [fltsim.%zu] of %s\n", utf8FromWindows1252(plan.entry.title).c_str(),
        plan.entryNumber, plan.installedCfg.string().c_str());
    if (o.watch)
        return watchTemplate(repaint, app.surfaces, app.frontend, plan, templateFile, shape, o.settleMs);
    return textures.skipped.empty() ? kDone : kFailed;
}

} // namespace

CommandRun defineBuildCommand(CLI::App& command) {
    const auto options = std::make_shared<Options>();
    defineOptions(command, *options);
    return [options] { return run(*options); };
}

} // namespace livrano::cli
