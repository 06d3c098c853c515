// SPDX-License-Identifier: MIT
// livrano-cli: the program's work without a window, for painters, aircraft makers and scripts.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/platform.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/terminal_text.h"
#include "cli/usage_mistake.h"
#include "livrano_version.h"

namespace livrano::cli {

namespace {

// Every command, in the order the help lists them.
const Command kCommands[] = {
    {"build", "build one repaint of an installed aircraft (as Create)", defineBuildCommand},
    {"config", "encipher, decipher and check aircraft configurations", defineConfigCommand},
    {"convert", "turn a colour and an alpha bitmap into a simulator texture", defineConvertCommand},
    {"demo", "write a demo simulator with two aircraft, templates and the program folder", defineDemoCommand},
    {"inspect", "describe a texture file, and decode it to an ordinary BMP", defineInspectCommand},
    {"install-livery", "install a livery shared as a zip", defineInstallLiveryCommand},
    {"kit", "make a paint kit from an installed aircraft that has no configuration", defineKitCommand},
    {"list", "list the liveries of an aircraft and whether their files exist", defineListCommand},
    {"pack", "pack one livery into a zip to share", definePackCommand},
    {"remove", "take one added livery out of an aircraft", defineRemoveCommand},
    {"restore", "put the aircraft.cfg kept before the last change back", defineRestoreCommand},
    {"setup", "make the program folder inside a simulator (Linux installations)", defineSetupCommand},
};

// The end of the program's help. help2man makes the manual page's ENVIRONMENT and FILES sections
// of the blocks under these headings, so the page and the help say the same: a description that
// goes on to a second line starts it in the description's column.
constexpr const char* kFooter =
    "livrano-cli help COMMAND (or COMMAND --help) lists one command's options, their defaults\n"
    "and its exit codes.\n\n"
    "Environment:\n"
    "  LIVRANO_PROGRAM_FOLDER  the program folder, when no --program-folder names one\n"
    "  XDG_CONFIG_HOME         where setup notes the program folder it made (default: ~/.config)\n"
    "  TERM                    when dumb or unset: no progress bar and no colours, one line a step\n"
    "  NO_COLOR                when set, config show prints its problems without colours\n\n"
    "Files:\n"
    "  SIMULATOR/Corvane Software/Livrano\n"
    "                          the program folder setup makes: Data/airlines.cfg (the callsigns),\n"
    "                          Aircraft Configurations (one enciphered configuration per aircraft),\n"
    "                          Data.FOLDER (the clean copies of an aircraft's aircraft.cfg, model and\n"
    "                          flight model that come with its configuration), Templates, TempBitmaps\n"
    "  $XDG_CONFIG_HOME/livrano/program-folder\n"
    "                          the program folder the last setup made\n"
    "  ../share/livrano        from livrano-cli's folder (/usr/share/livrano): the files setup copies\n"
    "  SIMULATOR/Aircraft/AIRCRAFT/Aircraft.bak, SIMULATOR/Aircraft/AIRCRAFT/Aircraft.original\n"
    "                          aircraft.cfg as it was before the last change, and before the first\n"
    "  SIMULATOR/Aircraft/AIRCRAFT/Livrano.journal\n"
    "                          what a writing command was doing; the next one finishes or undoes it";

void print(std::FILE* out, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out);
}

// The program's own help page, the list of commands, whichever command was parsed.
std::string commandList(const CLI::App& app) {
    return app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
}

// `words` name a command that is not there: says which word is unknown, then lists the commands.
int unknownCommand(const CLI::App& app, std::vector<const char*> words) {
    words.insert(words.begin(), "livrano-cli");
    const std::optional<std::string> unknown = unknownWord(app, static_cast<int>(words.size()), words.data());
    say(stderr, "livrano-cli: %s\n\n",
        unknown.value_or("Unknown command " + std::string(words.back())).c_str());
    print(stderr, commandList(app));
    return kUnusableInput;
}

// The command a help topic names ("config show" names a tool of config), or null; `usage` gets
// the words that come before it on a command line.
const CLI::App* helpTopic(const CLI::App& app, const std::vector<std::string>& words,
                          std::string* usage = nullptr) {
    const CLI::App* topic = &app;
    for (const std::string& word : words) {
        if (usage != nullptr)
            *usage += (usage->empty() ? "" : " ") + topic->get_name();
        const std::vector<const CLI::App*> subcommands = topic->get_subcommands({});
        const auto found = std::find_if(subcommands.begin(), subcommands.end(),
                                        [&](const CLI::App* s) { return s->get_name() == word; });
        if (found == subcommands.end())
            return nullptr;
        topic = *found;
    }
    return topic;
}

} // namespace

