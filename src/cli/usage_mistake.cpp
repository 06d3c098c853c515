// SPDX-License-Identifier: MIT
#include "cli/usage_mistake.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace livrano::cli {

namespace {

// The known word nearest to `typed`, when it is near enough to be what was meant: a third of the
// word mistyped at most, and never fewer than two characters allowed.
std::optional<std::string> nearest(const std::string& typed, const std::vector<std::string>& known) {
    std::optional<std::string> best;
    std::size_t bestDistance = std::max<std::size_t>(2, typed.size() / 3) + 1;
    for (const std::string& k : known) {
        const std::size_t d = editDistance(typed, k);
        if (d < bestDistance) {
            bestDistance = d;
            best = k;
        }
    }
    return best;
}

std::string sentence(const char* kind, const std::string& typed, const std::vector<std::string>& known) {
    std::string said = std::string("Unknown ") + kind + " " + typed;
    if (const std::optional<std::string> meant = nearest(typed, known))
        said += "; did you mean " + *meant + "?";
    return said;
}

// The options `command` takes, as they are typed: "--aircraft", "-h".
std::vector<std::string> optionNames(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::Option* option : command.get_options()) {
        for (const std::string& l : option->get_lnames())
            names.push_back("--" + l);
        for (const std::string& s : option->get_snames())
            names.push_back("-" + s);
    }
    return names;
}

const CLI::App* subcommandNamed(const CLI::App& command, const std::string& word) {
    for (const CLI::App* sub : command.get_subcommands({}))
        if (sub->get_name() == word)
            return sub;
    return nullptr;
}

bool isNumber(const std::string& word) {
    return word.size() > 1 && word.find_first_not_of("0123456789.", 1) == std::string::npos;
}

} // namespace

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replaced = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, replaced});
        }
    }
    return row[b.size()];
}

std::optional<std::string> unknownWord(const CLI::App& app, int argc, const char* const* argv) {
    const CLI::App* command = &app;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--")
            break; // what follows is an argument, however it looks
        if (word.size() > 1 && word[0] == '-' && !isNumber(word)) {
            const std::string name = word.substr(0, word.find('='));
            if (command->get_option_no_throw(name) == nullptr)
                return sentence("option", name, optionNames(*command));
            continue;
        }
        const std::vector<const CLI::App*> subs = command->get_subcommands({});
        if (subs.empty())
            continue; // an argument or an option's value
        if (const CLI::App* sub = subcommandNamed(*command, word)) {
            command = sub;
            continue;
        }
        // A command whose tools are required takes no other words.
        if (command->get_require_subcommand_min() > 0) {
            std::vector<std::string> names;
            for (const CLI::App* sub : subs)
                names.push_back(sub->get_name());
            return sentence("command", word, names);
        }
    }
    return std::nullopt;
}

} // namespace livrano::cli
