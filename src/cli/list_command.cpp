// SPDX-License-Identifier: MIT
// livrano-cli list: the liveries of one aircraft or of every aircraft in the catalogue, with
// the folders and files each names and whether they are there, for painters and for scripts.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "aircraft/aircraft_spec_loader.h"
#include "aircraft/catalogue.h"
#include "app/code_page.h"
#include "app/headless_frontend.h"
#include "cli/command.h"
#include "cli/livery_cli.h"
#include "cli/program_folder_option.h"
#include "cli/terminal_text.h"
#include "output/livery_list.h"
#include "output/variation_layout.h"

namespace livrano::cli {

namespace {

namespace fs = std::filesystem;

const char* const kName = "livrano-cli list";

struct Options {
    AircraftOptions aircraft;
    bool json = false;
};

void describe(CLI::App& command, Options& o) {
    addAircraftOptions(
        command, o.aircraft,
        "Lists the liveries of an aircraft (all aircraft without --aircraft): each aircraft.cfg\n"
        "entry, its texture folder, model folder and flight model and whether they exist, and\n"
        "whether it is one of the aircraft's own liveries (in the program's clean copy).",
        true, false);
    command.add_flag("--json", o.json, "print JSON for scripts");
}

std::string json(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Names from the files shown as UTF-8, control characters and all escaped the JSON way.
std::string shown(const std::string& windows1252) {
    return json(utf8FromWindows1252(windows1252));
}

void printText(const std::string& aircraft, const fs::path& folder,
               const std::vector<LiveryListing>& liveries) {
    say(stdout, "%s  (%s)\n", shown(aircraft).c_str(), utf8FromPath(folder).c_str());
    if (liveries.empty())
        say(stdout, "  no liveries\n");
    for (const LiveryListing& l : liveries) {
        say(stdout, "  [fltsim.%zu] %s%s\n", l.entry.number, shown(l.entry.title).c_str(),
            l.own ? "  (the aircraft's own)" : "");
        for (const LiveryFile& f : l.files)
            say(stdout, "      %-13s %-8s %s\n", f.role.c_str(), f.exists ? "present" : "MISSING",
                json(utf8FromPath(f.path.lexically_relative(folder))).c_str());
    }
}

std::string jsonOf(const std::string& aircraft, const fs::path& folder,
                   const std::vector<LiveryListing>& list) {
    std::string out = "{\"aircraft\": " + shown(aircraft) + ", \"folder\": " + json(utf8FromPath(folder)) +
                      ", \"liveries\": [";
    for (std::size_t i = 0; i < list.size(); ++i) {
        const LiveryListing& l = list[i];
        out += std::string(i == 0 ? "" : ", ") + "{\"section\": \"fltsim." + std::to_string(l.entry.number) +
               "\", \"title\": " + shown(l.entry.title) + ", \"texture\": " + shown(l.entry.texture) +
               ", \"model\": " + shown(l.entry.model) + ", \"sim\": " + shown(l.entry.sim) +
               ", \"own\": " + (l.own ? "true" : "false") + ", \"files\": [";
        for (std::size_t k = 0; k < l.files.size(); ++k)
            out += std::string(k == 0 ? "" : ", ") + "{\"role\": " + json(l.files[k].role) +
                   ", \"path\": " + json(utf8FromPath(l.files[k].path)) +
                   ", \"exists\": " + (l.files[k].exists ? "true" : "false") + "}";
        out += "]}";
    }
    return out + "]}";
}

int run(Options& o) {
    HeadlessFrontend frontend;
    const std::optional<std::filesystem::path> folder =
        programFolderOrAdvice(o.aircraft.programFolder, "list");
    if (!folder)
        return kUnusableInput;
    // Without --aircraft an absent folder would list no aircraft at all, as if it were empty.
    if (!fs::is_directory(*folder)) {
        say(stderr, "%s: the program folder %s does not exist.\n", kName, utf8FromPath(*folder).c_str());
        return kUnusableInput;
    }
    Application app(*folder, frontend);
    const RepaintInputs repaint = app.repaintInputs();
    std::vector<int> chosen;
    if (!o.aircraft.aircraft.empty()) {
        if (!loadAircraft(app, kName, o.aircraft.aircraft))
            return kUnusableInput;
        chosen.push_back(app.settings.AircraftIndex);
    } else {
        app.catalogue = LoadAircraftCatalogue(app.programFolder);
        for (std::size_t i = 0; i < app.catalogue.Entries.size(); ++i)
            chosen.push_back(static_cast<int>(i));
    }
    std::string out;
    for (int index : chosen) {
        std::vector<LiveryListing> liveries;
        Status s = app.chooseAircraft(index);
        if (s)
            s = listLiveries(repaint, liveries);
        if (!s) { // a listing only reads: what it cannot read is an input that cannot be used
            failed(kName, s);
            return kUnusableInput;
        }
        const std::string& name = app.settings.AircraftName;
        if (o.json)
            out += (out.empty() ? "[" : ", ") + jsonOf(name, aircraftFolderPath(repaint), liveries);
        else
            printText(name, aircraftFolderPath(repaint), liveries);
    }
    if (o.json)
        say(stdout, "%s]\n", out.empty() ? "[" : out.c_str());
    return kDone;
}

} // namespace

CommandRun defineListCommand(CLI::App& command) {
    const auto o = std::make_shared<Options>();
    describe(command, *o);
    return [o] { return run(*o); };
}

} // namespace livrano::cli