int runCommandLine(int argc, char** argv) {
    CLI::App app("livrano-cli: Livrano's work without a window, for painters, aircraft makers and scripts.",
                 "livrano-cli");
    app.set_version_flag("--version", "livrano-cli " LIVRANO_VERSION);
    app.require_subcommand(1);
    // An option given twice takes its last value, as a script that appends a choice expects.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.get_formatter()->label("Positionals", "Arguments");
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.get_formatter()->column_width(34);
    app.footer(kFooter);

    std::vector<std::pair<const CLI::App*, CommandRun>> runs;
    for (const Command& c : kCommands) {
        CLI::App* command = app.add_subcommand(c.name, c.summary)->group("Commands");
        runs.emplace_back(command, c.define(*command));
    }
    CLI::App* help = app.add_subcommand("help", "list the commands, or one command's options and exit codes")
                         ->group("Commands");
    std::vector<std::string> topic;
    help->add_option("COMMAND", topic, "the command (and its tool, as in \"config show\") to explain");
    help->footer("Exit status:\n  0  help printed\n  2  no such command\n");

    // The same words as a command line that names no command: the list, where errors go.
    if (argc < 2) {
        print(stderr, commandList(app));
        return kUnusableInput;
    }
    if (argv[1][0] != '-' && helpTopic(app, {argv[1]}) == nullptr)
        return unknownCommand(app, {argv[1]});
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        print(stdout, app.help());
        return kDone;
    } catch (const CLI::CallForVersion& e) {
        say(stdout, "%s\n", e.what());
        return kDone;
    } catch (const CLI::ParseError& e) {
        // CLI11 names what is missing before what was mistyped: the mistyped word comes first.
        const std::optional<std::string> unknown = unknownWord(app, argc, argv);
        // The innermost command named so far says whose options these are.
        std::string name = "livrano-cli";
        for (const CLI::App* at = &app; !at->get_subcommands().empty();) {
            at = at->get_subcommands().front();
            name += " " + at->get_name();
        }
        say(stderr, "%s: %s\nRun \"%s --help\" for its options.\n", name.c_str(),
            unknown.value_or(e.what()).c_str(), name.c_str());
        return kUnusableInput;
    }
    if (help->parsed()) {
        std::string usage;
        const CLI::App* explained = helpTopic(app, topic, &usage);
        if (explained == nullptr) {
            std::vector<const char*> words;
            for (const std::string& word : topic)
                words.push_back(word.c_str());
            return unknownCommand(app, words);
        }
        print(stdout, explained == &app ? commandList(app) : explained->help(usage));
        return kDone;
    }
    for (const auto& [command, run] : runs) {
        if (command->parsed())
            return run();
    }
    return kUnusableInput; // not reached: parsing requires one command
}

} // namespace livrano::cli

int main(int argc, char** argv) {
    // A reader that stops early (`| head -1`) must not end a build halfway: what it no longer
    // reads is lost, the build goes on, and the exit status is the build's. A failed write only
    // sets the stream's error flag, which nothing here reads.
    livrano::ignoreClosedPipes();
    // What no command handles (memory running out, a file system error thrown from a library)
    // ends the program with a message instead of an abort; some work may already be written.
    try {
        return livrano::cli::runCommandLine(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "livrano-cli: %s\n", e.what());
        return livrano::cli::kFailed;
    }
}
