#include "cli/livery_cli.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "aircraft/configuration_file.h"
#include "app/code_page.h"
#include "app/file_names.h"

namespace livrano::cli {

namespace fs = std::filesystem;

void addAircraftOptions(CLI::App& parser, AircraftOptions& options, bool optional, bool dryRun) {
    CLI::Option* aircraft = parser.add_option(
        "--aircraft", options.aircraft, "display name of an aircraft configuration, or its catalogue index");
    if (!optional)
        aircraft->required();
    parser.add_option("--program-folder", options.programFolder,
                      "the program folder (default: LIVRANO_PROGRAM_FOLDER, else the executable's folder)");
    if (dryRun)
        parser.add_flag("--dry-run", options.dryRun, "say what would change, and change nothing");
}

std::optional<int> parseArguments(CLI::App& parser, const std::vector<std::string>& args) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        parser.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        std::fputs(parser.help().c_str(), stdout);
        return kDone;
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "%s: %s\nRun \"%s --help\" for its options.\n", parser.get_name().c_str(),
                     e.what(), parser.get_name().c_str());
        return kUnusable;
    }
    return std::nullopt;
}

fs::path programFolderOf(const AircraftOptions& options) {
    std::error_code ec;
    return fs::absolute(
        options.programFolder.empty() ? findProgramFolder(nullptr) : fs::path(options.programFolder), ec);
}

bool loadAircraft(Application& app, const char* command, const std::string& name) {
    std::string typed;
    if (Status s = windows1252FromUtf8("--aircraft text", name, typed); !s) {
        std::fprintf(stderr, "%s: %s\n", command, s.message().c_str());
        return false;
    }
    app.catalogue = LoadAircraftCatalogue(app.programFolder);
    const std::optional<int> index = findAircraft(app.catalogue, typed);
    if (!index) {
        std::fprintf(stderr, "%s: no aircraft configuration \"%s\" in %s. Installed:\n", command,
                     name.c_str(),
                     programLocation(app.programFolder, "\\Aircraft Configurations").string().c_str());
        for (std::size_t i = 0; i < app.catalogue.Entries.size(); ++i)
            std::fprintf(stderr, "  %zu  %s\n", i,
                         utf8FromWindows1252(app.catalogue.Entries[i].DisplayName).c_str());
        return false;
    }
    const AircraftConfigEntry chosen = *catalogueEntry(app.catalogue, *index);
    if (Status s = usableConfiguration(chosen.ConfigFile, decipherConfiguration(chosen.ConfigFile)); !s) {
        std::fprintf(stderr, "%s: %s\n", command, s.message().c_str());
        return false;
    }
    LoadAircraftSpec(app, chosen.ConfigFile);
    app.settings.AircraftIndex = *index;
    app.settings.PendingAircraftName = app.settings.AircraftName = chosen.DisplayName;
    return true;
}

int failed(const char* command, const Status& status, bool wrote) {
    std::fprintf(stderr, "%s: %s\n", command, status.message().c_str());
    return wrote ? kStepFailed : kUnusable;
}

} // namespace livrano::cli

namespace livrano::cli {

std::optional<int> takeLock(BuildLock& lock, const Application& app, const char* command) {
    const Status s = lock.acquire(app);
    if (s)
        return std::nullopt;
    std::fprintf(stderr, "%s: %s\n", command, s.message().c_str());
    return s.message().starts_with("Another build") ? kLockHeld : kUnusable;
}

} // namespace livrano::cli
