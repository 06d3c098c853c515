// SPDX-License-Identifier: MIT
// livrano-cli kit: a paint kit made from an installed aircraft that has no configuration, so that
// any aircraft of the simulator can be painted.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/code_page.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/kit_every_aircraft.h"
#include "cli/livery_cli.h"
#include "cli/program_folder_option.h"
#include "cli/terminal_text.h"
#include "output/paint_kit.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

const char* const kName = "livrano-cli kit";

struct Options {
    std::string aircraftFolder;
    std::optional<std::string> name;
    std::optional<std::string> livery;
    std::vector<std::string> include;
    std::vector<std::string> exclude;
    std::optional<std::string> programFolder;
    bool dryRun = false;
    bool force = false;
    bool all = false;
};

std::string shown(const std::string& windows1252) {
    return utf8FromWindows1252(windows1252);
}

void report(const KitPlan& plan, bool dryRun) {
    const char* verb = dryRun ? "would write" : "wrote";
    say(stdout, "%s \"%s\" for %s\n", dryRun ? "Plan for the kit" : "Kit", shown(plan.displayName).c_str(),
        plan.source.aircraftFolder.string().c_str());
    say(stdout, "  %-11s \"%s\" (%s)\n", "livery", shown(plan.source.livery.title).c_str(),
        plan.source.textureFolder.filename().string().c_str());
    for (const auto& [from, to] : plan.keptAside)
        say(stdout, "  %-9s %s as %s (the template is never written over)\n", dryRun ? "would keep" : "kept",
            from.filename().string().c_str(), to.filename().string().c_str());
    const std::size_t textures = plan.source.textures.size();
    say(stdout, "  %-11s %s (%dx%d, %zu texture%s%s)\n", verb, plan.templateFile.string().c_str(),
        plan.layout.width, plan.layout.height, textures, textures == 1 ? "" : "s",
        plan.alphaFile.empty() ? "" : ", with alpha");
    if (!plan.alphaFile.empty())
        say(stdout, "  %-11s %s\n", verb, plan.alphaFile.string().c_str());
    say(stdout, "  %-11s %s\n", verb, plan.guideFile.string().c_str());
    say(stdout, "  %-11s %s\n", verb, (plan.dataFolder / "Aircraft.cfg").string().c_str());
    say(stdout, "  %-11s %s\n", verb, plan.configFile.string().c_str());
    if (plan.replacedConfig)
        say(stdout, "  %-11s %s (the kit it replaces)\n", dryRun ? "would remove" : "removed",
            plan.replacedConfig->string().c_str());
    std::string extras;
    for (const std::string& e : plan.source.extras)
        extras += (extras.empty() ? "" : ", ") + shown(e);
    if (!extras.empty())
        say(stdout, "  copied unchanged into every new livery: %s\n", extras.c_str());
}

int kitOne(const Options& o, const fs::path& programFolder) {
    KitRequest request;
    request.programFolder = programFolder;
    request.aircraftFolder = fs::absolute(o.aircraftFolder);
    request.name = o.name;
    request.choices.include = o.include;
    request.choices.exclude = o.exclude;
    request.force = o.force;
    if (o.livery) {
        std::string title;
        if (Status s = windows1252FromUtf8("--livery text", *o.livery, title); !s)
            return failed(kName, s);
        request.choices.liveryTitle = title;
    }
    KitPlan plan;
    const Status status = makeKit(request, o.dryRun, plan);
    if (!status)
        return failed(kName, status);
    report(plan, o.dryRun);
    if (!o.dryRun)
        say(stdout,
            "\nPaint the template (the guide names each texture), then:\n"
            "  livrano-cli build --aircraft \"%s\" --template \"%s\" --variation NAME --folder EXT\n",
            shown(plan.displayName).c_str(), plan.templateFile.string().c_str());
    return kDone;
}

int run(const Options& o) {
    if (o.all == !o.aircraftFolder.empty()) {
        say(stderr, "%s: name one AIRCRAFT_FOLDER, or --all for every aircraft without a configuration.\n",
            kName);
        return kUnusableInput;
    }
    if (o.all && o.name) {
        say(stderr, "%s: --name names one kit; with --all each kit is named after its aircraft.\n", kName);
        return kUnusableInput;
    }
    const std::optional<fs::path> programFolder = programFolderOrAdvice(o.programFolder, kName, o.dryRun);
    if (!programFolder)
        return kUnusableInput;
    if (o.all)
        return kitEveryAircraft(*programFolder, o.dryRun, o.include, o.exclude);
    return kitOne(o, *programFolder);
}

} // namespace

CommandRun defineKitCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    command.add_option("AIRCRAFT_FOLDER", o->aircraftFolder,
                       "an aircraft's folder in the simulator's Aircraft folder");
    command.add_option("--name", o->name,
                       "the kit's name in the aircraft list (default: the livery's manufacturer and type)");
    command.add_option("--livery", o->livery, "start from this factory livery's title (default: the first)");
    command.add_option("--include", o->include, "paint only the texture files matching GLOB (repeatable)")
        ->type_name("GLOB");
    command
        .add_option("--exclude", o->exclude, "copy the files matching GLOB unchanged instead (repeatable)")
        ->type_name("GLOB");
    addProgramFolderOption(command, o->programFolder);
    command.add_flag("--dry-run", o->dryRun, "read the aircraft and print what would be written, and stop");
    command.add_flag("--force", o->force, "replace the kit made earlier for this aircraft");
    command.add_flag("--all", o->all,
                     "make a kit for every aircraft of the simulator that has no configuration");
    command.footer(
        "Makes what an aircraft's setup would install: a configuration in Aircraft Configurations,\n"
        "the clean copy of aircraft.cfg in Data.<folder>, and in Templates \"<NAME> Template.bmp\"\n"
        "(every texture of the livery at its own size, with its factory paint; \"_a.bmp\" beside it\n"
        "holds the alpha) and \"<NAME> Guide.png\" (each texture's outline and name, to lay over the\n"
        "template as a layer). Each new livery gets a texture folder of its own with the factory's\n"
        "texture names and files (a .dds stays DDS); light maps (*_L.*, *_LM.*), texture.cfg and\n"
        "the files --exclude names are copied unchanged. The aircraft itself is only read. A\n"
        "template already there is never written over: it is kept as \"<NAME> Template (kept N).bmp\".\n\n"
        "Exit status:\n"
        "  0  made (--dry-run: planned); --all: every aircraft kitted\n"
        "  1  a file could not be written\n"
        "  2  usage, or an aircraft the kit cannot describe (nothing written for it)\n"
        "  3  another build or setup at work on the program folder\n");
    return [o] { return run(*o); };
}

} // namespace livrano::cli
